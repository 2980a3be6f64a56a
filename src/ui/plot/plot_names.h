#pragma once

// The system's names of the plot window and its controls, used as the Qt
// objectName of each widget and spelled only here, for the window and its
// tests alike.
namespace kx::ui::names::plot {

inline constexpr char kWindow[] = "Form70";
inline constexpr char kXMinBox[] = "Text1";
inline constexpr char kXMaxBox[] = "Text2";
inline constexpr char kYMinBox[] = "Text3";
inline constexpr char kYMaxBox[] = "Text4";
inline constexpr char kXLogBox[] = "Check1";
inline constexpr char kYLogBox[] = "Check2";
inline constexpr char kRedrawButton[] = "Command1";
inline constexpr char kBackButton[] = "Command2";
inline constexpr char kStandardButton[] = "Command3";
inline constexpr char kParameterButton[] = "Command4";
inline constexpr char kPrintButton[] = "Command5";
inline constexpr char kPicture[] = "Picture1";
// Beyond the system's controls: saving the plot into a file (through the save
// window), and the window's message line with its timer.
inline constexpr char kSaveButton[] = "Command6";
inline constexpr char kMessage[] = "Label5";
inline constexpr char kMessageTimer[] = "Timer1";

}  // namespace kx::ui::names::plot

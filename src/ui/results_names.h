#pragma once

// Names of what the program-generation window offers beyond its own
// controls: its further menu entries, and the window that checks the
// generated program against the points, with its controls. Used as the Qt
// objectName of each widget and spelled only here, for the windows and their
// tests alike.
namespace kx::ui::names {

namespace program_more {
inline constexpr char kSaveCEntry[] = "OUTPROGC";
inline constexpr char kSavePythonEntry[] = "OUTPROGPY";
inline constexpr char kValidationEntry[] = "KENSHO";
}  // namespace program_more

namespace validation {
inline constexpr char kWindow[] = "Form90";
inline constexpr char kTitle[] = "Label1";
inline constexpr char kVerdict[] = "Label2";
inline constexpr char kLineTable[] = "Grid1";
inline constexpr char kPointTable[] = "Grid2";
inline constexpr char kCopyButton[] = "Command1";
inline constexpr char kSaveButton[] = "Command2";
inline constexpr char kBackButton[] = "Command3";
inline constexpr char kMessage[] = "Text1";
inline constexpr char kMessageTimer[] = "Timer1";
}  // namespace validation

}  // namespace kx::ui::names

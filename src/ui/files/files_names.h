#pragma once

#include "ui/window/array_name.h"

// The system's names of the load and save windows, used as the Qt objectName of each widget and
// spelled only here: the windows name their controls with them and the tests find the controls by
// them.
namespace kx::ui::names {

// The controls the load and save windows share.
namespace file_window {
inline constexpr char kTitle[] = "Label1";
inline constexpr char kHeading[] = "Label2";
inline constexpr char kNameBox[] = "Text1";
inline constexpr char kDriveList[] = "Drive1";
inline constexpr char kFolderList[] = "Dir1";
inline constexpr char kFileList[] = "File1";
}  // namespace file_window

namespace load {
inline constexpr char kWindow[] = "Form22";
inline constexpr char kFilterBox[] = "Text4";
inline constexpr char kMessageBox[] = "Text3";
inline constexpr char kMessageTimer[] = "Timer1";
inline constexpr char kLoadButton[] = "Command1";
inline constexpr char kBackButton[] = "Command2";
inline constexpr char kCancelButton[] = "Command3";
}  // namespace load

namespace save {
inline constexpr char kWindow[] = "Form24";
inline constexpr char kFilterBox[] = "Text3";
inline constexpr char kMessageBox[] = "Text2";
inline constexpr char kMessageTimer[] = "Timer1";
inline constexpr char kBlinkTimer[] = "Timer2";
inline constexpr char kSaveButton[] = "Command4";
inline constexpr char kConfirmButton[] = "Command5";
inline constexpr char kRejectButton[] = "Command6";
inline constexpr char kCancelButton[] = "Command1";
inline constexpr char kBackButton[] = "Command2";
}  // namespace save

}  // namespace kx::ui::names

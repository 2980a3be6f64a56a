#pragma once

#include <QLatin1String>
#include <QString>

// The system's names of the windows and their controls, used as the Qt
// objectName of each widget and spelled only here: the windows name their
// controls with them and the tests find the controls by them. Members of a
// control array are named by ArrayName.
namespace kx::ui {

// Object name of an element of a control array: "Option1(0)".
inline QString ArrayName(const char* control, int index) {
    return QString("%1(%2)").arg(QLatin1String(control)).arg(index);
}

namespace names {

namespace main_window {
inline constexpr char kWindow[] = "MDIForm20";
inline constexpr char kCanvasArea[] = "CanvasArea";
inline constexpr char kCanvas[] = "Picture1";
inline constexpr char kFloatingLabel[] = "Label1";
}  // namespace main_window

namespace panel {
inline constexpr char kWindow[] = "Form20";
inline constexpr char kTitle[] = "Label11";
inline constexpr char kMessageBox[] = "Text7";
inline constexpr char kHintBox[] = "Text12";
// Indexed by the point: 1 Xmin, 2 Xmax, 3 Ymin, 4 Ymax.
inline constexpr const char* kPointBox[] = {"", "Check1", "Check2", "Check3", "Check4"};
inline constexpr const char* kValueBox[] = {"", "Text3", "Text4", "Text5", "Text6"};
inline constexpr char kConfirmButton[] = "Command4";
inline constexpr char kResetButton[] = "Command6";
inline constexpr char kLinearOption[] = "Option2";  // array: 0 X, 1 Y
inline constexpr char kLogOption[] = "Option3";     // array: 0 X, 1 Y
inline constexpr char kExponentBox[] = "Check5";
inline constexpr char kXSampleBox[] = "Text8";
inline constexpr char kYSampleBox[] = "Text9";
// Indexed by the axis: 0 X, 1 Y.
inline constexpr const char* kMidPointBox[] = {"Check6", "Check7"};
inline constexpr const char* kMidValueBox[] = {"Text10", "Text11"};
inline constexpr char kXLiveBox[] = "Text1";
inline constexpr char kYLiveBox[] = "Text2";
inline constexpr char kCaptureButton[] = "Command5";
inline constexpr char kSaveButton[] = "Command8";
inline constexpr char kLineOption[] = "Option1";  // array: line - 1
inline constexpr char kPasteButton[] = "Command1";
inline constexpr char kDockButton[] = "Command7";
inline constexpr char kEndButton[] = "Command3";
inline constexpr char kPictureFileButton[] = "Command2";
inline constexpr char kLiveTimer[] = "Timer1";
inline constexpr char kMessageTimer[] = "Timer2";
// Menus and their entries.
inline constexpr char kFileMenu[] = "FileRd";
inline constexpr char kPictureFileEntry[] = "BITMAP";
inline constexpr char kPasteEntry[] = "PAST";
inline constexpr char kNumericDataEntry[] = "FFRD";
inline constexpr char kKeyboardEntry[] = "HENKOU1";
inline constexpr char kEndEntry[] = "EEND";
inline constexpr char kSettingsMenu[] = "settei";
inline constexpr char kConfirmEntry[] = "kihon";
inline constexpr char kCaptureEntry[] = "kaisi";
inline constexpr char kHelpEntry[] = "HELP01";
}  // namespace panel

namespace data_set {
inline constexpr char kWindow[] = "Form21";
inline constexpr char kHeading[] = "Label1";
inline constexpr char kPointBox[] = "Text1";      // array: line - 1
inline constexpr char kLineOption[] = "Option1";  // array: line - 1
inline constexpr char kParameterBox[] = "Text2";
inline constexpr char kLineBox[] = "Text5";
inline constexpr char kPointCountBox[] = "Text6";
inline constexpr char kXLiveBox[] = "Text8";
inline constexpr char kYLiveBox[] = "Text9";
inline constexpr char kMessageLine[] = "Text3";
inline constexpr char kGenerateButton[] = "Command6";
inline constexpr char kSaveAllButton[] = "Command1";
inline constexpr char kSaveSelectedButton[] = "Command3";
inline constexpr char kResetLineButton[] = "Command4";
inline constexpr char kResetAllButton[] = "Command2";
inline constexpr char kLoadButton[] = "Command7";
inline constexpr char kBackButton[] = "Command5";
inline constexpr char kTrackTimer[] = "Timer1";
inline constexpr char kMessageTimer[] = "Timer2";
}  // namespace data_set

namespace keyboard {
inline constexpr char kWindow[] = "Form50";
inline constexpr char kParameterBox[] = "Text1";  // array: page
inline constexpr char kDataBox[] = "Text2";       // array: page
inline constexpr char kCountBox[] = "Text3";      // array: page
inline constexpr char kPageLabel[] = "Label6";
inline constexpr char kPreviousButton[] = "Command1";
inline constexpr char kNextButton[] = "Command2";
inline constexpr char kGenerateButton[] = "Command3";
inline constexpr char kBackButton[] = "Command4";
inline constexpr char kHelpButton[] = "Command5";
inline constexpr char kInstructions[] = "Text4";
inline constexpr char kMessageLine[] = "Text5";
inline constexpr char kMessageTimer[] = "Timer1";
}  // namespace keyboard

namespace program {
inline constexpr char kWindow[] = "Form33";
inline constexpr char kClientArea[] = "Form33Client";
inline constexpr const char* kList[] = {"", "List1", "List2", "List3", "List4"};
inline constexpr char kCalculateButton[] = "Command1";
inline constexpr char kBackButton[] = "Command2";
inline constexpr char kStatusLabel[] = "Label1";
inline constexpr char kHistoryLabel[] = "Label2";
inline constexpr char kAreaHint[] = "Text2";  // array: 0..3
inline constexpr char kClearingHint[] = "Text3";
inline constexpr char kCopiedMessage[] = "Text1";
inline constexpr char kHideHintsTimer[] = "Timer1";
inline constexpr char kFadeHintsTimer[] = "Timer2";
inline constexpr char kMessageTimer[] = "Timer3";
inline constexpr char kFileMenu[] = "FILESV";
inline constexpr char kSaveProgramEntry[] = "OUTPROG";
inline constexpr char kSaveSummaryEntry[] = "OUTRES";
inline constexpr char kSaveAllEntry[] = "ALLRES";
inline constexpr char kEndEntry[] = "SSEND1";
inline constexpr char kOptionMenu[] = "OPT";
inline constexpr char kPlotEntry[] = "GPP";
inline constexpr char kConditionsEntry[] = "SEIDO";
inline constexpr char kExclusionEntry[] = "HAITA";
}  // namespace program

namespace gauge {
inline constexpr char kWindow[] = "GrForm35";
inline constexpr char kGauge[] = "Label1";
inline constexpr char kStopButton[] = "Command1";
inline constexpr char kTimer[] = "Timer1";
}  // namespace gauge

namespace conditions {
inline constexpr char kWindow[] = "Form29";
inline constexpr char kTitle[] = "Label1";
inline constexpr char kModeFrame[] = "Frame2";
inline constexpr char kModeOption[] = "Option1";  // array: mode
inline constexpr char kModeLabel[] = "Label3";
inline constexpr char kModeBox[] = "Text1";
inline constexpr char kModeError[] = "Label5";
inline constexpr char kPrecisionFrame[] = "Frame1";
inline constexpr char kPrecisionBox[] = "Text2";
inline constexpr char kPrecisionError[] = "Label7";
inline constexpr char kPrecisionLabel[] = "Label9";
inline constexpr char kGradeLabel[] = "Label6";
inline constexpr char kStandardButton[] = "Command2";
inline constexpr char kAcceptButton[] = "Command1";
inline constexpr char kCancelButton[] = "Command3";
}  // namespace conditions

namespace exclusion {
inline constexpr char kWindow[] = "Form82";
inline constexpr char kTitle[] = "Label3";
inline constexpr char kSystemBox[] = "Check1";  // array: system - 1
inline constexpr char kAllButton[] = "Command1";
inline constexpr char kBackButton[] = "Command2";
inline constexpr char kHelpButton[] = "Command3";
inline constexpr char kHelpText[] = "Text1";
inline constexpr char kMessage[] = "Label4";
inline constexpr char kMessageTimer[] = "Timer1";
}  // namespace exclusion

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

}  // namespace names
}  // namespace kx::ui

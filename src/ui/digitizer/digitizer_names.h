#pragma once

#include "ui/window/array_name.h"

// The system's names of the main window, the digitizer panel and the DataSet window, used as the
// Qt objectName of each widget and spelled only here: the windows name their controls with them
// and the tests find the controls by them.
namespace kx::ui::names {

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
inline constexpr char kSessionSaveEntry[] = "SESSAVE";
inline constexpr char kSessionLoadEntry[] = "SESLOAD";
inline constexpr char kSettingsMenu[] = "settei";
inline constexpr char kConfirmEntry[] = "kihon";
inline constexpr char kCaptureEntry[] = "kaisi";
inline constexpr char kHelpEntry[] = "HELP01";
// The questions the panel asks over its controls (restoring the work left by
// a run that ended, closing with work unsaved).
inline constexpr char kQuestion[] = "Question";
inline constexpr char kQuestionText[] = "QuestionText";
inline constexpr char kQuestionButton[] = "QuestionButton";  // array: the choice
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

// The entries of the panel that show and take back captured points, and the
// loupe over the canvas.
namespace marks {
inline constexpr char kUndoEntry[] = "UNDO1";
inline constexpr char kRedoEntry[] = "REDO1";
inline constexpr char kLoupeEntry[] = "LOUPE1";
inline constexpr char kOverlayEntry[] = "FITOVL";
inline constexpr char kLoupe[] = "Loupe";
}  // namespace marks

// Tracing a curve from one click: the panel's entry and its settings row.
namespace trace {
inline constexpr char kTraceEntry[] = "JIDOU1";
inline constexpr char kTraceFrame[] = "TraceFrame";
inline constexpr char kPointCountBox[] = "TracePoints";
inline constexpr char kToleranceBox[] = "TraceTolerance";
}  // namespace trace

}  // namespace kx::ui::names

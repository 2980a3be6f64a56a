#pragma once

#include "ui/window/array_name.h"

// The system's names of the keyboard-entry, program-generation, gauge, conditions, exclusion and
// check windows, used as the Qt objectName of each widget and spelled only here: the windows name
// their controls with them and the tests find the controls by them.
namespace kx::ui::names {

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
// Beyond the system's controls: the fewest points of a section.
inline constexpr char kMinSectionBox[] = "Text3";
inline constexpr char kMinSectionError[] = "Label10";
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

// What the program-generation window offers beyond its own controls: its
// further menu entries, and the window that checks the generated program
// against the points.
namespace program_more {
inline constexpr char kSaveCEntry[] = "OUTPROGC";
inline constexpr char kSavePythonEntry[] = "OUTPROGPY";
inline constexpr char kSaveMatlabEntry[] = "OUTPROGM";
inline constexpr char kSaveJavaScriptEntry[] = "OUTPROGJS";
inline constexpr char kSaveCSharpEntry[] = "OUTPROGCS";
inline constexpr char kSaveFortranEntry[] = "OUTPROGF90";
inline constexpr char kValidationEntry[] = "KENSHO";
inline constexpr char kSaveHistoryEntry[] = "OUTHIS";
inline constexpr char kCurvesOverPictureEntry[] = "OVERLAY";
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

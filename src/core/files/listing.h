#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/data/data_set.h"
#include "core/fitting/calc_settings.h"
#include "core/fitting/fit_results.h"

// The listing files: the four lists of the program-generation window written
// one entry per record.
namespace kx::core {

// Save kinds of the save window.
enum SaveKind : int16_t {
    kSaveAllLines = 0,
    kSaveSelectedLine = 1,
    kSaveProgram = 2,
    kSaveEquations = 3,
    kSaveAllResults = 4,
    kSaveHistory = 5,
    // Beyond the lists of the program-generation window: the program in C and
    // in Python, the check of the program against the points, and the plot.
    kSaveCProgram = 6,
    kSavePythonProgram = 7,
    kSaveValidation = 8,
    kSavePlot = 9,
    // The program in the further languages of kuvatelix-fit --lang.
    kSaveMatlabProgram = 10,
    kSaveJavaScriptProgram = 11,
    kSaveCSharpProgram = 12,
    kSaveFortranProgram = 13,
    kSaveSession = 14,  // the whole work, a session file
};
inline constexpr int kSaveKinds = 15;

// The four lists as the program-generation window shows them.
struct ResultLists {
    FittingLog history;                  // the fitting log, formatted as it is written
    std::vector<std::string> details;    // the result details of every line and section
    std::vector<std::string> equations;  // the result summary with the statements
    std::vector<std::string> program;    // the generated Calc program
};

// The lists of a finished run.
ResultLists ResultListsOf(const DataSet& data, const CalcSettings& settings,
                          const FitResults& results);

// The UTF-8 text (CR LF after every record) of a listing, save kinds 2..5; the
// all-results listing puts a separator of 40 asterisks after the details and
// after the equations. Any other kind gives an empty text.
std::string ListingText(int saveKind, const ResultLists& lists);

// Entries as listing records: CR LF after each.
std::string RecordsText(const std::vector<std::string>& entries);

// The lines of a source in C, Python or a further language as their tools
// expect them: LF after each.
std::string SourceText(const std::vector<std::string>& lines);

}  // namespace kx::core

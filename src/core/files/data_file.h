#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/data/data_set.h"
#include "core/files/file_outcome.h"

// The data file: one block per line, a header "parameter, 1 , count" and then
// the line's "X,Y" records, CP932 with CR LF after every record.
namespace kx::core {

// ---- Writing ----------------------------------------------------------------

// The all-lines save: a block for every line 1..10 that holds at least two
// points (the reader refuses a block of fewer). The text is UTF-8 with CR LF;
// SaveText encodes and writes it.
std::string AllLinesDataText(const DataSet& data);

// The selected-line save: the block of line `selectedOption` (1..10) with the
// parameter box text as it stands; 0 (no option set) gives an empty file.
std::string SelectedLineDataText(const DataSet& data, int selectedOption,
                                 std::string_view parameterBoxText);

// ---- Reading ----------------------------------------------------------------

// How a read ended. The load window shows "ﾌｧｲﾙ名不正" for kCannotOpen and
// "ﾌｧｲﾙ内容不正" for kBadContent.
enum class DataFileOutcome { kLoaded = 0, kCannotOpen, kBadContent };

// Why the content was refused.
enum class ContentFault {
    kNone = 0,
    kHeaderNotNumbers,    // not three numeric fields, or a value out of range
    kFirstPointNotOne,    // the first-point index is not 1
    kTooFewPoints,        // a count of 1 or less
    kTooManyPoints,       // a count above the 100 points a line can hold
    kRecordWithoutComma,  // a point record without a comma
    kEndInsideBlock,      // the file ends before the count's records
    kEleventhBlock,       // more blocks than lines
    kNotCp932,            // bytes that are not CP932 text
    kFileTooLarge,        // far larger than any data file of ten lines
    kReadFailed,          // the file opened but could not be read
};

// A line as the reader left it.
struct LoadedLine {
    std::string parameterText;  // trimmed Str$ of the parameter value read
    int16_t pointCount = 0;     // the header's count
    std::string pointText;      // the records read, each followed by CR LF
    bool complete = false;      // all of the header's records were read
};

struct DataFileRead {
    DataFileOutcome outcome = DataFileOutcome::kLoaded;
    ContentFault fault = ContentFault::kNone;
    int record = 0;  // number (1..) of the record the read stopped at
    int error = 0;   // errno when the file could not be opened or read
    // Why the file could not be opened or read (a folder, a named pipe, no
    // permission, ...), or kTooLarge beyond kMaxDataFileBytes.
    FileReason reason = FileReason::kNone;
    std::vector<LoadedLine> lines;  // in file order, at most 10; the last may be incomplete
};

inline constexpr std::size_t kMaxDataFileBytes = 4u << 20;

// Reads the CP932 bytes of a data file.
DataFileRead ParseDataFile(std::string_view bytes);

// Opens and reads a data file.
DataFileRead ReadDataFile(const std::string& path);

// Puts a read into the collected form as the load does: every line 1..10 is
// reset, then the lines read fill lines 1, 2, ... in file order; a line cut off
// by a refusal keeps what was read of it.
void ApplyDataFileRead(DataSet& data, const DataFileRead& read);

// ---- Recognising a data file ------------------------------------------------

// What the first record of an existing file says about it: the save window
// offers a clicked file for a data save only when that record holds nothing
// but digits, "-", "+", ".", ",", blank, "E", "D", "e", "d" and tab.
enum class FirstRecordKind { kDataRecord = 0, kOtherRecord, kCannotOpen };

FirstRecordKind ClassifyFirstRecord(const std::string& path);

}  // namespace kx::core

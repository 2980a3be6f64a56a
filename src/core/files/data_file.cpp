#include "core/files/data_file.h"

#include <algorithm>
#include <cassert>

#include "core/data/numeric_text.h"
#include "core/data/text_chars.h"
#include "core/files/atomic_file.h"
#include "core/files/cp932.h"

namespace kx::core {
namespace {

constexpr std::string_view kCrLf = "\r\n";

// The first `count` text lines of a point text, each with its CR LF.
std::string_view FirstTextLines(std::string_view text, int count) {
    std::size_t end = 0;
    for (int line = 0; line < count && end < text.size(); ++line) {
        const std::size_t lineEnd = text.find(kCrLf, end);
        end = lineEnd == std::string_view::npos ? text.size() : lineEnd + 2;
    }
    return text.substr(0, end);
}

// Header, CR LF, the point text; a final CR LF of the block is dropped and the
// record ending added again, so the last point ends with exactly one CR LF.
// A line holds at most 100 points: more records, or a larger count, would make
// the reader take a point for the next header and refuse the whole file.
std::string Block(std::string_view parameterText, int16_t pointCount, std::string_view pointText) {
    std::string block(parameterText);
    block += ", 1 ,";
    block += StrText(std::min<int>(pointCount, kMaxPoints));
    block += kCrLf;
    block += FirstTextLines(pointText, kMaxPoints);
    if (EndsWithCrLf(block)) block.resize(block.size() - 2);
    block += kCrLf;
    return block;
}

// The records of a file: split at LF, one CR before the LF dropped. A last
// piece without LF is a record; nothing after a final LF is one.
std::vector<std::string_view> SplitRecords(std::string_view bytes) {
    std::vector<std::string_view> records;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        const std::size_t next = end == std::string_view::npos ? bytes.size() : end + 1;
        if (end == std::string_view::npos) end = bytes.size();
        std::string_view record = bytes.substr(start, end - start);
        if (!record.empty() && record.back() == '\r') record.remove_suffix(1);
        records.push_back(record);
        start = next;
    }
    return records;
}

bool IsBlankRecord(std::string_view record) {
    return record.find_first_not_of(" \t") == std::string_view::npos;
}

std::string_view TrimField(std::string_view field) {
    const std::size_t first = field.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const std::size_t last = field.find_last_not_of(" \t");
    return field.substr(first, last - first + 1);
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// A whole number text: sign, digits with at most one point, optional exponent
// (E, e, D or d). The reader takes a header field only when all of it is one.
bool IsWholeNumber(std::string_view text) {
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    bool digits = false;
    while (i < text.size() && IsDigit(text[i])) ++i, digits = true;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && IsDigit(text[i])) ++i, digits = true;
    }
    if (!digits) return false;
    if (i < text.size() &&
        (text[i] == 'E' || text[i] == 'e' || text[i] == 'D' || text[i] == 'd')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
        bool exponentDigits = false;
        while (i < text.size() && IsDigit(text[i])) ++i, exponentDigits = true;
        if (!exponentDigits) return false;
    }
    return i == text.size();
}

struct Header {
    float parameter = 0.0f;
    long firstPoint = 0;
    long count = 0;
};

// Three comma-separated numbers. The parameter field is the user's text as the
// writers found it: any text of the numeric characters, which the system takes
// by its leading number ("1-2" is 1), so that every file it wrote reads back;
// an empty one (an empty parameter box saved as it stands) reads as 0.
bool ParseHeader(std::string_view record, Header& header) {
    std::string_view fields[3];
    std::size_t start = 0;
    for (int f = 0; f < 3; ++f) {
        const std::size_t comma = record.find(',', start);
        if ((f < 2) == (comma == std::string_view::npos)) return false;
        const std::size_t end = f < 2 ? comma : record.size();
        fields[f] = TrimField(record.substr(start, end - start));
        start = end + 1;
    }
    if (!IsNumericText(fields[0])) return false;
    if (!IsWholeNumber(fields[1]) || !IsWholeNumber(fields[2])) return false;
    const double parameter = ValueOfText(fields[0]);
    const double firstPoint = ValueOfText(fields[1]);
    const double count = ValueOfText(fields[2]);
    // Beyond a Single or a 16-bit integer the read itself fails.
    if (!FitsSingle(parameter) || !(firstPoint > -32768.5 && firstPoint < 32767.5) ||
        !(count > -32768.5 && count < 32767.5)) {
        return false;
    }
    header.parameter = static_cast<float>(parameter);
    header.firstPoint = RoundHalfEven(firstPoint);
    header.count = RoundHalfEven(count);
    return true;
}

DataFileRead Refused(DataFileRead read, ContentFault fault, int record) {
    read.outcome = DataFileOutcome::kBadContent;
    read.fault = fault;
    read.record = record;
    return read;
}

// Reads the header record of a block; kNone when it opens one.
ContentFault ReadBlockHeader(std::string_view record, Header& header) {
    const CodecResult headerText = Cp932ToUtf8(record);
    if (headerText.status != CodecStatus::kOk) return ContentFault::kNotCp932;
    if (!ParseHeader(headerText.text, header)) return ContentFault::kHeaderNotNumbers;
    if (header.firstPoint != 1) return ContentFault::kFirstPointNotOne;
    if (header.count <= 1) return ContentFault::kTooFewPoints;
    if (header.count > kMaxPoints) return ContentFault::kTooManyPoints;
    return ContentFault::kNone;
}

// Appends `count` point records from record r on to the line's point text,
// r moving past each one taken; the fault of the first that is no point
// record stops it there.
ContentFault ReadPointRecords(const std::vector<std::string_view>& records, std::size_t& r,
                              long count, LoadedLine& line) {
    for (long p = 0; p < count; ++p, ++r) {
        if (r >= records.size()) return ContentFault::kEndInsideBlock;
        const CodecResult point = Cp932ToUtf8(records[r]);
        if (point.status != CodecStatus::kOk) return ContentFault::kNotCp932;
        if (point.text.find(',') == std::string::npos) return ContentFault::kRecordWithoutComma;
        line.pointText += point.text;
        line.pointText += kCrLf;
    }
    return ContentFault::kNone;
}

}  // namespace

std::string AllLinesDataText(const DataSet& data) {
    std::string text;
    for (int line = 1; line <= kMaxLines; ++line) {
        // A line without data, or of a single point, would make the whole file
        // unreadable: the reader refuses a block of fewer than two points.
        if (TrimBlanks(data.pointText[line]).empty() || data.pointCount[line] < 2) continue;
        text += Block(data.parameterText[line], data.pointCount[line], data.pointText[line]);
    }
    return text;
}

std::string SelectedLineDataText(const DataSet& data, int selectedOption,
                                 std::string_view parameterBoxText) {
    if (selectedOption < 1 || selectedOption > kMaxLines) return {};
    return Block(parameterBoxText, data.pointCount[selectedOption],
                 data.pointText[selectedOption]);
}

DataFileRead ParseDataFile(std::string_view bytes) {
    DataFileRead read;
    if (bytes.size() > kMaxDataFileBytes) {
        return Refused(std::move(read), ContentFault::kFileTooLarge, 0);
    }
    const std::vector<std::string_view> records = SplitRecords(bytes);
    std::size_t r = 0;
    while (r < records.size()) {
        const int recordNumber = static_cast<int>(r) + 1;
        if (IsBlankRecord(records[r])) {
            ++r;
            continue;
        }
        if (read.lines.size() == kMaxLines) {
            return Refused(std::move(read), ContentFault::kEleventhBlock, recordNumber);
        }
        Header header;
        if (const ContentFault fault = ReadBlockHeader(records[r], header);
            fault != ContentFault::kNone) {
            return Refused(std::move(read), fault, recordNumber);
        }
        ++r;

        LoadedLine& line = read.lines.emplace_back();
        line.parameterText = SingleToText(header.parameter);
        line.pointCount = static_cast<int16_t>(header.count);
        if (const ContentFault fault = ReadPointRecords(records, r, header.count, line);
            fault != ContentFault::kNone) {
            return Refused(std::move(read), fault, static_cast<int>(r) + 1);
        }
        line.complete = true;
    }
    return read;
}

DataFileRead ReadDataFile(const std::string& path) {
    const FileRead file = ReadWholeFile(path, kMaxDataFileBytes);
    DataFileRead read;
    switch (file.outcome.status) {
        case FileStatus::kOk: return ParseDataFile(file.bytes);
        case FileStatus::kTooLarge:
            read = Refused(std::move(read), ContentFault::kFileTooLarge, 0);
            break;
        case FileStatus::kCannotRead:
            read = Refused(std::move(read), ContentFault::kReadFailed, 0);
            break;
        default: read.outcome = DataFileOutcome::kCannotOpen; break;
    }
    read.error = file.outcome.error;
    read.reason = file.outcome.reason;
    return read;
}

void ApplyDataFileRead(DataSet& data, const DataFileRead& read) {
    assert(read.lines.size() <= static_cast<std::size_t>(kMaxLines));
    for (int line = 1; line <= kMaxLines; ++line) ResetLine(data, line);
    int line = 0;
    for (const LoadedLine& loaded : read.lines) {
        if (++line > kMaxLines) break;
        data.parameterText[line] = loaded.parameterText;
        data.firstPoint[line] = 1;
        data.pointCount[line] = loaded.pointCount;
        data.preparedCount[line] = loaded.pointCount;
        data.pointText[line] = loaded.pointText;
    }
}

FirstRecordKind ClassifyFirstRecord(const std::string& path) {
    // The record ends at the first line break; a few kilobytes decide.
    const FileRead head = ReadFileHead(path, 4096);
    if (head.outcome.status != FileStatus::kOk) return FirstRecordKind::kCannotOpen;
    const std::string_view record =
        std::string_view(head.bytes).substr(0, head.bytes.find_first_of("\r\n"));
    constexpr std::string_view kDataChars = "0123456789-+., EDed\t";
    for (char k : record) {
        if (kDataChars.find(k) == std::string_view::npos) return FirstRecordKind::kOtherRecord;
    }
    return FirstRecordKind::kDataRecord;
}

}  // namespace kx::core

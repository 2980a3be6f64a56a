#include "core/data/preparation.h"

#include <algorithm>
#include <cassert>
#include <vector>

#include "core/data/numeric_text.h"
#include "core/data/text_chars.h"

namespace kx::core {
namespace {

// A value text the preparation accepts: numeric characters only and a value a
// 32-bit float can hold (a huge exponent would otherwise turn into infinity).
bool IsUsableNumber(std::string_view text) {
    return IsNumericText(text) && FitsSingle(ValueOfText(text));
}

// "Without data" in the gap tests: a text of at most 3 characters and no points.
bool HasNoData(const DataSet& data, int line) {
    return CharCount(data.pointText[line]) <= 3 && data.pointCount[line] == 0;
}

void ClearPreparedTexts(DataSet& data, int line, std::string_view filler) {
    for (int point = 1; point <= kMaxPoints; ++point) {
        data.xText[line][point] = filler;
        data.yText[line][point] = filler;
    }
    data.preparedCount[line] = 0;
}

// Checks the first `count` text lines of a point text (state 2 or 3, else 0).
int16_t CheckPointLines(std::string_view text, int count) {
    const std::vector<std::string_view> lines = SplitCrLfLines(text);
    for (int i = 0; i < count; ++i) {
        const std::string_view line =
            i < static_cast<int>(lines.size()) ? lines[i] : std::string_view{};
        const std::size_t comma = line.find(',');
        if (comma == std::string_view::npos) return kMissingXOrY;
        const std::string_view x = TrimBlanks(line.substr(0, comma));
        const std::string_view y = TrimBlanks(line.substr(comma + 1));
        if (x.empty() || y.empty()) return kMissingXOrY;
        if (!IsUsableNumber(x) || !IsUsableNumber(y)) return kNotNumeric;
    }
    return kPrepared;
}

// Points clicked beyond 100 are counted but not kept: the prepared tables hold
// 100 points a line.
int PreparedPoints(const DataSet& data, int line) {
    return std::min<int>(data.pointCount[line], kMaxPoints);
}

void SplitPointLines(DataSet& data, int line) {
    const std::vector<std::string_view> lines = SplitCrLfLines(data.pointText[line]);
    const int count = PreparedPoints(data, line);
    for (int i = 1; i <= count && i <= static_cast<int>(lines.size()); ++i) {
        const std::string_view text = lines[i - 1];
        const std::size_t comma = text.find(',');
        data.xText[line][i] = Trimmed(text.substr(0, comma));
        data.yText[line][i] =
            comma == std::string_view::npos ? std::string() : Trimmed(text.substr(comma + 1));
    }
    data.firstPoint[line] = 1;
    data.preparedCount[line] = static_cast<int16_t>(count);
}

// The first line (in line order) whose parameter equals that of an earlier
// line once both are stored as 32-bit floats: the generated program
// interpolates by the difference of neighbouring parameters, which would be 0.
// Values that differ only beyond the seven digits a stored value is written
// with count as equal too: a saved file reads them back as one value.
PreparationRefusal EqualParameters(const DataSet& data, int lineCount) {
    std::array<float, kMaxLines + 1> values{};
    std::array<std::string, kMaxLines + 1> texts{};
    for (int line = 1; line <= lineCount; ++line) {
        values[line] = static_cast<float>(ValueOfText(data.parameterText[line]));
        texts[line] = SingleToText(values[line]);
        for (int earlier = 1; earlier < line; ++earlier) {
            if (values[earlier] == values[line] || texts[earlier] == texts[line]) {
                return {static_cast<int16_t>(line), static_cast<int16_t>(earlier)};
            }
        }
    }
    return {};
}

int16_t Refuse(DataSet& data, int16_t state, int line) {
    data.refusal.line = static_cast<int16_t>(line);
    return state;
}

// The first line without data that a line with data follows; 0 for none.
int FirstGapInLines(const DataSet& data) {
    for (int j = 1; j <= kMaxLines - 1; ++j) {
        if (HasNoData(data, j) && !data.pointText[j + 1].empty() && data.pointCount[j + 1] != 0) {
            return j;
        }
    }
    return 0;
}

// Checks the point texts of lines first..last, each given its closing CR LF,
// up to the first line without points. `lineCount` receives the last line
// that passed.
int16_t CheckLinePoints(DataSet& data, int first, int last, int& lineCount) {
    lineCount = first - 1;
    for (int d = first; d <= last; ++d) {
        if (!EndsWithCrLf(data.pointText[d])) data.pointText[d].append("\r\n");
        if (data.pointCount[d] < 1) break;
        const int16_t state = CheckPointLines(data.pointText[d], PreparedPoints(data, d));
        if (state != kPrepared) return Refuse(data, state, d);
        lineCount = d;
    }
    return kPrepared;
}

// Trims every line's parameter text and takes its value, then refuses the
// first that is no usable number.
int16_t ReadParameters(DataSet& data, int lineCount) {
    int parameterFault = 0;
    for (int line = 1; line <= lineCount; ++line) {
        data.parameterText[line] = Trimmed(data.parameterText[line]);
        data.parameterValue[line] = static_cast<float>(ValueOfText(data.parameterText[line]));
        if (parameterFault == 0 && !IsUsableNumber(data.parameterText[line]))
            parameterFault = line;
    }
    if (parameterFault != 0) return Refuse(data, kParameterNotNumeric, parameterFault);
    return kPrepared;
}

// Splits the point texts of lines first..last into the prepared tables and
// sets the progress total. A line of fewer than 3 points is refused, the
// first one named, and the lines after it are prepared all the same.
int16_t SplitLines(DataSet& data, int first, int last) {
    int16_t state = kPrepared;
    int total = 0;
    for (int line = first; line <= last; ++line) {
        if (CharCount(data.pointText[line]) <= 3) {
            if (state == kPrepared) state = Refuse(data, kTooFewPoints, line);
            continue;
        }
        data.lastLine = static_cast<int16_t>(line);
        SplitPointLines(data, line);
        if (data.preparedCount[line] < 3 && state == kPrepared) {
            state = Refuse(data, kTooFewPoints, line);
        }
        total += ProgressShare(data.preparedCount[line]);
    }
    data.progressTotal = static_cast<int16_t>(std::min(total, 32767));
    return state;
}

}  // namespace

int ProgressShare(int n) {
    const int u = n <= 30 ? 1 : n <= 52 ? 2 : n <= 70 ? 3 : n <= 85 ? 4 : 5;
    const int m = n >= 5 ? n - 4 : 0;
    int share = static_cast<int>(RoundHalfEven(static_cast<double>(m + 1) / u));
    for (int v = 6; v <= 100; v += u) {
        if (n - v < 1) break;
        share += static_cast<int>(RoundHalfEven(static_cast<double>(n - v) / u));
    }
    return share;
}

int16_t PrepareDataSet(DataSet& data) {
    assert(data.selectedLine >= 0 && data.selectedLine <= kMaxLines);
    const int selected =
        data.selectedLine >= 1 && data.selectedLine <= kMaxLines ? data.selectedLine : 0;
    data.refusal = {};
    if (data.pointCount[1] == 0) return Refuse(data, kNoData, 1);
    // A single line may be prepared across a gap.
    if (const int gap = FirstGapInLines(data); gap != 0 && selected == 0) {
        return Refuse(data, kGapInLines, gap);
    }

    const int firstLine = selected != 0 ? selected : 1;
    const int lastCheck = selected != 0 ? selected : kMaxLines;
    int lineCount = 0;
    if (const int16_t state = CheckLinePoints(data, firstLine, lastCheck, lineCount);
        state != kPrepared) {
        return state;
    }
    data.lineCount = static_cast<int16_t>(lineCount);
    for (int line = 1; line <= lineCount; ++line) ClearPreparedTexts(data, line, "");

    if (const int16_t state = ReadParameters(data, lineCount); state != kPrepared) return state;
    // Lines that only a save prepares may share a parameter: the file holds
    // them as they are, and the fitting of the loaded family refuses them.
    if (selected == 0 && data.prepareForSave == 0) {
        if (const PreparationRefusal equal = EqualParameters(data, lineCount); equal.line != 0) {
            data.refusal = equal;
            return kParameterNotNumeric;
        }
    }

    OrderLinesByParameter(data, lineCount);
    return selected != 0 ? SplitLines(data, selected, selected) : SplitLines(data, 1, lineCount);
}

KeyboardBox NormaliseKeyboardBox(std::string_view text, int typingLine) {
    KeyboardBox box{std::string(text), 0};
    if (!EndsWithCrLf(box.text)) box.text.append("\r\n");
    if (box.text.find_first_not_of("\r\n") == std::string::npos) {
        box.text.clear();
        return box;
    }
    const std::size_t empty = box.text.find("\r\n\r\n");
    if (empty != std::string::npos) {
        // The empty line starts after the break at `empty`.
        const std::string_view before(box.text.data(), empty + 2);
        int line = 0;
        for (std::size_t at = before.find("\r\n"); at != std::string_view::npos;
             at = before.find("\r\n", at + 2))
            ++line;
        if (line != typingLine) box.text.erase(empty, 2);
    }
    box.count = CountKeyboardPairs(box.text);
    return box;
}

namespace {

// The text lines before the first empty one, counted up to `limit`.
int LinesBeforeEmpty(std::string_view text, int limit) {
    int count = 0;
    for (std::string_view line : SplitCrLfLines(text)) {
        if (line.empty() || count == limit) break;
        ++count;
    }
    return count;
}

}  // namespace

int16_t CountKeyboardPairs(std::string_view text) {
    return static_cast<int16_t>(LinesBeforeEmpty(text, kMaxPoints));
}

bool KeyboardPairsBeyondLimit(std::string_view text) {
    return LinesBeforeEmpty(text, kMaxPoints + 1) > kMaxPoints;
}

namespace {

// Splits one trimmed keyboard text line into X and Y (message number or 0).
int16_t SplitKeyboardLine(std::string line, std::string& x, std::string& y) {
    const std::size_t run = line.find(' ');
    if (run != std::string::npos) {
        const std::size_t end = line.find_first_not_of(' ', run);
        line.erase(run + 1, (end == std::string::npos ? line.size() : end) - run - 1);
    }
    const bool hasTab = line.find('\t') != std::string::npos;
    const bool hasComma = line.find(',') != std::string::npos;
    char separator = 0;
    if (hasTab && !hasComma) {
        separator = '\t';
    } else if (hasComma) {
        separator = ',';
    } else if (line.find(' ') != std::string::npos) {
        separator = ' ';
    } else {
        return kKeyboardNoSeparator;
    }
    const std::size_t first = line.find(separator);
    x = line.substr(0, first);
    if (separator == ' ') {
        y = line.substr(first + 1);
    } else {
        const std::size_t second = line.find(separator, first + 1);
        y = second == std::string::npos ? line.substr(first + 1)
                                        : line.substr(first + 1, second - first - 1);
    }
    x = Trimmed(x);
    y = Trimmed(y);
    if (x.empty() || y.empty()) return kKeyboardBlankValue;
    if (!IsUsableNumber(x)) return kKeyboardBadX;
    if (!IsUsableNumber(y)) return kKeyboardBadY;
    return kKeyboardPrepared;
}

// Splits the text lines of each data box, up to the first empty box and in
// each box up to its first empty text line, into the prepared tables; the
// first text line that is no pair of numbers is refused.
int16_t SplitKeyboardBoxes(DataSet& data) {
    for (int line = 1; line <= kMaxLines && !TrimBlanks(data.pointText[line]).empty(); ++line) {
        const std::vector<std::string_view> lines = SplitCrLfLines(data.pointText[line]);
        for (int i = 1; i <= kMaxPoints && i <= static_cast<int>(lines.size()); ++i) {
            const std::string_view text = TrimBlanks(lines[i - 1]);
            if (text.empty()) break;
            std::string x, y;
            const int16_t message = SplitKeyboardLine(std::string(text), x, y);
            if (message != kKeyboardPrepared) return Refuse(data, message, line);
            data.xText[line][i] = x;
            data.yText[line][i] = y;
            data.firstPoint[line] = 1;
            data.preparedCount[line] = static_cast<int16_t>(i);
        }
    }
    return kKeyboardPrepared;
}

// The first empty box that a box with data follows; 0 for none.
int FirstKeyboardGap(const DataSet& data) {
    for (int j = 1; j <= kMaxLines - 1; ++j) {
        if (data.pointText[j].empty() && data.pointCount[j] == 0 &&
            !data.pointText[j + 1].empty() && data.pointCount[j + 1] != 0) {
            return j;
        }
    }
    return 0;
}

// The window takes parameter texts as they stand; a value a float cannot
// hold, or two lines a float cannot tell apart, would break the program.
int16_t CheckKeyboardParameters(DataSet& data, int lineCount) {
    for (int line = 1; line <= lineCount; ++line) {
        if (!FitsSingle(ValueOfText(data.parameterText[line]))) {
            return Refuse(data, kKeyboardBadParameter, line);
        }
    }
    if (const PreparationRefusal equal = EqualParameters(data, lineCount); equal.line != 0) {
        data.refusal = equal;
        return kKeyboardBadParameter;
    }
    return kKeyboardPrepared;
}

}  // namespace

int16_t PrepareKeyboardEntry(DataSet& data, const KeyboardPages& pages) {
    data.refusal = {};
    for (int line = 1; line <= kMaxLines; ++line) ClearPreparedTexts(data, line, "0");
    if (data.pointCount[1] == 0) return kKeyboardNothingParsed;
    if (const int16_t message = SplitKeyboardBoxes(data); message != kKeyboardPrepared) {
        return message;
    }
    if (const int gap = FirstKeyboardGap(data); gap != 0) return Refuse(data, kKeyboardGap, gap);

    int16_t message = kKeyboardPrepared;
    int lineCount = 0;
    int total = 0;
    for (int j = 1; j <= kMaxLines; ++j) {
        const double count = ValueOfText(pages[j].countText);
        if (count == 0) break;
        lineCount = j;
        data.parameterText[j] = pages[j].parameterText;
        data.pointCount[j] =
            static_cast<int16_t>(std::clamp(RoundHalfEven(count), 0L, long{kMaxPoints}));
        if (data.preparedCount[j] < 3 && message == kKeyboardPrepared) {
            message = Refuse(data, kKeyboardTooFewPairs, j);
        }
        total += ProgressShare(data.preparedCount[j]);
    }
    if (lineCount == 0) return Refuse(data, kKeyboardTooFewPairs, 1);
    data.lineCount = static_cast<int16_t>(lineCount);
    data.lastLine = data.lineCount;
    if (message == kKeyboardPrepared) {
        if (const int16_t bad = CheckKeyboardParameters(data, lineCount);
            bad != kKeyboardPrepared) {
            return bad;
        }
    }
    OrderLinesByParameter(data, lineCount);
    data.progressTotal = static_cast<int16_t>(total);
    return message;
}

}  // namespace kx::core

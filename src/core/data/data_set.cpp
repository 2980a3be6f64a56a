#include "core/data/data_set.h"

#include <algorithm>
#include <cassert>
#include <limits>

#include "core/data/numeric_text.h"
#include "core/data/sort_pairs.h"
#include "core/data/text_chars.h"

namespace kx::core {
namespace {

[[maybe_unused]] bool IsLine(int line) {
    return line >= 1 && line <= kMaxLines;
}

}  // namespace

int16_t CountPoints(std::string_view pointText) {
    return static_cast<int16_t>(std::min<std::size_t>(CountOf(pointText, ','), kMaxPoints));
}

void ResetLine(DataSet& data, int line) {
    assert(IsLine(line));
    data.pointText[line].clear();
    data.pointCount[line] = 0;
    data.parameterText[line] = std::to_string(line);
}

void AppendPoint(DataSet& data, int line, std::string_view xText, std::string_view yText) {
    assert(IsLine(line));
    std::string& text = data.pointText[line];
    // A text edited by hand may have lost its last line end; the new record
    // still starts on its own line.
    if (!text.empty() && !EndsWithCrLf(text)) text.append("\r\n");
    text.append(TrimBlanks(xText));
    text.push_back(',');
    text.append(TrimBlanks(yText));
    text.append("\r\n");
    if (data.pointCount[line] < std::numeric_limits<int16_t>::max()) ++data.pointCount[line];
}

std::string SetPointText(DataSet& data, int line, std::string_view text) {
    assert(IsLine(line));
    std::string cleaned(text);
    if (CountOf(cleaned, ',') == 0) {
        data.pointCount[line] = 0;
        data.pointText[line] = cleaned;
        return cleaned;
    }
    if (cleaned.rfind("\r\n", 0) == 0) cleaned.erase(0, 2);
    for (int pass = 0; pass < 10; ++pass) {
        const std::size_t at = cleaned.find("\r\n\r\n");
        if (at == std::string::npos) break;
        cleaned.erase(at, 2);
    }
    data.pointText[line] = cleaned;
    data.pointCount[line] = CountPoints(cleaned);
    return cleaned;
}

void SetParameterText(DataSet& data, int line, std::string_view text) {
    assert(IsLine(line));
    data.parameterText[line] = Trimmed(text);
}

void OrderLinesByParameter(DataSet& data, int lineCount) {
    assert(lineCount >= 0 && lineCount <= kMaxLines);
    std::array<float, kMaxLines + 1> lineValue{};
    std::array<float, kMaxLines + 1> second{};
    for (int line = 1; line <= lineCount; ++line) {
        lineValue[line] = static_cast<float>(ValueOfText(data.parameterText[line]));
        data.parameterValue[line] = lineValue[line];
        second[line] = lineValue[line];
    }
    SortPairs(data.parameterValue, second, lineCount);

    std::array<bool, kMaxLines + 1> used{};
    for (int rank = 1; rank <= lineCount; ++rank) {
        data.lineOrder[rank] = 0;
        for (int line = 1; line <= lineCount; ++line) {
            if (!used[line] && lineValue[line] == data.parameterValue[rank]) {
                data.lineOrder[rank] = static_cast<int16_t>(line);
                used[line] = true;
                break;
            }
        }
    }
    // A value that equals no line (only a NaN could do that) still gets a line.
    for (int rank = 1; rank <= lineCount; ++rank) {
        for (int line = 1; data.lineOrder[rank] == 0 && line <= lineCount; ++line) {
            if (!used[line]) {
                data.lineOrder[rank] = static_cast<int16_t>(line);
                used[line] = true;
            }
        }
    }
}

}  // namespace kx::core

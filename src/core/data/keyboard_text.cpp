#include "core/data/keyboard_text.h"

#include <vector>

#include "core/data/data_set.h"
#include "core/data/preparation.h"
#include "core/data/text_chars.h"

namespace kx::core {

std::string KeyboardPointText(std::string_view boxText) {
    std::vector<std::string_view> lines;
    for (std::string_view line : SplitCrLfLines(boxText)) {
        if (TrimBlanks(line).empty() || static_cast<int>(lines.size()) == kMaxPoints) break;
        lines.push_back(line);
    }
    // The pairs are read by the keyboard preparation itself, on a scratch data
    // set, so that there is one reading of a pair; it stops at a refused line,
    // which is kept as typed before the reading goes on after it.
    std::string text;
    std::size_t next = 0;
    while (next < lines.size()) {
        DataSet scratch;
        for (std::size_t i = next; i < lines.size(); ++i) {
            scratch.pointText[1].append(lines[i]).append("\r\n");
        }
        scratch.pointCount[1] = static_cast<int16_t>(lines.size() - next);
        KeyboardPages pages;
        pages[1] = {"1", "1"};
        PrepareKeyboardEntry(scratch, pages);
        const int read = scratch.preparedCount[1];
        for (int i = 1; i <= read; ++i) {
            text += scratch.xText[1][i] + "," + scratch.yText[1][i] + "\r\n";
        }
        next += static_cast<std::size_t>(read);
        if (next < lines.size()) text.append(lines[next++]).append("\r\n");
    }
    return text;
}

}  // namespace kx::core

#include "core/data/text_chars.h"

namespace kx::core {
namespace {

bool IsContinuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// Byte offset of the character with index `chars` (or the text size).
std::size_t OffsetOfChar(std::string_view text, std::size_t chars) {
    std::size_t pos = 0;
    std::size_t seen = 0;
    while (pos < text.size()) {
        if (!IsContinuation(text[pos])) {
            if (seen == chars) return pos;
            ++seen;
        }
        ++pos;
    }
    return text.size();
}

}  // namespace

std::size_t CharCount(std::string_view text) {
    std::size_t count = 0;
    for (char c : text) {
        if (!IsContinuation(c)) ++count;
    }
    return count;
}

std::string LeftChars(std::string_view text, std::size_t count) {
    return std::string(text.substr(0, OffsetOfChar(text, count)));
}

std::string RightChars(std::string_view text, std::size_t count) {
    const std::size_t total = CharCount(text);
    if (total <= count) return std::string(text);
    return std::string(text.substr(OffsetOfChar(text, total - count)));
}

std::string RightAligned(std::string_view text, std::size_t width) {
    const std::size_t total = CharCount(text);
    if (total >= width) return RightChars(text, width);
    std::string out(width - total, ' ');
    out.append(text);
    return out;
}

std::string LeftAligned(std::string_view text, std::size_t width) {
    const std::size_t total = CharCount(text);
    if (total >= width) return LeftChars(text, width);
    std::string out(text);
    out.append(width - total, ' ');
    return out;
}

std::string_view TrimBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    const std::size_t last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

bool EndsWithCrLf(std::string_view text) {
    return text.size() >= 2 && text.substr(text.size() - 2) == "\r\n";
}

std::string Trimmed(std::string_view text) {
    return std::string(TrimBlanks(text));
}

std::vector<std::string_view> SplitCrLfLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        if (end == std::string_view::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

std::size_t CountOf(std::string_view text, char what) {
    std::size_t count = 0;
    for (char c : text) {
        if (c == what) ++count;
    }
    return count;
}

}  // namespace kx::core

#include "core/files/file_filter.h"

#include "core/data/text_chars.h"

namespace kx::core {
namespace {

// The length of the UTF-8 sequence a lead byte opens; 1 for a byte that
// opens none.
int SequenceLength(unsigned char lead) {
    return lead < 0x80           ? 1
           : (lead >> 5) == 0x6  ? 2
           : (lead >> 4) == 0xE  ? 3
           : (lead >> 3) == 0x1E ? 4
                                 : 1;
}

struct CodePoint {
    char32_t value;
    int bytes;
};

// The code point at byte i. A sequence cut short, by the end of the text or
// by a byte that continues none, stands for its lead byte alone.
CodePoint DecodeAt(std::string_view text, std::size_t i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const int length = SequenceLength(lead);
    char32_t c = length == 1 ? lead : lead & (0x7F >> length);
    int taken = 1;
    for (; taken < length && i + taken < text.size(); ++taken) {
        const auto next = static_cast<unsigned char>(text[i + taken]);
        if ((next & 0xC0) != 0x80) break;
        c = (c << 6) | (next & 0x3F);
    }
    if (taken != length) return {lead, 1};
    return {c, taken};
}

// The code points of a UTF-8 text with the ASCII letters in upper case; a
// byte that starts no valid sequence stands for itself.
std::u32string UpperCodePoints(std::string_view text) {
    std::u32string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        auto [c, bytes] = DecodeAt(text, i);
        if (c >= U'a' && c <= U'z') c -= U'a' - U'A';
        out += c;
        i += static_cast<std::size_t>(bytes);
    }
    return out;
}

// Wildcard match; a "*" that fails is retried one character further on, so
// the cost stays the product of the two lengths at worst.
bool MatchesPattern(const std::u32string& name, const std::u32string& pattern) {
    std::size_t n = 0, p = 0;
    std::size_t starP = std::u32string::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == U'?' || pattern[p] == name[n])) {
            ++n, ++p;
        } else if (p < pattern.size() && pattern[p] == U'*') {
            starP = p++;
            starN = n;
        } else if (starP != std::u32string::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == U'*') ++p;
    return p == pattern.size();
}

}  // namespace

FileFilter::FileFilter(std::string_view filter) {
    std::size_t start = 0;
    while (start <= filter.size()) {
        std::size_t end = filter.find(';', start);
        if (end == std::string_view::npos) end = filter.size();
        const std::string_view piece = TrimBlanks(filter.substr(start, end - start));
        if (!piece.empty()) patterns_.push_back(UpperCodePoints(piece));
        start = end + 1;
    }
}

bool FileFilter::Matches(std::string_view fileName) const {
    if (patterns_.empty()) return true;
    const std::u32string name = UpperCodePoints(fileName);
    for (const std::u32string& pattern : patterns_) {
        if (MatchesPattern(name, pattern)) return true;
    }
    return false;
}

}  // namespace kx::core

#include "core/files/cp932.h"

#include "core/files/code_page.h"

namespace kx::core {
namespace {

// The length of the UTF-8 sequence a byte starts; 0 for a byte that starts
// none.
std::size_t Utf8SequenceLength(unsigned char lead) {
    return lead < 0x80           ? 1
           : (lead >> 5) == 0x6  ? 2
           : (lead >> 4) == 0xE  ? 3
           : (lead >> 3) == 0x1E ? 4
                                 : 0;
}

bool IsContinuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

// The length of the CP932 sequence a byte starts: ASCII and half-width
// katakana are one byte, the lead bytes of the double-byte rows two; 0 for
// the bytes that start nothing (0x80, 0xA0, 0xFD to 0xFF).
std::size_t Cp932SequenceLength(unsigned char lead) {
    if (lead < 0x80 || (lead >= 0xA1 && lead <= 0xDF)) return 1;
    if ((lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC)) return 2;
    return 0;
}

bool IsCp932Trail(unsigned char c) {
    return c >= 0x40 && c <= 0xFC && c != 0x7F;
}

using SequenceLength = std::size_t (*)(unsigned char);
using Follows = bool (*)(unsigned char);

// The offset of the first sequence that is cut or malformed, or npos.
std::size_t FirstMalformed(std::string_view text, SequenceLength lengthOf, Follows follows) {
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t length = lengthOf(static_cast<unsigned char>(text[i]));
        if (length == 0 || i + length > text.size()) return i;
        for (std::size_t k = 1; k < length; ++k) {
            if (!follows(static_cast<unsigned char>(text[i + k]))) return i;
        }
        i += length;
    }
    return std::string_view::npos;
}

using Converter = CodePageStatus (*)(std::string_view, std::string&);

// Converts well-formed text; when the converter refuses it, the sequences are
// tried one by one to find the first it refuses, so that the offset does not
// depend on what the platform's converter tells.
CodecResult Convert(std::string_view text, Converter convert, SequenceLength lengthOf,
                    CodecStatus refused) {
    CodecResult result;
    const CodePageStatus status = convert(text, result.text);
    if (status == CodePageStatus::kOk) return result;
    result.text.clear();
    result.status = status == CodePageStatus::kUnavailable ? CodecStatus::kUnavailable : refused;
    if (status == CodePageStatus::kUnavailable) return result;
    std::string ignored;
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t length = lengthOf(static_cast<unsigned char>(text[i]));
        if (convert(text.substr(i, length), ignored) != CodePageStatus::kOk) break;
        i += length;
    }
    result.offset = i;
    return result;
}

}  // namespace

CodecResult Utf8ToCp932(std::string_view utf8) {
    // Malformed UTF-8 and characters CP932 lacks are told apart first, so
    // that the caller gets the right reason.
    const std::size_t bad = FirstMalformed(utf8, Utf8SequenceLength, IsContinuation);
    if (bad != std::string_view::npos) return {CodecStatus::kInvalidInput, {}, bad};
    return Convert(utf8, CodePageFromUtf8, Utf8SequenceLength, CodecStatus::kUnmappable);
}

CodecResult Cp932ToUtf8(std::string_view cp932) {
    const std::size_t bad = FirstMalformed(cp932, Cp932SequenceLength, IsCp932Trail);
    if (bad != std::string_view::npos) return {CodecStatus::kInvalidInput, {}, bad};
    // A well-formed pair may still name no character (an unassigned row).
    return Convert(cp932, CodePageToUtf8, Cp932SequenceLength, CodecStatus::kInvalidInput);
}

}  // namespace kx::core

#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The Windows Japanese code page at the file boundary. Everything inside the
// core is UTF-8; files are CP932, with the wave dash and the other characters
// Windows adds to plain Shift-JIS. The mapping is the platform's (code_page.h:
// iconv's "CP932", or the code-page API of Windows); the checks of the input
// and the places of its faults are this codec's own, the same on both.
namespace kx::core {

enum class CodecStatus {
    kOk = 0,
    kUnmappable,    // a character has no CP932 byte sequence (e.g. an emoji)
    kInvalidInput,  // the input is not valid in its own encoding
    kUnavailable,   // the platform offers no CP932 converter
};

struct CodecResult {
    CodecStatus status = CodecStatus::kOk;
    std::string text;        // the converted text; empty unless status is kOk
    std::size_t offset = 0;  // byte offset in the input of the first bad sequence
};

CodecResult Utf8ToCp932(std::string_view utf8);
CodecResult Cp932ToUtf8(std::string_view cp932);

}  // namespace kx::core

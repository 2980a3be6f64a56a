#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The Windows Japanese code page at the file boundary. Everything inside the
// core is UTF-8; files are CP932. The conversion goes through iconv's "CP932",
// which maps the wave dash and the other Windows-only characters that plain
// Shift-JIS refuses.
namespace kx::core {

enum class CodecStatus {
    kOk = 0,
    kUnmappable,    // a character has no CP932 byte sequence (e.g. an emoji)
    kInvalidInput,  // the input is not valid in its own encoding
    kUnavailable,   // the C library offers no CP932 converter
};

struct CodecResult {
    CodecStatus status = CodecStatus::kOk;
    std::string text;        // the converted text; empty unless status is kOk
    std::size_t offset = 0;  // byte offset in the input of the first bad sequence
};

CodecResult Utf8ToCp932(std::string_view utf8);
CodecResult Cp932ToUtf8(std::string_view cp932);

}  // namespace kx::core

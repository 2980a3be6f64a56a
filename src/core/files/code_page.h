#pragma once

#include <string>
#include <string_view>

// The platform's converter between UTF-8 and the Windows Japanese code page
// 932, beneath the codec of cp932.h: iconv's "CP932" where the C library
// offers it (code_page_iconv.cpp), the code-page API on Windows
// (code_page_windows.cpp). The codec checks the form of the input and finds
// the place of a refused character itself, so that both platforms report the
// same faults at the same offsets; the converter only maps characters.
namespace kx::core {

enum class CodePageStatus {
    kOk = 0,
    kRefused,      // some character has no counterpart in the other encoding
    kUnavailable,  // the platform offers no converter for code page 932
};

// `utf8` is well-formed UTF-8; `cp932` is made of whole CP932 byte sequences.
// `out` holds the converted text after kOk.
CodePageStatus CodePageFromUtf8(std::string_view utf8, std::string& out);
CodePageStatus CodePageToUtf8(std::string_view cp932, std::string& out);

}  // namespace kx::core

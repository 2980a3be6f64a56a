#include <windows.h>

#include "core/files/code_page.h"

namespace kx::core {
namespace {

constexpr UINT kJapanese = 932;

// Bytes of one code page into UTF-16; false when a sequence names no
// character.
bool ToWide(UINT codePage, std::string_view bytes, std::wstring& wide) {
    const int length = static_cast<int>(bytes.size());
    const int size =
        MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), length, nullptr, 0);
    if (size <= 0) return false;
    wide.assign(static_cast<std::size_t>(size), L'\0');
    return MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), length, wide.data(),
                               size) == size;
}

// UTF-16 into the bytes of a code page; false when a character has no exact
// counterpart there. Best-fit mappings (a look-alike taken instead) are
// refused, as iconv refuses them.
bool FromWide(UINT codePage, const std::wstring& wide, std::string& bytes) {
    const bool exact = codePage != CP_UTF8;
    const DWORD flags = exact ? WC_NO_BEST_FIT_CHARS : 0;
    const int length = static_cast<int>(wide.size());
    BOOL usedDefault = FALSE;
    BOOL* lossy = exact ? &usedDefault : nullptr;
    const int size =
        WideCharToMultiByte(codePage, flags, wide.data(), length, nullptr, 0, nullptr, lossy);
    if (size <= 0 || usedDefault) return false;
    bytes.assign(static_cast<std::size_t>(size), '\0');
    return WideCharToMultiByte(codePage, flags, wide.data(), length, bytes.data(), size, nullptr,
                               lossy) == size &&
           !usedDefault;
}

CodePageStatus Convert(UINT from, UINT to, std::string_view input, std::string& out) {
    if (!IsValidCodePage(kJapanese)) return CodePageStatus::kUnavailable;
    // The API refuses an empty input as an invalid parameter.
    if (input.empty()) {
        out.clear();
        return CodePageStatus::kOk;
    }
    std::wstring wide;
    return ToWide(from, input, wide) && FromWide(to, wide, out) ? CodePageStatus::kOk
                                                                : CodePageStatus::kRefused;
}

}  // namespace

CodePageStatus CodePageFromUtf8(std::string_view utf8, std::string& out) {
    return Convert(CP_UTF8, kJapanese, utf8, out);
}

CodePageStatus CodePageToUtf8(std::string_view cp932, std::string& out) {
    return Convert(kJapanese, CP_UTF8, cp932, out);
}

}  // namespace kx::core

#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Character-based text helpers. Core strings are UTF-8; wherever the system
// measures text ("the first 27 characters", "right-aligned in 2 characters")
// it counts characters, so these helpers count code points, not bytes.
namespace kx::core {

// Number of code points in a UTF-8 text.
std::size_t CharCount(std::string_view text);

// The first `count` characters of a text (the whole text when it is shorter).
std::string LeftChars(std::string_view text, std::size_t count);

// The last `count` characters of a text (the whole text when it is shorter).
std::string RightChars(std::string_view text, std::size_t count);

// The text right-aligned in `width` characters: padded with blanks in front, and
// cut to its last `width` characters when it is longer ("the last two digits").
std::string RightAligned(std::string_view text, std::size_t width);

// The text padded with blanks behind and cut to `width` characters.
std::string LeftAligned(std::string_view text, std::size_t width);

// The text without leading and trailing blanks. Only the blank counts: tabs and
// line breaks stay, as they do for the system's trim.
std::string_view TrimBlanks(std::string_view text);
std::string Trimmed(std::string_view text);

// The text lines of a CR LF text; a last piece without CR LF counts as a line,
// an empty text has none.
std::vector<std::string_view> SplitCrLfLines(std::string_view text);

// True when the text ends with CR LF.
bool EndsWithCrLf(std::string_view text);

// Number of times `what` occurs in `text`.
std::size_t CountOf(std::string_view text, char what);

}  // namespace kx::core

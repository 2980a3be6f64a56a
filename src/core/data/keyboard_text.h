#pragma once

#include <string>
#include <string_view>

// The keyboard-entry window's data box as the data set holds it.
namespace kx::core {

// The point text of a keyboard data box: one "X,Y" CR LF for every pair the
// keyboard-entry preparation reads (separated by a comma, a tab or blanks, up
// to the first empty text line, at most 100), so that the DataSet window shows
// and prepares the same points as the keyboard-entry window. A line the
// preparation refuses stays as it was typed, so that either window still names
// the fault.
std::string KeyboardPointText(std::string_view boxText);

}  // namespace kx::core

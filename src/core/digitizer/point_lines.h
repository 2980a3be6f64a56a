#pragma once

#include <string>
#include <string_view>
#include <vector>

// The points of a line's point text ("X,Y" CR LF per point) one by one: a
// text line with a comma is a point, numbered from 0 in the order of the
// text; other text lines (empty ones, a note typed in the box) are no point.
namespace kx::core {

std::vector<std::string_view> PointLines(std::string_view pointText);

// The text without point `point` and its CR LF; unchanged when there is no
// such point.
std::string WithoutPoint(std::string_view pointText, int point);

// The text with point `point` written as `record` instead; unchanged when
// there is no such point.
std::string WithPointReplaced(std::string_view pointText, int point, std::string_view record);

}  // namespace kx::core

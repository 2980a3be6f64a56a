#pragma once

#include <QFont>

namespace kx::render {

// The system's font "ＭＳ ゴシック" at the given point size, falling back to an
// installed Japanese Gothic font where it is missing.
QFont JapaneseFont(double pointSize);

}  // namespace kx::render

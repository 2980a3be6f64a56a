#pragma once

#include <QCursor>

namespace kx::ui {

// The three mouse pointers of the digitizer: the arrow, the cross for picking a
// position on the picture and the square shown once a point has been placed.
QCursor ArrowPointer();
QCursor CrossPointer();
QCursor SquarePointer();

}  // namespace kx::ui

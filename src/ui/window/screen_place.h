#pragma once

#include <QPoint>

class QWidget;

namespace kx::ui {

// `window` with its frame at `point`, moved back onto its screen's free area
// where it would leave it.
void PlaceOnScreen(QWidget& window, QPoint point);

// Moves `window` wholly onto its screen's free area: from where it stands,
// or, never placed, from the middle of the screen. Before the window system
// has framed it, its frame is taken to be as wide as that of `framed`.
void KeepOnScreen(QWidget& window, const QWidget* framed = nullptr);

}  // namespace kx::ui

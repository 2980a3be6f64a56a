#include "ui/window/screen_place.h"

#include <QMargins>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <algorithm>

namespace kx::ui {
namespace {

QMargins FrameMargins(const QWidget& window) {
    return window.windowHandle() != nullptr ? window.windowHandle()->frameMargins() : QMargins();
}

QPoint Clamped(QPoint point, QSize outer, const QRect& free) {
    return QPoint(std::max(free.left(), std::min(point.x(), free.right() + 1 - outer.width())),
                  std::max(free.top(), std::min(point.y(), free.bottom() + 1 - outer.height())));
}

}  // namespace

void PlaceOnScreen(QWidget& window, QPoint point) {
    const QRect free = window.screen()->availableGeometry();
    window.move(Clamped(point, window.frameGeometry().size(), free));
}

void KeepOnScreen(QWidget& window, const QWidget* framed) {
    const QRect free = window.screen()->availableGeometry();
    QMargins frame = FrameMargins(window);
    if (frame.isNull() && framed != nullptr) frame = FrameMargins(*framed);
    const QSize outer = window.size().grownBy(frame).expandedTo(window.frameGeometry().size());
    const QPoint from = window.testAttribute(Qt::WA_Moved)
                            ? window.frameGeometry().topLeft()
                            : free.center() - QPoint(outer.width() / 2, outer.height() / 2);
    const QPoint to = Clamped(from, outer, free);
    if (to != window.frameGeometry().topLeft() || !window.testAttribute(Qt::WA_Moved))
        window.move(to);
}

}  // namespace kx::ui

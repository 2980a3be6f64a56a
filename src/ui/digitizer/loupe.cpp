#include "ui/digitizer/loupe.h"

#include <QPainter>

#include "ui/digitizer/canvas.h"
#include "ui/digitizer/digitizer_names.h"

namespace kx::ui {
namespace {

// The loupe's corner this far from the pointer: the cross pointer's arms
// stay clear of it.
constexpr int kGap = 24;

}  // namespace

Loupe::Loupe(Canvas& canvas) : QWidget(&canvas), canvas_(canvas) {
    setObjectName(names::marks::kLoupe);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(kSide + 2, kSide + 2);
    hide();
}

QRect Loupe::SourceRect() const {
    return QRect(pixel_.x() - kReach, pixel_.y() - kReach, 2 * kReach + 1, 2 * kReach + 1);
}

QRect Loupe::PointerCell() const {
    return QRect(1 + kReach * kZoom, 1 + kReach * kZoom, kZoom, kZoom);
}

void Loupe::FollowPointer(QPoint pixel) {
    if (pixel == pixel_ && isVisible()) return;
    pixel_ = pixel;
    PlaceBeside(pixel);
    show();
    raise();
    update();
}

void Loupe::PlaceBeside(QPoint pixel) {
    // Below and to the right of the pointer, flipped to the other side where
    // the part of the canvas in view ends.
    QRect view = canvas_.visibleRegion().boundingRect();
    if (view.isEmpty()) view = canvas_.rect();
    int x = pixel.x() + kGap;
    int y = pixel.y() + kGap;
    if (x + width() > view.right() + 1 && pixel.x() - kGap - width() >= view.left())
        x = pixel.x() - kGap - width();
    if (y + height() > view.bottom() + 1 && pixel.y() - kGap - height() >= view.top())
        y = pixel.y() - kGap - height();
    move(x, y);
}

void Loupe::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(QColor(64, 64, 64));
    painter.drawRect(0, 0, width() - 1, height() - 1);

    const QRect source = SourceRect();
    painter.save();
    painter.setClipRect(1, 1, kSide, kSide);
    painter.translate(1, 1);
    painter.scale(kZoom, kZoom);
    painter.translate(-source.topLeft());
    canvas_.PaintScene(painter, source);
    painter.restore();

    // The cross-hair: two-tone lines towards the pointer's pixel, which stays
    // visible inside its frame.
    const QRect cell = PointerCell();
    const int cx = cell.center().x();
    const int cy = cell.center().y();
    painter.setBrush(Qt::NoBrush);
    for (const int pass : {0, 1}) {
        painter.setPen(QPen(pass == 0 ? QColor(Qt::white) : QColor(Qt::black), pass == 0 ? 3 : 1));
        painter.drawLine(1, cy, cell.left() - 4, cy);
        painter.drawLine(cell.right() + 4, cy, kSide, cy);
        painter.drawLine(cx, 1, cx, cell.top() - 4);
        painter.drawLine(cx, cell.bottom() + 4, cx, kSide);
        painter.drawRect(pass == 0 ? cell.adjusted(-2, -2, 1, 1) : cell.adjusted(-1, -1, 0, 0));
    }
}

}  // namespace kx::ui

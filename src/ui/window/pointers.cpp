#include "ui/window/pointers.h"

#include <QBitmap>
#include <QPainter>
#include <QPixmap>

namespace kx::ui {

QCursor ArrowPointer() {
    return QCursor(Qt::ArrowCursor);
}

QCursor CrossPointer() {
    return QCursor(Qt::CrossCursor);
}

QCursor SquarePointer() {
    // A small square within a square, hot spot in the middle.
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    {
        QPainter painter(&pixmap);
        painter.setPen(QPen(Qt::white, 3));
        painter.drawRect(2, 2, 11, 11);
        painter.setPen(QPen(Qt::black, 1));
        painter.drawRect(2, 2, 11, 11);
        painter.fillRect(6, 6, 4, 4, Qt::black);
    }
    return QCursor(pixmap, 8, 8);
}

}  // namespace kx::ui

#include "ui/plot/plot_picture.h"

#include <QPainter>

#include "ui/plot/plot_names.h"

namespace kx::ui {

PlotPicture::PlotPicture(QWidget* parent) : QWidget(parent) {
    setObjectName(names::plot::kPicture);
    // The image covers the whole picture; nothing behind it needs painting.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PlotPicture::SetImage(QImage image) {
    image_ = std::move(image);
    update();
}

void PlotPicture::Clear() {
    SetImage(QImage());
}

void PlotPicture::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.drawImage(QPointF(0, 0), image_);
}

}  // namespace kx::ui

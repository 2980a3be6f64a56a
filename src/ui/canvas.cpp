#include "ui/canvas.h"

#include <algorithm>

#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include "ui/control_names.h"
#include "ui/japanese_font.h"
#include "ui/pointers.h"
#include "ui/twips.h"

namespace kx::ui {
namespace {

constexpr int kMarkLineWidth = 2;

QPointF ToCanvasUnits(const QPointF& pixels) {
    return QPointF(PixelsToTwips(pixels.x()), PixelsToTwips(pixels.y()));
}

QPointF ToPixels(double x, double y) {
    return QPointF(x / kTwipsPerPixel, y / kTwipsPerPixel);
}

}  // namespace

Canvas::Canvas(QWidget* parent) : QWidget(parent), label_(new QLabel(this)) {
    setObjectName(names::main_window::kCanvas);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(CrossPointer());
    label_->setObjectName(names::main_window::kFloatingLabel);
    label_->setFont(JapaneseFont(9));
    label_->setAutoFillBackground(true);
    label_->setAttribute(Qt::WA_TransparentForMouseEvents);
    label_->hide();
    resize(sizeHint());
}

QSize Canvas::sizeHint() const {
    return hasPicture() ? picture_.size() : QSize(640, 480);
}

void Canvas::SetCanvasPicture(const QImage& picture) {
    // Held in a format the painter draws without converting it on every
    // repaint (a one-bit or paletted scan would otherwise be).
    const QImage::Format fast =
        picture.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
    picture_ =
        picture.isNull() || picture.format() == fast ? picture : picture.convertToFormat(fast);
    marks_.clear();
    resize(sizeHint());
    updateGeometry();
    update();
}

void Canvas::RestoreCanvasPicture() {
    // The picture itself is never drawn on: the unmarked copy is the picture.
    marks_.clear();
    update();
}

double Canvas::MarkerUnit() const {
    return PixelsToTwips(
        QFontMetricsF(JapaneseFont(9)).boundingRect(QStringLiteral("A")).height());
}

void Canvas::DrawPointMark(double cx, double cy, const QColor& color) {
    const double unit = MarkerUnit() / kTwipsPerPixel;
    Mark mark;
    mark.a = ToPixels(cx, cy);
    mark.radius = 0.12 * unit;
    mark.arm = 0.3 * unit;
    mark.color = color;
    AddMark(mark);
}

void Canvas::DrawLine(double x1, double y1, double x2, double y2, const QColor& color) {
    Mark mark;
    mark.isLine = true;
    mark.a = ToPixels(x1, y1);
    mark.b = ToPixels(x2, y2);
    mark.color = color;
    AddMark(mark);
}

void Canvas::AddMark(const Mark& mark) {
    marks_.push_back(mark);
    update(MarkBounds(mark));
}

QRect Canvas::MarkBounds(const Mark& mark) const {
    const double reach = mark.isLine ? 0 : std::max(mark.radius, mark.arm);
    QRectF box = mark.isLine
                     ? QRectF(mark.a, mark.b).normalized()
                     : QRectF(mark.a.x() - reach, mark.a.y() - reach, 2 * reach, 2 * reach);
    return box.toAlignedRect().adjusted(-kMarkLineWidth - 1, -kMarkLineWidth - 1,
                                        kMarkLineWidth + 1, kMarkLineWidth + 1);
}

void Canvas::SetFloatingLabel(const QString& text) {
    label_->setText(text);
    label_->adjustSize();
    label_->setVisible(!text.isEmpty());
}

void Canvas::PlaceFloatingLabel(int mouseX, int mouseY) {
    // Just above and to the right of the pointer.
    const double h = PixelsToTwips(label_->height());
    label_->move(TwipsToPixels(mouseX + 1.05 * h), TwipsToPixels(mouseY - 1.2 * h));
    if (!label_->text().isEmpty()) label_->show();
}

void Canvas::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRect area = event->rect();
    painter.fillRect(area, Qt::white);
    if (hasPicture()) {
        const QRect inside = area.intersected(picture_.rect());
        if (!inside.isEmpty()) painter.drawImage(inside.topLeft(), picture_, inside);
    }
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::NoBrush);
    for (const Mark& mark : marks_) {
        if (!MarkBounds(mark).intersects(area)) continue;
        painter.setPen(QPen(mark.color, kMarkLineWidth));
        if (mark.isLine) {
            painter.drawLine(mark.a, mark.b);
        } else {
            painter.drawEllipse(mark.a, mark.radius, mark.radius);
            painter.drawLine(mark.a - QPointF(mark.arm, 0), mark.a + QPointF(mark.arm, 0));
            painter.drawLine(mark.a - QPointF(0, mark.arm), mark.a + QPointF(0, mark.arm));
        }
    }
}

void Canvas::mousePressEvent(QMouseEvent* event) {
    pressInside_ = true;
    emit pressed(ToCanvasUnits(event->position()));
}

void Canvas::mouseReleaseEvent(QMouseEvent* event) {
    if (pressInside_ && rect().contains(event->position().toPoint())) emit clicked();
    pressInside_ = false;
}

void Canvas::mouseMoveEvent(QMouseEvent* event) {
    emit moved(ToCanvasUnits(event->position()));
}

void Canvas::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second click of a double click is a press like any other first.
    pressInside_ = true;
    emit pressed(ToCanvasUnits(event->position()));
    emit doubleClicked();
}

}  // namespace kx::ui

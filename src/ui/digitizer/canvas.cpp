#include "ui/digitizer/canvas.h"

#include <algorithm>

#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include "render/japanese_font.h"
#include "ui/digitizer/digitizer_names.h"
#include "ui/digitizer/loupe.h"
#include "ui/window/pointers.h"
#include "ui/window/twips.h"

namespace kx::ui {
namespace {

constexpr int kMarkLineWidth = 2;
// A captured point's mark: a thin ring that leaves the clicked pixel and the
// curve under it visible.
constexpr double kCaptureRadius = 3.5;
constexpr double kCaptureLineWidth = 1.5;
constexpr double kCaptureReach = 6;  // a Shift press this near takes the mark
constexpr double kFitLineWidth = 1.5;

// Ten colours that read on a white and on a grey scan, apart from the dark
// red of the calibration marks, the dark green of the mid points and the
// colour of the fitted curves.
const QColor kLineColours[10] = {
    QColor(0, 80, 255),  QColor(255, 120, 0), QColor(0, 170, 170), QColor(140, 0, 230),
    QColor(190, 150, 0), QColor(255, 70, 70), QColor(90, 180, 0),  QColor(0, 0, 140),
    QColor(140, 80, 40), QColor(0, 150, 255),
};
const QColor kFitColour(255, 0, 255);

QPointF ToCanvasUnits(const QPointF& pixels) {
    return QPointF(PixelsToTwips(pixels.x()), PixelsToTwips(pixels.y()));
}

QPointF ToPixels(double x, double y) {
    return QPointF(x / kTwipsPerPixel, y / kTwipsPerPixel);
}

// A press at a pixel gives the position of its top-left corner; what is drawn
// for a captured point or a value stands in the middle of that pixel.
QPointF ToPixelMiddle(const QPointF& canvasUnits) {
    return ToPixels(canvasUnits.x(), canvasUnits.y()) + QPointF(0.5, 0.5);
}

}  // namespace

Canvas::Canvas(QWidget* parent)
    : QWidget(parent), label_(new QLabel(this)), loupe_(new Loupe(*this)) {
    setObjectName(names::main_window::kCanvas);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(CrossPointer());
    // A click gives the canvas the keyboard, for the arrow keys.
    setFocusPolicy(Qt::ClickFocus);
    label_->setObjectName(names::main_window::kFloatingLabel);
    label_->setFont(render::JapaneseFont(9));
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
    captureMarks_.clear();
    fitCurves_.clear();
    loupe_->hide();
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
        QFontMetricsF(render::JapaneseFont(9)).boundingRect(QStringLiteral("A")).height());
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
    PaintScene(painter, event->rect());
}

void Canvas::PaintScene(QPainter& painter, const QRect& area) const {
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
    painter.setPen(QPen(kFitColour, kFitLineWidth));
    for (const QPolygonF& curve : fitCurves_) {
        if (CurveBounds(curve).intersects(area)) painter.drawPolyline(curve);
    }
    for (const CaptureMark& mark : captureMarks_) {
        const QPointF at = ToPixelMiddle(mark.at);
        if (!CaptureMarkBounds(at).intersects(area)) continue;
        painter.setPen(QPen(LineColour(mark.line), kCaptureLineWidth));
        painter.drawEllipse(at, kCaptureRadius, kCaptureRadius);
    }
}

// --- captured points, fitted curves, loupe -------------------------------------

QColor Canvas::LineColour(int line) {
    return kLineColours[(std::clamp(line, 1, 10) - 1)];
}

QColor Canvas::FitColour() {
    return kFitColour;
}

QRect Canvas::CaptureMarkBounds(QPointF pixel) {
    const double reach = kCaptureRadius + kCaptureLineWidth + 1;
    return QRectF(pixel.x() - reach, pixel.y() - reach, 2 * reach, 2 * reach).toAlignedRect();
}

QRect Canvas::CurveBounds(const QPolygonF& curve) const {
    return curve.boundingRect().toAlignedRect().adjusted(-2, -2, 2, 2);
}

void Canvas::SetCaptureMarks(const std::vector<CaptureMark>& marks) {
    // Only what changed is drawn again.
    QRegion changed;
    const std::size_t common = std::min(marks.size(), captureMarks_.size());
    const auto bounds = [](const CaptureMark& mark) {
        return CaptureMarkBounds(ToPixelMiddle(mark.at));
    };
    for (std::size_t k = 0; k < common; ++k) {
        const CaptureMark& a = marks[k];
        const CaptureMark& b = captureMarks_[k];
        if (a.at == b.at && a.line == b.line) continue;
        changed += bounds(a);
        changed += bounds(b);
    }
    for (std::size_t k = common; k < marks.size(); ++k) changed += bounds(marks[k]);
    for (std::size_t k = common; k < captureMarks_.size(); ++k)
        changed += bounds(captureMarks_[k]);
    captureMarks_ = marks;
    if (!changed.isEmpty()) {
        update(changed);
        if (loupe_->isVisible()) loupe_->update();
    }
}

std::optional<Canvas::CaptureMark> Canvas::CaptureMarkAt(QPointF pixel) const {
    std::optional<CaptureMark> nearest;
    double best = kCaptureReach * kCaptureReach;
    for (const CaptureMark& mark : captureMarks_) {
        const QPointF d = ToPixelMiddle(mark.at) - pixel;
        const double distance = QPointF::dotProduct(d, d);
        if (distance <= best) {
            best = distance;
            nearest = mark;
        }
    }
    return nearest;
}

void Canvas::SetFitOverlay(const std::vector<QPolygonF>& curves) {
    std::vector<QPolygonF> drawn;
    drawn.reserve(curves.size());
    for (const QPolygonF& curve : curves) {
        QPolygonF pixels;
        pixels.reserve(curve.size());
        for (const QPointF& p : curve) pixels << ToPixelMiddle(p);
        drawn.push_back(std::move(pixels));
    }
    // Asked again on every activation of the window: unchanged curves are
    // not drawn again.
    if (drawn == fitCurves_) return;
    QRegion changed;
    for (const QPolygonF& curve : fitCurves_) changed += CurveBounds(curve);
    for (const QPolygonF& curve : drawn) changed += CurveBounds(curve);
    fitCurves_ = std::move(drawn);
    update(changed);
    if (loupe_->isVisible()) loupe_->update();
}

void Canvas::ShowLoupe(QPoint pixel) {
    loupe_->FollowPointer(pixel);
}

void Canvas::HideLoupe() {
    loupe_->hide();
}

// --- input -------------------------------------------------------------------------

void Canvas::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && (event->modifiers() & Qt::ShiftModifier)) {
        if (const auto mark = CaptureMarkAt(event->position())) {
            pressInside_ = false;
            emit captureMarkShiftClicked(mark->line, mark->point);
            return;
        }
    }
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

QPoint Canvas::NudgeStep(const QKeyEvent& event) {
    const int step = (event.modifiers() & Qt::ShiftModifier) ? 10 : 1;
    switch (event.key()) {
        case Qt::Key_Left: return {-step, 0};
        case Qt::Key_Right: return {step, 0};
        case Qt::Key_Up: return {0, -step};
        case Qt::Key_Down: return {0, step};
        default: return {};
    }
}

void Canvas::keyPressEvent(QKeyEvent* event) {
    const QPoint step = NudgeStep(*event);
    if (!arrowsTaken_ || step.isNull()) {
        QWidget::keyPressEvent(event);  // the scroll area scrolls
        return;
    }
    emit nudgeRequested(step.x(), step.y());
}

void Canvas::leaveEvent(QEvent* event) {
    loupe_->hide();
    QWidget::leaveEvent(event);
}

}  // namespace kx::ui

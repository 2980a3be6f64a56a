#include "ui/digitizer/canvas.h"

#include <algorithm>
#include <cmath>

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
// Thin and half transparent: the traced curve stays visible under its trace.
constexpr double kTracedLineWidth = 1;
constexpr int kTracedAlpha = 170;

// Ten colours that read on a white and on a grey scan, apart from the dark
// red of the calibration marks, the dark green of the mid points and the
// colour of the fitted curves.
const QColor kLineColours[10] = {
    QColor(0, 80, 255),  QColor(255, 120, 0), QColor(0, 170, 170), QColor(140, 0, 230),
    QColor(190, 150, 0), QColor(255, 70, 70), QColor(90, 180, 0),  QColor(0, 0, 140),
    QColor(140, 80, 40), QColor(0, 150, 255),
};
const QColor kFitColour(255, 0, 255);

QPointF ToPixels(double x, double y) {
    return QPointF(x / kTwipsPerPixel, y / kTwipsPerPixel);
}

// A press at a pixel gives the position of its top-left corner; what is drawn
// for a captured point or a value stands in the middle of that pixel (at a
// zoom, of the screen pixel).
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
    if (!hasPicture()) return QSize(640, 480);
    return QSize(static_cast<int>(std::ceil(picture_.width() * zoom_)),
                 static_cast<int>(std::ceil(picture_.height() * zoom_)));
}

void Canvas::SetZoom(double zoom) {
    if (zoom == zoom_ || !(zoom > 0)) return;
    zoom_ = zoom;
    loupe_->hide();
    resize(sizeHint());
    updateGeometry();
    update();
}

// Multiplied first: a screen pixel at a zoom of a power of two converts to
// units and back exactly.
QPointF Canvas::WidgetPoint(QPointF canvasUnits) const {
    return canvasUnits * zoom_ / kTwipsPerPixel;
}

QPointF Canvas::CanvasPoint(QPointF widgetPoint) const {
    return widgetPoint * kTwipsPerPixel / zoom_;
}

QPointF Canvas::CaptureMarkPoint(QPointF canvasUnits) const {
    return WidgetPoint(canvasUnits) + QPointF(0.5, 0.5);
}

QPointF Canvas::CurvePoint(QPointF drawn) const {
    return (drawn - QPointF(0.5, 0.5)) * zoom_ + QPointF(0.5, 0.5);
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
    tracedCurves_.clear();
    loupe_->hide();
    zoom_ = 1.0;
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
    const QPointF a = Scaled(mark.a);
    QRectF box = mark.isLine ? QRectF(a, Scaled(mark.b)).normalized()
                             : QRectF(a.x() - reach, a.y() - reach, 2 * reach, 2 * reach);
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
    const double h = label_->height();
    const QPointF at = WidgetPoint(QPointF(mouseX, mouseY));
    label_->move(static_cast<int>(std::lround(at.x() + 1.05 * h)),
                 static_cast<int>(std::lround(at.y() - 1.2 * h)));
    if (!label_->text().isEmpty()) label_->show();
}

void Canvas::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    PaintScene(painter, event->rect());
}

void Canvas::PaintScene(QPainter& painter, const QRect& area) const {
    painter.fillRect(area, Qt::white);
    if (hasPicture()) PaintPicture(painter, area);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::NoBrush);
    // The marks are drawn at their places on the zoomed picture, in sizes of
    // the screen: crisp at every zoom.
    for (const Mark& mark : marks_) {
        if (!MarkBounds(mark).intersects(area)) continue;
        painter.setPen(QPen(mark.color, kMarkLineWidth));
        const QPointF a = Scaled(mark.a);
        if (mark.isLine) {
            painter.drawLine(a, Scaled(mark.b));
        } else {
            painter.drawEllipse(a, mark.radius, mark.radius);
            painter.drawLine(a - QPointF(mark.arm, 0), a + QPointF(mark.arm, 0));
            painter.drawLine(a - QPointF(0, mark.arm), a + QPointF(0, mark.arm));
        }
    }
    PaintCurves(painter, area);
    for (const CaptureMark& mark : captureMarks_) {
        const QPointF at = CaptureMarkPoint(mark.at);
        if (!CaptureMarkBounds(at).intersects(area)) continue;
        painter.setPen(QPen(LineColour(mark.line), kCaptureLineWidth));
        painter.drawEllipse(at, kCaptureRadius, kCaptureRadius);
    }
}

void Canvas::PaintPicture(QPainter& painter, const QRect& area) const {
    if (zoom_ == 1.0) {
        const QRect inside = area.intersected(picture_.rect());
        if (!inside.isEmpty()) painter.drawImage(inside.topLeft(), picture_, inside);
        return;
    }
    // Only the picture pixels under the area are drawn, each as a square of
    // the zoom: no scaled copy of the whole picture is made.
    const auto below = [this](int at) { return static_cast<int>(std::floor(at / zoom_)); };
    const auto above = [this](int at) { return static_cast<int>(std::ceil(at / zoom_)); };
    const QRect source = QRect(QPoint(below(area.left()), below(area.top())),
                               QPoint(above(area.right() + 1) - 1, above(area.bottom() + 1) - 1))
                             .intersected(picture_.rect());
    if (source.isEmpty()) return;
    const QRectF target(source.x() * zoom_, source.y() * zoom_, source.width() * zoom_,
                        source.height() * zoom_);
    painter.save();
    // Sharp pixels when enlarged; smoothed when the whole of a large scan is
    // fitted into the window.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, zoom_ < 1.0);
    painter.drawImage(target, picture_, QRectF(source));
    painter.restore();
}

void Canvas::PaintCurves(QPainter& painter, const QRect& area) const {
    for (const TracedCurve& traced : tracedCurves_) {
        QColor colour = LineColour(traced.line);
        colour.setAlpha(kTracedAlpha);
        painter.setPen(QPen(colour, kTracedLineWidth));
        PaintPolyline(painter, area, traced.centre);
    }
    painter.setPen(QPen(kFitColour, kFitLineWidth));
    for (const QPolygonF& curve : fitCurves_) PaintPolyline(painter, area, curve);
}

void Canvas::PaintPolyline(QPainter& painter, const QRect& area, const QPolygonF& curve) const {
    if (curve.size() < 2 || !CurveBounds(curve).intersects(area)) return;
    // Enlarged, a curve reaches far beyond the view: only its pieces near
    // the area are handed to the painter.
    const QRectF near = QRectF(area).adjusted(-4, -4, 4, 4);
    QPolygonF piece;
    QPointF from = CurvePoint(curve.front());
    for (qsizetype k = 1; k < curve.size(); ++k) {
        const QPointF to = CurvePoint(curve[k]);
        if (QRectF(from, to).normalized().adjusted(-1, -1, 1, 1).intersects(near)) {
            if (piece.isEmpty()) piece << from;
            piece << to;
        } else if (!piece.isEmpty()) {
            painter.drawPolyline(piece);
            piece.clear();
        }
        from = to;
    }
    if (!piece.isEmpty()) painter.drawPolyline(piece);
}

// --- captured points, fitted curves, loupe -------------------------------------

QColor Canvas::LineColour(int line) {
    return kLineColours[(std::clamp(line, 1, 10) - 1)];
}

QColor Canvas::FitColour() {
    return kFitColour;
}

QRect Canvas::CaptureMarkBounds(QPointF widgetPoint) {
    const double reach = kCaptureRadius + kCaptureLineWidth + 1;
    return QRectF(widgetPoint.x() - reach, widgetPoint.y() - reach, 2 * reach, 2 * reach)
        .toAlignedRect();
}

QRect Canvas::CurveBounds(const QPolygonF& curve) const {
    const QRectF box = curve.boundingRect();
    return QRectF(CurvePoint(box.topLeft()), CurvePoint(box.bottomRight()))
        .toAlignedRect()
        .adjusted(-2, -2, 2, 2);
}

void Canvas::SetCaptureMarks(const std::vector<CaptureMark>& marks) {
    // Only what changed is drawn again.
    QRegion changed;
    const std::size_t common = std::min(marks.size(), captureMarks_.size());
    const auto bounds = [this](const CaptureMark& mark) {
        return CaptureMarkBounds(CaptureMarkPoint(mark.at));
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

std::optional<Canvas::CaptureMark> Canvas::CaptureMarkAt(QPointF widgetPoint) const {
    std::optional<CaptureMark> nearest;
    double best = kCaptureReach * kCaptureReach;
    for (const CaptureMark& mark : captureMarks_) {
        const QPointF d = CaptureMarkPoint(mark.at) - widgetPoint;
        const double distance = QPointF::dotProduct(d, d);
        if (distance <= best) {
            best = distance;
            nearest = mark;
        }
    }
    return nearest;
}

QPolygonF Canvas::PixelMiddles(const QPolygonF& canvasUnits) {
    QPolygonF pixels;
    pixels.reserve(canvasUnits.size());
    for (const QPointF& p : canvasUnits) pixels << ToPixelMiddle(p);
    return pixels;
}

void Canvas::SetFitOverlay(const std::vector<QPolygonF>& curves) {
    std::vector<QPolygonF> drawn;
    drawn.reserve(curves.size());
    for (const QPolygonF& curve : curves) drawn.push_back(PixelMiddles(curve));
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

void Canvas::SetTracedOverlay(const std::vector<TracedCurve>& curves) {
    std::vector<TracedCurve> drawn;
    drawn.reserve(curves.size());
    for (const TracedCurve& curve : curves)
        drawn.push_back({PixelMiddles(curve.centre), curve.line});
    if (drawn == tracedCurves_) return;
    QRegion changed;
    for (const TracedCurve& curve : tracedCurves_) changed += CurveBounds(curve.centre);
    for (const TracedCurve& curve : drawn) changed += CurveBounds(curve.centre);
    tracedCurves_ = std::move(drawn);
    update(changed);
    if (loupe_->isVisible()) loupe_->update();
}

void Canvas::ShowLoupe(QPointF canvasUnits) {
    const QPointF at = WidgetPoint(canvasUnits);
    loupe_->FollowPointer(
        QPoint(static_cast<int>(std::floor(at.x())), static_cast<int>(std::floor(at.y()))));
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
    emit pressed(CanvasPoint(event->position()));
}

void Canvas::mouseReleaseEvent(QMouseEvent* event) {
    if (pressInside_ && rect().contains(event->position().toPoint())) emit clicked();
    pressInside_ = false;
}

void Canvas::mouseMoveEvent(QMouseEvent* event) {
    emit moved(CanvasPoint(event->position()));
}

void Canvas::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second click of a double click is a press like any other first.
    pressInside_ = true;
    emit pressed(CanvasPoint(event->position()));
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

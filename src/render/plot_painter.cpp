#include "render/plot_painter.h"

#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <QPen>

#include <algorithm>
#include <cmath>

#include "render/japanese_font.h"

namespace kx::render {
namespace {

// Pixels are counted at 96 dpi on the screen; paper lines are those of a
// 300 dpi printer, on which the printed plot's widths 1, 2 and 3 were made.
constexpr double kScreenDpi = 96.0;
constexpr double kPaperDpi = 300.0;

// In the order of TextRole, so that a role indexes its font.
constexpr core::TextRole kRoles[] = {core::TextRole::kTickLabel, core::TextRole::kAxisName,
                                     core::TextRole::kTitle, core::TextRole::kParameter};

QString Text(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The middle of the pixel a coordinate falls in.
double PixelCentre(double v) {
    return std::floor(v) + 0.5;
}

}  // namespace

PainterSurface::PainterSurface(QPainter& painter, QRectF area, double thinLine, bool raster)
    : painter_(painter), area_(area), thinLine_(thinLine), raster_(raster) {
    for (const core::TextRole role : kRoles) {
        const QFont font = JapaneseFont(core::FontSize(role));
        fonts_.push_back({font, QFontMetricsF(font, painter.device())});
    }
    painter_.setRenderHint(QPainter::Antialiasing);
    painter_.setRenderHint(QPainter::TextAntialiasing);
    painter_.setBrush(Qt::NoBrush);
    ApplyPen();
}

const PainterSurface::RoleFont& PainterSurface::FontOf(core::TextRole role) const {
    return fonts_[static_cast<std::size_t>(role)];
}

void PainterSurface::setDrawingWindow(const core::DrawingWindow& window) {
    window_ = window;
    scaleX_ = window.width != 0.0 ? area_.width() / window.width : 1.0;
    scaleY_ = window.height != 0.0 ? area_.height() / window.height : 1.0;
}

QPointF PainterSurface::Map(double x, double y) const {
    return {area_.left() + (x - window_.left) * scaleX_,
            area_.top() + (y - window_.top) * scaleY_};
}

void PainterSurface::clear() {
    painter_.fillRect(area_, Qt::white);
}

void PainterSurface::ApplyPen() {
    QPen pen(color_, thinLine_ * lineWidth_);
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::RoundJoin);
    painter_.setPen(pen);
}

void PainterSurface::setColor(core::Rgb color) {
    color_ = QColor(color.r, color.g, color.b);
    ApplyPen();
}

void PainterSurface::setLineWidth(int width) {
    lineWidth_ = std::max(width, 1);
    ApplyPen();
}

void PainterSurface::drawLine(double x1, double y1, double x2, double y2) {
    QPointF a = Map(x1, y1);
    QPointF b = Map(x2, y2);
    if (raster_ && a.x() == b.x()) a.rx() = b.rx() = PixelCentre(a.x());
    if (raster_ && a.y() == b.y()) a.ry() = b.ry() = PixelCentre(a.y());
    painter_.drawLine(a, b);
}

void PainterSurface::drawCircle(double x, double y, double radius) {
    const double r = radius * scaleX_;
    painter_.drawEllipse(Map(x, y), r, r);
}

void PainterSurface::drawText(double x, double y, std::string_view text, core::TextRole role) {
    const RoleFont& font = FontOf(role);
    const QPointF at = Map(x, y);
    painter_.setFont(font.font);
    painter_.drawText(QPointF(at.x(), at.y() + font.metrics.ascent()), Text(text));
}

core::TextSize PainterSurface::measureText(std::string_view text, core::TextRole role) const {
    const QFontMetricsF& metrics = FontOf(role).metrics;
    return {metrics.horizontalAdvance(Text(text)) / scaleX_, metrics.height() / scaleY_};
}

core::PageSize PainterSurface::pageSize() const {
    return {area_.width(), area_.height()};
}

PainterSurface ImageSurface(QPainter& painter, const QImage& image) {
    // The painter works in the image's device-independent pixels.
    const double dpi = image.logicalDpiX() > 0 ? image.logicalDpiX() : kScreenDpi;
    const double thin = std::max(1.0, std::round(dpi / kScreenDpi));
    return PainterSurface(painter, QRectF(QPointF(0, 0), image.deviceIndependentSize()), thin,
                          true);
}

PainterSurface PaperSurface(QPainter& painter, const QPaintDevice& page) {
    const double dpi = page.logicalDpiX() > 0 ? page.logicalDpiX() : kPaperDpi;
    return PainterSurface(painter, QRectF(0, 0, page.width(), page.height()), dpi / kPaperDpi,
                          false);
}

}  // namespace kx::render

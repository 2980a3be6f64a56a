#pragma once

#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QRectF>

#include <vector>

#include "core/plot/plot_surface.h"

class QImage;
class QPainter;
class QPaintDevice;

// The analysis plot drawn by a QPainter: the same surface serves the plot
// window's picture, the printer, PDF, SVG and PNG files. The drawing window is
// mapped onto the target's area here, point by point, and every text is set in
// the target's own font metrics, so fonts keep their point size on any device
// and vector targets keep their texts as texts.
namespace kx::render {

class PainterSurface : public core::PlotSurface {
public:
    // `area`: the rectangle in the painter's coordinates that the drawing
    // window fills. `thinLine`: the width of line width 1 in those coordinates.
    // `raster`: the target is made of pixels, so lines along the axes are put
    // on pixel centres to stay one pixel sharp.
    PainterSurface(QPainter& painter, QRectF area, double thinLine, bool raster);

    void setDrawingWindow(const core::DrawingWindow& window) override;
    void clear() override;
    void setColor(core::Rgb color) override;
    void setLineWidth(int width) override;
    void drawLine(double x1, double y1, double x2, double y2) override;
    void drawCircle(double x, double y, double radius) override;
    void drawText(double x, double y, std::string_view text, core::TextRole role) override;
    core::TextSize measureText(std::string_view text, core::TextRole role) const override;
    core::PageSize pageSize() const override;

private:
    struct RoleFont {
        QFont font;
        QFontMetricsF metrics;
    };
    const RoleFont& FontOf(core::TextRole role) const;
    QPointF Map(double x, double y) const;
    void ApplyPen();

    QPainter& painter_;
    QRectF area_;
    double thinLine_;
    bool raster_;
    core::DrawingWindow window_{0.0, 0.0, 1.0, 1.0};
    double scaleX_ = 1.0;  // target units per drawing unit
    double scaleY_ = 1.0;
    QColor color_{Qt::black};
    int lineWidth_ = 1;
    std::vector<RoleFont> fonts_;  // indexed by TextRole
};

// A surface on a picture held in a QImage (the window's picture, a PNG file):
// the whole image, one pixel of the image's resolution as the thinnest line.
PainterSurface ImageSurface(QPainter& painter, const QImage& image);

// A surface on a page (the printer, a PDF file): the device's whole printable
// area, with the thinnest line of a 300 dpi printer.
PainterSurface PaperSurface(QPainter& painter, const QPaintDevice& page);

}  // namespace kx::render

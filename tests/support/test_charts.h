#pragma once

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QString>

#include <functional>
#include <vector>

#include "core/digitizer/axis_calibration.h"
#include "core/trace/rgb_image.h"

class QPainter;

// Charts the tracing is measured on, drawn here at known coordinates: curves
// of known functions, anti-aliased, over grids, with markers, dashes, a
// legend and tick marks, saved and read back as PNG or JPEG; and the scores of
// a trace against the drawn curve, in pixels and, after a fit, in values.
namespace kx::test {

struct ChartCurve {
    std::function<double(double)> f;
    double xFrom = 0, xTo = 0;  // the X range drawn
    QColor colour = Qt::black;
    double width = 2;  // pixels
    Qt::PenStyle style = Qt::SolidLine;
    bool markers = false;  // filled circles on the line
    QString label;         // in the legend
};

struct ChartSpec {
    int width = 800, height = 600;
    QRectF frame{80, 40, 680, 500};  // the plot area, in picture pixels
    double xMin = 0, xMax = 1, yMin = 0, yMax = 1;
    bool logX = false, logY = false;
    int xDivisions = 10, yDivisions = 8;  // of the grid, on a linear axis
    QColor gridColour = QColor(190, 190, 190);
    double gridWidth = 1;
    bool gridOverCurves = false;  // the grid drawn after the curves
    bool legend = false;          // in the top left corner of the plot area
    bool clipToFrame = true;      // curves end at the frame
    std::vector<ChartCurve> curves;
};

// What a trace scores against its drawn curve.
struct TraceScore {
    double withinOnePixel = 0;  // share of the points within 1 pixel of the curve
    double median = 0;          // of their distances, pixels
    double largest = 0;
    double coverage = 0;  // share of the drawn curve's X extent that the points span
};

class TestChart {
public:
    explicit TestChart(ChartSpec spec);

    const ChartSpec& spec() const { return spec_; }
    // The chart as drawn, 8 bits a channel.
    QImage Draw() const;

    // Picture pixels (the centre of the top-left pixel at 0, 0) of chart values.
    core::PicturePoint PixelOf(double x, double y) const;
    // The curve as drawn and visible: a dense polyline in picture pixels.
    std::vector<core::PicturePoint> DrawnCurve(int curve) const;
    // A point on the curve at X = x, for a seed.
    core::PicturePoint OnCurve(int curve, double x) const;

    TraceScore Score(int curve, const std::vector<core::PicturePoint>& points) const;
    // The calibration of the panel on the frame's corners, in canvas units
    // (picture pixels x 15).
    core::AxisCalibration Calibration() const;
    // The share of X values along the traced range at which the Calc of the
    // family fitted from the points (converted as captured points are) lies
    // within `tolerance` of the drawn function.
    double FitWithin(int curve, const std::vector<core::PicturePoint>& points,
                     double tolerance) const;

private:
    double XPixel(double x) const;
    double YPixel(double y) const;
    void DrawGrid(QPainter& painter) const;
    void DrawCurves(QPainter& painter) const;
    void DrawLegend(QPainter& painter) const;
    void DrawFrame(QPainter& painter) const;

    ChartSpec spec_;
};

// A picture through the JPEG coder at `quality`, as a scan saved so would be.
QImage ThroughJpeg(const QImage& image, int quality);
// A grey scan: the picture in grey levels with Gaussian noise of `sigma` levels.
QImage GreyScan(const QImage& image, double sigma, unsigned seed = 5);

// A picture in 3 bytes a pixel and the tracing's view of it.
struct RgbPicture {
    explicit RgbPicture(const QImage& image);
    QImage image;
    core::RgbImage view;
};

}  // namespace kx::test

#include "test_charts.h"

#include <QBuffer>
#include <QImageReader>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <random>

#include "core/codegen/calc_evaluation.h"
#include "core/codegen/calc_family.h"
#include "core/codegen/calc_program.h"
#include "core/data/data_set.h"
#include "core/data/preparation.h"
#include "core/data/text_chars.h"
#include "core/fitting/calc_settings.h"
#include "core/fitting/fit_results.h"

namespace kx::test {
namespace {

constexpr int kCurveSamples = 4000;

double Scaled(double v, double lo, double hi, bool log) {
    return log ? std::log(v / lo) / std::log(hi / lo) : (v - lo) / (hi - lo);
}

double Unscaled(double t, double lo, double hi, bool log) {
    return log ? lo * std::pow(hi / lo, t) : lo + t * (hi - lo);
}

double DistanceToPolyline(const std::vector<core::PicturePoint>& line, core::PicturePoint p) {
    double best = 1e300;
    for (std::size_t i = 1; i < line.size(); ++i) {
        const core::PicturePoint a = line[i - 1], b = line[i];
        const double dx = b.x - a.x, dy = b.y - a.y;
        const double length2 = dx * dx + dy * dy;
        const double t =
            length2 > 0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / length2, 0.0, 1.0)
                        : 0.0;
        best = std::min(best, std::hypot(p.x - a.x - t * dx, p.y - a.y - t * dy));
    }
    return best;
}

// Grid positions of an axis, as fractions 0..1 of it: the divisions of a
// linear axis; 1, 2, ..., 9 of every decade of a logarithmic one.
std::vector<double> GridFractions(double lo, double hi, bool log, int divisions) {
    std::vector<double> at;
    if (!log) {
        for (int i = 1; i < divisions; ++i) at.push_back(static_cast<double>(i) / divisions);
        return at;
    }
    for (double decade = std::pow(10.0, std::floor(std::log10(lo))); decade < hi; decade *= 10) {
        for (int m = 1; m <= 9; ++m) {
            const double t = Scaled(m * decade, lo, hi, true);
            if (t > 1e-6 && t < 1 - 1e-6) at.push_back(t);
        }
    }
    return at;
}

}  // namespace

TestChart::TestChart(ChartSpec spec) : spec_(std::move(spec)) {}

double TestChart::XPixel(double x) const {
    return spec_.frame.left() +
           Scaled(x, spec_.xMin, spec_.xMax, spec_.logX) * spec_.frame.width();
}

double TestChart::YPixel(double y) const {
    return spec_.frame.bottom() -
           Scaled(y, spec_.yMin, spec_.yMax, spec_.logY) * spec_.frame.height();
}

core::PicturePoint TestChart::PixelOf(double x, double y) const {
    return {XPixel(x), YPixel(y)};
}

std::vector<core::PicturePoint> TestChart::DrawnCurve(int curve) const {
    const ChartCurve& c = spec_.curves[static_cast<std::size_t>(curve)];
    std::vector<core::PicturePoint> line;
    const double t0 = Scaled(c.xFrom, spec_.xMin, spec_.xMax, spec_.logX);
    const double t1 = Scaled(c.xTo, spec_.xMin, spec_.xMax, spec_.logX);
    for (int i = 0; i <= kCurveSamples; ++i) {
        const double x =
            Unscaled(t0 + (t1 - t0) * i / kCurveSamples, spec_.xMin, spec_.xMax, spec_.logX);
        const core::PicturePoint p = PixelOf(x, c.f(x));
        const bool visible = spec_.clipToFrame
                                 ? spec_.frame.contains(p.x, p.y)
                                 : p.x >= 0 && p.y >= 0 && p.x < spec_.width && p.y < spec_.height;
        if (visible && std::isfinite(p.y)) line.push_back(p);
    }
    return line;
}

core::PicturePoint TestChart::OnCurve(int curve, double x) const {
    return PixelOf(x, spec_.curves[static_cast<std::size_t>(curve)].f(x));
}

void TestChart::DrawGrid(QPainter& painter) const {
    painter.setPen(QPen(spec_.gridColour, spec_.gridWidth));
    const QRectF& f = spec_.frame;
    for (double t : GridFractions(spec_.xMin, spec_.xMax, spec_.logX, spec_.xDivisions)) {
        const double x = f.left() + t * f.width();
        painter.drawLine(QPointF(x, f.top()), QPointF(x, f.bottom()));
        painter.drawLine(QPointF(x, f.bottom()), QPointF(x, f.bottom() + 8));  // tick
    }
    for (double t : GridFractions(spec_.yMin, spec_.yMax, spec_.logY, spec_.yDivisions)) {
        const double y = f.bottom() - t * f.height();
        painter.drawLine(QPointF(f.left(), y), QPointF(f.right(), y));
        painter.drawLine(QPointF(f.left() - 8, y), QPointF(f.left(), y));
    }
}

void TestChart::DrawCurves(QPainter& painter) const {
    painter.save();
    if (spec_.clipToFrame) painter.setClipRect(spec_.frame);
    for (int k = 0; k < static_cast<int>(spec_.curves.size()); ++k) {
        const ChartCurve& c = spec_.curves[static_cast<std::size_t>(k)];
        QPainterPath path;
        bool started = false;
        const double t0 = Scaled(c.xFrom, spec_.xMin, spec_.xMax, spec_.logX);
        const double t1 = Scaled(c.xTo, spec_.xMin, spec_.xMax, spec_.logX);
        for (int i = 0; i <= kCurveSamples; ++i) {
            const double x =
                Unscaled(t0 + (t1 - t0) * i / kCurveSamples, spec_.xMin, spec_.xMax, spec_.logX);
            const core::PicturePoint p = PixelOf(x, c.f(x));
            if (!std::isfinite(p.y) || std::abs(p.y) > 1e6) continue;
            if (started) {
                path.lineTo(p.x, p.y);
            } else {
                path.moveTo(p.x, p.y);
                started = true;
            }
        }
        QPen pen(c.colour, c.width, c.style, Qt::FlatCap, Qt::RoundJoin);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(path);
        if (!c.markers) continue;
        painter.setPen(Qt::NoPen);
        painter.setBrush(c.colour);
        for (int m = 1; m <= 7; ++m) {
            const double x =
                Unscaled(t0 + (t1 - t0) * m / 8.0, spec_.xMin, spec_.xMax, spec_.logX);
            const core::PicturePoint p = PixelOf(x, c.f(x));
            painter.drawEllipse(QPointF(p.x, p.y), 2.5 * c.width, 2.5 * c.width);
        }
    }
    painter.restore();
}

void TestChart::DrawLegend(QPainter& painter) const {
    const double rowHeight = 22;
    const QRectF box(spec_.frame.left() + 12, spec_.frame.top() + 12, 158,
                     12 + rowHeight * static_cast<double>(spec_.curves.size()));
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::white);
    painter.drawRect(box);
    QFont font = painter.font();
    font.setPixelSize(14);
    painter.setFont(font);
    for (std::size_t k = 0; k < spec_.curves.size(); ++k) {
        const ChartCurve& c = spec_.curves[k];
        const double y = box.top() + 16 + rowHeight * static_cast<double>(k);
        painter.setPen(QPen(c.colour, c.width, c.style));
        painter.drawLine(QPointF(box.left() + 8, y), QPointF(box.left() + 48, y));
        painter.setPen(Qt::black);
        painter.drawText(QPointF(box.left() + 56, y + 5), c.label);
    }
}

void TestChart::DrawFrame(QPainter& painter) const {
    painter.setPen(QPen(Qt::black, 1.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(spec_.frame);
}

QImage TestChart::Draw() const {
    QImage image(spec_.width, spec_.height, QImage::Format_RGB888);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    // The painter's pixel (0, 0) spans 0..1; the tracing's centre is at 0.
    painter.translate(0.5, 0.5);
    if (!spec_.gridOverCurves) DrawGrid(painter);
    DrawCurves(painter);
    if (spec_.gridOverCurves) DrawGrid(painter);
    DrawFrame(painter);
    if (spec_.legend) DrawLegend(painter);
    return image;
}

TraceScore TestChart::Score(int curve, const std::vector<core::PicturePoint>& points) const {
    TraceScore score;
    if (points.empty()) return score;
    const std::vector<core::PicturePoint> drawn = DrawnCurve(curve);
    std::vector<double> distances;
    double left = points.front().x, right = left;
    for (const core::PicturePoint& p : points) {
        distances.push_back(DistanceToPolyline(drawn, p));
        left = std::min(left, p.x);
        right = std::max(right, p.x);
    }
    const auto within =
        std::count_if(distances.begin(), distances.end(), [](double d) { return d <= 1.0; });
    score.withinOnePixel = static_cast<double>(within) / static_cast<double>(distances.size());
    score.largest = *std::max_element(distances.begin(), distances.end());
    std::nth_element(distances.begin(), distances.begin() + distances.size() / 2, distances.end());
    score.median = distances[distances.size() / 2];
    const auto [lo, hi] = std::minmax_element(
        drawn.begin(), drawn.end(),
        [](const core::PicturePoint& a, const core::PicturePoint& b) { return a.x < b.x; });
    const double span = hi->x - lo->x;
    score.coverage = span > 0 ? (std::min(right, hi->x) - std::max(left, lo->x)) / span : 0;
    return score;
}

core::AxisCalibration TestChart::Calibration() const {
    core::AxisCalibration cal;
    const QRectF& f = spec_.frame;
    cal.Xmin = static_cast<float>(spec_.xMin);
    cal.Xmax = static_cast<float>(spec_.xMax);
    cal.Ymin = static_cast<float>(spec_.yMin);
    cal.Ymax = static_cast<float>(spec_.yMax);
    cal.X1MIN = static_cast<float>(f.left() * 15);
    cal.X1MAX = static_cast<float>(f.right() * 15);
    cal.Y1MIN = static_cast<float>(f.bottom() * 15);
    cal.Y1MAX = static_cast<float>(f.top() * 15);
    cal.originXSet = cal.xMaxSet = cal.originYSet = cal.yMaxSet = true;
    cal.logX = spec_.logX;
    cal.logY = spec_.logY;
    cal.calibrationConfirmed = true;
    cal.calibrationInvalid = false;
    return cal;
}

double TestChart::FitWithin(int curve, const std::vector<core::PicturePoint>& points,
                            double tolerance) const {
    const core::AxisCalibration cal = Calibration();
    core::DataSet data;
    for (int line = 1; line <= core::kMaxLines; ++line) core::ResetLine(data, line);
    double left = 1e300, right = -1e300;
    for (const core::PicturePoint& p : points) {
        const auto sampled = core::SampleAt(cal, p.x * 15, p.y * 15);
        if (!sampled) continue;
        core::AppendPoint(data, 1, core::Trimmed(sampled->xText), core::Trimmed(sampled->yText));
        left = std::min(left, sampled->value.x);
        right = std::max(right, sampled->value.x);
    }
    data.selectedLine = 0;
    if (core::PrepareDataSet(data) != core::kPrepared) return 0;
    core::FitResults results;
    core::FitAndGenerate(data, core::CalcSettings{}, results);
    const core::CalcFamilyBuild built = core::CalcFamilyOf(data, results);
    const std::function<double(double)>& f = spec_.curves[static_cast<std::size_t>(curve)].f;
    constexpr int kChecks = 200;
    int within = 0;
    for (int i = 0; i <= kChecks; ++i) {
        const double x = Unscaled(static_cast<double>(i) / kChecks, left, right, spec_.logX);
        const core::CalcAnswer answer =
            core::EvaluateCalc(built.family, static_cast<float>(x), 1.0f);
        if (answer.flag == core::kCalcOk &&
            std::abs(answer.value - f(x)) <= tolerance * std::abs(f(x))) {
            ++within;
        }
    }
    return static_cast<double>(within) / (kChecks + 1);
}

QImage ThroughJpeg(const QImage& image, int quality) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", quality);
    buffer.close();
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "JPEG");
    reader.setAllocationLimit(1024);  // MB: a 6000 x 8000 page takes 192
    return reader.read().convertToFormat(QImage::Format_RGB888);
}

QImage GreyScan(const QImage& image, double sigma, unsigned seed) {
    QImage grey =
        image.convertToFormat(QImage::Format_Grayscale8).convertToFormat(QImage::Format_RGB888);
    std::mt19937 generator(seed);
    std::normal_distribution<double> noise(0.0, sigma);
    for (int y = 0; y < grey.height(); ++y) {
        uchar* row = grey.scanLine(y);
        for (int x = 0; x < grey.width(); ++x) {
            const int level =
                std::clamp(static_cast<int>(std::lround(row[3 * x] + noise(generator))), 0, 255);
            row[3 * x] = row[3 * x + 1] = row[3 * x + 2] = static_cast<uchar>(level);
        }
    }
    return grey;
}

RgbPicture::RgbPicture(const QImage& picture)
    : image(picture.convertToFormat(QImage::Format_RGB888)),
      view{image.constBits(), image.width(), image.height(), image.bytesPerLine(), 3} {}

}  // namespace kx::test

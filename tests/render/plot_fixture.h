#pragma once

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>

#include <cmath>
#include <functional>
#include <string>

#include "core/fitting/fit_results.h"
#include "core/plot/analysis_plot.h"
#include "plot_family.h"

// What the tests of the plot's targets share: a fitted family whose curves
// are known exactly, where a data value lands on a picture, pixel tests, and
// the text of a PDF file.
namespace kx::test {

// Two straight lines fitted exactly: Y = 2X + 1 (parameter 10) and
// Y = X + 0.5 (parameter 20), at X = 0.37, 1, 2, .., 8, 8.2. The plot's axes
// run from 0 to 10 (labels ".0", "2.", .., "10.") and from 0 to 20.
struct StraightFamily {
    StraightFamily() {
        std::string first = "0.37,1.74\r\n";
        std::string second = "0.37,0.87\r\n";
        for (int x = 1; x <= 8; ++x) {
            first += std::to_string(x) + "," + std::to_string(2 * x + 1) + "\r\n";
            second += std::to_string(x) + "," + std::to_string(x) + ".5\r\n";
        }
        first += "8.2,17.4\r\n";
        second += "8.2,8.7\r\n";
        data = Prepared({{"10", first}, {"20", second}});
        results = Fitted(data);
    }
    static double Y(int line, double x) { return line == 1 ? 2 * x + 1 : x + 0.5; }

    core::DataSet data;
    core::FitResults results;
};

// Where a data point lands on a picture that shows `pass`: its drawing
// position (from the pass's limits, linear axes) mapped from the pass's
// drawing window onto the picture's pixels.
inline QPointF PixelOf(const core::PlotPass& pass, QSizeF picture, double x, double y) {
    const core::PlotFrame& f = pass.frame;
    const double px = (x - f.xMin) * 600.0 / (f.xMax - f.xMin);
    const double py = -(y - f.yMin) * 600.0 / (f.yMax - f.yMin);
    const core::DrawingWindow& w = pass.window;
    return {(px - w.left) * picture.width() / w.width, (py - w.top) * picture.height() / w.height};
}

inline bool IsBlue(QRgb p) {
    return qBlue(p) > qRed(p) + 60 && qBlue(p) > qGreen(p) + 60;
}
inline bool IsRed(QRgb p) {
    return qRed(p) > qGreen(p) + 60 && qRed(p) > qBlue(p) + 60;
}
// Black or nearly: a data mark (grey grid lines are lighter, 80).
inline bool IsBlack(QRgb p) {
    return qRed(p) < 70 && qGreen(p) < 70 && qBlue(p) < 70;
}

// True when a pixel whose centre lies within `reach` pixels of `at` passes.
inline bool AnyPixelNear(const QImage& image, QPointF at, double reach,
                         const std::function<bool(QRgb)>& test) {
    const int r = static_cast<int>(std::ceil(reach));
    const int cx = static_cast<int>(std::floor(at.x()));
    const int cy = static_cast<int>(std::floor(at.y()));
    for (int y = cy - r; y <= cy + r; ++y) {
        for (int x = cx - r; x <= cx + r; ++x) {
            if (!image.valid(x, y)) continue;
            if (std::hypot(x + 0.5 - at.x(), y + 0.5 - at.y()) > reach) continue;
            if (test(image.pixel(x, y))) return true;
        }
    }
    return false;
}

inline int CountPixels(const QImage& image, const std::function<bool(QRgb)>& test) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) count += test(image.pixel(x, y)) ? 1 : 0;
    }
    return count;
}

// The words of a PDF file's text as pdftotext reads them.
inline QStringList PdfWords(const std::string& path) {
    QProcess reader;
    reader.start("pdftotext", {"-enc", "UTF-8", QString::fromStdString(path), "-"});
    if (!reader.waitForFinished(30000) || reader.exitCode() != 0) return {};
    return QString::fromUtf8(reader.readAllStandardOutput())
        .split(QRegularExpression("\\s+"), Qt::SkipEmptyParts);
}

}  // namespace kx::test

// The loupe following the pointer over a 6000 x 8000 scan: one frame is the
// loupe moved to the next pixel and the canvas and loupe painted where they
// changed, with 1000 captured points marked and ten fitted curves drawn. A
// frame of a 60 Hz screen lasts 16.7 ms.
#include <QApplication>
#include <QPainter>
#include <QPolygonF>

#include <benchmark/benchmark.h>

#include <cmath>

#include "ui/digitizer/canvas.h"
#include "ui/digitizer/loupe.h"

namespace {

using kx::ui::Canvas;

QApplication& App() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "bench_loupe_follow";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

QImage Scan() {
    QImage scan(6000, 8000, QImage::Format_RGB32);
    scan.fill(QColor(235, 235, 230));
    QPainter painter(&scan);
    painter.setPen(QPen(Qt::black, 3));
    for (int k = 0; k < 10; ++k) {
        QPolygonF curve;
        for (int x = 500; x < 5500; x += 10)
            curve << QPointF(x, 7000 - k * 600 - 2000 * (1 - std::exp(-(x - 500) / 1500.0)));
        painter.drawPolyline(curve);
    }
    return scan;
}

void BM_LoupeFrame(benchmark::State& state) {
    App();
    Canvas canvas;
    canvas.SetCanvasPicture(Scan());
    std::vector<Canvas::CaptureMark> marks;
    std::vector<QPolygonF> curves;
    for (int line = 1; line <= 10; ++line) {
        QPolygonF curve;
        for (int k = 0; k < 300; ++k) {
            const double x = 500 + k * 5000.0 / 300;
            curve << QPointF(15 * x, 15 * (7000 - (line - 1) * 600 -
                                           2000 * (1 - std::exp(-(x - 500) / 1500.0))));
        }
        for (int k = 0; k < 300; k += 3) marks.push_back({curve[k], line, k / 3});
        curves.push_back(curve);
    }
    canvas.SetCaptureMarks(marks);
    canvas.SetFitOverlay(curves);
    canvas.show();
    QCoreApplication::processEvents();

    int step = 0;
    QRect last = canvas.loupe().geometry();
    for (auto _ : state) {
        // Along a curve, a pixel further on every frame.
        const int x = 2000 + step % 1000;
        const int y = static_cast<int>(7000 - 2000 * (1 - std::exp(-(x - 500) / 1500.0)));
        canvas.ShowLoupe(QPointF(15.0 * x, 15.0 * y));
        const QRect now = canvas.loupe().geometry();
        canvas.repaint(QRegion(last) + now);
        last = now;
        ++step;
    }
}
BENCHMARK(BM_LoupeFrame)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

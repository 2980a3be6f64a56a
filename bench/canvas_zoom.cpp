// One repaint of the canvas after a zoom step or a pan step, on a 6000 x 8000
// scan with 1000 captured points marked and ten fitted curves drawn, in a
// main window of a 1366 x 768 screen. A frame of a 60 Hz screen lasts
// 16.7 ms. The part of the canvas in view is painted whole (as after a jump
// of the scroll bars), not only the strip a scroll uncovers.
#include <QApplication>
#include <QPainter>
#include <QPolygonF>
#include <QScrollArea>
#include <QScrollBar>

#include <benchmark/benchmark.h>

#include <cmath>

#include "ui/digitizer/canvas.h"
#include "ui/digitizer/canvas_view.h"
#include "ui/digitizer/main_window.h"

namespace {

using kx::ui::Canvas;

QApplication& App() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "bench_canvas_zoom";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

double CurveY(int line, double x) {
    return 7000 - (line - 1) * 600 - 2000 * (1 - std::exp(-(x - 500) / 1500.0));
}

QImage Scan() {
    QImage scan(6000, 8000, QImage::Format_RGB32);
    scan.fill(QColor(235, 235, 230));
    QPainter painter(&scan);
    painter.setPen(QPen(Qt::black, 3));
    for (int line = 1; line <= 10; ++line) {
        QPolygonF curve;
        for (int x = 500; x < 5500; x += 10) curve << QPointF(x, CurveY(line, x));
        painter.drawPolyline(curve);
    }
    return scan;
}

// Counts the paint events of the canvas: every step is one repaint.
struct PaintCounter : QObject {
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
};

// The main window with the scan, its marks and curves, shown.
struct Scene {
    kx::ui::MainWindow window;
    PaintCounter counter;
    Scene() {
        Canvas& canvas = window.canvas();
        canvas.SetCanvasPicture(Scan());
        std::vector<Canvas::CaptureMark> marks;
        std::vector<QPolygonF> curves;
        for (int line = 1; line <= 10; ++line) {
            QPolygonF curve;
            for (int k = 0; k < 300; ++k) {
                const double x = 500 + k * 5000.0 / 300;
                curve << QPointF(15 * x, 15 * CurveY(line, x));
            }
            for (int k = 0; k < 300; k += 3) marks.push_back({curve[k], line, k / 3});
            curves.push_back(curve);
        }
        canvas.SetCaptureMarks(marks);
        canvas.SetFitOverlay(curves);
        window.resize(1160, 740);
        window.show();
        QCoreApplication::processEvents();
        canvas.installEventFilter(&counter);
    }
    // The part of the canvas in view, painted now.
    void Repaint() { window.canvas().repaint(); }
};

// Zoom steps in and out between the fitted scan and 16x about a point of a
// curve, each followed by the repaint of the view.
void BM_ZoomStep(benchmark::State& state) {
    App();
    Scene scene;
    kx::ui::CanvasView& view = scene.window.canvasView();
    view.ZoomTo(0.0, QPointF());  // the whole scan
    const QPointF anchor(500, 350);
    int direction = 1;
    for (auto _ : state) {
        const double before = scene.window.canvas().zoom();
        view.ZoomBy(direction, anchor);
        if (scene.window.canvas().zoom() == before) {
            direction = -direction;
            view.ZoomBy(direction, anchor);
        }
        scene.Repaint();
    }
    state.counters["paints"] = scene.counter.paints;
}
BENCHMARK(BM_ZoomStep)->Unit(benchmark::kMillisecond);

// Pan steps of 40 screen pixels at a zoom, each followed by the repaint of
// the view.
void BM_PanStep(benchmark::State& state) {
    App();
    Scene scene;
    const double zoom = static_cast<double>(state.range(0)) / 100;
    scene.window.canvasView().ZoomTo(zoom, QPointF());
    QScrollBar& bar = *scene.window.canvasArea().horizontalScrollBar();
    QScrollBar& down = *scene.window.canvasArea().verticalScrollBar();
    down.setValue(static_cast<int>(4000 * zoom));
    bar.setValue(static_cast<int>(2000 * zoom));
    int step = 40;
    for (auto _ : state) {
        if (bar.value() + step > bar.maximum() || bar.value() + step < bar.minimum()) step = -step;
        bar.setValue(bar.value() + step);
        scene.Repaint();
    }
    state.counters["paints"] = scene.counter.paints;
}
BENCHMARK(BM_PanStep)->Arg(10)->Arg(100)->Arg(400)->Arg(1600)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

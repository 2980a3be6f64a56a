// Pictures of capture with its marks and loupe and of the fitted curves over
// the sample graph, for a look by eye; run by tools/screenshot.sh and skipped
// unless KX_SCREENSHOT_DIR names a folder.
#include <QDir>
#include <QLineEdit>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>

#include <gtest/gtest.h>

#include "core/codegen/calc_program.h"
#include "core/data/preparation.h"
#include "ui/digitizer/canvas.h"
#include "ui/digitizer/canvas_view.h"
#include "ui/digitizer/digitizer_panel.h"
#include "ui/digitizer/loupe.h"
#include "ui/digitizer/main_window.h"
#include "ui_harness.h"

namespace kx::test {
namespace {

// samples/graph.png: three curves on a 0..60 by 0..40 grid, origin at pixel
// (80, 440), 10 pixels per unit.
const GraphFrame kGraphFrame{{80, 440}, {680, 440}, {80, 40}, "0", "60", "0", "40"};

// The middles of the runs of curve pixels in column x, from the bottom up:
// the lowest curve first.
std::vector<int> CurveRows(const QImage& picture, int x) {
    std::vector<int> rows;
    int runEnd = -1;
    for (int y = 436; y >= 40; --y) {
        const QColor c = picture.pixelColor(x, y);
        const bool curve = c.blue() > 120 && c.red() < 100;
        if (curve && runEnd < 0) runEnd = y;
        if (!curve && runEnd >= 0) {
            rows.push_back((runEnd + y + 1) / 2);
            runEnd = -1;
        }
    }
    return rows;
}

class MarksScreenshots : public WindowTest {
protected:
    void SetUp() override {
        folder = ScreenshotFolderOrSkip();
        if (IsSkipped()) return;
        ASSERT_TRUE(graph.load(KX_SAMPLE_GRAPH));
    }
    void SaveScreen(const char* name) {
        QTest::qWait(600);
        const QString file = folder + "/" + name + ".png";
        EXPECT_TRUE(QGuiApplication::primaryScreen()->grabWindow(0).save(file))
            << file.toStdString();
    }
    // Points on curve `k` of the graph from pixel column `from` on, on line `line`
    // with its parameter typed.
    void CaptureCurve(Session& d, int line, int k, int from, int to, int step,
                      const QString& parameter) {
        Tick(d.dataSet(), ArrayName(data_set::kLineOption, line - 1));
        auto* box = d.dataSetControl<QLineEdit>(data_set::kParameterBox);
        d.Type(box, parameter);
        for (int x = from; x <= to; x += step) {
            const std::vector<int> rows = CurveRows(graph, x);
            if (static_cast<int>(rows.size()) > k) d.ClickCanvasPixel({x, rows[k]});
        }
    }
    QString folder;
    QImage graph;
};

TEST_F(MarksScreenshots, CaptureOnTwoLinesWithMarksAndLoupe) {
    Session d;
    d.Calibrate(graph, kGraphFrame);
    d.ClickPanel(panel::kCaptureButton);
    CaptureCurve(d, 1, 0, 100, 620, 40, "20");
    CaptureCurve(d, 2, 1, 100, 380, 40, "40");
    // The pointer on the next point of the second curve, the loupe beside it.
    const QPoint next(420, CurveRows(graph, 420)[1]);
    QCursor::setPos(d.canvas().mapToGlobal(next));
    d.MovePointer(next);
    SaveScreen("marks_capture_loupe");
    d.MovePointer(next);
    EXPECT_TRUE(d.canvas().loupe().isVisible());
}

TEST_F(MarksScreenshots, FittedCurvesOverTheSampleGraph) {
    Session d;
    d.Calibrate(graph, kGraphFrame);
    d.ClickPanel(panel::kCaptureButton);
    const char* parameters[] = {"20", "40", "60"};
    for (int k = 0; k < 3; ++k) CaptureCurve(d, k + 1, k, 95, 625, 35, parameters[k]);
    ASSERT_EQ(core::PrepareDataSet(d.workspace.data), core::kPrepared);
    ASSERT_TRUE(core::FitAndGenerate(d.workspace.data, d.workspace.settings, d.workspace.results,
                                     nullptr));
    d.workspace.fitCurrent = true;
    d.panel().FollowPictureData();
    EXPECT_FALSE(d.canvas().fitCurves().empty());
    QCursor::setPos(d.panel().geometry().center());
    SaveScreen("marks_fit_overlay");
    EXPECT_TRUE(d.canvas().grab().save(folder + "/marks_fit_overlay_canvas.png"));
}

TEST_F(MarksScreenshots, ZoomedCanvasWithMarksAndCurves) {
    Session d;
    d.Calibrate(graph, kGraphFrame);
    d.ClickPanel(panel::kCaptureButton);
    const char* parameters[] = {"20", "40", "60"};
    for (int k = 0; k < 3; ++k) CaptureCurve(d, k + 1, k, 95, 625, 35, parameters[k]);
    ASSERT_EQ(core::PrepareDataSet(d.workspace.data), core::kPrepared);
    ASSERT_TRUE(core::FitAndGenerate(d.workspace.data, d.workspace.settings, d.workspace.results,
                                     nullptr));
    d.workspace.fitCurrent = true;
    d.panel().FollowPictureData();
    QCursor::setPos(d.panel().geometry().center());
    // About a captured point of the middle curve.
    const QPoint spot(305, CurveRows(graph, 305)[1]);
    ui::CanvasView& view = d.main().canvasView();
    for (const double zoom : {1.0, 4.0, 16.0}) {
        const QPoint at = d.canvas().mapTo(d.main().canvasArea().viewport(),
                                           (d.canvas().WidgetPoint(QPointF(spot) * 15)).toPoint());
        view.ZoomTo(zoom, QPointF(at));
        SaveScreen(zoom == 1.0 ? "zoom_1x" : zoom == 4.0 ? "zoom_4x" : "zoom_16x");
        EXPECT_DOUBLE_EQ(d.canvas().zoom(), zoom);
    }
}

TEST_F(MarksScreenshots, MainWindowAfterAPictureOf1000Pixels) {
    Session d;
    d.main().move(283, 91);
    QCoreApplication::processEvents();
    d.PastePicture(graph.scaled(1000, 660));
    QCursor::setPos(d.panel().geometry().center());
    SaveScreen("main_window_1000_wide");
    EXPECT_FALSE(d.main().canvasArea().horizontalScrollBar()->isVisible());
}

TEST_F(MarksScreenshots, TenLinesOnAGreyScan) {
    // The graph as a dull grey scan: the ten line colours must still read.
    QImage grey = graph.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < grey.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(grey.scanLine(y));
        for (int x = 0; x < grey.width(); ++x)
            row[x] = qRgb(qGray(row[x]) * 3 / 5 + 40, qGray(row[x]) * 3 / 5 + 40,
                          qGray(row[x]) * 3 / 5 + 38);
    }
    graph = grey;
    Session d;
    d.Calibrate(graph, kGraphFrame);
    d.ClickPanel(panel::kCaptureButton);
    for (int line = 1; line <= 10; ++line) {
        Tick(d.dataSet(), ArrayName(data_set::kLineOption, line - 1));
        for (int x = 120; x <= 640; x += 65) d.ClickCanvasPixel({x, 420 - 36 * (line - 1)});
    }
    QCursor::setPos(d.panel().geometry().center());
    SaveScreen("marks_ten_lines_grey");
    EXPECT_EQ(d.canvas().captureMarks().size(), 90u);
}

}  // namespace
}  // namespace kx::test

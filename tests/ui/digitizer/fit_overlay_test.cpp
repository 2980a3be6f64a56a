// The fitted curves over the scanned picture: on graphs drawn by the test,
// with curves of known shape on linear and logarithmic axes, the curves fitted
// to points captured from them are drawn within a pixel of the drawn curves,
// while the fit is current, the calibration usable and the menu entry on.
#include <QAction>
#include <QImage>

#include <gtest/gtest.h>

#include <cmath>

#include "core/codegen/calc_program.h"
#include "core/data/preparation.h"
#include "ui/digitizer/canvas.h"
#include "ui/digitizer/digitizer_names.h"
#include "ui/digitizer/digitizer_panel.h"
#include "ui/digitizer/main_window.h"
#include "ui/files/save_window.h"
#include "ui/results/program_window.h"
#include "ui_harness.h"

namespace kx::test {
namespace {

// Origin at pixel (100, 500), the X axis 600 pixels long, the Y axis 400.
constexpr int kOriginX = 100, kOriginY = 500;

bool IsCurvePixel(const QImage& picture, QPoint p) {
    return picture.valid(p) && picture.pixelColor(p) == QColor(Qt::blue);
}

// The row of the drawn curve's pixel in column x nearest to `y`.
int CurveRow(const QImage& picture, int x, double y) {
    for (int d = 0; d < 40; ++d) {
        for (int row :
             {static_cast<int>(std::lround(y)) - d, static_cast<int>(std::lround(y)) + d})
            if (IsCurvePixel(picture, QPoint(x, row))) return row;
    }
    return -1;
}

// Every point the overlay is drawn through has a pixel of a drawn curve
// within one pixel.
void ExpectOverlayOnTheCurves(const ui::Canvas& canvas, const QImage& picture) {
    ASSERT_FALSE(canvas.fitCurves().empty());
    int checked = 0;
    for (const QPolygonF& curve : canvas.fitCurves()) {
        for (const QPointF& at : curve) {
            const QPoint pixel(static_cast<int>(std::floor(at.x())),
                               static_cast<int>(std::floor(at.y())));
            bool near = false;
            for (int dy = -1; dy <= 1 && !near; ++dy)
                for (int dx = -1; dx <= 1 && !near; ++dx)
                    near = IsCurvePixel(picture, pixel + QPoint(dx, dy));
            EXPECT_TRUE(near) << at.x() << ", " << at.y();
            ++checked;
        }
    }
    EXPECT_GT(checked, 300);
}

class FitOverlay : public WindowTest {
protected:
    Session d;
    QImage picture;

    // The picture with `curves` (pixel y of each pixel x) calibrated, and
    // points captured on them one line each.
    void Capture(const std::vector<std::function<double(int)>>& curves, const GraphFrame& frame,
                 bool logY) {
        picture = DrawGraph(QSize(800, 600), QPoint(kOriginX, kOriginY), 600, 400, curves);
        d.Calibrate(picture, frame);
        if (logY) Tick(d.panel(), ArrayName(panel::kLogOption, 1));
        ASSERT_EQ(d.workspace.calibration.logY, logY ? 1 : 0);
        d.ClickPanel(panel::kCaptureButton);
        ASSERT_EQ(d.workspace.data.captureMode, 1);
        for (std::size_t k = 0; k < curves.size(); ++k) {
            Tick(d.dataSet(), ArrayName(data_set::kLineOption, static_cast<int>(k)));
            // Close enough for the fit to follow the bends between the points.
            for (int x = kOriginX + 10; x <= kOriginX + 590; x += 20) {
                const int row = CurveRow(picture, x, curves[k](x));
                ASSERT_GE(row, 0) << x;
                d.ClickCanvasPixel(QPoint(x, row));
            }
        }
    }
    // Captured as above, then fitted as a run does.
    void CaptureAndFit(const std::vector<std::function<double(int)>>& curves,
                       const GraphFrame& frame, bool logY) {
        Capture(curves, frame, logY);
        if (HasFatalFailure()) return;
        ASSERT_EQ(core::PrepareDataSet(d.workspace.data), core::kPrepared);
        ASSERT_TRUE(core::FitAndGenerate(d.workspace.data, d.workspace.settings,
                                         d.workspace.results, nullptr));
        // What the program-generation window does once its run completes.
        d.workspace.fitCurrent = true;
        d.panel().FollowPictureData();
    }
};

TEST_F(FitOverlay, LinearAxesTwoCurvesWithinOnePixel) {
    const auto pixelY = [](double (*curve)(double)) {
        return [curve](int px) { return kOriginY - 10 * curve((px - kOriginX) / 10.0); };
    };
    CaptureAndFit({pixelY([](double x) { return 40 * (1 - std::exp(-x / 15)); }),
                   pixelY([](double x) { return 0.5 * x + 2; })},
                  GraphFrame{}, false);
    ExpectOverlayOnTheCurves(d.canvas(), picture);
    // The marks stay over the curves.
    EXPECT_EQ(d.canvas().captureMarks().size(), 60u);

    // Drawn in its colour over the picture, which itself stays unmarked.
    const QPolygonF& first = d.canvas().fitCurves().front();
    const QPointF middle = first[first.size() / 2];
    const QImage shown = d.canvas().grab().toImage();
    const QPoint pixel(static_cast<int>(middle.x()), static_cast<int>(middle.y()));
    const auto fitColoured = [](QColor c) {
        return c.red() > 200 && c.green() < 100 && c.blue() > 200;
    };
    EXPECT_TRUE(fitColoured(shown.pixelColor(pixel)));
    EXPECT_FALSE(fitColoured(d.canvas().picture().pixelColor(pixel)));

    // Off from the menu, and only while the fit is current.
    QAction* entry = Find<QAction>(d.panel(), ui::names::marks::kOverlayEntry);
    entry->trigger();
    EXPECT_TRUE(d.canvas().fitCurves().empty());
    entry->trigger();
    EXPECT_FALSE(d.canvas().fitCurves().empty());
    d.workspace.fitCurrent = false;
    d.panel().FollowPictureData();
    EXPECT_TRUE(d.canvas().fitCurves().empty());
}

// Through the windows: the curves appear as the run in the program-generation
// window completes, and go when the user goes back to the data.
TEST_F(FitOverlay, FollowsTheRunOfTheProgramWindow) {
    Capture({[](int px) { return kOriginY - 0.5 * (px - kOriginX) - 20; },
             [](int px) { return kOriginY - 0.25 * (px - kOriginX) - 300; }},
            GraphFrame{}, false);
    d.ClickDataSet(data_set::kGenerateButton);
    ui::ProgramWindow& program = d.program();
    ASSERT_TRUE(program.isVisible());
    EXPECT_TRUE(d.canvas().fitCurves().empty());
    Click(program, pn::kCalculateButton);
    ASSERT_TRUE(d.workspace.results.completed);
    ExpectOverlayOnTheCurves(d.canvas(), picture);
    // While they show, the panel is disabled: the program window's Option
    // menu switches them too, and the two entries agree.
    QAction* here = Find<QAction>(program, ui::names::program_more::kCurvesOverPictureEntry);
    QAction* panelEntry = Find<QAction>(d.panel(), ui::names::marks::kOverlayEntry);
    EXPECT_TRUE(here->isEnabled());
    here->trigger();
    EXPECT_TRUE(d.canvas().fitCurves().empty());
    EXPECT_FALSE(panelEntry->isChecked());
    here->trigger();
    ExpectOverlayOnTheCurves(d.canvas(), picture);
    panelEntry->trigger();
    EXPECT_FALSE(here->isChecked());
    panelEntry->trigger();
    // The history list is saved from the File menu, beside the other lists.
    Find<QAction>(program, ui::names::program_more::kSaveHistoryEntry)->trigger();
    ASSERT_TRUE(d.save().isVisible());
    EXPECT_EQ(d.save().saveKind(), 5);
    d.save().close();
    Click(program, pn::kBackButton);
    EXPECT_TRUE(d.canvas().fitCurves().empty());
}

TEST_F(FitOverlay, LogarithmicYAxisWithinOnePixel) {
    // Y from 1 to 10000 over 400 pixels: a decade every 100 pixels.
    const auto pixelY = [](double (*curve)(double)) {
        return
            [curve](int px) { return kOriginY - 100 * std::log10(curve((px - kOriginX) / 10.0)); };
    };
    GraphFrame frame;
    frame.ymin = "1";
    frame.ymax = "10000";
    CaptureAndFit({pixelY([](double x) { return 1 + x * x; }),
                   pixelY([](double x) { return 5 + 100 * std::sqrt(x); })},
                  frame, true);
    ExpectOverlayOnTheCurves(d.canvas(), picture);

    // Without a usable calibration nothing is drawn over the picture.
    d.ClickDataSet(data_set::kBackButton);
    d.ClickPanel(panel::kResetButton);
    EXPECT_TRUE(d.canvas().fitCurves().empty());
}

}  // namespace
}  // namespace kx::test

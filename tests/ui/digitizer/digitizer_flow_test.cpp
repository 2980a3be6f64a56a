// End-to-end flows of the digitizer on real widgets: a drawn graph is pasted,
// calibrated by clicks and typed values, and its curves are captured.
#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>

#include "ui/digitizer/canvas.h"
#include "ui/digitizer/data_set_window.h"
#include "ui/digitizer/digitizer_panel.h"
#include "ui/digitizer/main_window.h"
#include "ui_harness.h"

namespace kx::test {
namespace {

QString Text(Session& d, const char* name) {
    return d.panelControl<QLineEdit>(name)->text();
}

// Linear graph: origin at pixel (100, 500); 10 pixels per unit on both axes,
// X 0..60 and Y 0..40.
constexpr int kOriginX = 100, kOriginY = 500;
double Saturation(double x) {
    return 40 * (1 - std::exp(-x / 15));
}
double Straight(double x) {
    return 0.5 * x + 2;
}
double LinearPixelY(double (*curve)(double), int px) {
    return kOriginY - 10 * curve((px - kOriginX) / 10.0);
}

TEST(DigitizerFlow, StartState) {
    // What a previous run could have left behind is cleared by the start;
    // the clipboard is the user's and keeps what he put there.
    QApplication::clipboard()->setText("left over");
    Session d;
    EXPECT_EQ(d.workspace.settings.errorMode, 2);
    for (int16_t flag : d.workspace.settings.excludedSystem) EXPECT_EQ(flag, 0);
    EXPECT_EQ(QApplication::clipboard()->text(), "left over");
    EXPECT_TRUE(d.panelControl<QRadioButton>(ArrayName(panel::kLineOption, 0))->isChecked());
    EXPECT_EQ(d.panel().windowTitle(), "Tolvex_R1.0");
    EXPECT_EQ(d.main().windowTitle(), "Kuvatelix");
    EXPECT_TRUE(d.main().isVisible());
    EXPECT_EQ(d.panel().pos(), d.main().RightEdgeTop());
    // The panel follows the main window's right edge.
    d.main().resize(700, 500);
    QCoreApplication::processEvents();
    EXPECT_EQ(d.panel().pos(), d.main().RightEdgeTop());
    EXPECT_FALSE(d.panelControl<QAbstractButton>(panel::kCaptureButton)->isEnabled());
    EXPECT_FALSE(d.panelControl<QAbstractButton>(panel::kMidPointBox[0])->isEnabled());
    // "□" moves the canvas from the top edge to the left edge and back.
    d.ClickPanel(panel::kDockButton);
    EXPECT_FALSE(d.main().dockedAtTop());
    d.ClickPanel(panel::kDockButton);
    EXPECT_TRUE(d.main().dockedAtTop());
    EXPECT_FALSE(d.panelControl<QLineEdit>(panel::kXSampleBox)->isVisible());
}

TEST(DigitizerFlow, EndButtonEndsTheProgramAtOnce) {
    // "終了", and closing the panel or the main window by its frame.
    for (int way = 0; way < 3; ++way) {
        Session d;
        QTimer::singleShot(0, [&] {
            if (way == 0) d.ClickPanel(panel::kEndButton);
            if (way == 1) d.panel().close();
            if (way == 2) d.main().close();
        });
        QTimer safetyNet;  // gone with the iteration
        QObject::connect(&safetyNet, &QTimer::timeout, [] { QCoreApplication::exit(1); });
        safetyNet.start(3000);
        EXPECT_EQ(QCoreApplication::exec(), 0) << way;
    }
}

TEST(DigitizerFlow, LinearGraphIntoTwoLines) {
    Session d;
    core::AxisCalibration& cal = d.workspace.calibration;
    const QImage graph = DrawGraph(QSize(800, 600), QPoint(kOriginX, kOriginY), 600, 400,
                                   {[](int px) { return LinearPixelY(Saturation, px); },
                                    [](int px) { return LinearPixelY(Straight, px); }});
    d.PastePicture(graph);
    EXPECT_EQ(d.main().windowTitle(), "Kuvatelix <Graph Paste>");
    EXPECT_EQ(d.canvas().picture().size(), QSize(800, 600));

    d.PlacePoint(1, QPoint(kOriginX, kOriginY));
    EXPECT_EQ(cal.X1MIN, 1500);
    EXPECT_EQ(cal.Y1MIN, 7500);
    EXPECT_TRUE(d.panelControl<QAbstractButton>(panel::kPointBox[3])->isChecked());
    d.TypeInto(panel::kValueBox[1], "0");
    d.TypeInto(panel::kValueBox[3], "0");

    d.PlacePoint(2, QPoint(700, 503));  // a little off the axis: it snaps onto it
    EXPECT_EQ(cal.X1MAX, 10500);
    EXPECT_EQ(cal.Y1MIN, 7500);
    d.TypeInto(panel::kValueBox[2], "60");
    // Not yet calibrated: the live boxes show canvas units of the pointer.
    d.panel().UpdateLiveDisplay();
    d.panel().UpdateLiveDisplay();
    EXPECT_EQ(Text(d, panel::kXLiveBox), "10500");
    EXPECT_EQ(Text(d, panel::kYLiveBox), "7545");
    EXPECT_EQ(cal.calibrationConfirmed, 0);

    d.PlacePoint(4, QPoint(98, 100));
    EXPECT_EQ(cal.Y1MAX, 1500);
    EXPECT_EQ(cal.X1MIN, 1500);
    d.TypeInto(panel::kValueBox[4], "40");

    // The last value completes the calibration and it confirms itself.
    EXPECT_EQ(cal.calibrationConfirmed, 1);
    EXPECT_EQ(cal.calibrationInvalid, 0);
    EXPECT_TRUE(d.panelControl<QLineEdit>(panel::kXSampleBox)->isVisible());
    EXPECT_TRUE(d.panelControl<QAbstractButton>(panel::kCaptureButton)->isEnabled());
    EXPECT_FALSE(d.panelControl<QAbstractButton>(panel::kConfirmButton)->isEnabled());
    EXPECT_TRUE(d.panelControl<QAbstractButton>(panel::kMidPointBox[0])->isEnabled());
    EXPECT_GE(d.canvas().markCount(), 5);  // three points and two axis lines

    d.panel().UpdateLiveDisplay();
    d.panel().UpdateLiveDisplay();
    EXPECT_EQ(Text(d, panel::kXLiveBox), "-.2");  // pixel 98 is 0.2 left of the origin
    EXPECT_EQ(Text(d, panel::kYLiveBox), " 40");

    d.ClickPanel(panel::kCaptureButton);
    ui::DataSetWindow& window = d.dataSet();
    ASSERT_TRUE(window.isVisible());
    EXPECT_EQ(d.workspace.data.captureMode, 1);
    EXPECT_FALSE(d.panel().isEnabled());
    EXPECT_EQ(d.dataSetControl<QLineEdit>(data_set::kLineBox)->text(), "1");

    const std::vector<int> line1 = {112, 150, 190, 260, 340, 450, 610};
    for (int px : line1) {
        d.ClickCanvasPixel(
            QPoint(px, static_cast<int>(std::lround(LinearPixelY(Saturation, px)))));
    }
    Click(d.dataSetControl<QAbstractButton>(ArrayName(data_set::kLineOption, 1)));
    EXPECT_EQ(d.workspace.data.captureLine, 2);
    EXPECT_TRUE(d.panelControl<QRadioButton>(ArrayName(panel::kLineOption, 1))->isChecked());
    const std::vector<int> line2 = {130, 220, 400, 560, 690};
    for (int px : line2) {
        d.ClickCanvasPixel(QPoint(px, static_cast<int>(std::lround(LinearPixelY(Straight, px)))));
    }

    // The DataSet window shows the values of the last press.
    EXPECT_EQ(d.dataSetControl<QLineEdit>(data_set::kXLiveBox)->text(),
              Text(d, panel::kXSampleBox));
    EXPECT_EQ(d.dataSetControl<QLineEdit>(data_set::kYLiveBox)->text(),
              Text(d, panel::kYSampleBox));
    const core::DataSet& data = d.workspace.data;
    ASSERT_EQ(data.pointCount[1], static_cast<int>(line1.size()));
    ASSERT_EQ(data.pointCount[2], static_cast<int>(line2.size()));
    EXPECT_EQ(d.dataSetControl<QLineEdit>(data_set::kPointCountBox)->text(), "5");
    EXPECT_EQ(d.dataSetControl<QLineEdit>(data_set::kLineBox)->text(), "2");
    const auto check = [](const std::string& text, const std::vector<int>& pixels,
                          double (*curve)(double)) {
        const auto points = PointsOf(text);
        ASSERT_EQ(points.size(), pixels.size());
        for (std::size_t i = 0; i < points.size(); ++i) {
            EXPECT_NEAR(points[i].first, (pixels[i] - kOriginX) / 10.0, 1e-5);
            // Half a pixel is 0.05 units on the Y axis.
            EXPECT_NEAR(points[i].second, curve(points[i].first), 0.05 + 1e-4) << text;
        }
    };
    check(data.pointText[1], line1, Saturation);
    check(data.pointText[2], line2, Straight);
    // Captured as the trimmed short texts, "X,Y" CR LF.
    EXPECT_EQ(data.pointText[2].substr(0, data.pointText[2].find("\r\n") + 2), "3,3.5\r\n");
    EXPECT_EQ(d.dataSet()
                  .findChild<QPlainTextEdit*>(ArrayName(data_set::kPointBox, 1))
                  ->toPlainText()
                  .toStdString(),
              QString::fromStdString(data.pointText[2]).replace("\r\n", "\n").toStdString());

    // Parameters, then the preparation asks for the program window.
    QLineEdit* parameter = d.dataSetControl<QLineEdit>(data_set::kParameterBox);
    d.Type(parameter, "20");
    Click(d.dataSetControl<QAbstractButton>(ArrayName(data_set::kLineOption, 0)));
    EXPECT_EQ(data.parameterText[2], "20");
    d.Type(parameter, "10");
    Click(d.dataSetControl<QAbstractButton>(data_set::kGenerateButton));
    EXPECT_TRUE(d.program().isVisible());
    EXPECT_EQ(d.program().opener(), &window);
    EXPECT_EQ(data.lineCount, 2);
    EXPECT_EQ(data.lineOrder[1], 1);
    EXPECT_EQ(data.lineOrder[2], 2);
    EXPECT_EQ(data.xText[2][1], "3");
    EXPECT_FALSE(window.isEnabled());
    EXPECT_FALSE(d.main().isEnabled());
}

// Logarithmic graph with an unevenly stretched X scale: the decade 1..10 takes
// 150 pixels, the decades 10..1000 take 225 each. Y is even: 120 pixels per
// decade from 0.1 to 100.
constexpr int kLogOriginX = 100, kLogOriginY = 520;
double LogPixelX(double x) {
    return x <= 10 ? kLogOriginX + 150 * std::log10(x)
                   : kLogOriginX + 150 + 225 * std::log10(x / 10);
}
double LogPixelY(double y) {
    return kLogOriginY - 120 * (std::log10(y) + 1);
}
double ValueAtPixelX(int px) {
    return px <= 250 ? std::pow(10.0, (px - kLogOriginX) / 150.0)
                     : 10 * std::pow(10.0, (px - kLogOriginX - 150) / 225.0);
}
double PowerCurve(double x) {
    return 0.1 * std::pow(x, 0.9);
}

TEST(DigitizerFlow, LogarithmicAxesWithMidPointCorrection) {
    Session d;
    core::AxisCalibration& cal = d.workspace.calibration;
    const QImage graph =
        DrawGraph(QSize(900, 600), QPoint(kLogOriginX, kLogOriginY), 600, 360,
                  {[](int px) { return LogPixelY(PowerCurve(ValueAtPixelX(px))); }});
    d.PastePicture(graph);
    // With no point box on, any axis type may be chosen.
    d.ClickPanel(ArrayName(panel::kLogOption, 0));
    d.ClickPanel(ArrayName(panel::kLogOption, 1));
    EXPECT_EQ(cal.logX, 1);
    EXPECT_EQ(cal.logY, 1);

    d.PlacePoint(1, QPoint(kLogOriginX, kLogOriginY));
    d.TypeInto(panel::kValueBox[1], "1");
    d.TypeInto(panel::kValueBox[3], ".1");
    d.PlacePoint(2, QPoint(700, kLogOriginY));
    d.TypeInto(panel::kValueBox[2], "1000");
    d.PlacePoint(4, QPoint(kLogOriginX, 160));
    d.TypeInto(panel::kValueBox[4], "100");
    ASSERT_EQ(cal.calibrationConfirmed, 1);

    // Sampling X = 100 on the stretched scale without correction misses it.
    const int px100 = static_cast<int>(LogPixelX(100));
    d.ClickCanvasPixel(QPoint(px100, 300));
    d.panel().UpdateLiveDisplay();
    const double uncorrected = Text(d, panel::kXSampleBox).toDouble();
    EXPECT_NEAR(uncorrected, std::pow(10.0, (px100 - kLogOriginX) / 200.0), 0.01);
    EXPECT_GT(std::abs(uncorrected - 100), 10);

    // The mid point at X = 10 splits the axis into its two scales.
    d.ClickPanel(panel::kMidPointBox[0]);
    EXPECT_EQ(cal.xMidArmed, 1);
    d.TypeInto(panel::kMidValueBox[0], "10");
    const int marks = d.canvas().markCount();
    d.ClickCanvasPixel(QPoint(static_cast<int>(LogPixelX(10)), kLogOriginY + 2));
    EXPECT_EQ(cal.xMidPos, 250 * 15);
    EXPECT_EQ(d.canvas().markCount(), marks + 1);
    d.panel().UpdateLiveDisplay();
    EXPECT_EQ(cal.xMidActive, 1);
    d.ClickCanvasPixel(QPoint(px100, 300));
    d.panel().UpdateLiveDisplay();
    d.panel().UpdateLiveDisplay();
    EXPECT_NEAR(Text(d, panel::kXSampleBox).toDouble(), 100, 1e-3);

    d.ClickPanel(panel::kCaptureButton);
    ASSERT_EQ(d.workspace.data.captureMode, 1);
    const std::vector<int> pixels = {110, 170, 240, 260, 380, 520, 690};
    for (int px : pixels) {
        const int py = static_cast<int>(std::lround(LogPixelY(PowerCurve(ValueAtPixelX(px)))));
        d.ClickCanvasPixel(QPoint(px, py));
    }
    const auto points = PointsOf(d.workspace.data.pointText[1]);
    ASSERT_EQ(points.size(), pixels.size());
    for (std::size_t i = 0; i < points.size(); ++i) {
        EXPECT_NEAR(std::log10(points[i].first), std::log10(ValueAtPixelX(pixels[i])), 1e-5);
        // Half a pixel is 1/240 of a decade on the Y axis.
        EXPECT_NEAR(std::log10(points[i].second), std::log10(PowerCurve(points[i].first)),
                    0.5 / 120 + 1e-5);
    }

    // Exponent display rewrites the sampling boxes.
    Click(d.dataSetControl<QAbstractButton>(data_set::kBackButton));  // back to the panel
    EXPECT_TRUE(d.panel().isEnabled());
    EXPECT_EQ(d.workspace.data.captureMode, 0);
    const double before = Text(d, panel::kXSampleBox).toDouble();
    d.ClickPanel(panel::kExponentBox);
    EXPECT_TRUE(Text(d, panel::kXSampleBox).contains('E'));
    EXPECT_NEAR(Text(d, panel::kXSampleBox).toDouble(), before, std::abs(before) * 1e-5);
}

}  // namespace
}  // namespace kx::test

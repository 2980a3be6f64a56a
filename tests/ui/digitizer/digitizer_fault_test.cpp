// Presses and values the digitizer once turned into wrong points without a
// word: a refused calibration click, a value beyond a float, typing that went
// to the wrong window, a capture window closed by its frame, a full line.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>

#include <gtest/gtest.h>

#include <cmath>

#include "core/data/text_chars.h"
#include "ui_harness.h"

namespace kx::test {
namespace {

// Origin at pixel (100, 500), 10 pixels per unit on both axes.
constexpr int kOriginX = 100, kOriginY = 500;
QPoint PixelOf(double x, double y) {
    return QPoint(kOriginX + static_cast<int>(std::lround(10 * x)),
                  kOriginY - static_cast<int>(std::lround(10 * y)));
}

TEST(DigitizerFault, RefusedClickLeavesThePointUnplacedUntilPlacedAgain) {
    Session d;
    const core::AxisCalibration& cal = d.workspace.calibration;
    d.PastePicture(BlankPicture());
    d.PlacePoint(core::kPickXmin, PixelOf(0, 0));
    d.PlacePoint(core::kPickXmax, PixelOf(60, 0));
    // Every value typed first, then a Ymax click below the origin: refused.
    d.TypeInto(panel::kValueBox[1], "0");
    d.TypeInto(panel::kValueBox[2], "60");
    d.TypeInto(panel::kValueBox[3], "0");
    d.TypeInto(panel::kValueBox[4], "40");
    d.PlacePoint(core::kPickYmax, PixelOf(0, -2));
    EXPECT_TRUE(d.panel().messageText().startsWith("<Plot Error>"));
    // The box shows that nothing was placed; the two-line message leaves the
    // Xmin row, which may be needed next, in view.
    EXPECT_FALSE(d.panelControl<QAbstractButton>(panel::kPointBox[4])->isChecked());
    const QWidget* message = d.panelControl<QWidget>(panel::kMessageBox);
    ASSERT_NE(message, nullptr);
    for (const char* row : {panel::kPointBox[1], panel::kValueBox[1]}) {
        const QWidget* control = d.panelControl<QWidget>(row);
        const QRect place(control->mapTo(&d.panel(), QPoint()), control->size());
        EXPECT_FALSE(
            QRect(message->mapTo(&d.panel(), QPoint()), message->size()).intersects(place))
            << row;
    }
    EXPECT_EQ(cal.yMaxSet, 0);
    EXPECT_EQ(cal.calibrationConfirmed, 0);
    EXPECT_FALSE(d.panelControl<QAbstractButton>(panel::kCaptureButton)->isEnabled());

    // Neither the button nor the menu confirms it, nor does capture start.
    d.ClickPanel(panel::kConfirmButton);
    EXPECT_EQ(cal.calibrationConfirmed, 0);
    EXPECT_EQ(d.panel().messageText(), "X / Y の Max / Min が未確定");
    Find<QAction>(d.panel(), panel::kConfirmEntry)->trigger();
    EXPECT_EQ(cal.calibrationConfirmed, 0);
    Find<QAction>(d.panel(), panel::kCaptureEntry)->trigger();
    EXPECT_EQ(d.workspace.data.captureMode, 0);
    EXPECT_FALSE(d.dataSet().isVisible());

    // Placed again, the calibration confirms itself and captures true values.
    d.PlacePoint(core::kPickYmax, PixelOf(0, 40));
    ASSERT_EQ(cal.calibrationConfirmed, 1);
    d.ClickPanel(panel::kCaptureButton);
    d.ClickCanvasPixel(PixelOf(10, 25));
    EXPECT_EQ(d.workspace.data.pointText[1], "10,25\r\n");
}

TEST(DigitizerFault, AValueTheBoxCallsUnsuitableIsRefused) {
    Session d;
    d.Calibrate(BlankPicture());
    // Typed key by key: "1E3" on the way is a fine value, "1E39" is not; nor
    // is "4.5V", whose leading 4.5 would otherwise be taken.
    for (const char* text : {"1E39", "4.5V"}) {
        SCOPED_TRACE(text);
        d.TypeInto(panel::kValueBox[2], text);
        EXPECT_EQ(d.panel().messageText(), "不適切な文字");
        EXPECT_TRUE(d.panel().messageShown());
        EXPECT_EQ(d.workspace.calibration.calibrationConfirmed, 0);
        EXPECT_FALSE(d.panelControl<QAbstractButton>(panel::kCaptureButton)->isEnabled());
        d.ClickPanel(panel::kConfirmButton);
        EXPECT_EQ(d.panel().messageText(), "不適切な文字");
        EXPECT_EQ(d.workspace.calibration.calibrationConfirmed, 0);
    }
    d.TypeInto(panel::kValueBox[2], "60");
    EXPECT_EQ(d.workspace.calibration.calibrationConfirmed, 1);
    EXPECT_EQ(d.workspace.calibration.Xmax, 60);
}

TEST(DigitizerFault, ANewPictureStartsWithEmptySamplingBoxes) {
    Session d;
    d.Calibrate(BlankPicture());
    d.ClickCanvasPixel(PixelOf(30, 20));
    auto* x = d.panelControl<QLineEdit>(panel::kXSampleBox);
    auto* y = d.panelControl<QLineEdit>(panel::kYSampleBox);
    ASSERT_EQ(core::Trimmed(x->text().toStdString()), "30");
    // The next picture, calibrated: nothing sampled on it yet.
    d.Calibrate(BlankPicture(QSize(640, 560)));
    EXPECT_TRUE(x->isVisible());
    EXPECT_EQ(x->text(), "");
    EXPECT_EQ(y->text(), "");
}

TEST(DigitizerFault, AfterAPlacingClickTheValueIsTypedIntoThePanel) {
    Session d;
    d.PastePicture(BlankPicture());
    const std::pair<int, QPoint> clicks[] = {{core::kPickXmin, PixelOf(0, 0)},
                                             {core::kPickXmax, PixelOf(60, 0)},
                                             {core::kPickYmax, PixelOf(0, 40)}};
    const char* values[] = {"", "0", "60", "", "40"};
    for (const auto& [box, pixel] : clicks) {
        SCOPED_TRACE(box);
        d.PlacePoint(box, pixel);
        QCoreApplication::processEvents();
        EXPECT_EQ(QApplication::activeWindow(), &d.panel());
        ASSERT_EQ(QApplication::focusWidget(), d.panelControl<QLineEdit>(panel::kValueBox[box]));
        // The user types at once, into whatever has the keyboard.
        QTest::keyClicks(QApplication::focusWidget(), values[box]);
    }
    d.TypeInto(panel::kValueBox[3], "0");
    EXPECT_EQ(d.panelControl<QLineEdit>(panel::kValueBox[4])->text(), "40");
    EXPECT_EQ(d.workspace.calibration.calibrationConfirmed, 1);
    // A click that only samples leaves the main window active.
    d.ClickCanvasPixel(PixelOf(30, 20));
    QCoreApplication::processEvents();
    EXPECT_EQ(QApplication::activeWindow(), &d.main());
}

TEST(DigitizerFault, ClosingTheDataSetWindowByItsFrameEndsCapture) {
    Session d;
    d.StartCapture();
    d.ClickCanvasPixel(PixelOf(20, 10));
    ASSERT_EQ(d.workspace.data.pointCount[1], 1);
    EXPECT_FALSE(d.panel().isEnabled());
    d.dataSet().close();
    EXPECT_FALSE(d.dataSet().isVisible());
    EXPECT_EQ(d.workspace.data.captureMode, 0);
    EXPECT_TRUE(d.panel().isVisible());
    EXPECT_TRUE(d.panel().isEnabled());
    EXPECT_TRUE(d.panelControl<QAbstractButton>(panel::kEndButton)->isEnabled());
    EXPECT_TRUE(d.panelControl<QAbstractButton>(panel::kCaptureButton)->isEnabled());
    // Presses sample again without capturing.
    d.ClickCanvasPixel(PixelOf(30, 10));
    EXPECT_EQ(d.workspace.data.pointCount[1], 1);
}

TEST(DigitizerFault, FullLineSaysSoInThePanelAndTheDataSetWindow) {
    Session d;
    d.StartCapture();
    for (int i = 0; i < 100; ++i) core::AppendPoint(d.workspace.data, 1, "1", "2");
    const std::string full = d.workspace.data.pointText[1];
    d.ClickCanvasPixel(PixelOf(20, 10));
    EXPECT_EQ(d.workspace.data.pointText[1], full);
    EXPECT_TRUE(d.panel().messageShown());
    EXPECT_EQ(d.panel().messageText(), "ﾃﾞｰﾀ数が100点を超えます");
    EXPECT_TRUE(d.dataSet().messageShown());
    EXPECT_EQ(d.dataSet().messageText(), d.panel().messageText());
}

}  // namespace
}  // namespace kx::test

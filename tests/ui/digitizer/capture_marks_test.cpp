// What a user sees of the points he captures and how he takes them back, on
// real widgets: the marks on the canvas, undo and redo, removal by a Shift
// press on a mark, the arrow keys, the loupe.
#include <QAction>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

#include <gtest/gtest.h>

#include "core/data/text_chars.h"
#include "core/digitizer/axis_calibration.h"
#include "ui/digitizer/canvas.h"
#include "ui/digitizer/data_set_window.h"
#include "ui/digitizer/digitizer_names.h"
#include "ui/digitizer/digitizer_panel.h"
#include "ui/digitizer/loupe.h"
#include "ui/digitizer/main_window.h"
#include "ui_harness.h"

namespace kx::test {
namespace {

namespace mn = ui::names::marks;

QPoint MarkPixel(const ui::Canvas::CaptureMark& mark) {
    return QPoint(qRound(mark.at.x() / 15), qRound(mark.at.y() / 15));
}

std::vector<QPoint> MarkPixels(Session& d, int line) {
    std::vector<QPoint> pixels;
    for (const auto& mark : d.canvas().captureMarks())
        if (mark.line == line) pixels.push_back(MarkPixel(mark));
    return pixels;
}

// Pixels of the canvas as shown near `pixel` in a colour close to `colour`.
int PixelsNear(const QImage& shown, QPoint pixel, const QColor& colour) {
    int count = 0;
    for (int y = pixel.y() - 6; y <= pixel.y() + 6; ++y) {
        for (int x = pixel.x() - 6; x <= pixel.x() + 6; ++x) {
            const QColor c = shown.pixelColor(x, y);
            if (std::abs(c.red() - colour.red()) + std::abs(c.green() - colour.green()) +
                    std::abs(c.blue() - colour.blue()) <
                90)
                ++count;
        }
    }
    return count;
}

QPlainTextEdit* PointBox(Session& d, int line) {
    return d.dataSetControl<QPlainTextEdit>(ArrayName(data_set::kPointBox, line - 1));
}

QAction* Entry(Session& d, const char* name) {
    return Find<QAction>(d.panel(), name);
}

void SelectLine(Session& d, int line) {
    Tick(d.dataSet(), ArrayName(data_set::kLineOption, line - 1));
    ASSERT_EQ(d.workspace.data.captureLine, line);
}

// Capture on a blank calibrated picture: three points on line 1, two on line 2.
class CapturedPoints : public WindowTest {
protected:
    Session d;
    const std::vector<QPoint> first{{150, 450}, {200, 400}, {250, 380}};
    const std::vector<QPoint> second{{300, 300}, {350, 280}};

    void SetUp() override {
        d.StartCapture();
        for (QPoint p : first) d.ClickCanvasPixel(p);
        SelectLine(d, 2);
        for (QPoint p : second) d.ClickCanvasPixel(p);
        ASSERT_EQ(d.workspace.data.pointCount[1], 3);
        ASSERT_EQ(d.workspace.data.pointCount[2], 2);
    }
};

TEST_F(CapturedPoints, MarksFollowCaptureEditResetAndTheCalibrationRedraws) {
    EXPECT_EQ(MarkPixels(d, 1), first);
    EXPECT_EQ(MarkPixels(d, 2), second);
    // Each line in its own colour, drawn on the canvas but not into the picture.
    const QImage shown = d.canvas().grab().toImage();
    EXPECT_GT(PixelsNear(shown, first[0], ui::Canvas::LineColour(1)), 3);
    EXPECT_GT(PixelsNear(shown, second[0], ui::Canvas::LineColour(2)), 3);
    EXPECT_EQ(PixelsNear(shown, second[0], ui::Canvas::LineColour(1)), 0);
    EXPECT_EQ(d.canvas().picture().pixelColor(first[0] + QPoint(4, 0)), QColor(Qt::white));

    // The calibration marks are wiped and drawn again (a mid-point box on and
    // off): the point marks stay.
    Tick(d.panel(), panel::kMidPointBox[0]);
    Tick(d.panel(), panel::kMidPointBox[0]);
    EXPECT_EQ(d.canvas().captureMarks().size(), 5u);

    // Deleting the middle text line of line 1 removes that point's mark.
    QPlainTextEdit* box = PointBox(d, 1);
    const auto records = core::SplitCrLfLines(d.workspace.data.pointText[1]);
    box->setPlainText(
        QString::fromStdString(std::string(records[0]) + "\n" + std::string(records[2]) + "\n"));
    EXPECT_EQ(d.workspace.data.pointCount[1], 2);
    EXPECT_EQ(MarkPixels(d, 1), (std::vector<QPoint>{first[0], first[2]}));

    // A line typed into the box is marked where its values lie: (30, 20) is
    // pixel (400, 300) on the 10-pixels-a-unit frame.
    box->moveCursor(QTextCursor::End);
    QTest::keyClicks(box, "30,20");
    ASSERT_EQ(MarkPixels(d, 1).size(), 3u);
    EXPECT_EQ(MarkPixels(d, 1)[2], QPoint(400, 300));

    d.ClickDataSet(data_set::kResetLineButton);  // line 2 is selected
    EXPECT_TRUE(MarkPixels(d, 2).empty());
    EXPECT_EQ(MarkPixels(d, 1).size(), 3u);
    d.ClickDataSet(data_set::kResetAllButton);
    EXPECT_TRUE(d.canvas().captureMarks().empty());
}

TEST_F(CapturedPoints, UndoAndRedoRestoreTextsAndCountsExactly) {
    const std::string line1 = d.workspace.data.pointText[1];
    const std::string line2 = d.workspace.data.pointText[2];
    const std::string line2Before = std::string(core::SplitCrLfLines(line2)[0]) + "\r\n";

    // Ctrl+Z in the main window takes back the last point, of line 2.
    d.main().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&d.main()));
    QTest::keyClick(&d.canvas(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(d.workspace.data.pointText[2], line2Before);
    EXPECT_EQ(d.workspace.data.pointCount[2], 1);
    EXPECT_EQ(PointBox(d, 2)->toPlainText(),
              QString::fromStdString(line2Before).replace("\r\n", "\n"));
    EXPECT_EQ(d.dataSetControl<QLineEdit>(data_set::kPointCountBox)->text(), "1");
    EXPECT_EQ(MarkPixels(d, 2), std::vector<QPoint>{second[0]});

    // Then, from the menu, the rest of line 2 and the last of line 1.
    Entry(d, mn::kUndoEntry)->trigger();
    Entry(d, mn::kUndoEntry)->trigger();
    EXPECT_EQ(d.workspace.data.pointCount[2], 0);
    EXPECT_EQ(d.workspace.data.pointText[2], "");
    EXPECT_EQ(d.workspace.data.pointCount[1], 2);
    EXPECT_EQ(MarkPixels(d, 1), (std::vector<QPoint>{first[0], first[1]}));

    // Ctrl+Y does them again, marks at the captured pixels.
    for (int k = 0; k < 3; ++k) QTest::keyClick(&d.canvas(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(d.workspace.data.pointText[1], line1);
    EXPECT_EQ(d.workspace.data.pointText[2], line2);
    EXPECT_EQ(d.workspace.data.pointCount[2], 2);
    EXPECT_EQ(MarkPixels(d, 2), second);
    EXPECT_FALSE(Entry(d, mn::kRedoEntry)->isEnabled());

    // In a text box the keys stay the box's own.
    QPlainTextEdit* box = PointBox(d, 2);
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(d.workspace.data.pointText[2], line2);
}

TEST_F(CapturedPoints, ShiftPressOnAMarkRemovesItsPointUndoBringsItBack) {
    const std::string line1 = d.workspace.data.pointText[1];
    QTest::mouseClick(&d.canvas(), Qt::LeftButton, Qt::ShiftModifier, first[1] + QPoint(1, 1));
    EXPECT_EQ(d.workspace.data.pointCount[1], 2);
    EXPECT_EQ(MarkPixels(d, 1), (std::vector<QPoint>{first[0], first[2]}));
    const auto records = core::SplitCrLfLines(line1);
    EXPECT_EQ(d.workspace.data.pointText[1],
              std::string(records[0]) + "\r\n" + std::string(records[2]) + "\r\n");
    // The press captured nothing, on no line.
    EXPECT_EQ(d.workspace.data.pointCount[2], 2);

    // The undo selects line 1, whose point comes back, so that the DataSet
    // window shows the line that changes.
    Entry(d, mn::kUndoEntry)->trigger();
    EXPECT_EQ(d.workspace.data.pointText[1], line1);
    EXPECT_EQ(MarkPixels(d, 1), first);

    // A Shift press away from every mark is an ordinary press, on line 1 now.
    QTest::mouseClick(&d.canvas(), Qt::LeftButton, Qt::ShiftModifier, QPoint(500, 200));
    EXPECT_EQ(d.workspace.data.pointCount[1], 4);
    EXPECT_EQ(d.workspace.data.pointCount[2], 2);
}

TEST_F(CapturedPoints, EditAfterAStepLeavesNothingToUndoOverIt) {
    QPlainTextEdit* box = PointBox(d, 2);
    box->setPlainText("1,1\n");
    Entry(d, mn::kUndoEntry)->trigger();
    EXPECT_EQ(d.workspace.data.pointText[2], "1,1\r\n");
    EXPECT_FALSE(Entry(d, mn::kUndoEntry)->isEnabled());
}

TEST(CaptureNudge, ArrowKeysMoveTheLastPointAsIfPressedThere) {
    App();
    Session d;
    d.StartCapture();
    const QPoint at(200, 400);
    d.ClickCanvasPixel(at);
    ASSERT_TRUE(d.canvas().loupe().isVisible());
    QTest::keyClick(&d.canvas(), Qt::Key_Right);
    // The loupe does not stay at the click, over the point moving from it.
    EXPECT_FALSE(d.canvas().loupe().isVisible());
    QTest::keyClick(&d.canvas(), Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(&d.canvas(), Qt::Key_Up);

    const QPoint moved = at + QPoint(1, 9);
    const auto value =
        core::CanvasToValue(d.workspace.calibration, moved.x() * 15, moved.y() * 15);
    ASSERT_TRUE(value);
    const std::string record = core::Trimmed(core::AxisValueText(value->x, false)) + "," +
                               core::Trimmed(core::AxisValueText(value->y, false));
    EXPECT_EQ(d.workspace.data.pointText[1], record + "\r\n");
    EXPECT_EQ(d.workspace.data.pointCount[1], 1);
    EXPECT_EQ(MarkPixels(d, 1), std::vector<QPoint>{moved});
    EXPECT_EQ(PointBox(d, 1)->toPlainText().toStdString(), record + "\n");
    EXPECT_EQ(d.panelControl<QLineEdit>(panel::kXSampleBox)->text().toStdString(),
              core::AxisValueText(value->x, false));

    // The capture and its moves are one step.
    Entry(d, mn::kUndoEntry)->trigger();
    EXPECT_EQ(d.workspace.data.pointText[1], "");
    EXPECT_TRUE(d.canvas().captureMarks().empty());
    // Nothing is left to move: the keys scroll the picture again.
    QTest::keyClick(&d.canvas(), Qt::Key_Right);
    EXPECT_EQ(d.workspace.data.pointText[1], "");
}

TEST(CaptureNudge, ArrowKeysInTheValueBoxMoveTheCalibrationPointJustPlaced) {
    App();
    Session d;
    d.Calibrate(BlankPicture());
    const core::AxisCalibration& cal = d.workspace.calibration;
    ASSERT_EQ(cal.X1MAX, 700 * 15);
    d.ClickPanel(panel::kPointBox[core::kPickXmax]);  // off, to be placed again
    d.PlacePoint(core::kPickXmax, QPoint(690, 500));
    ASSERT_EQ(cal.X1MAX, 690 * 15);
    auto* value = d.panelControl<QLineEdit>(panel::kValueBox[core::kPickXmax]);
    QTest::keyClick(value, Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(value, Qt::Key_Right);
    EXPECT_EQ(cal.X1MAX, 701 * 15);
    EXPECT_EQ(cal.Y1MIN, 500 * 15);  // the end stays on its axis line
    EXPECT_EQ(cal.calibrationInvalid, 0);
    // Once the value is edited the keys move in its text again.
    QTest::keyClick(value, Qt::Key_End);
    QTest::keyClick(value, Qt::Key_Left);
    EXPECT_EQ(cal.X1MAX, 701 * 15);
}

TEST(Loupe, ShowsThePixelUnderThePointerBesideIt) {
    App();
    Session d;
    QImage picture = BlankPicture();
    const QPoint spot(300, 200);
    picture.setPixelColor(spot, QColor(10, 200, 30));
    d.Calibrate(picture);
    d.ClickPanel(panel::kCaptureButton);
    ui::Loupe& loupe = d.canvas().loupe();

    d.MovePointer(spot);
    ASSERT_TRUE(loupe.isVisible());
    EXPECT_EQ(loupe.pixel(), spot);
    EXPECT_FALSE(loupe.geometry().adjusted(-8, -8, 8, 8).contains(spot));
    const QImage shown = loupe.grab().toImage();
    const QRect cell = loupe.PointerCell();
    for (const QPoint inside : {cell.topLeft(), cell.bottomRight(), cell.center()})
        EXPECT_EQ(shown.pixelColor(inside), QColor(10, 200, 30));
    EXPECT_EQ(shown.pixelColor(cell.topLeft() + QPoint(ui::Loupe::kZoom, -ui::Loupe::kZoom * 3)),
              QColor(Qt::white));

    // Near the right and bottom edges of the view it stands on the other side.
    d.MovePointer(QPoint(780, 580));
    EXPECT_LT(loupe.geometry().right(), 780);

    // A captured point's mark shows in it.
    d.ClickCanvasPixel(QPoint(400, 300));
    d.MovePointer(QPoint(402, 300));
    const QImage magnified = loupe.grab().toImage();
    EXPECT_GT(PixelsNear(magnified, loupe.PointerCell().center() - QPoint(8, 14),
                         ui::Canvas::LineColour(1)),
              3);

    Entry(d, mn::kLoupeEntry)->trigger();
    EXPECT_FALSE(loupe.isVisible());
    d.MovePointer(spot);
    EXPECT_FALSE(loupe.isVisible());
}

TEST(Loupe, OnlyWhilePlacingOrCapturing) {
    App();
    Session d;
    d.PastePicture(BlankPicture());
    d.MovePointer(QPoint(300, 200));
    EXPECT_FALSE(d.canvas().loupe().isVisible());
    d.ClickPanel(panel::kPointBox[core::kPickXmin]);
    d.MovePointer(QPoint(300, 200));
    EXPECT_TRUE(d.canvas().loupe().isVisible());
    d.ClickCanvasPixel(QPoint(100, 500));
    EXPECT_FALSE(d.canvas().loupe().isVisible());
}

}  // namespace
}  // namespace kx::test

// Zoom and pan of the picture: the view changes, the positions do not. A
// press at 8x lands on an eighth of a pixel and converts there; the marks
// are drawn at the screen's resolution; the middle button drags the view and
// places nothing.
#include <QScrollArea>
#include <QScrollBar>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <cstdlib>

#include "core/data/text_chars.h"
#include "core/digitizer/axis_calibration.h"
#include "ui/digitizer/canvas.h"
#include "ui/digitizer/canvas_view.h"
#include "ui/digitizer/loupe.h"
#include "ui/digitizer/main_window.h"
#include "ui_harness.h"

namespace kx::test {
namespace {

class CanvasZoom : public WindowTest {
protected:
    ui::Canvas& canvas() { return d.canvas(); }
    ui::CanvasView& view() { return d.main().canvasView(); }
    QScrollArea& area() { return d.main().canvasArea(); }
    QPoint Scroll() {
        return {area().horizontalScrollBar()->value(), area().verticalScrollBar()->value()};
    }
    void Wheel(QPointF at, int notches, Qt::KeyboardModifiers keys = Qt::ControlModifier) {
        QWheelEvent wheel(at, canvas().mapToGlobal(at), QPoint(), QPoint(0, 120 * notches),
                          Qt::NoButton, keys, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&canvas(), &wheel);
    }
    // Pixels of `colour` on the canvas as shown within `reach` of `centre`.
    static int Coloured(const QImage& shown, QPointF centre, double reach, QColor colour) {
        int count = 0;
        for (int y = int(centre.y() - reach); y <= int(centre.y() + reach); ++y) {
            for (int x = int(centre.x() - reach); x <= int(centre.x() + reach); ++x) {
                if (QLineF(QPointF(x + 0.5, y + 0.5), centre).length() > reach) continue;
                const QColor c = shown.pixelColor(x, y);
                // Antialiased: near the colour.
                if (std::abs(c.red() - colour.red()) + std::abs(c.green() - colour.green()) +
                        std::abs(c.blue() - colour.blue()) <
                    120)
                    ++count;
            }
        }
        return count;
    }

    Session d;
};

TEST_F(CanvasZoom, TheWheelZoomsAboutThePointerWithinItsRange) {
    d.PastePicture(BlankPicture(QSize(800, 600)));
    QCoreApplication::processEvents();
    // Without Ctrl the wheel scrolls, as before.
    Wheel(QPointF(300, 200), 1, Qt::NoModifier);
    EXPECT_EQ(canvas().zoom(), 1.0);

    // The picture point under the pointer stays under it.
    const QPointF pointer(300, 200);
    const QPointF underIt = canvas().CanvasPoint(pointer);
    const QPoint before = canvas().mapTo(area().viewport(), pointer.toPoint());
    Wheel(pointer, 2);
    EXPECT_DOUBLE_EQ(canvas().zoom(), 2.0);
    EXPECT_EQ(canvas().size(), QSize(1600, 1200));
    const QPointF now = canvas().WidgetPoint(underIt);
    EXPECT_LE((canvas().mapTo(area().viewport(), now.toPoint()) - before).manhattanLength(), 1);

    for (int k = 0; k < 12; ++k) Wheel(pointer, 1);
    EXPECT_DOUBLE_EQ(canvas().zoom(), 16.0);
    // Out: not below the picture as loaded, since it fits the window.
    for (int k = 0; k < 12; ++k) Wheel(pointer, -1);
    EXPECT_DOUBLE_EQ(canvas().zoom(), std::min(1.0, view().FittedZoom()));
    view().ZoomAboutMiddle(4);
    EXPECT_DOUBLE_EQ(canvas().zoom(), 4.0);
    view().ShowAsLoaded();
    EXPECT_DOUBLE_EQ(canvas().zoom(), 1.0);
    EXPECT_EQ(canvas().size(), QSize(800, 600));
    // A new picture starts as loaded.
    view().ZoomAboutMiddle(2);
    d.PastePicture(BlankPicture(QSize(640, 480)));
    EXPECT_DOUBLE_EQ(canvas().zoom(), 1.0);
}

TEST_F(CanvasZoom, AtEightTimesAPressLandsOnAnEighthOfAPixel) {
    d.StartCapture();  // origin (100, 500), 10 pixels a unit
    view().ZoomTo(8.0, QPointF());
    ASSERT_DOUBLE_EQ(canvas().zoom(), 8.0);
    // Screen pixel (3201, 2404) is picture pixel (400.125, 300.5).
    const QPoint at(3201, 2404);
    MoveOver(&canvas(), at);
    QTest::mouseClick(&canvas(), Qt::LeftButton, {}, at);
    ASSERT_EQ(d.workspace.data.pointCount[1], 1);
    const auto sampled = core::SampleAt(d.workspace.calibration, 400.125 * 15, 300.5 * 15);
    ASSERT_TRUE(sampled);
    EXPECT_EQ(d.workspace.data.pointText[1],
              core::Trimmed(sampled->xText) + "," + core::Trimmed(sampled->yText) + "\r\n");
    EXPECT_NEAR(sampled->value.x, 30.0125, 1e-4);
    EXPECT_NEAR(sampled->value.y, 19.95, 1e-4);

    // Its mark stands on that screen pixel, a ring of the screen's size, as
    // at 1x: drawn, not scaled.
    const QColor colour = ui::Canvas::LineColour(1);
    const QPointF centre(at.x() + 0.5, at.y() + 0.5);
    QImage shown = canvas().grab(QRect(at - QPoint(40, 40), QSize(81, 81))).toImage();
    const QPointF local = centre - QPointF(at - QPoint(40, 40));
    EXPECT_GT(Coloured(shown, local, 6, colour), 8);
    EXPECT_EQ(Coloured(shown, local, 40, colour), Coloured(shown, local, 6, colour));

    // The loupe magnifies what is under the pointer at this zoom.
    MoveOver(&canvas(), at + QPoint(2, 0));
    d.panel().UpdateLiveDisplay();
    EXPECT_TRUE(canvas().loupe().isVisible());
    EXPECT_EQ(canvas().loupe().pixel(), at + QPoint(2, 0));
}

TEST_F(CanvasZoom, TheMiddleButtonDragsTheViewAndPlacesNothing) {
    d.StartCapture();
    view().ZoomTo(4.0, QPointF());
    QCoreApplication::processEvents();
    area().horizontalScrollBar()->setValue(600);
    area().verticalScrollBar()->setValue(500);
    const QPoint from(900, 800);
    QTest::mousePress(&canvas(), Qt::MiddleButton, {}, from);
    QMouseEvent move(QEvent::MouseMove, QPointF(from - QPoint(120, 70)),
                     canvas().mapToGlobal(QPointF(from)) - QPointF(120, 70), Qt::NoButton,
                     Qt::MiddleButton, Qt::NoModifier);
    QApplication::sendEvent(&canvas(), &move);
    QTest::mouseRelease(&canvas(), Qt::MiddleButton, {}, from - QPoint(120, 70));
    EXPECT_EQ(Scroll(), QPoint(720, 570));
    EXPECT_EQ(d.workspace.data.pointCount[1], 0);
    // Space held with the left button drags as well.
    QTest::keyPress(&canvas(), Qt::Key_Space);
    QTest::mousePress(&canvas(), Qt::LeftButton, {}, from);
    QTest::mouseRelease(&canvas(), Qt::LeftButton, {}, from);
    QTest::keyRelease(&canvas(), Qt::Key_Space);
    EXPECT_EQ(d.workspace.data.pointCount[1], 0);
    // Released, a press captures again.
    QTest::mouseClick(&canvas(), Qt::LeftButton, {}, from);
    EXPECT_EQ(d.workspace.data.pointCount[1], 1);
}

}  // namespace
}  // namespace kx::test

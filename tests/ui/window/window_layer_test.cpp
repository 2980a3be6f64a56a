// The window layer: every child window goes back to its opener however it is
// closed, the windows stand on a small screen, the clipboard stays the
// user's, and the keyboard entry and the DataSet window read the same points.
#include <QAbstractButton>
#include <QAction>
#include <QClipboard>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>

#include <gtest/gtest.h>

#include "ui/digitizer/canvas.h"
#include "ui/results/keyboard_window.h"
#include "ui/results/validation_window.h"
#include "ui_harness.h"

namespace kx::test {
namespace {

TEST(ChildWindows, EveryWayBackGivesTheOpenerBack) {
    Session d;
    StandInWindow windowToCome(&d.main());
    struct Row {
        const char* name;
        ui::ChildWindow* window;
    };
    const Row rows[] = {{"keyboard", &d.keyboard()},
                        {"program", &d.program()},
                        {"conditions", &d.desktop.conditions()},
                        {"exclusion", &d.desktop.exclusion()},
                        {"load", &d.load()},
                        {"save", &d.save()},
                        {"to come", &windowToCome}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        for (bool byFrame : {false, true}) {
            row.window->OpenFrom(&d.panel());
            EXPECT_TRUE(row.window->isVisible());
            EXPECT_FALSE(d.panel().isEnabled());
            EXPECT_FALSE(d.main().isEnabled());
            if (byFrame) {
                EXPECT_TRUE(row.window->close());
            } else {
                EXPECT_TRUE(row.window->ReturnToOpener());
            }
            EXPECT_FALSE(row.window->isVisible());
            EXPECT_TRUE(d.panel().isEnabled());
            EXPECT_TRUE(d.panel().isVisible());
            EXPECT_TRUE(d.main().isEnabled());
        }
    }
}

TEST(ChildWindows, NestedOpeningsGiveBackOnlyWhatEachTook) {
    Session d;
    d.StartCapture();
    // The canvas stays usable while the DataSet window is open.
    EXPECT_TRUE(d.main().isEnabled());
    d.dataSet()
        .findChild<QPlainTextEdit*>(ArrayName(data_set::kPointBox, 0))
        ->setPlainText("1,2\n2,3\n3,5\n");
    d.ClickDataSet(data_set::kGenerateButton);
    ASSERT_TRUE(d.program().isVisible());
    EXPECT_FALSE(d.dataSet().isEnabled());
    EXPECT_FALSE(d.main().isEnabled());

    // The conditions window is closed by its frame: the program window comes
    // back, the main window stays with the program window.
    Find<QAction>(d.program(), pn::kConditionsEntry)->trigger();
    ASSERT_TRUE(d.desktop.conditions().isVisible());
    EXPECT_FALSE(d.program().isEnabled());
    d.desktop.conditions().close();
    EXPECT_TRUE(d.program().isEnabled());
    EXPECT_FALSE(d.main().isEnabled());

    // The exclusion window refuses to go without a system left, by any way.
    Find<QAction>(d.program(), pn::kExclusionEntry)->trigger();
    ui::ExclusionWindow& exclusion = d.desktop.exclusion();
    for (int i = 0; i < 7; ++i) {
        Tick(exclusion, ArrayName(en::kSystemBox, i));
    }
    EXPECT_FALSE(exclusion.close());
    EXPECT_FALSE(exclusion.ReturnToOpener());
    EXPECT_TRUE(exclusion.isVisible());
    EXPECT_FALSE(d.program().isEnabled());
    Click(exclusion, en::kAllButton);
    EXPECT_TRUE(exclusion.close());
    EXPECT_TRUE(d.program().isEnabled());

    d.program().close();
    EXPECT_TRUE(d.dataSet().isEnabled());
    EXPECT_TRUE(d.main().isEnabled());
    EXPECT_EQ(d.workspace.data.captureMode, 1);
}

// Every part of `window` lies on the screen.
void ExpectOnScreen(QWidget& window, const char* name) {
    SCOPED_TRACE(name);
    const QRect screen = window.screen()->availableGeometry();
    EXPECT_TRUE(screen.contains(window.frameGeometry()))
        << window.frameGeometry().x() << "," << window.frameGeometry().y();
    for (QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
        if (!button->isVisibleTo(&window)) continue;
        const QRect place(button->mapToGlobal(QPoint(0, 0)), button->size());
        EXPECT_TRUE(screen.contains(place)) << button->objectName().toStdString();
    }
}

TEST(SmallScreen, EveryWindowAndButtonIsOnTheScreen) {
    Session d;
    ASSERT_EQ(d.main().screen()->availableGeometry().size(), QSize(1366, 768));
    ExpectOnScreen(d.main(), "main");
    ExpectOnScreen(d.panel(), "panel");
    d.StartCapture();
    ExpectOnScreen(d.dataSet(), "DataSet");
    d.program().OpenFrom(&d.dataSet());
    ExpectOnScreen(d.program(), "program");
    d.desktop.conditions().OpenFrom(&d.program());
    ExpectOnScreen(d.desktop.conditions(), "conditions");
    d.desktop.conditions().close();
    d.desktop.exclusion().OpenFrom(&d.program());
    ExpectOnScreen(d.desktop.exclusion(), "exclusion");
    d.desktop.exclusion().close();
    d.desktop.gauge().StartGauge();
    ExpectOnScreen(d.desktop.gauge(), "gauge");
    d.desktop.gauge().StopGauge();
    // Put where a window manager once put it, partly below the screen, the
    // check window still opens wholly on it.
    ui::ValidationWindow& check = d.desktop.validation();
    check.move(0, 223);
    check.OpenFrom(&d.program());
    ExpectOnScreen(check, "check");
    check.close();
    d.program().close();
    d.dataSet().close();
    d.keyboard().OpenFrom(&d.panel());
    ExpectOnScreen(d.keyboard(), "keyboard");
    d.keyboard().close();
    d.load().OpenInMode(ui::LoadWindow::kPicture, &d.panel());
    ExpectOnScreen(d.load(), "load");
    d.load().close();
    d.save().OpenToSave(core::kSaveAllLines, &d.panel(), {});
    ExpectOnScreen(d.save(), "save");
    d.save().close();

    // Maximized, the main window reaches the screen's right edge; the panel
    // stays on the screen.
    d.main().showMaximized();
    QCoreApplication::processEvents();
    ExpectOnScreen(d.panel(), "panel beside a maximized main window");
}

// The resizes of a new picture have been laid out, and the scroll bars have
// followed them (a scroll area shows or hides them one event round later).
void Settle() {
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

TEST(SmallScreen, MainWindowGrowsToThePictureWithinTheScreen) {
    Session d;
    QScrollArea& area = d.main().canvasArea();
    // As large as the main window's first size: the whole picture shows.
    d.PastePicture(BlankPicture(QSize(800, 600)));
    Settle();
    EXPECT_FALSE(area.horizontalScrollBar()->isVisible());
    EXPECT_FALSE(area.verticalScrollBar()->isVisible());
    EXPECT_GE(area.viewport()->width(), 800);
    EXPECT_GE(area.viewport()->height(), 600);
    ExpectOnScreen(d.main(), "main");
    ExpectOnScreen(d.panel(), "panel");
    // A scan larger than the screen: the window stops at the screen, beside
    // the panel, and the picture scrolls.
    d.PastePicture(BlankPicture(QSize(3000, 2000)));
    Settle();
    ExpectOnScreen(d.main(), "main");
    ExpectOnScreen(d.panel(), "panel");
    EXPECT_FALSE(d.main().frameGeometry().intersects(d.panel().frameGeometry()));
    EXPECT_TRUE(area.horizontalScrollBar()->isVisible());

    // A picture 1000 pixels wide with the window standing right of the
    // screen's middle: the window and the panel move left together, and the
    // whole picture shows.
    d.main().resize(800, 600);
    d.main().move(283, 91);
    d.PastePicture(BlankPicture(QSize(1000, 660)));
    Settle();
    EXPECT_FALSE(area.horizontalScrollBar()->isVisible());
    EXPECT_GE(area.viewport()->width(), 1000);
    ExpectOnScreen(d.main(), "main");
    ExpectOnScreen(d.panel(), "panel");
    EXPECT_FALSE(d.main().frameGeometry().intersects(d.panel().frameGeometry()));
}

TEST(SmallScreen, AWindowGivenBackStandsWhereItStood) {
    Session d;
    d.main().move(283, 91);
    ui::KeyboardWindow& keyboard = d.keyboard();
    keyboard.OpenFrom(&d.panel());
    Find<QPlainTextEdit>(keyboard, ArrayName(kn::kDataBox, 0))->setPlainText("1,2\n2,3\n3,5\n");
    Click(keyboard, kn::kGenerateButton);
    ASSERT_TRUE(d.program().isVisible());
    EXPECT_FALSE(d.main().isVisible());
    d.main().move(1, 163);  // as a window manager may place a hidden window
    Click(d.program(), pn::kBackButton);
    Click(keyboard, kn::kBackButton);
    EXPECT_TRUE(d.main().isVisible());
    EXPECT_EQ(d.main().pos(), QPoint(283, 91));
    EXPECT_EQ(d.panel().frameGeometry().topLeft(), d.main().RightEdgeTop());
}

TEST(Clipboard, AnOldPictureIsNotPastedAndNothingIsEmptied) {
    QApplication::clipboard()->setImage(BlankPicture(QSize(320, 200)));
    Session d;
    EXPECT_FALSE(QApplication::clipboard()->image().isNull());
    d.ClickPanel(panel::kPasteButton);
    EXPECT_FALSE(d.canvas().hasPicture());
    EXPECT_EQ(d.main().windowTitle(), "Kuvatelix <Graph Paste>");
    // A picture copied after the start is pasted.
    d.PastePicture(BlankPicture(QSize(330, 210)));
    EXPECT_EQ(d.canvas().picture().size(), QSize(330, 210));
}

TEST(Clipboard, ACopiedListIsKeptButNotPastedIntoTheKeyboardEntry) {
    Session d;
    d.keyboard().OpenFrom(&d.panel());
    auto* page1 = Find<QPlainTextEdit>(d.keyboard(), ArrayName(kn::kDataBox, 0));
    auto* page2 = Find<QPlainTextEdit>(d.keyboard(), ArrayName(kn::kDataBox, 1));
    page1->setPlainText("1,2\n2,3\n3,5\n4,8\n");
    Click(d.keyboard(), kn::kGenerateButton);
    ASSERT_TRUE(d.program().isVisible());
    Click(d.program(), pn::kCalculateButton);
    QListView* list = Find<QListView>(d.program(), pn::kList[3]);
    ASSERT_GT(list->model()->rowCount(), 0);
    list->selectionModel()->select(list->model()->index(0, 0), QItemSelectionModel::Select);
    QTest::mousePress(list->viewport(), Qt::RightButton);
    const QString copied = QApplication::clipboard()->text();
    ASSERT_FALSE(copied.isEmpty());

    Click(d.program(), pn::kBackButton);
    EXPECT_EQ(QApplication::clipboard()->text(), copied);
    page2->setFocus();
    QTest::keyClick(page2, Qt::Key_V, Qt::ControlModifier);
    EXPECT_TRUE(page2->toPlainText().isEmpty());
    // What the user copies next is pasted as usual.
    QApplication::clipboard()->setText("5\t6\n");
    QTest::keyClick(page2, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(page2->toPlainText(), "5\t6\n");
}

TEST(KeyboardEntry, TheDataSetWindowShowsAndPreparesTheSamePoints) {
    Session d;
    Find<QAction>(d.panel(), panel::kKeyboardEntry)->trigger();
    QString rows;
    for (int i = 1; i <= 10; ++i) rows += QString("%1\t%2\n").arg(i).arg(i * i);
    Find<QPlainTextEdit>(d.keyboard(), ArrayName(kn::kDataBox, 0))->setPlainText(rows);
    Find<QPlainTextEdit>(d.keyboard(), ArrayName(kn::kDataBox, 1))
        ->setPlainText("1 1\n2  4\n3,9\n");
    Click(d.keyboard(), kn::kBackButton);

    d.StartCapture();
    EXPECT_EQ(d.dataSetControl<QLineEdit>(data_set::kPointCountBox)->text(), "10");
    const QString shown =
        Find<QPlainTextEdit>(d.dataSet(), ArrayName(data_set::kPointBox, 0))->toPlainText();
    EXPECT_TRUE(shown.startsWith("1,1\n2,4\n3,9\n")) << shown.toStdString();
    d.ClickDataSet(data_set::kGenerateButton);
    EXPECT_FALSE(d.dataSet().messageShown()) << d.dataSet().messageText().toStdString();
    ASSERT_TRUE(d.program().isVisible());
    ASSERT_EQ(d.workspace.data.lineCount, 2);
    EXPECT_EQ(d.workspace.data.preparedCount[1], 10);
    EXPECT_EQ(d.workspace.data.xText[1][10], "10");
    EXPECT_EQ(d.workspace.data.yText[1][10], "100");
    EXPECT_EQ(d.workspace.data.yText[2][2], "4");
}

}  // namespace
}  // namespace kx::test

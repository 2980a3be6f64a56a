// The program-generation window's own behaviour around a finished run: area
// hints, enlarged views, resizing, copying selected items and the hint about
// clearing the results.
#include <QClipboard>
#include <QLabel>
#include <QListView>
#include <QMouseEvent>
#include <QPushButton>

#include "core/data/data_set.h"
#include "ui/results/program_window.h"
#include "ui/window/controls.h"
#include "ui/window/twips.h"
#include "ui_harness.h"

namespace kx::test {
namespace {

class ProgramWindowTest : public WindowTest {
protected:
    void SetUp() override {
        workspace.data = PreparedFamily({12, 14});
        opener.show();
        window.OpenFrom(&opener);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    QListView* List(int i) { return Find<QListView>(window, pn::kList[i]); }
    qsizetype Selected(int i) { return List(i)->selectionModel()->selectedIndexes().size(); }
    QLabel* Label(const QString& name) { return Find<QLabel>(window, name); }
    void Run() { Click(window, pn::kCalculateButton); }
    // The window's outer size in twips as its layout rules measure it.
    int OuterHeight() {
        return static_cast<int>(
                   ui::PixelsToTwips(Find<QWidget>(window, pn::kClientArea)->height())) +
               795;
    }
    int OuterWidth() {
        return static_cast<int>(
                   ui::PixelsToTwips(Find<QWidget>(window, pn::kClientArea)->width())) +
               120;
    }

    Session s;
    ui::Workspace& workspace = s.workspace;
    QWidget opener;
    ui::ProgramWindow& window = s.program();
};

TEST_F(ProgramWindowTest, AreaHintsFadeInOnTheFirstOpeningOnly) {
    QLabel* hint0 = Label(ArrayName(pn::kAreaHint, 0));
    EXPECT_EQ(hint0->text(), "計算状況表示領域");
    EXPECT_EQ(Label(ArrayName(pn::kAreaHint, 1))->text(), "計算結果詳細表示領域域");
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(Label(ArrayName(pn::kAreaHint, i))->isVisible());
    const QColor before = ui::BackgroundOf(hint0);
    window.FadeInAreaHints();
    EXPECT_NE(ui::BackgroundOf(hint0), before);
    bool stopRequested = false;
    QObject::connect(&window, &ui::ProgramWindow::panelTimersStopRequested,
                     [&] { stopRequested = true; });
    window.HideAreaHints();
    EXPECT_TRUE(stopRequested);
    for (int i = 0; i < 4; ++i) EXPECT_FALSE(Label(ArrayName(pn::kAreaHint, i))->isVisible());

    Click(window, pn::kBackButton);
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(opener.isEnabled());
    window.OpenFrom(&opener);
    EXPECT_FALSE(hint0->isVisible());
    EXPECT_FALSE(opener.isEnabled());
}

TEST_F(ProgramWindowTest, DoubleClickEnlargesAListAndResizingFollowsTheRules) {
    Run();
    const QRect normal3 = List(3)->geometry();
    QTest::mouseDClick(List(3)->viewport(), Qt::LeftButton);
    EXPECT_FALSE(List(1)->isVisible());
    EXPECT_FALSE(List(4)->isVisible());
    EXPECT_EQ(List(3)->geometry().top(), 0);
    EXPECT_EQ(List(3)->height(), ui::TwipsToPixels(OuterHeight() - 795));
    QTest::mouseDClick(List(3)->viewport(), Qt::LeftButton);
    EXPECT_TRUE(List(1)->isVisible());
    EXPECT_TRUE(List(4)->isVisible());
    EXPECT_EQ(List(3)->geometry(), normal3);
    EXPECT_EQ(normal3, ui::TwipsRect(0, 2205, OuterWidth() - 2610, 1860));

    window.resize(window.width() + 150, window.height() + 90);
    QApplication::processEvents();
    const int w = OuterWidth(), h = OuterHeight();
    EXPECT_EQ(List(4)->height(), ui::TwipsToPixels(h - 4965));
    EXPECT_EQ(List(2)->height(), ui::TwipsToPixels(h - 1545));
    EXPECT_EQ(List(1)->width(), ui::TwipsToPixels(w - 2610));
    EXPECT_EQ(List(2)->x(), List(3)->x() + List(3)->width() + 2);
    EXPECT_EQ(Find<QPushButton>(window, pn::kCalculateButton)->pos(),
              ui::TwipsRect(w - 2400, h - 1140, 0, 0).topLeft());
    EXPECT_EQ(Find<QPushButton>(window, pn::kBackButton)->pos(),
              ui::TwipsRect(w - 1110, h - 1140, 0, 0).topLeft());

    // Too small a window keeps the last layout.
    const QRect before = List(4)->geometry();
    window.resize(window.width(), 200);
    QApplication::processEvents();
    EXPECT_EQ(List(4)->geometry(), before);
}

TEST_F(ProgramWindowTest, RightButtonCopiesTheSelectedItemsOfOneList) {
    Run();
    QListView* list3 = List(3);
    const QStringList rows3 = Items(window, pn::kList[3]);
    ASSERT_GE(rows3.size(), 3);
    QListView* list1 = List(1);
    QTest::mouseClick(list1->viewport(), Qt::LeftButton, {}, RowCentre(list1, 0));
    EXPECT_EQ(Selected(1), 1);

    // Selected from the bottom up, copied in list order.
    QTest::mouseClick(list3->viewport(), Qt::LeftButton, {}, RowCentre(list3, 2));
    EXPECT_EQ(Selected(1), 0);  // the other list lost its selection
    QTest::mouseClick(list3->viewport(), Qt::LeftButton, Qt::ControlModifier, RowCentre(list3, 0));
    QTest::mousePress(list3->viewport(), Qt::RightButton, {}, RowCentre(list3, 1));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), rows3[0] + "\r\n" + rows3[2] + "\r\n");
    EXPECT_EQ(Selected(3), 2);
    QLabel* message = Label(pn::kCopiedMessage);
    EXPECT_TRUE(message->isVisible());
    EXPECT_EQ(message->text(), "クリップボードにコピーしました。");
    window.HideMessages();
    EXPECT_FALSE(message->isVisible());

    // The fitting log is not copied by the right button.
    QGuiApplication::clipboard()->setText("kept");
    QTest::mousePress(list1->viewport(), Qt::RightButton);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "kept");

    // Going back leaves the clipboard to the user.
    Click(window, pn::kBackButton);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "kept");
}

TEST_F(ProgramWindowTest, ClearingHintShowsOverTheButtonUntilDismissed) {
    QPushButton* button = Find<QPushButton>(window, pn::kCalculateButton);
    QLabel* hint = Label(pn::kClearingHint);
    MoveOver(button);
    EXPECT_FALSE(hint->isVisible());  // nothing to clear yet
    Run();
    EXPECT_EQ(button->text(), "再計算開始");
    MoveOver(button);
    EXPECT_TRUE(hint->isVisible());
    // Moving over the window itself (below the program list) hides it.
    MoveOver(Find<QWidget>(window, pn::kClientArea),
             QPoint(5, Find<QWidget>(window, pn::kClientArea)->height() - 3));
    EXPECT_FALSE(hint->isVisible());
    MoveOver(button);
    EXPECT_EQ(hint->text(), "表示結果をクリアした後､実行します｡");
    QTest::mousePress(hint, Qt::LeftButton);
    EXPECT_FALSE(hint->isVisible());
    MoveOver(button);
    EXPECT_FALSE(hint->isVisible());
}

}  // namespace
}  // namespace kx::test

// The keyboard-entry window: pages, the data boxes' normalising, the
// messages of its preparation, and the way back.
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>

#include "ui/results/keyboard_window.h"
#include "ui/results/program_window.h"
#include "ui_harness.h"

namespace kx::test {
namespace {

class KeyboardWindowTest : public WindowTest {
protected:
    void SetUp() override {
        panel.show();
        keyboard.OpenFrom(&panel);
    }
    QPlainTextEdit* Box(int page) {
        return Find<QPlainTextEdit>(keyboard, ArrayName(kn::kDataBox, page));
    }
    QString Count(int page) {
        return Find<QLineEdit>(keyboard, ArrayName(kn::kCountBox, page))->text();
    }
    QLabel* Message() { return Find<QLabel>(keyboard, kn::kMessageLine); }
    void Fill(int page, const QString& text) {
        Box(page)->clear();
        Box(page)->insertPlainText(text);
    }

    Session s;
    ui::Workspace& workspace = s.workspace;
    QWidget panel;
    ui::ProgramWindow& program = s.program();
    ui::KeyboardWindow& keyboard = s.keyboard();
};

TEST_F(KeyboardWindowTest, PagesHelpAndTheWayBack) {
    EXPECT_EQ(keyboard.pos(), QPoint(420, 0));
    auto* label = Find<QLabel>(keyboard, kn::kPageLabel);
    Click(keyboard, kn::kPreviousButton);  // stays on line 1
    EXPECT_EQ(label->text(), "1");
    for (int i = 0; i < 9; ++i) Click(keyboard, kn::kNextButton);
    EXPECT_EQ(label->text(), "10");
    EXPECT_TRUE(Box(9)->isVisible());
    EXPECT_FALSE(Box(0)->isVisible());
    Click(keyboard, kn::kNextButton);  // wraps to line 1
    EXPECT_EQ(label->text(), "1");
    EXPECT_TRUE(Box(0)->isVisible());

    Click(keyboard, kn::kHelpButton);
    auto* help = Find<QPlainTextEdit>(keyboard, kn::kInstructions);
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(help->toPlainText().split('\n').first(), "先ず、採取するﾊﾟﾗﾒｰﾀ値を入力");
    QTest::mouseClick(help->viewport(), Qt::LeftButton);
    EXPECT_FALSE(help->isVisible());

    Fill(0, "1,2\n2,3\n3,5\n");
    QWidget* back = nullptr;
    QObject::connect(&keyboard, &ui::ChildWindow::returned,
                     [&](QWidget* opener) { back = opener; });
    EXPECT_FALSE(panel.isEnabled());
    Click(keyboard, kn::kBackButton);
    EXPECT_FALSE(keyboard.isVisible());
    EXPECT_TRUE(panel.isEnabled());
    EXPECT_EQ(back, &panel);
    keyboard.OpenFrom(&panel);  // the pages are kept
    EXPECT_EQ(Box(0)->toPlainText(), "1,2\n2,3\n3,5\n");
    EXPECT_EQ(Count(0), "3");
}

TEST_F(KeyboardWindowTest, TypedPairsAreCountedAndEmptyLinesDropped) {
    QApplication::setActiveWindow(&keyboard);
    auto* parameter = Find<QLineEdit>(keyboard, ArrayName(kn::kParameterBox, 0));
    parameter->setFocus();
    QTest::keyClick(parameter, Qt::Key_Return);
    EXPECT_TRUE(Box(0)->hasFocus());

    QTest::keyClicks(Box(0), "1,2");
    QTest::keyClick(Box(0), Qt::Key_Return);
    EXPECT_EQ(Count(0), "1");
    QTest::keyClick(Box(0), Qt::Key_Return);  // an empty line is not kept
    QTest::keyClicks(Box(0), "3");
    QTest::keyClick(Box(0), Qt::Key_Tab);
    QTest::keyClicks(Box(0), "4");
    EXPECT_EQ(Box(0)->toPlainText(), "1,2\n3\t4");
    EXPECT_EQ(Count(0), "2");
    // The data set holds the pairs as the DataSet window shows them.
    EXPECT_EQ(workspace.data.pointText[1], "1,2\r\n3,4\r\n");
    EXPECT_EQ(workspace.data.pointCount[1], 2);

    // Return inside the text splits its line there: the next pair is typed
    // on a line of its own, not onto the line before.
    QTextCursor cursor = Box(0)->textCursor();
    cursor.setPosition(3);  // after "1,2"
    Box(0)->setTextCursor(cursor);
    QTest::keyClick(Box(0), Qt::Key_Return);
    QTest::keyClicks(Box(0), "2,14.43");
    EXPECT_EQ(Box(0)->toPlainText(), "1,2\n2,14.43\n3\t4");
    EXPECT_EQ(Count(0), "3");
    EXPECT_EQ(workspace.data.pointText[1], "1,2\r\n2,14.43\r\n3,4\r\n");

    // A pasted line of 101 pairs keeps 100 and says so.
    QString many;
    for (int k = 1; k <= 101; ++k) many += QString("%1,%2\n").arg(k).arg(2 * k);
    Fill(0, many);
    EXPECT_EQ(Count(0), "100");
    EXPECT_TRUE(Message()->isVisible());
    EXPECT_EQ(Message()->text(), "ﾃﾞｰﾀ数が100点を超えます");

    Box(0)->setPlainText("\n\n");  // line breaks only: the box empties
    EXPECT_EQ(Box(0)->toPlainText(), "");
    EXPECT_EQ(Count(0), "0");
    EXPECT_EQ(workspace.data.pointCount[1], 0);
}

TEST_F(KeyboardWindowTest, PreparationRefusalsShowTheirMessage) {
    // Nothing typed: the message line shows what it holds, its preset text
    // first, nothing once the timer has cleared it.
    Click(keyboard, kn::kGenerateButton);
    EXPECT_EQ(Message()->text(), "採取ﾃﾞｰﾀにｶﾝﾏが有りません");
    keyboard.HideMessages();
    Click(keyboard, kn::kGenerateButton);
    EXPECT_TRUE(Message()->isVisible());
    EXPECT_EQ(Message()->text(), "");

    const QString good = "1,2\n2,3\n3,5\n";
    const struct {
        QString line1, line2, line3;
        const char* message;
    } cases[] = {
        {"1.5;20\n2,3\n3,4\n", "", "", "X,Yﾃﾞｰﾀ異常"},
        {"1.5,\n2,3\n3,4\n", "", "", "ﾌﾞﾗﾝｸﾃﾞｰﾀが存在します"},
        {"1.5 20 30\n2,3\n3,4\n", "", "", "Y値が異常"},
        {"1a,20\n2,3\n3,4\n", "", "", "X値が異常"},
        {good, "1,2\n2,3\n", "", "X,Yﾃﾞｰﾀの組が少ない"},
        {good, "", good, "ﾃﾞｰﾀの無いParameterが有る"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        Fill(0, c.line1);
        Fill(1, c.line2);
        Fill(2, c.line3);
        Click(keyboard, kn::kGenerateButton);
        EXPECT_TRUE(Message()->isVisible());
        EXPECT_EQ(Message()->text(), c.message);
        EXPECT_FALSE(program.isVisible());
        keyboard.HideMessages();
        EXPECT_FALSE(Message()->isVisible());
    }

    // Mended, the message goes with the generation, and stays gone on the
    // way back from the program window.
    Fill(0, "1a,20\n2,3\n3,4\n");
    Fill(1, "");
    Fill(2, "");
    Click(keyboard, kn::kGenerateButton);
    EXPECT_EQ(Message()->text(), "X値が異常");
    Fill(0, good);
    Click(keyboard, kn::kGenerateButton);
    ASSERT_TRUE(program.isVisible());
    EXPECT_FALSE(Message()->isVisible());
    Click(program, pn::kBackButton);
    EXPECT_TRUE(keyboard.isVisible());
    EXPECT_FALSE(Message()->isVisible());
}

}  // namespace
}  // namespace kx::test

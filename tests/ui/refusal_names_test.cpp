// Refusals the windows name: the parameter a preparation cannot use, in the
// DataSet and the keyboard-entry windows, and a program whose section no form
// could be rated on, in the program-generation window.
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "ui/results/keyboard_window.h"
#include "ui/results/program_window.h"
#include "ui_harness.h"

namespace kx::test {
namespace {

TEST(RefusalNames, TheDataSetWindowNamesTheParameterItCannotUse) {
    Session d;
    d.StartCapture();
    ui::DataSetWindow& window = d.dataSet();
    auto* parameter = d.dataSetControl<QLineEdit>(data_set::kParameterBox);
    const struct {
        const char* second;
        const char* message;
    } cases[] = {
        {"10.0", "パラメータが同じ値 (Line 2 = Line 1)"},  // equal once stored
        {"10 K", "パラメータが数値でない (Line 2)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.second);
        for (int i = 0; i < 2; ++i) {
            d.ClickDataSet(ArrayName(data_set::kLineOption, i));
            Find<QPlainTextEdit>(window, ArrayName(data_set::kPointBox, i))
                ->setPlainText("1,2\n2,3\n3,5\n");
            d.Type(parameter, i == 0 ? "10" : c.second);
        }
        d.ClickDataSet(ArrayName(data_set::kLineOption, 0));
        d.ClickDataSet(data_set::kGenerateButton);
        EXPECT_FALSE(d.program().isVisible());
        EXPECT_TRUE(window.messageShown());
        EXPECT_EQ(window.messageText(), c.message);
        // The whole text stands inside the window.
        auto* line = Find<QLabel>(window, data_set::kMessageLine);
        EXPECT_LE(line->geometry().right(), window.width());
        const int lines = line->wordWrap() ? 2 : 1;
        EXPECT_LE(line->fontMetrics().horizontalAdvance(line->text()),
                  lines * (line->contentsRect().width()));
        window.HideMessages();
    }
}

TEST(RefusalNames, TheKeyboardWindowNamesTheParameterItCannotUse) {
    Session d;
    QWidget opener;
    opener.show();
    ui::KeyboardWindow& keyboard = d.keyboard();
    keyboard.OpenFrom(&opener);
    auto* message = Find<QLabel>(keyboard, kn::kMessageLine);
    const struct {
        const char* first;
        const char* second;
        const char* message;
    } cases[] = {
        {"5", "5.0", "パラメータが同じ値 (Line 2 = Line 1)"},
        {"1e39", "5", "パラメータが数値でない (Line 1)"},  // beyond a 32-bit float
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        for (int page = 0; page < 2; ++page) {
            auto* parameter = Find<QLineEdit>(keyboard, ArrayName(kn::kParameterBox, page));
            parameter->selectAll();
            QTest::keyClicks(parameter, page == 0 ? c.first : c.second);
            auto* box = Find<QPlainTextEdit>(keyboard, ArrayName(kn::kDataBox, page));
            box->clear();
            box->insertPlainText("1,2\n2,3\n3,5\n");
        }
        Click(keyboard, kn::kGenerateButton);
        EXPECT_FALSE(d.program().isVisible());
        EXPECT_TRUE(message->isVisible());
        EXPECT_EQ(message->text(), c.message);
        keyboard.HideMessages();
    }
}

TEST(RefusalNames, AProgramWithAnUnratedSectionIsNamedInTheStatusLine) {
    Session d;
    QWidget opener;
    opener.show();
    d.workspace.data = PreparedFamily({10, 12});
    ui::ProgramWindow& window = d.program();
    window.OpenFrom(&opener);
    auto* status = Find<QLabel>(window, pn::kStatusLabel);

    // With every coordinate system excluded no form can be rated.
    for (int system = 1; system <= 7; ++system) d.workspace.settings.excludedSystem[system] = 1;
    Click(window, pn::kCalculateButton);
    EXPECT_EQ(status->text(), "評価できる式なし (Line 1)");
    EXPECT_GE(status->width(), status->fontMetrics().horizontalAdvance(status->text()));
    EXPECT_GE(status->geometry().left(), 0);
    // It stays while the lists show that run, also after going back.
    window.ReturnToOpener();
    window.OpenFrom(&opener);
    EXPECT_EQ(status->text(), "評価できる式なし (Line 1)");

    d.workspace.settings.excludedSystem = {};
    Click(window, pn::kCalculateButton);
    EXPECT_EQ(status->text(), "開始ﾎﾞﾀﾝを押して下さい");
}

}  // namespace
}  // namespace kx::test

// The conditions and exclusion windows: their checks, messages, standard
// values and cancel, on real widgets.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>

#include "results_support.h"
#include "ui/conditions_window.h"
#include "ui/control_names.h"
#include "ui/exclusion_window.h"

namespace kx::test {
namespace {

using ui::ArrayName;

class SettingsWindowsTest : public WindowTest {
protected:
    void SetUp() override {
        opener.show();
        conditions.openFrom(&opener);
    }
    void Type(const char* box, const QString& text) {
        auto* edit = Find<QLineEdit>(conditions, box);
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, text);
    }
    bool Shown(const QObject& root, const char* label) {
        return Find<QLabel>(root, label)->isVisible();
    }
    QString LabelText(const char* label) { return Find<QLabel>(conditions, label)->text(); }

    ui::Workspace workspace;
    QWidget opener;
    ui::ConditionsWindow conditions{workspace};
};

struct PrecisionCase {
    const char* text;
    bool accepted;
    float value;
};

TEST_F(SettingsWindowsTest, AcceptChecksThePrecisionText) {
    const PrecisionCase cases[] = {
        {"0.5", true, 0.5f},     {"1E-5", true, 1e-5f}, {"7.6D-4", true, 0.00076f},
        {" 0.01 ", true, 0.01f}, {"0.75", false, 0},    {"1", false, 0},
        {"0", false, 0},         {"-0.1", false, 0},    {"0.01x", false, 0},
        {"", false, 0},          {"1E+99", false, 0}};
    for (const PrecisionCase& c : cases) {
        SCOPED_TRACE(c.text);
        conditions.openFrom(&opener);
        Type("Text2", c.text);
        Click(conditions, "Command1");
        EXPECT_EQ(conditions.isVisible(), !c.accepted);
        EXPECT_EQ(opener.isEnabled(), c.accepted);
        EXPECT_EQ(Shown(conditions, "Label7"), !c.accepted);
        if (c.accepted) {
            EXPECT_EQ(workspace.settings.cutoffPrecision, c.value);
        } else {
            Click(conditions, "Command3");
        }
    }
}

TEST_F(SettingsWindowsTest, EditsShowTheGradeAndModeAndAreCheckedOnAccept) {
    EXPECT_EQ(LabelText("Label6"), "Gr = 74.98");
    EXPECT_EQ(LabelText("Label9"), "0.00076");
    EXPECT_EQ(LabelText("Label3"), "2");
    EXPECT_TRUE(Find<QRadioButton>(conditions, ArrayName("Option1", 2))->isChecked());

    Type("Text2", "1E-5");
    EXPECT_EQ(LabelText("Label6"), "Gr = 128.39");
    EXPECT_EQ(workspace.settings.cutoffPrecision, 1e-5f);
    Type("Text2", "-1");  // no grade: the labels keep their texts
    EXPECT_EQ(LabelText("Label6"), "Gr = 128.39");
    Type("Text2", "0.5");
    EXPECT_EQ(LabelText("Label6"), "Gr = -5.03");

    Tick(conditions, ArrayName("Option1", 1));
    EXPECT_EQ(Find<QLineEdit>(conditions, "Text1")->text(), "1");
    EXPECT_EQ(workspace.settings.errorMode, 1);
    Type("Text1", "3");
    EXPECT_EQ(LabelText("Label3"), "3");
    Click(conditions, "Command1");
    EXPECT_TRUE(conditions.isVisible());
    EXPECT_TRUE(Shown(conditions, "Label5"));
    EXPECT_FALSE(Shown(conditions, "Label7"));
    Type("Text1", "0");
    Click(conditions, "Command1");
    EXPECT_FALSE(conditions.isVisible());
    EXPECT_EQ(workspace.settings.errorMode, 0);
    EXPECT_EQ(workspace.settings.cutoffPrecision, 0.5f);
}

TEST_F(SettingsWindowsTest, CancelRestoresAndStandardResets) {
    workspace.settings.cutoffPrecision = 0.002f;
    workspace.settings.errorMode = 1;
    conditions.openFrom(&opener);
    Type("Text2", "0.01");
    Tick(conditions, ArrayName("Option1", 0));
    EXPECT_EQ(workspace.settings.cutoffPrecision, 0.01f);
    EXPECT_EQ(workspace.settings.errorMode, 0);
    Click(conditions, "Command3");
    EXPECT_FALSE(conditions.isVisible());
    EXPECT_TRUE(opener.isEnabled());
    EXPECT_EQ(workspace.settings.cutoffPrecision, 0.002f);
    EXPECT_EQ(workspace.settings.errorMode, 1);

    conditions.openFrom(&opener);
    EXPECT_EQ(Find<QLineEdit>(conditions, "Text2")->text(), "0.002");
    Click(conditions, "Command2");
    EXPECT_EQ(workspace.settings.cutoffPrecision, core::kStandardCutoffPrecision);
    EXPECT_EQ(workspace.settings.errorMode, 2);
    EXPECT_EQ(Find<QLineEdit>(conditions, "Text1")->text(), "2");
    EXPECT_TRUE(Find<QRadioButton>(conditions, ArrayName("Option1", 2))->isChecked());
    // Closing by the frame is a cancel.
    conditions.close();
    EXPECT_EQ(workspace.settings.cutoffPrecision, 0.002f);
    EXPECT_TRUE(opener.isEnabled());
}

TEST_F(SettingsWindowsTest, ExclusionKeepsAtLeastOneSystem) {
    conditions.close();
    workspace.settings.excludedSystem[3] = 1;
    ui::ExclusionWindow exclusion(workspace);
    exclusion.openFrom(&opener);
    EXPECT_FALSE(opener.isEnabled());
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(Find<QCheckBox>(exclusion, ArrayName("Check1", i))->isChecked(), i == 2);
    }
    for (int i = 0; i < 7; ++i) {
        if (i != 2) Tick(exclusion, ArrayName("Check1", i));
    }
    Click(exclusion, "Command2");
    EXPECT_TRUE(exclusion.isVisible());
    EXPECT_TRUE(Shown(exclusion, "Label4"));
    EXPECT_EQ(Find<QLabel>(exclusion, "Label4")->text(), "計算座標系なし");
    for (int s = 1; s <= 7; ++s) EXPECT_EQ(workspace.settings.excludedSystem[s], 1);
    exclusion.close();  // refused the same way
    EXPECT_TRUE(exclusion.isVisible());
    exclusion.timer1Tick();
    EXPECT_FALSE(Shown(exclusion, "Label4"));

    Click(exclusion, "Command3");
    auto* help = Find<QPlainTextEdit>(exclusion, "Text1");
    EXPECT_TRUE(help->isVisible());
    EXPECT_TRUE(help->toPlainText().startsWith("排他座標系（計算対象としたくない座標系）"));
    QTest::mouseClick(help->viewport(), Qt::LeftButton);
    EXPECT_FALSE(help->isVisible());

    Click(exclusion, "Command1");
    Click(exclusion, "Command2");
    EXPECT_FALSE(exclusion.isVisible());
    EXPECT_TRUE(opener.isEnabled());
    for (int s = 1; s <= 7; ++s) EXPECT_EQ(workspace.settings.excludedSystem[s], 0);
}

}  // namespace
}  // namespace kx::test

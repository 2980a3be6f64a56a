// The conditions and exclusion windows: their checks, messages, standard
// values and cancel, on real widgets.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>

#include "ui/results/conditions_window.h"
#include "ui/results/exclusion_window.h"
#include "ui_harness.h"

namespace kx::test {
namespace {

class SettingsWindowsTest : public WindowTest {
protected:
    void SetUp() override {
        opener.show();
        conditions.OpenFrom(&opener);
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

    Session s;
    ui::Workspace& workspace = s.workspace;
    QWidget opener;
    ui::ConditionsWindow& conditions = s.desktop.conditions();
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
        conditions.OpenFrom(&opener);
        Type(cn::kPrecisionBox, c.text);
        Click(conditions, cn::kAcceptButton);
        EXPECT_EQ(conditions.isVisible(), !c.accepted);
        EXPECT_EQ(opener.isEnabled(), c.accepted);
        EXPECT_EQ(Shown(conditions, cn::kPrecisionError), !c.accepted);
        if (c.accepted) {
            EXPECT_EQ(workspace.settings.cutoffPrecision, c.value);
        } else {
            Click(conditions, cn::kCancelButton);
        }
    }
}

TEST_F(SettingsWindowsTest, EditsShowTheGradeAndModeAndAreCheckedOnAccept) {
    EXPECT_EQ(LabelText(cn::kGradeLabel), "Gr = 74.98");
    EXPECT_EQ(LabelText(cn::kPrecisionLabel), "0.00076");
    EXPECT_EQ(LabelText(cn::kModeLabel), "2");
    EXPECT_TRUE(Find<QRadioButton>(conditions, ArrayName(cn::kModeOption, 2))->isChecked());

    Type(cn::kPrecisionBox, "1E-5");
    EXPECT_EQ(LabelText(cn::kGradeLabel), "Gr = 128.39");
    EXPECT_EQ(workspace.settings.cutoffPrecision, 1e-5f);
    Type(cn::kPrecisionBox, "-1");  // no grade: the labels keep their texts
    EXPECT_EQ(LabelText(cn::kGradeLabel), "Gr = 128.39");
    Type(cn::kPrecisionBox, "0.5");
    EXPECT_EQ(LabelText(cn::kGradeLabel), "Gr = -5.03");

    Tick(conditions, ArrayName(cn::kModeOption, 1));
    EXPECT_EQ(Find<QLineEdit>(conditions, cn::kModeBox)->text(), "1");
    EXPECT_EQ(workspace.settings.errorMode, 1);
    Type(cn::kModeBox, "3");
    EXPECT_EQ(LabelText(cn::kModeLabel), "3");
    Click(conditions, cn::kAcceptButton);
    EXPECT_TRUE(conditions.isVisible());
    EXPECT_TRUE(Shown(conditions, cn::kModeError));
    EXPECT_FALSE(Shown(conditions, cn::kPrecisionError));
    Type(cn::kModeBox, "0");
    Click(conditions, cn::kAcceptButton);
    EXPECT_FALSE(conditions.isVisible());
    EXPECT_EQ(workspace.settings.errorMode, 0);
    EXPECT_EQ(workspace.settings.cutoffPrecision, 0.5f);
}

TEST_F(SettingsWindowsTest, CancelRestoresAndStandardResets) {
    workspace.settings.cutoffPrecision = 0.002f;
    workspace.settings.errorMode = 1;
    conditions.OpenFrom(&opener);
    Type(cn::kPrecisionBox, "0.01");
    Tick(conditions, ArrayName(cn::kModeOption, 0));
    EXPECT_EQ(workspace.settings.cutoffPrecision, 0.01f);
    EXPECT_EQ(workspace.settings.errorMode, 0);
    Click(conditions, cn::kCancelButton);
    EXPECT_FALSE(conditions.isVisible());
    EXPECT_TRUE(opener.isEnabled());
    EXPECT_EQ(workspace.settings.cutoffPrecision, 0.002f);
    EXPECT_EQ(workspace.settings.errorMode, 1);

    conditions.OpenFrom(&opener);
    EXPECT_EQ(Find<QLineEdit>(conditions, cn::kPrecisionBox)->text(), "0.002");
    Click(conditions, cn::kStandardButton);
    EXPECT_EQ(workspace.settings.cutoffPrecision, core::kStandardCutoffPrecision);
    EXPECT_EQ(workspace.settings.errorMode, 2);
    EXPECT_EQ(Find<QLineEdit>(conditions, cn::kModeBox)->text(), "2");
    EXPECT_TRUE(Find<QRadioButton>(conditions, ArrayName(cn::kModeOption, 2))->isChecked());
    // Closing by the frame is a cancel.
    conditions.close();
    EXPECT_EQ(workspace.settings.cutoffPrecision, 0.002f);
    EXPECT_TRUE(opener.isEnabled());
}

TEST_F(SettingsWindowsTest, ExclusionKeepsAtLeastOneSystem) {
    conditions.close();
    workspace.settings.excludedSystem[3] = 1;
    ui::ExclusionWindow& exclusion = s.desktop.exclusion();
    exclusion.OpenFrom(&opener);
    EXPECT_FALSE(opener.isEnabled());
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(Find<QCheckBox>(exclusion, ArrayName(en::kSystemBox, i))->isChecked(), i == 2);
    }
    for (int i = 0; i < 7; ++i) {
        if (i != 2) Tick(exclusion, ArrayName(en::kSystemBox, i));
    }
    Click(exclusion, en::kBackButton);
    EXPECT_TRUE(exclusion.isVisible());
    EXPECT_TRUE(Shown(exclusion, en::kMessage));
    EXPECT_EQ(Find<QLabel>(exclusion, en::kMessage)->text(), "計算座標系なし");
    for (int system = 1; system <= 7; ++system)
        EXPECT_EQ(workspace.settings.excludedSystem[system], 1);
    exclusion.close();  // refused the same way
    EXPECT_TRUE(exclusion.isVisible());
    exclusion.HideMessages();
    EXPECT_FALSE(Shown(exclusion, en::kMessage));

    Click(exclusion, en::kHelpButton);
    auto* help = Find<QPlainTextEdit>(exclusion, en::kHelpText);
    EXPECT_TRUE(help->isVisible());
    EXPECT_TRUE(help->toPlainText().startsWith("排他座標系（計算対象としたくない座標系）"));
    QTest::mouseClick(help->viewport(), Qt::LeftButton);
    EXPECT_FALSE(help->isVisible());

    Click(exclusion, en::kAllButton);
    Click(exclusion, en::kBackButton);
    EXPECT_FALSE(exclusion.isVisible());
    EXPECT_TRUE(opener.isEnabled());
    for (int system = 1; system <= 7; ++system)
        EXPECT_EQ(workspace.settings.excludedSystem[system], 0);
}

}  // namespace
}  // namespace kx::test

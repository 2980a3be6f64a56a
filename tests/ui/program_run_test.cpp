// End-to-end runs of the program-generation window: typed or prepared data,
// the calculation button, the gauge and its stop button, and the settings
// windows changing the next run. The lists must show exactly what the core
// calculation gives for the same data.
#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTimer>

#include <functional>

#include "core/codegen/calc_program.h"
#include "core/fitting/fit_family.h"
#include "results_support.h"
#include "ui/conditions_window.h"
#include "ui/control_names.h"
#include "ui/exclusion_window.h"
#include "ui/gauge_window.h"
#include "ui/keyboard_window.h"
#include "ui/program_window.h"

namespace kx::test {
namespace {

using ui::ProgramWindow;

// What the core calculation gives, with the lists as the window shows them.
struct Expected {
    QStringList log, details, summary, program;
};

Expected CoreRun(core::DataSet data, int16_t mode) {
    core::CalcSettings settings;
    settings.errorMode = mode;
    settings.cutoffPrecision = core::kStandardCutoffPrecision;
    core::FitResults results;
    EXPECT_TRUE(core::FitAndGenerate(data, settings, results));
    return {ToQ(results.fittingLog), ToQ(core::DescribeResults(data, settings, results).lines),
            ToQ(results.summary), ToQ(results.program)};
}

void ExpectLists(const ProgramWindow& window, const Expected& expected) {
    EXPECT_EQ(Items(window, "List1"), expected.log);
    EXPECT_EQ(Items(window, "List2"), expected.details);
    EXPECT_EQ(Items(window, "List3"), expected.summary);
    EXPECT_EQ(Items(window, "List4"), expected.program);
}

QString Text(const QObject& root, const QString& name) {
    if (auto* button = root.findChild<QPushButton*>(name)) return button->text();
    if (auto* label = root.findChild<QLabel*>(name)) return label->text();
    ADD_FAILURE() << name.toStdString();
    return {};
}

// Runs `probe` once from within the run, at its first event round after
// `ready` holds.
void DuringRun(std::function<bool()> ready, std::function<void()> probe) {
    auto* timer = new QTimer;
    timer->setInterval(0);
    QObject::connect(timer, &QTimer::timeout, [timer, ready, probe] {
        if (!ready()) return;
        timer->stop();
        timer->deleteLater();
        probe();
    });
    timer->start();
}

class ProgramRunTest : public WindowTest {
protected:
    ui::Workspace workspace;
    QWidget opener;
};

TEST_F(ProgramRunTest, PastedFamilyRunsToTheCoreResult) {
    ProgramWindow program(workspace);
    ui::KeyboardWindow keyboard(workspace, program);
    opener.show();
    keyboard.openFrom(&opener);
    EXPECT_FALSE(opener.isEnabled());

    // Three curves pasted from a spreadsheet, parameters out of order; the
    // last one carries a third column that is not read.
    const std::string rows[3] = {CurveRows(12, 5, 1.6, 0.01, "\t", 1),
                                 CurveRows(14, 5, 1.2, 0.01, "\t", 2),
                                 CurveRows(11, 5, 1.4, 0.01, "\t9\t", 3)};
    const char* parameters[3] = {"30", "10", "20"};
    core::DataSet typed;
    core::KeyboardPages pages;
    for (int i = 0; i < 3; ++i) {
        auto* parameter = Find<QLineEdit>(keyboard, ui::ArrayName("Text1", i));
        parameter->selectAll();
        QTest::keyClicks(parameter, parameters[i]);
        QGuiApplication::clipboard()->setText(QString::fromStdString(rows[i]));
        auto* box = Find<QPlainTextEdit>(keyboard, ui::ArrayName("Text2", i));
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        const core::KeyboardBox normal = core::NormaliseKeyboardBox(rows[i]);
        EXPECT_EQ(Find<QLineEdit>(keyboard, ui::ArrayName("Text3", i))->text(),
                  QString::number(normal.count));
        typed.pointText[i + 1] = normal.text;
        typed.pointCount[i + 1] = normal.count;
        pages[i + 1] = {parameters[i], std::to_string(normal.count)};
        Click(keyboard, "Command2");
    }
    ASSERT_EQ(core::PrepareKeyboardEntry(typed, pages), core::kKeyboardPrepared);
    ASSERT_GT(typed.progressTotal, 29);

    Click(keyboard, "Command3");
    ASSERT_TRUE(program.isVisible());
    EXPECT_EQ(program.opener(), &keyboard);
    EXPECT_FALSE(keyboard.isEnabled());
    EXPECT_EQ(workspace.data.lineCount, 3);
    EXPECT_EQ(Text(program, "Command1"), "計算開始");
    EXPECT_EQ(workspace.settings.cutoffPrecision, core::kStandardCutoffPrecision);

    bool gaugeShown = false;
    DuringRun([] { return true; }, [&] { gaugeShown = program.gauge().isVisible(); });
    Click(program, "Command1");
    EXPECT_TRUE(gaugeShown);
    EXPECT_FALSE(program.gauge().isVisible());
    ExpectLists(program, CoreRun(typed, 2));
    EXPECT_FALSE(Items(program, "List1").isEmpty());
    EXPECT_EQ(Text(program, "Command1"), "再計算開始");
    EXPECT_EQ(Text(program, "Label1"), "開始ﾎﾞﾀﾝを押して下さい");
    EXPECT_TRUE(program.isEnabled());

    // Back to the keyboard window, which is usable again.
    Click(program, "Command2");
    EXPECT_FALSE(program.isVisible());
    EXPECT_TRUE(keyboard.isVisible());
    EXPECT_TRUE(keyboard.isEnabled());
}

TEST_F(ProgramRunTest, GaugeShowsAboveTwentyNinePartitionsOnly) {
    for (const auto& [points, total] :
         std::vector<std::pair<std::vector<int>, int>>{{{10, 9}, 29}, {{10, 9, 3}, 30}}) {
        workspace.data = PreparedFamily(points);
        ASSERT_EQ(workspace.data.progressTotal, total);
        ProgramWindow program(workspace);
        program.openFrom(&opener);
        bool gaugeShown = false;
        QString status, caption;
        bool enabled = true;
        DuringRun([] { return true; },
                  [&] {
                      gaugeShown = program.gauge().isVisible();
                      status = Text(program, "Label1");
                      caption = Text(program, "Command1");
                      enabled = program.isEnabled();
                  });
        Click(program, "Command1");
        EXPECT_EQ(gaugeShown, total > 29) << total;
        EXPECT_EQ(status, "計算しています");
        EXPECT_EQ(caption, "実行中");
        EXPECT_FALSE(enabled);
        EXPECT_TRUE(program.isEnabled());
    }
}

TEST_F(ProgramRunTest, StopEndsTheRunAndTheNextRunStartsClean) {
    workspace.data = PreparedFamily({60, 60, 60});
    const core::DataSet prepared = workspace.data;
    ProgramWindow program(workspace);
    program.openFrom(&opener);
    ui::GaugeWindow& gauge = program.gauge();

    bool gaugeShown = false, windowEnabled = true, stillRunning = false;
    QString gaugeText;
    int expectedLength = -1;
    DuringRun([&] { return workspace.results.partitionCounter >= 20; },
              [&] {
                  gaugeShown = gauge.isVisible();
                  windowEnabled = program.isEnabled();
                  // Nothing but the stop button acts while the run lasts.
                  Click(program, "Command1");
                  Click(program, "Command2");
                  stillRunning = program.running() && program.isVisible();
                  gauge.timer1Tick();
                  gaugeText = gauge.gaugeText();
                  expectedLength = core::GaugeLength(workspace.results.partitionCounter,
                                                     workspace.data.progressTotal);
                  Click(gauge, "Command1");
              });
    Click(program, "Command1");

    EXPECT_TRUE(gaugeShown);
    EXPECT_FALSE(windowEnabled);
    EXPECT_TRUE(stillRunning);
    EXPECT_GT(expectedLength, 0);
    EXPECT_EQ(gaugeText, QString(expectedLength, '*'));
    EXPECT_FALSE(workspace.results.completed);
    EXPECT_FALSE(gauge.isVisible());
    EXPECT_TRUE(program.isEnabled());
    EXPECT_FALSE(program.observer().stopRequest());
    EXPECT_EQ(Text(program, "Label1"), "GO ﾎﾞﾀﾝを押して下さい");
    EXPECT_EQ(Text(program, "Command1"), "GO");
    const QStringList partial = Items(program, "List1");
    EXPECT_EQ(partial, ToQ(workspace.results.fittingLog));
    EXPECT_TRUE(Items(program, "List2").isEmpty());
    EXPECT_TRUE(Items(program, "List4").isEmpty());

    Click(program, "Command1");
    EXPECT_TRUE(workspace.results.completed);
    const Expected full = CoreRun(prepared, 2);
    EXPECT_GT(full.log.size(), partial.size());
    ExpectLists(program, full);
    EXPECT_EQ(Text(program, "Command1"), "再計算開始");
}

TEST_F(ProgramRunTest, StopInTheFirstEventRoundStillStops) {
    workspace.data = PreparedFamily({40, 40});
    ProgramWindow program(workspace);
    program.openFrom(&opener);
    DuringRun([] { return true; }, [&] { Click(program.gauge(), "Command1"); });
    Click(program, "Command1");
    EXPECT_FALSE(workspace.results.completed);
    EXPECT_EQ(workspace.results.partitionCounter, 1);
    EXPECT_EQ(Text(program, "Command1"), "GO");
}

TEST_F(ProgramRunTest, SettingsWindowsChangeTheNextRun) {
    workspace.data = PreparedFamily({25});
    const core::DataSet prepared = workspace.data;
    ProgramWindow program(workspace);
    program.openFrom(&opener);
    Click(program, "Command1");
    const Expected mode2 = CoreRun(prepared, 2);
    ExpectLists(program, mode2);
    EXPECT_TRUE(Items(program, "List2").contains(QRegularExpression("平均誤差=.*")));

    Find<QAction>(program, "SEIDO")->trigger();
    QWidget* conditions = program.conditionsWindow();
    ASSERT_NE(conditions, nullptr);
    EXPECT_FALSE(program.isEnabled());
    Tick(*conditions, ui::ArrayName("Option1", 0));
    Click(*conditions, "Command1");
    EXPECT_FALSE(conditions->isVisible());
    EXPECT_TRUE(program.isEnabled());
    EXPECT_EQ(workspace.settings.errorMode, 0);

    Click(program, "Command1");
    const Expected mode0 = CoreRun(prepared, 0);
    EXPECT_NE(mode0.log, mode2.log);
    ExpectLists(program, mode0);
    EXPECT_TRUE(Items(program, "List2").contains(QRegularExpression("最大誤差=.*")));

    // Only the plain X,Y system left: every chosen form is one of its three.
    Find<QAction>(program, "HAITA")->trigger();
    QWidget* exclusion = program.exclusionWindow();
    ASSERT_NE(exclusion, nullptr);
    for (int i = 1; i < 7; ++i) Tick(*exclusion, ui::ArrayName("Check1", i));
    Click(*exclusion, "Command2");
    EXPECT_FALSE(exclusion->isVisible());
    Click(program, "Command1");
    const QRegularExpression form("EQ No=\\s*(\\d+)");
    int forms = 0;
    for (const QString& line : Items(program, "List1")) {
        const QRegularExpressionMatch match = form.match(line);
        if (!match.hasMatch()) continue;
        ++forms;
        EXPECT_LE(match.captured(1).toInt(), 3) << line.toStdString();
    }
    EXPECT_GT(forms, 10);
}

}  // namespace
}  // namespace kx::test

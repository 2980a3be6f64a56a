// End-to-end runs of the program-generation window: typed or prepared data,
// the calculation button, the gauge and its stop button, and the settings
// windows changing the next run. The lists must show exactly what the core
// calculation gives for the same data.
#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTimer>

#include <functional>

#include "core/codegen/calc_program.h"
#include "core/fitting/fit_family.h"
#include "ui/results/conditions_window.h"
#include "ui/results/exclusion_window.h"
#include "ui/results/gauge_window.h"
#include "ui/results/keyboard_window.h"
#include "ui/results/program_window.h"
#include "ui_harness.h"

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
    return {ToQ(results.fittingLog.Texts()),
            ToQ(core::DescribeResults(data, settings, results).lines), ToQ(results.summary),
            ToQ(results.program)};
}

void ExpectLists(const ProgramWindow& window, const Expected& expected) {
    EXPECT_EQ(Items(window, pn::kList[1]), expected.log);
    EXPECT_EQ(Items(window, pn::kList[2]), expected.details);
    EXPECT_EQ(Items(window, pn::kList[3]), expected.summary);
    EXPECT_EQ(Items(window, pn::kList[4]), expected.program);
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
    Session s;
    ui::Workspace& workspace = s.workspace;
    ui::ProgramWindow& window = s.program();
    ui::GaugeWindow& gauge = s.desktop.gauge();
    QWidget opener;
};

TEST_F(ProgramRunTest, PastedFamilyRunsToTheCoreResult) {
    ui::KeyboardWindow& keyboard = s.keyboard();
    opener.show();
    keyboard.OpenFrom(&opener);
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
        auto* parameter = Find<QLineEdit>(keyboard, ArrayName(kn::kParameterBox, i));
        parameter->selectAll();
        QTest::keyClicks(parameter, parameters[i]);
        QGuiApplication::clipboard()->setText(QString::fromStdString(rows[i]));
        auto* box = Find<QPlainTextEdit>(keyboard, ArrayName(kn::kDataBox, i));
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        const core::KeyboardBox normal = core::NormaliseKeyboardBox(rows[i]);
        EXPECT_EQ(Find<QLineEdit>(keyboard, ArrayName(kn::kCountBox, i))->text(),
                  QString::number(normal.count));
        typed.pointText[i + 1] = normal.text;
        typed.pointCount[i + 1] = normal.count;
        pages[i + 1] = {parameters[i], std::to_string(normal.count)};
        Click(keyboard, kn::kNextButton);
    }
    ASSERT_EQ(core::PrepareKeyboardEntry(typed, pages), core::kKeyboardPrepared);
    ASSERT_GT(typed.progressTotal, 29);

    Click(keyboard, kn::kGenerateButton);
    ASSERT_TRUE(window.isVisible());
    EXPECT_EQ(window.opener(), &keyboard);
    EXPECT_FALSE(keyboard.isEnabled());
    EXPECT_EQ(workspace.data.lineCount, 3);
    EXPECT_EQ(Text(window, pn::kCalculateButton), "計算開始");
    EXPECT_EQ(workspace.settings.cutoffPrecision, core::kStandardCutoffPrecision);

    bool gaugeShown = false;
    DuringRun([] { return true; }, [&] { gaugeShown = gauge.isVisible(); });
    Click(window, pn::kCalculateButton);
    EXPECT_TRUE(gaugeShown);
    EXPECT_FALSE(gauge.isVisible());
    ExpectLists(window, CoreRun(typed, 2));
    EXPECT_FALSE(Items(window, pn::kList[1]).isEmpty());
    EXPECT_EQ(Text(window, pn::kCalculateButton), "再計算開始");
    EXPECT_EQ(Text(window, pn::kStatusLabel), "開始ﾎﾞﾀﾝを押して下さい");
    EXPECT_TRUE(window.isEnabled());

    // Back to the keyboard window, which is usable again.
    Click(window, pn::kBackButton);
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(keyboard.isVisible());
    EXPECT_TRUE(keyboard.isEnabled());
}

TEST_F(ProgramRunTest, GaugeShowsAboveTwentyNinePartitionsOnly) {
    for (const auto& [points, total] :
         std::vector<std::pair<std::vector<int>, int>>{{{10, 9}, 29}, {{10, 9, 3}, 30}}) {
        workspace.data = PreparedFamily(points);
        ASSERT_EQ(workspace.data.progressTotal, total);
        window.OpenFrom(&opener);
        bool gaugeShown = false;
        QString status, caption;
        bool enabled = true;
        DuringRun([] { return true; },
                  [&] {
                      gaugeShown = gauge.isVisible();
                      status = Text(window, pn::kStatusLabel);
                      caption = Text(window, pn::kCalculateButton);
                      enabled = window.isEnabled();
                  });
        Click(window, pn::kCalculateButton);
        EXPECT_EQ(gaugeShown, total > 29) << total;
        EXPECT_EQ(status, "計算しています");
        EXPECT_EQ(caption, "実行中");
        EXPECT_FALSE(enabled);
        EXPECT_TRUE(window.isEnabled());
    }
}

TEST_F(ProgramRunTest, StopEndsTheRunAndTheNextRunStartsClean) {
    workspace.data = PreparedFamily({60, 60, 60});
    const core::DataSet prepared = workspace.data;
    window.OpenFrom(&opener);
    // Events run at every yield point, so the stop comes at the 20th
    // partition however fast the build runs the fit.
    window.observer().SetEventInterval(0);

    bool gaugeShown = false, windowEnabled = true, stillRunning = false;
    QString gaugeText;
    int expectedLength = -1;
    DuringRun([&] { return workspace.results.partitionCounter >= 20; },
              [&] {
                  gaugeShown = gauge.isVisible();
                  windowEnabled = window.isEnabled();
                  // Nothing but the stop button acts while the run lasts.
                  Click(window, pn::kCalculateButton);
                  Click(window, pn::kBackButton);
                  stillRunning = window.running() && window.isVisible();
                  gauge.UpdateGauge();
                  gaugeText = gauge.gaugeText();
                  expectedLength = core::GaugeLength(workspace.results.partitionCounter,
                                                     workspace.data.progressTotal);
                  Click(gauge, gn::kStopButton);
              });
    Click(window, pn::kCalculateButton);

    EXPECT_TRUE(gaugeShown);
    EXPECT_FALSE(windowEnabled);
    EXPECT_TRUE(stillRunning);
    EXPECT_GT(expectedLength, 0);
    EXPECT_EQ(gaugeText, QString(expectedLength, '*'));
    EXPECT_FALSE(workspace.results.completed);
    EXPECT_FALSE(gauge.isVisible());
    EXPECT_TRUE(window.isEnabled());
    EXPECT_FALSE(window.observer().stopRequest());
    EXPECT_EQ(Text(window, pn::kStatusLabel), "GO ﾎﾞﾀﾝを押して下さい");
    EXPECT_EQ(Text(window, pn::kCalculateButton), "GO");
    const QStringList partial = Items(window, pn::kList[1]);
    EXPECT_EQ(partial, ToQ(workspace.results.fittingLog.Texts()));
    EXPECT_TRUE(Items(window, pn::kList[2]).isEmpty());
    EXPECT_TRUE(Items(window, pn::kList[4]).isEmpty());

    Click(window, pn::kCalculateButton);
    EXPECT_TRUE(workspace.results.completed);
    const Expected full = CoreRun(prepared, 2);
    EXPECT_GT(full.log.size(), partial.size());
    EXPECT_EQ(full.log.first(partial.size()), partial);
    ExpectLists(window, full);
    EXPECT_EQ(Text(window, pn::kCalculateButton), "再計算開始");
}

// The log shows in List1 as the run writes it: the rows written since the
// last event round are appended, the list is emptied once at the start and
// never rebuilt, so the lines shown stay put while the run goes on.
TEST_F(ProgramRunTest, TheLogGrowsAtTheEventRoundsOfTheRun) {
    const core::DataSet prepared = PreparedFamily({40, 40});
    workspace.data = prepared;
    window.OpenFrom(&opener);
    window.observer().SetEventInterval(0);
    Click(window, pn::kCalculateButton);  // rows for the next run to clear
    workspace.data = prepared;
    const QAbstractItemModel* rows = Find<QListView>(window, pn::kList[1])->model();
    ASSERT_GT(rows->rowCount(), 0);

    int resets = 0, appended = 0, rounds = 0;
    bool atTheEnd = true;
    QObject::connect(rows, &QAbstractItemModel::modelReset, [&] { ++resets; });
    QObject::connect(rows, &QAbstractItemModel::rowsInserted,
                     [&](const QModelIndex&, int first, int last) {
                         atTheEnd = atTheEnd && first == appended;
                         appended = last + 1;
                         ++rounds;
                     });
    QStringList shown, written;
    DuringRun([&] { return appended > 0; },  // the first round that shows rows
              [&] {
                  shown = Items(window, pn::kList[1]);
                  written = ToQ(workspace.results.fittingLog.Texts());
              });
    Click(window, pn::kCalculateButton);

    EXPECT_FALSE(shown.isEmpty());
    EXPECT_EQ(shown, written);
    EXPECT_EQ(resets, 1);
    EXPECT_TRUE(atTheEnd);
    EXPECT_GT(rounds, 1);
    EXPECT_EQ(appended, rows->rowCount());
    EXPECT_GT(rows->rowCount(), shown.size());
    EXPECT_EQ(Items(window, pn::kList[1]), CoreRun(prepared, 2).log);
}

TEST_F(ProgramRunTest, StopInTheFirstEventRoundStillStops) {
    workspace.data = PreparedFamily({40, 40});
    window.OpenFrom(&opener);
    DuringRun([] { return true; }, [&] { Click(gauge, gn::kStopButton); });
    Click(window, pn::kCalculateButton);
    EXPECT_FALSE(workspace.results.completed);
    EXPECT_EQ(workspace.results.partitionCounter, 1);
    EXPECT_EQ(Text(window, pn::kCalculateButton), "GO");
}

TEST_F(ProgramRunTest, SettingsWindowsChangeTheNextRun) {
    workspace.data = PreparedFamily({25});
    const core::DataSet prepared = workspace.data;
    window.OpenFrom(&opener);
    Click(window, pn::kCalculateButton);
    const Expected mode2 = CoreRun(prepared, 2);
    ExpectLists(window, mode2);
    EXPECT_TRUE(Items(window, pn::kList[2]).contains(QRegularExpression("平均誤差=.*")));

    Find<QAction>(window, pn::kConditionsEntry)->trigger();
    QWidget* conditionsWindow = &s.desktop.conditions();
    ASSERT_TRUE(conditionsWindow->isVisible());
    EXPECT_FALSE(window.isEnabled());
    Tick(*conditionsWindow, ArrayName(cn::kModeOption, 0));
    Click(*conditionsWindow, cn::kAcceptButton);
    EXPECT_FALSE(conditionsWindow->isVisible());
    EXPECT_TRUE(window.isEnabled());
    EXPECT_EQ(workspace.settings.errorMode, 0);

    Click(window, pn::kCalculateButton);
    const Expected mode0 = CoreRun(prepared, 0);
    EXPECT_NE(mode0.log, mode2.log);
    ExpectLists(window, mode0);
    EXPECT_TRUE(Items(window, pn::kList[2]).contains(QRegularExpression("最大誤差=.*")));

    // Only the plain X,Y system left: every chosen form is one of its three.
    Find<QAction>(window, pn::kExclusionEntry)->trigger();
    QWidget* exclusionWindow = &s.desktop.exclusion();
    ASSERT_TRUE(exclusionWindow->isVisible());
    for (int i = 1; i < 7; ++i) Tick(*exclusionWindow, ArrayName(en::kSystemBox, i));
    Click(*exclusionWindow, en::kBackButton);
    EXPECT_FALSE(exclusionWindow->isVisible());
    Click(window, pn::kCalculateButton);
    const QRegularExpression form("EQ No=\\s*(\\d+)");
    int forms = 0;
    for (const QString& line : Items(window, pn::kList[1])) {
        const QRegularExpressionMatch match = form.match(line);
        if (!match.hasMatch()) continue;
        ++forms;
        EXPECT_LE(match.captured(1).toInt(), 3) << line.toStdString();
    }
    EXPECT_GT(forms, 10);
}

}  // namespace
}  // namespace kx::test

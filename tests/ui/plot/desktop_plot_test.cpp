// The plot window in the running program: opened from the program-generation
// window's "処理結果の描画", with the fitted curves only after a finished run
// and until the user goes back to the data windows.
#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>

#include "core/files/session.h"

#include "plot_fixture.h"
#include "ui/plot/plot_names.h"
#include "ui/plot/plot_picture.h"
#include "ui/plot/plot_window.h"
#include "ui_harness.h"

namespace kx::test {
namespace {

namespace pl = ui::names::plot;

class DesktopPlotTest : public WindowTest {
protected:
    // The program-generation window on a prepared family.
    void OpenProgramWindow() {
        d.workspace.data = PreparedFamily({12, 14, 16});
        d.program().OpenFrom(&d.panel());
        ASSERT_TRUE(d.program().isVisible());
    }
    QAction* PlotEntry() { return Find<QAction>(d.program(), pn::kPlotEntry); }
    // The plot window opened by the menu entry; the count of curve pixels on
    // its picture.
    int OpenPlotAndCountCurvePixels() {
        PlotEntry()->trigger();
        QApplication::processEvents();
        EXPECT_TRUE(d.desktop.plot().isVisible());
        return CountPixels(d.desktop.plot().picture().image(), IsBlue);
    }

    Session d;
};

TEST_F(DesktopPlotTest, OpensFromTheProgramWindowWithCurvesOnlyAfterARun) {
    OpenProgramWindow();
    ui::ProgramWindow& program = d.program();
    ui::PlotWindow& plot = d.desktop.plot();
    ASSERT_TRUE(PlotEntry()->isEnabled());

    // Before a run only the data marks.
    const int marksOnly = OpenPlotAndCountCurvePixels();
    EXPECT_FALSE(program.isEnabled()) << "disabled while the plot window is open";
    EXPECT_FALSE(d.workspace.fitCurrent);
    Click(plot, pl::kBackButton);
    EXPECT_FALSE(plot.isVisible());
    EXPECT_TRUE(program.isEnabled());
    EXPECT_TRUE(program.isVisible());

    Click(program, pn::kCalculateButton);
    ASSERT_TRUE(d.workspace.results.completed);
    EXPECT_TRUE(d.workspace.fitCurrent);
    const int withCurves = OpenPlotAndCountCurvePixels();
    EXPECT_GT(withCurves, marksOnly + 100) << "the fitted curves are drawn";
    ASSERT_TRUE(plot.lastPass().has_value());
    // The frame's close goes back the same way as "戻 る".
    plot.close();
    EXPECT_TRUE(program.isEnabled());

    // Back at the data windows the results are no longer current: the next
    // plot shows the marks alone, until the next run.
    Click(program, pn::kBackButton);
    EXPECT_FALSE(program.isVisible());
    EXPECT_FALSE(d.workspace.fitCurrent);
    program.OpenFrom(&d.panel());
    EXPECT_EQ(OpenPlotAndCountCurvePixels(), marksOnly);
    Click(plot, pl::kBackButton);
    Click(program, pn::kCalculateButton);
    EXPECT_EQ(OpenPlotAndCountCurvePixels(), withCurves);
    Click(plot, pl::kBackButton);
}

TEST_F(DesktopPlotTest, AStoppedRunLeavesNoCurrentResults) {
    OpenProgramWindow();
    ui::ProgramWindow& program = d.program();
    Click(program, pn::kCalculateButton);
    ASSERT_TRUE(d.workspace.fitCurrent);
    program.observer().SetEventInterval(0);
    // The gauge's stop at the run's first chance to let events run.
    QTimer::singleShot(0, &program, &ui::ProgramWindow::StopCalculation);
    Click(program, pn::kCalculateButton);
    EXPECT_FALSE(d.workspace.results.completed);
    EXPECT_FALSE(d.workspace.fitCurrent) << "the curves of the run before are gone too";
}

// A session keeps the plot window's range, scales and labels as it showed
// them, and the window of the reopened session shows them again.
TEST_F(DesktopPlotTest, ASessionKeepsThePlotSettings) {
    QTemporaryDir dir;
    d.workspace.files.folderName = QDir::toNativeSeparators(dir.path()).toStdString();
    OpenProgramWindow();
    ui::PlotWindow& plot = d.desktop.plot();
    PlotEntry()->trigger();
    ASSERT_TRUE(plot.isVisible());
    auto box = [&plot](const char* name) { return Find<QLineEdit>(plot, name); };
    box(pl::kXMinBox)->setText("13");
    box(pl::kXMaxBox)->setText("15.5");
    Find<QCheckBox>(plot, pl::kYLogBox)->setChecked(true);
    Click(plot, pl::kParameterButton);
    Click(plot, pl::kBackButton);
    Click(d.program(), pn::kBackButton);

    const QString path = QDir::toNativeSeparators(dir.filePath("plot.kxs"));
    Find<QAction>(d.panel(), panel::kSessionSaveEntry)->trigger();
    SaveAs(d.save(), path);
    const core::SessionRead saved = core::ReadSession(path.toStdString());
    ASSERT_TRUE(saved.outcome.ok()) << saved.outcome.detail;
    EXPECT_EQ(saved.session.plot, (core::SessionPlot{"13", "15.5", false, true, true}));

    Session reopened;
    reopened.workspace.files.folderName = d.workspace.files.folderName;
    Find<QAction>(reopened.panel(), panel::kSessionLoadEntry)->trigger();
    ASSERT_TRUE(ClickFile(reopened.load(), "plot.kxs", true));
    reopened.program().OpenFrom(&reopened.panel());
    ui::PlotWindow& shown = reopened.desktop.plot();
    Find<QAction>(reopened.program(), pn::kPlotEntry)->trigger();
    ASSERT_TRUE(shown.isVisible());
    EXPECT_EQ(Find<QLineEdit>(shown, pl::kXMinBox)->text(), "13");
    EXPECT_EQ(Find<QLineEdit>(shown, pl::kXMaxBox)->text(), "15.5");
    EXPECT_FALSE(Find<QCheckBox>(shown, pl::kXLogBox)->isChecked());
    EXPECT_TRUE(Find<QCheckBox>(shown, pl::kYLogBox)->isChecked());
    EXPECT_TRUE(shown.labelsShown());
    EXPECT_EQ(shown.shownSettings().xMinText, "13");
}

}  // namespace
}  // namespace kx::test

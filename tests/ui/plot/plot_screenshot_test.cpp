// Pictures of the plot window and of the plot files for a look by eye,
// skipped unless KX_SCREENSHOT_DIR names a folder: the sample family, fitted,
// on linear axes, on a logarithmic Y axis, with the parameter labels, and
// written as PDF, SVG and PNG files. Taken of the screen with the window's
// frame when a window manager frames it (a virtual X server).
#include <QCheckBox>
#include <QDir>
#include <QScreen>

#include "core/data/preparation.h"
#include "core/files/data_file.h"
#include "core/fitting/fit_family.h"
#include "ui/plot/plot_names.h"
#include "ui/plot/plot_window.h"
#include "ui_harness.h"

namespace kx::test {
namespace {

namespace pl = ui::names::plot;

class PlotScreenshots : public WindowTest {
protected:
    void SetUp() override {
        folder = ScreenshotFolderOrSkip();
        if (IsSkipped()) return;
    }
    void SaveWindow(QWidget& window, const char* name) { SaveFramedWindow(window, folder, name); }
    QString folder;
};

TEST_F(PlotScreenshots, SampleFamily) {
    ui::Workspace workspace;
    const core::DataFileRead read = core::ReadDataFile(KX_SAMPLE_FILE);
    ASSERT_EQ(read.outcome, core::DataFileOutcome::kLoaded);
    core::ApplyDataFileRead(workspace.data, read);
    workspace.data.selectedLine = 0;
    ASSERT_EQ(core::PrepareDataSet(workspace.data), core::kPrepared);
    ASSERT_TRUE(core::FitFamily(workspace.data, workspace.settings, workspace.results));
    workspace.fitCurrent = true;

    QWidget opener;
    ui::PlotWindow window(workspace, nullptr);
    window.move(40, 0);
    window.OpenFrom(&opener);
    SaveWindow(window, "plot_linear");

    Tick(window, pl::kYLogBox);
    Click(window, pl::kRedrawButton);
    SaveWindow(window, "plot_log_y");

    Tick(window, pl::kYLogBox);
    Click(window, pl::kParameterButton);
    SaveWindow(window, "plot_labels");

    Tick(window, pl::kXLogBox);
    Click(window, pl::kParameterButton);
    SaveWindow(window, "plot_log_x_labels");
    for (const char* file : {"plot_export.pdf", "plot_export.svg", "plot_export.png"}) {
        EXPECT_TRUE(window.SavePlot(folder + "/" + file)) << file;
    }
    SaveWindow(window, "plot_saved_message");

    window.resize(900, 660);
    SaveWindow(window, "plot_resized");
}

}  // namespace
}  // namespace kx::test

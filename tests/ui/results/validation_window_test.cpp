// After a run on the sample family: the check of the generated program
// against the points in its window, copied and saved, the programs in C and
// Python and the plot saved through the save window, each file byte for byte
// what kuvatelix-fit writes. Screenshots of the check window (skipped unless
// KX_SCREENSHOT_DIR names a folder).
#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QScreen>
#include <QTableWidget>
#include <QTemporaryDir>

#include "core/data/preparation.h"
#include "core/files/cp932.h"
#include "core/files/data_file.h"
#include "ui/plot/plot_names.h"
#include "ui/results/results_names.h"
#include "ui/results/validation_window.h"
#include "ui_harness.h"

namespace kx::test {
namespace {

namespace pm = ui::names::program_more;
namespace vn = ui::names::validation;
namespace pl = ui::names::plot;

QByteArray Bytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// What kuvatelix-fit prints for the sample family with `arguments`.
QByteArray FitOutput(const QStringList& arguments) {
    QProcess fit;
    fit.start(KX_FIT_PROGRAM, arguments + QStringList{KX_SAMPLE_FILE});
    EXPECT_TRUE(fit.waitForFinished(120000));
    EXPECT_EQ(fit.exitCode(), 0) << fit.readAllStandardError().toStdString();
    return fit.readAllStandardOutput();
}

QByteArray WithCrLf(QByteArray text) {
    return text.replace("\n", "\r\n");
}

// The row of a table as its cells' texts, tab-separated.
QString RowText(const QTableWidget& table, int row) {
    QStringList cells;
    for (int column = 0; column < table.columnCount(); ++column)
        cells << (table.item(row, column) ? table.item(row, column)->text() : QString());
    return cells.join('\t');
}

class ResultsAfterARun : public WindowTest {
protected:
    ResultsAfterARun() { d.workspace.files.folderName = Native(dir.path()).toStdString(); }

    // The sample family loaded and prepared, the program-generation window
    // opened on it and run.
    void Run() {
        const core::DataFileRead read = core::ReadDataFile(KX_SAMPLE_FILE);
        ASSERT_EQ(read.outcome, core::DataFileOutcome::kLoaded);
        core::ApplyDataFileRead(d.workspace.data, read);
        d.workspace.data.selectedLine = 0;
        ASSERT_EQ(core::PrepareDataSet(d.workspace.data), core::kPrepared);
        d.program().OpenFrom(&d.panel());
        Click(d.program(), pn::kCalculateButton);
        ASSERT_TRUE(d.workspace.fitCurrent);
    }
    QAction* Entry(const char* name) { return Find<QAction>(d.program(), name); }
    QString Native(const QString& path) const { return QDir::toNativeSeparators(path); }
    QString Path(const QString& name) const { return Native(dir.filePath(name)); }
    QString Shown(QWidget& window, const char* name) {
        if (auto* label = window.findChild<QLabel*>(name)) return label->text();
        if (auto* box = window.findChild<QLineEdit*>(name)) return box->text();
        ADD_FAILURE() << name;
        return {};
    }

    QTemporaryDir dir;
    Session d;
};

TEST_F(ResultsAfterARun, TheCheckWindowShowsCopiesAndSavesTheTableOfTheCheck) {
    EXPECT_FALSE(Entry(pm::kValidationEntry)->isEnabled()) << "no run yet";
    Run();
    ui::ValidationWindow& window = d.desktop.validation();
    Entry(pm::kValidationEntry)->trigger();
    ASSERT_TRUE(window.isVisible());
    EXPECT_FALSE(d.program().isEnabled());

    // The tables hold the listing kuvatelix-fit --check prints, row for row:
    // five lines, then every point of the family in rank order with the
    // middle between each two after the first (the midpoint's row without
    // the traced column, none being traced).
    const QByteArray check = FitOutput({"--check"});
    const QStringList listing = QString::fromUtf8(check).split('\n', Qt::SkipEmptyParts);
    auto* lines = Find<QTableWidget>(window, vn::kLineTable);
    auto* points = Find<QTableWidget>(window, vn::kPointTable);
    ASSERT_EQ(lines->rowCount(), 5);
    ASSERT_EQ(points->rowCount(), 133 + 128);
    ASSERT_EQ(listing.size(), 3 + 5 + 133 + 128);
    for (int row = 0; row < 5; ++row) EXPECT_EQ(RowText(*lines, row), listing[1 + row]);
    int point = 7, midpoint = 7 + 133 + 1;
    for (int row = 0; row < points->rowCount(); ++row) {
        if (!points->item(row, 2)->text().contains('-')) {
            EXPECT_EQ(RowText(*points, row), listing[point++]) << row;
            continue;
        }
        QStringList fields = listing[midpoint++].split('\t');
        fields.removeAt(5);
        EXPECT_EQ(RowText(*points, row), fields.join('\t')) << row;
    }
    EXPECT_EQ(point, 7 + 133);
    EXPECT_EQ(midpoint, static_cast<int>(listing.size()));
    // Rank order: the first line is the one of parameter -25.
    EXPECT_EQ(lines->item(0, 1)->text(), "-25");
    EXPECT_EQ(lines->item(4, 1)->text(), "125");
    EXPECT_EQ(Shown(window, vn::kVerdict), "全ての点と点の間で誤差1%以内");

    // A line chosen in the line table brings its points into view: line 5
    // follows 97 points and 93 midpoints.
    lines->setCurrentCell(4, 0);
    QApplication::processEvents();
    EXPECT_EQ(points->rowAt(0), 97 + 93) << "the first of the 36 points of line 5";

    Click(window, vn::kCopyButton);
    EXPECT_EQ(QGuiApplication::clipboard()->text().toUtf8(), WithCrLf(check));
    EXPECT_TRUE(Find<QLabel>(window, vn::kMessage)->isVisible());

    // Saved through the save window: a name typed without an extension
    // takes ".txt"; the listing is written as every listing is.
    Click(window, vn::kSaveButton);
    ui::SaveWindow& save = d.save();
    ASSERT_TRUE(save.isVisible());
    EXPECT_EQ(Shown(save, fw::kHeading), "検証表の保存");
    EXPECT_EQ(Shown(save, fw::kNameBox), Path("check.txt"));
    SaveAs(save, "table");
    EXPECT_FALSE(save.isVisible());
    EXPECT_EQ(Bytes(Path("table.txt")), WithCrLf(check));
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(window.isEnabled());

    Click(window, vn::kBackButton);
    EXPECT_TRUE(d.program().isEnabled());
    // Back at the data windows the entry goes with the results.
    Click(d.program(), pn::kBackButton);
    EXPECT_FALSE(Entry(pm::kValidationEntry)->isEnabled());
}

TEST_F(ResultsAfterARun, TheProgramsInOtherLanguagesAreSavedAsKuvatelixFitWritesThem) {
    EXPECT_FALSE(Entry(pm::kSaveCEntry)->isEnabled());
    Run();
    ui::SaveWindow& save = d.save();
    struct Program {
        const char* entry;
        const char* heading;
        const char* filter;
        const char* offered;
        const char* typed;
        const char* written;
        const char* language;
    };
    const Program programs[] = {
        {pm::kSaveCEntry, "Cﾌﾟﾛｸﾞﾗﾑの保存", "*.c;*.h", "kx_calc.c", "calc", "calc.c", "c"},
        // The C program's name is remembered now: its stem is offered.
        {pm::kSavePythonEntry, "Pythonﾌﾟﾛｸﾞﾗﾑの保存", "*.py", "calc.py", "calc.py", "calc.py",
         "python"},
        {pm::kSaveMatlabEntry, "MATLABﾌﾟﾛｸﾞﾗﾑの保存", "*.m", "calc.m", "calc", "calc.m", "matlab"},
        {pm::kSaveJavaScriptEntry, "JavaScriptﾌﾟﾛｸﾞﾗﾑの保存", "*.mjs;*.js", "calc.mjs", "calc.js",
         "calc.js", "javascript"},
        {pm::kSaveCSharpEntry, "C#ﾌﾟﾛｸﾞﾗﾑの保存", "*.cs", "calc.cs", "KxCalc", "KxCalc.cs",
         "csharp"},
        {pm::kSaveFortranEntry, "Fortranﾌﾟﾛｸﾞﾗﾑの保存", "*.f90;*.f95;*.f03;*.f08", "KxCalc.f90",
         "kx_calc", "kx_calc.f90", "fortran"},
    };
    for (const Program& program : programs) {
        SCOPED_TRACE(program.language);
        Entry(program.entry)->trigger();
        ASSERT_TRUE(save.isVisible());
        EXPECT_EQ(Shown(save, fw::kHeading), program.heading);
        EXPECT_EQ(Shown(save, sn::kFilterBox), program.filter);
        EXPECT_EQ(Shown(save, fw::kNameBox), Path(program.offered));
        SaveAs(save, program.typed);
        EXPECT_FALSE(save.isVisible());
        EXPECT_EQ(Bytes(Path(program.written)), FitOutput({"--lang", program.language}));
    }
    // The name saved last is remembered, and the system's kinds list the data
    // filter again.
    Entry(pm::kSaveCEntry)->trigger();
    EXPECT_EQ(Shown(save, fw::kNameBox), Path("kx_calc.c"));
    Click(save, sn::kBackButton);
    Find<QAction>(d.program(), pn::kSaveProgramEntry)->trigger();
    EXPECT_EQ(Shown(save, sn::kFilterBox), "*.DA*;*.TX*;*.DO*;*.WR*");
    EXPECT_EQ(Shown(save, fw::kNameBox), Path("kx_calc.f90"))
        << "the system's kinds offer the name";
    Click(save, sn::kBackButton);
}

TEST_F(ResultsAfterARun, ThePlotIsSavedThroughTheSaveWindow) {
    Run();
    Entry(pn::kPlotEntry)->trigger();
    ui::PlotWindow& plot = d.desktop.plot();
    ASSERT_TRUE(plot.isVisible());
    ui::SaveWindow& save = d.save();

    Click(plot, pl::kSaveButton);
    ASSERT_TRUE(save.isVisible());
    EXPECT_FALSE(plot.isEnabled());
    EXPECT_EQ(Shown(save, fw::kHeading), "ｸﾞﾗﾌの保存");
    EXPECT_EQ(Shown(save, fw::kNameBox), Path("plot.pdf"));
    // Only the three formats: another extension is refused as a bad name.
    SaveAs(save, "plot.doc");
    EXPECT_EQ(save.messageText(), "ﾌｧｲﾙ名が不適当");
    EXPECT_TRUE(save.isVisible());
    for (const char* name : {"family", "family.SVG", "family.png"}) {
        if (!save.isVisible()) Click(plot, pl::kSaveButton);
        SaveAs(save, name);
        EXPECT_FALSE(save.isVisible()) << name;
    }
    EXPECT_TRUE(Bytes(Path("family.pdf")).startsWith("%PDF-"));
    EXPECT_TRUE(Bytes(Path("family.SVG")).contains("<svg"));
    EXPECT_FALSE(QImage(Path("family.png")).isNull());
    EXPECT_TRUE(plot.isVisible());
    EXPECT_TRUE(plot.isEnabled());

    // A write that fails keeps the save window open with its message.
    Click(plot, pl::kSaveButton);
    SaveAs(save, Path("none/plot.png"));
    EXPECT_EQ(save.messageText(), "書込めません。");
    EXPECT_TRUE(save.isVisible());
    Click(save, sn::kBackButton);
    EXPECT_TRUE(plot.isEnabled());
}

class ValidationScreenshots : public ResultsAfterARun {
protected:
    void SetUp() override {
        folder = ScreenshotFolderOrSkip();
        if (IsSkipped()) return;
    }
    void Grab(QWidget& window, const char* name) { SaveFramedWindow(window, folder, name); }
    QString folder;
};

TEST_F(ValidationScreenshots, SampleFamily) {
    Run();
    ui::ValidationWindow& window = d.desktop.validation();
    Entry(pm::kValidationEntry)->trigger();
    window.move(60, 20);
    Grab(window, "validation_table");
    Find<QTableWidget>(window, vn::kLineTable)->setCurrentCell(2, 0);
    Click(window, vn::kCopyButton);
    Grab(window, "validation_line3_copied");
    Click(window, vn::kSaveButton);
    Grab(d.save(), "validation_save_window");
    Click(d.save(), sn::kBackButton);
    Click(window, vn::kBackButton);
    // The window's entries after a run.
    auto* option = Find<QMenu>(d.program(), pn::kOptionMenu);
    option->popup(d.program().mapToGlobal(QPoint(60, 24)));
    Grab(d.program(), "program_window_option_menu");
    option->hide();
    auto* file = Find<QMenu>(d.program(), pn::kFileMenu);
    file->popup(d.program().mapToGlobal(QPoint(10, 24)));
    Grab(d.program(), "program_window_file_menu");
    file->hide();
}

}  // namespace
}  // namespace kx::test

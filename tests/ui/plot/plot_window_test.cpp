// The plot window on real widgets: opening, the refusals, the standard
// range, the parameter labels, the picture following the window, the pass
// letting events run, saving and printing.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSignalSpy>

#include <filesystem>
#include <memory>

#include "plot_fixture.h"
#include "temp_folder.h"
#include "ui/plot/plot_names.h"
#include "ui/plot/plot_picture.h"
#include "ui/plot/plot_window.h"
#include "ui_harness.h"

namespace kx::test {
namespace {

namespace pl = ui::names::plot;

class PlotWindowTest : public WindowTest {
protected:
    PlotWindowTest() {
        workspace.data = family.data;
        workspace.results = family.results;
        workspace.fitCurrent = true;
        mainWindow.show();
    }

    void Open() {
        window.OpenFrom(&opener);
        QApplication::processEvents();
    }
    QLineEdit* BoxNamed(const char* name) { return Find<QLineEdit>(window, name); }
    QCheckBox* CheckNamed(const char* name) { return Find<QCheckBox>(window, name); }
    void Type(const char* name, const QString& text) {
        QLineEdit* box = BoxNamed(name);
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Delete);
        QTest::keyClicks(box, text);
    }
    void Press(const char* name) { Click(window, name); }
    QImage Shown() const { return window.picture().image(); }
    const core::PlotFrame& Frame() const { return window.lastPass()->frame; }
    // Where a data point is on the picture shown.
    QPointF At(double x, double y) const {
        return PixelOf(*window.lastPass(), window.picture().size(), x, y);
    }
    QLabel* Message() { return Find<QLabel>(window, pl::kMessage); }

    StraightFamily family;
    ui::Workspace workspace;
    QWidget opener;
    QWidget mainWindow;
    ui::PlotWindow window{workspace, &mainWindow};
};

TEST_F(PlotWindowTest, OpensOnTheDataRangeWithThePanelsAxisTypesAndGoesBack) {
    workspace.calibration.logX = true;
    Open();
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(opener.isEnabled());
    EXPECT_FALSE(mainWindow.isEnabled());
    EXPECT_EQ(BoxNamed(pl::kXMinBox)->text(), "0.37");
    EXPECT_EQ(BoxNamed(pl::kXMaxBox)->text(), "8.2");
    EXPECT_EQ(BoxNamed(pl::kYMinBox)->text(), "0.87");
    EXPECT_EQ(BoxNamed(pl::kYMaxBox)->text(), "17.4");
    EXPECT_TRUE(BoxNamed(pl::kYMinBox)->isReadOnly());
    EXPECT_TRUE(CheckNamed(pl::kXLogBox)->isChecked());
    EXPECT_FALSE(CheckNamed(pl::kYLogBox)->isChecked());
    ASSERT_TRUE(window.lastPass().has_value());
    EXPECT_TRUE(Frame().plotLogX);
    EXPECT_FALSE(Frame().plotLogY);
    EXPECT_EQ(Shown().size(), window.picture().size());
    EXPECT_EQ(CountPixels(Shown(), IsRed), 0);

    // The window exists while it is shown: what was typed goes with it.
    Type(pl::kXMinBox, "2");
    Press(pl::kBackButton);
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(opener.isEnabled());
    EXPECT_TRUE(mainWindow.isEnabled());
    EXPECT_FALSE(window.lastPass().has_value());
    EXPECT_TRUE(Shown().isNull()) << "closing discards the picture";

    // Another family meanwhile: the next opening shows its range.
    workspace.data = Prepared({{"1", "20,1\r\n25,2\r\n30,4\r\n"}});
    workspace.calibration.logX = false;
    Open();
    EXPECT_EQ(BoxNamed(pl::kXMinBox)->text(), "20");
    EXPECT_EQ(BoxNamed(pl::kXMaxBox)->text(), "30");
    EXPECT_FALSE(CheckNamed(pl::kXLogBox)->isChecked());
    EXPECT_EQ(Frame().xMin, 20.0f);
    Type(pl::kXMinBox, "22");
    Press(pl::kStandardButton);
    EXPECT_EQ(BoxNamed(pl::kXMinBox)->text(), "20");
    window.close();  // the frame's close goes back the same way
    EXPECT_TRUE(opener.isEnabled());
    EXPECT_TRUE(BoxNamed(pl::kXMinBox)->text().isEmpty());
}

TEST_F(PlotWindowTest, RefusesUnusableXSettings) {
    struct Case {
        const char* xMin;
        const char* xMax;
        bool logX;
        bool drawn;
        bool said;  // a logarithmic X axis that cannot be is said, as the panel says it
    };
    const Case cases[] = {
        {"5", "5", false, false, false}, {"9", "3", false, false, false},
        {"0", "8.2", true, false, true}, {"-1", "8.2", true, false, true},
        {"2", "0", true, false, false},  {"2", "6", true, true, false},
        {"2", "6", false, true, false},  {"abc", "6", false, true, false},
    };
    Open();
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.xMin) + " .. " + c.xMax + (c.logX ? " log" : ""));
        Type(pl::kXMinBox, c.xMin);
        Type(pl::kXMaxBox, c.xMax);
        CheckNamed(pl::kXLogBox)->setChecked(c.logX);
        const qint64 before = Shown().cacheKey();
        Press(pl::kRedrawButton);
        EXPECT_EQ(Shown().cacheKey() != before, c.drawn);
        if (!c.drawn) {
            EXPECT_EQ(Message()->isVisible(), c.said);
            if (c.said) {
                EXPECT_EQ(Message()->text(), "<Select Error> Ｘmax<= 0 Or Ｘmin<= 0");
            }
            window.HideMessages();
            Press(pl::kPrintButton);  // refused alike: no printer asked for
            EXPECT_EQ(Message()->isVisible(), c.said);
            window.HideMessages();
        }
        if (c.drawn) {
            EXPECT_EQ(Frame().plotLogX, c.logX);
        }
    }
}

TEST_F(PlotWindowTest, AZeroXMinimumFollowsTheData) {
    workspace.data = Prepared({{"1", "20,1\r\n25,2\r\n30,4\r\n"}});
    workspace.fitCurrent = false;
    Open();
    Type(pl::kXMinBox, "0");
    Press(pl::kRedrawButton);
    EXPECT_EQ(Frame().xMin, 20.0f) << "0 stands for the data minimum, not for 0";
    Type(pl::kXMinBox, "10");
    Press(pl::kRedrawButton);
    EXPECT_EQ(Frame().xMin, 10.0f);
}

// Data the layout rules alone cannot frame, on axes the panel set: the window
// still opens on a picture, draws, labels and saves it, with no message.
TEST_F(PlotWindowTest, DegenerateDataStillGivesAPictureAndFiles) {
    struct Case {
        const char* name;
        const char* points;
        bool log;
        bool said = false;  // the logarithmic X axis refused, with its message
    };
    const Case cases[] = {
        {"all X equal", "5,1\r\n5,2\r\n5,3\r\n", false},
        {"all Y equal", "1,7\r\n2,7\r\n3,7\r\n", true},
        {"log with minimum 0", "0,0\r\n1,1\r\n2,4\r\n", true, true},
        {"near the float limits", "-3E+38,1E-38\r\n0,3E+38\r\n3E+38,-3E+38\r\n", false},
        {"huge log", "1E-30,1\r\n1,1E+30\r\n3E+38,3E+38\r\n", true},
    };
    TempFolder folder;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        workspace.data = Prepared({{"1", c.points}});
        // A section of zero width and one in 1/X over the whole line.
        workspace.results = {};
        core::LineFit& fit = workspace.results.lineFit[1];
        fit.sectionCount = 2;
        fit.sections[1].form = 1;
        fit.sections[1].firstIndex = fit.sections[1].lastIndex = 1;
        fit.sections[1].coefficient = {0, 1, 0, 0, 0};
        fit.sections[2].form = 13;
        fit.sections[2].firstIndex = 1;
        fit.sections[2].lastIndex = 3;
        fit.sections[2].coefficient = {0, 1, 1, 0, 0};
        workspace.calibration.logX = workspace.calibration.logY = c.log ? 1 : 0;
        Open();
        Press(pl::kRedrawButton);
        Press(pl::kParameterButton);
        EXPECT_TRUE(window.lastPass().has_value());
        EXPECT_GT(CountPixels(Shown(), IsBlue), 0);
        EXPECT_GT(CountPixels(Shown(), IsRed), 0);
        EXPECT_EQ(Message()->isVisible(), c.said);
        EXPECT_TRUE(window.isEnabled());
        EXPECT_TRUE(window.SavePlot(QString::fromStdString(folder.file("plot.pdf"))));
        EXPECT_TRUE(window.SavePlot(QString::fromStdString(folder.file("plot.png"))));
        Press(pl::kBackButton);
    }
}

TEST_F(PlotWindowTest, StandardRangeRestoresTheBoxesAndChecksWithoutDrawing) {
    workspace.calibration.logY = true;
    Open();
    Type(pl::kXMinBox, "2");
    Type(pl::kXMaxBox, "7");
    CheckNamed(pl::kXLogBox)->setChecked(true);
    CheckNamed(pl::kYLogBox)->setChecked(false);
    const qint64 before = Shown().cacheKey();
    Press(pl::kStandardButton);
    EXPECT_EQ(BoxNamed(pl::kXMinBox)->text(), "0.37");
    EXPECT_EQ(BoxNamed(pl::kXMaxBox)->text(), "8.2");
    EXPECT_FALSE(CheckNamed(pl::kXLogBox)->isChecked());
    EXPECT_TRUE(CheckNamed(pl::kYLogBox)->isChecked());
    EXPECT_EQ(Shown().cacheKey(), before) << "not redrawn until asked";
}

TEST_F(PlotWindowTest, ParameterLabelsInRedAtEachLinesFirstVisiblePoint) {
    Open();
    const auto labelledAt = [&](double x, double y) {
        // The label's top-left corner is at the point: red just right of and
        // below it.
        return AnyPixelNear(Shown(), At(x, y) + QPointF(7, 6), 7, IsRed);
    };
    Press(pl::kParameterButton);
    EXPECT_TRUE(window.labelsShown());
    EXPECT_TRUE(labelledAt(0.37, 1.74));
    EXPECT_TRUE(labelledAt(0.37, 0.87));
    EXPECT_FALSE(labelledAt(5, 11));

    // From X = 2 on, each line's first visible point is at X = 2.
    Type(pl::kXMinBox, "2");
    Press(pl::kParameterButton);
    ASSERT_EQ(Frame().xMin, 2.0f);
    EXPECT_TRUE(labelledAt(2, 5));
    EXPECT_TRUE(labelledAt(2, 2.5));

    // A refused redraw: the labels go onto the picture as it stands.
    Press(pl::kRedrawButton);
    EXPECT_EQ(CountPixels(Shown(), IsRed), 0) << "a redraw takes the labels away";
    Type(pl::kXMaxBox, "1");
    const qint64 before = Shown().cacheKey();
    Press(pl::kParameterButton);
    EXPECT_NE(Shown().cacheKey(), before);
    EXPECT_EQ(Frame().xMin, 2.0f);
    EXPECT_TRUE(labelledAt(2, 5));

    // They stay when the picture is drawn anew for a new size.
    window.resize(window.width() + 60, window.height() - 40);
    QApplication::processEvents();
    EXPECT_EQ(Shown().size(), window.picture().size());
    EXPECT_TRUE(labelledAt(2, 5));
}

TEST_F(PlotWindowTest, CurvesOnlyWhileFitResultsAreCurrent) {
    workspace.fitCurrent = false;
    Open();
    const auto curveAt = [&](double x) {
        return AnyPixelNear(Shown(), At(x, StraightFamily::Y(1, x)), 1.0, IsBlue);
    };
    EXPECT_FALSE(curveAt(4.5));
    EXPECT_FALSE(curveAt(6.5));
    workspace.fitCurrent = true;
    Press(pl::kRedrawButton);
    EXPECT_TRUE(curveAt(4.5));
    EXPECT_TRUE(curveAt(6.5));
}

TEST_F(PlotWindowTest, ThePictureFollowsTheWindowsSize) {
    Open();
    const core::PlotFrame frame = Frame();
    for (const QSize size : {QSize(900, 700), QSize(640, 500), QSize(700, 740)}) {
        window.resize(size);
        QApplication::processEvents();
        const QRect picture = window.picture().geometry();
        EXPECT_NEAR(picture.top(), 0.038 * window.width(), 1);
        EXPECT_NEAR(picture.left(), 0.0076 * window.width(), 1);
        EXPECT_NEAR(picture.width(), 0.9848 * window.width(), 1);
        EXPECT_NEAR(picture.bottom() + 1, window.height() - 1000 / 15, 1);
        EXPECT_EQ(Shown().size(), picture.size()) << "drawn anew, not stretched";
        EXPECT_EQ(Frame().xMax, frame.xMax);
        // The curve is where the new size puts it.
        EXPECT_TRUE(AnyPixelNear(Shown(), At(4.5, 10), 1.0, IsBlue));
        // Every control stays inside the window.
        for (QWidget* control : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (control->isVisible()) {
                EXPECT_TRUE(window.rect().contains(control->geometry()))
                    << control->objectName().toStdString();
            }
        }
    }
}

TEST_F(PlotWindowTest, APassLetsEventsRunOncePerSectionWithTheWindowDisabled) {
    workspace.data = BrokenLineFamily(3);
    workspace.results = Fitted(workspace.data);
    int sections = 0;
    for (int line = 1; line <= 3; ++line) sections += workspace.results.lineFit[line].sectionCount;
    ASSERT_EQ(sections, 9);
    Open();

    // A posted call that posts itself again runs once per round of events.
    struct Rounds {
        int count = 0;
        int enabled = 0;
        bool closed = false;
        bool stop = false;
    } rounds;
    const QSize larger = window.size() + QSize(80, 60);
    std::function<void()> round = [&] {
        if (rounds.stop) return;
        ++rounds.count;
        if (window.isEnabled()) ++rounds.enabled;
        if (rounds.count == 1) {
            rounds.closed = window.close();  // refused during a pass
            window.resize(larger);           // drawn again after this pass
        }
        QMetaObject::invokeMethod(&window, round, Qt::QueuedConnection);
    };
    QMetaObject::invokeMethod(&window, round, Qt::QueuedConnection);
    window.Redraw();
    rounds.stop = true;
    QApplication::processEvents();  // the last posted call ends the chain
    EXPECT_EQ(rounds.count, 2 * sections) << "the pass and the pass after the resize";
    EXPECT_EQ(rounds.enabled, 0);
    EXPECT_FALSE(rounds.closed);
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(window.isEnabled());
    EXPECT_EQ(Shown().size(), window.picture().size());
    EXPECT_EQ(window.size(), larger);
}

TEST_F(PlotWindowTest, SavesWhatThePictureShows) {
    TempFolder folder;
    Open();
    Press(pl::kParameterButton);
    Type(pl::kXMinBox, "2");  // typed, not drawn: the file shows the picture
    ASSERT_TRUE(window.SavePlot(QString::fromStdString(folder.file("plot.svg"))));
    EXPECT_TRUE(Message()->isVisible());
    EXPECT_TRUE(Message()->text().startsWith("保存しました")) << Message()->text().toStdString();
    const std::string svg = FileBytes(folder.file("plot.svg"));
    EXPECT_NE(svg.find(">20</text>"), std::string::npos) << "the labels shown";
    EXPECT_NE(svg.find(">.0</text>"), svg.rfind(">.0</text>")) << "X from 0, as shown";

    EXPECT_FALSE(window.SavePlot(QString::fromStdString(folder.file("plot.doc"))));
    EXPECT_EQ(Message()->text(), "ﾌｧｲﾙ名不正");
    EXPECT_FALSE(window.SavePlot(QString::fromStdString(folder.file("none/plot.pdf"))));
    EXPECT_EQ(Message()->text(), "書込めません。");
    window.HideMessages();
    EXPECT_FALSE(Message()->isVisible());

    // The control asks for the save window, which names the file.
    QSignalSpy asked(&window, &ui::PlotWindow::saveRequested);
    Press(pl::kSaveButton);
    EXPECT_EQ(asked.count(), 1);
}

TEST_F(PlotWindowTest, PrintsThroughThePrinterPathOrSaysThereIsNoPrinter) {
    TempFolder folder;
    Open();
    if (QPrinterInfo::defaultPrinter().isNull()) {
        Press(pl::kPrintButton);
        EXPECT_TRUE(Message()->isVisible());
        EXPECT_TRUE(Message()->text().startsWith("プリンタなし"));
    }
    // A printer that writes its page into a PDF file.
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(folder.file("printed.pdf")));
    Type(pl::kXMaxBox, "20");
    ASSERT_TRUE(window.PrintOn(printer));
    EXPECT_TRUE(window.isEnabled());
    const QStringList words = PdfWords(folder.file("printed.pdf"));
    for (const char* label : {".0", "5.", "10.", "15.", "20.", "X", "Y"}) {
        EXPECT_TRUE(words.contains(label)) << label << " in " << words.join(' ').toStdString();
    }
    EXPECT_FALSE(words.contains("2.")) << "the X axis of the boxes (0..20), not of the picture";
}

}  // namespace
}  // namespace kx::test

// Pictures of the windows for a look by eye; run by tools/screenshot.sh and
// skipped unless KX_SCREENSHOT_DIR names a folder. The digitizer's states are
// taken of the whole screen (with the frames of the window manager under a
// virtual X server), the other windows one by one.
#include <QAbstractButton>
#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QLineEdit>
#include <QListView>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>

#include <cmath>

#include "core/files/data_file.h"
#include "core/files/save_file.h"
#include "render/japanese_font.h"
#include "ui/files/load_window.h"
#include "ui/files/save_window.h"
#include "ui_harness.h"

namespace kx::test {
namespace {

class Screenshots : public WindowTest {
protected:
    void SetUp() override {
        folder = ScreenshotFolderOrSkip();
        if (IsSkipped()) return;
    }
    void Save(QWidget& widget, const char* name) {
        QApplication::processEvents();
        const QString file = folder + "/" + name + ".png";
        EXPECT_TRUE(widget.grab().save(file)) << file.toStdString();
    }
    // The whole screen once the window manager has framed the windows.
    void SaveScreen(const char* name) {
        QTest::qWait(600);
        const QString file = folder + "/" + name + ".png";
        EXPECT_TRUE(QGuiApplication::primaryScreen()->grabWindow(0).save(file))
            << file.toStdString();
    }
    QString folder;
    QWidget opener;
};

// A sample characteristic: three curves of a family on a 0..60 by 0..40 grid,
// origin at pixel (80, 440), 10 pixels per unit.
constexpr int kOriginX = 80, kOriginY = 440;

double Curve(int k, double x) {
    return (12 + 10 * k) * (1 - std::exp(-x / (8 + 6 * k)));
}

QPoint CurvePixel(int k, int px) {
    return QPoint(px,
                  static_cast<int>(std::lround(kOriginY - 10 * Curve(k, (px - kOriginX) / 10.0))));
}

QImage SampleGraph() {
    QImage picture(QSize(720, 520), QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(200, 200, 200), 1));
    for (int i = 1; i <= 6; ++i)
        painter.drawLine(kOriginX + 100 * i, kOriginY, kOriginX + 100 * i, kOriginY - 400);
    for (int i = 1; i <= 4; ++i)
        painter.drawLine(kOriginX, kOriginY - 100 * i, kOriginX + 600, kOriginY - 100 * i);
    painter.setPen(QPen(Qt::black, 2));
    painter.drawLine(kOriginX, kOriginY, kOriginX + 600, kOriginY);
    painter.drawLine(kOriginX, kOriginY, kOriginX, kOriginY - 400);
    painter.setFont(render::JapaneseFont(10));
    for (int i = 0; i <= 6; ++i) {
        painter.drawText(QRect(kOriginX + 100 * i - 20, kOriginY + 6, 40, 20), Qt::AlignCenter,
                         QString::number(10 * i));
    }
    for (int i = 0; i <= 4; ++i) {
        painter.drawText(QRect(kOriginX - 48, kOriginY - 100 * i - 10, 40, 20),
                         Qt::AlignRight | Qt::AlignVCenter, QString::number(10 * i));
    }
    painter.drawText(QRect(kOriginX, kOriginY + 30, 600, 24), Qt::AlignCenter, "回転数 X");
    painter.drawText(QRect(kOriginX + 10, 10, 300, 24), Qt::AlignLeft, "トルク特性 Y");
    for (int k = 0; k < 3; ++k) {
        painter.setPen(QPen(QColor(0, 0, 160), 2));
        QPointF last(kOriginX, kOriginY);
        for (int px = kOriginX + 1; px <= kOriginX + 600; ++px) {
            const QPointF next(CurvePixel(k, px));
            painter.drawLine(last, next);
            last = next;
        }
        painter.drawText(QPointF(kOriginX + 560, last.y() - 6),
                         QStringLiteral("T=%1").arg(20 + 20 * k));
    }
    return picture;
}

const GraphFrame kSampleFrame{{kOriginX, kOriginY},
                              {kOriginX + 600, kOriginY},
                              {kOriginX, kOriginY - 400},
                              "0",
                              "60",
                              "0",
                              "40"};

TEST_F(Screenshots, DigitizerStates) {
    {
        Session d;
        SaveScreen("start");
        d.PastePicture(SampleGraph());
        SaveScreen("picture");
        Find<QAction>(d.panel(), panel::kHelpEntry)->trigger();
        SaveScreen("help");
    }
    {
        // The Xmax point clicked left of the origin.
        Session d;
        d.PastePicture(SampleGraph());
        d.PlacePoint(core::kPickXmin, {kOriginX, kOriginY});
        d.PlacePoint(core::kPickXmax, {kOriginX - 30, kOriginY});
        SaveScreen("refused_click");
    }
    Session d;
    d.Calibrate(SampleGraph(), kSampleFrame);
    d.ClickCanvasPixel({kOriginX + 250, kOriginY - 230});
    SaveScreen("confirmed");
    d.ClickPanel(panel::kCaptureButton);
    for (int k = 0; k < 2; ++k) {
        d.ClickDataSet(ArrayName(data_set::kLineOption, k));
        for (int px = kOriginX + 20; px <= kOriginX + 600; px += 45) {
            d.ClickCanvasPixel(CurvePixel(k, px));
        }
    }
    SaveScreen("capture");
    // A third line with only two points cannot be prepared.
    d.ClickDataSet(ArrayName(data_set::kLineOption, 2));
    d.ClickCanvasPixel({kOriginX + 300, kOriginY - 50});
    d.ClickCanvasPixel({kOriginX + 400, kOriginY - 60});
    d.ClickDataSet(data_set::kGenerateButton);
    SaveScreen("preparation_message");
}

TEST_F(Screenshots, ProgramGenerationWindows) {
    Session s;
    ui::Workspace& workspace = s.workspace;
    ui::ProgramWindow& program = s.program();
    ui::KeyboardWindow& keyboard = s.keyboard();
    keyboard.OpenFrom(&opener);
    for (int i = 0; i < 3; ++i) {
        QGuiApplication::clipboard()->setText(
            QString::fromStdString(CurveRows(12 + i, 5, 1.2 + 0.2 * i, 0.01, "\t", 5u + i)));
        auto* box = Find<QPlainTextEdit>(keyboard, ArrayName(kn::kDataBox, i));
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        if (i < 2) Click(keyboard, kn::kNextButton);
    }
    Save(keyboard, "keyboard_entry");
    Click(keyboard, kn::kHelpButton);
    Save(keyboard, "keyboard_entry_help");
    Click(keyboard, kn::kGenerateButton);  // no line 4: program generation opens
    Save(program, "program_first_open");
    program.HideAreaHints();
    Click(program, pn::kCalculateButton);
    Save(program, "program_after_run");
    // The clearing hint over the button, then the copy message beside List3.
    MoveOver(Find<QPushButton>(program, pn::kCalculateButton));
    Save(program, "program_clearing_hint");
    auto* list3 = Find<QListView>(program, pn::kList[3]);
    QTest::mouseClick(list3->viewport(), Qt::LeftButton, {}, RowCentre(list3, 1));
    QTest::mousePress(list3->viewport(), Qt::RightButton, {}, RowCentre(list3, 1));
    Save(program, "program_copied");
    program.HideMessages();

    ui::ConditionsWindow& conditions = s.desktop.conditions();
    Find<QAction>(program, pn::kConditionsEntry)->trigger();
    Save(conditions, "conditions");
    auto* precision = Find<QLineEdit>(conditions, cn::kPrecisionBox);
    precision->selectAll();
    QTest::keyClicks(precision, "0.9");
    QTest::keyClicks(Find<QLineEdit>(conditions, cn::kModeBox), "7");
    Click(conditions, cn::kAcceptButton);
    Save(conditions, "conditions_input_errors");
    Click(conditions, cn::kCancelButton);

    ui::ExclusionWindow& exclusion = s.desktop.exclusion();
    Find<QAction>(program, pn::kExclusionEntry)->trigger();
    for (int i = 0; i < 7; ++i) Tick(exclusion, ArrayName(en::kSystemBox, i));
    Click(exclusion, en::kBackButton);
    Save(exclusion, "exclusion_none_left");
    Click(exclusion, en::kHelpButton);
    Save(exclusion, "exclusion_help");
    Click(exclusion, en::kAllButton);
    Click(exclusion, en::kBackButton);

    // A long run: the gauge part way, then stopped.
    workspace.data = PreparedFamily({100, 100, 100, 100});
    program.observer().SetEventInterval(0);
    auto* timer = new QTimer(&program);
    timer->setInterval(0);
    QObject::connect(timer, &QTimer::timeout, [&, timer] {
        if (workspace.results.partitionCounter < workspace.data.progressTotal / 2) return;
        timer->stop();
        s.desktop.gauge().UpdateGauge();
        Save(s.desktop.gauge(), "gauge_half_way");
        Save(program, "program_running");
        Click(s.desktop.gauge(), gn::kStopButton);
    });
    timer->start();
    Click(program, pn::kCalculateButton);
    Save(program, "program_stopped");

    // Back to the keyboard entry (the long family's fourth line gone): page 5
    // typed with page 4 left empty.
    Click(program, pn::kBackButton);
    core::ResetLine(workspace.data, 4);
    keyboard.OpenFrom(&opener);
    QTest::mouseClick(Find<QPlainTextEdit>(keyboard, kn::kInstructions)->viewport(),
                      Qt::LeftButton);
    Find<QPlainTextEdit>(keyboard, ArrayName(kn::kDataBox, 4))->setPlainText("1,2\n2,3\n3,5\n");
    Click(keyboard, kn::kGenerateButton);
    Save(keyboard, "keyboard_message");
}

// The load window in both modes, the DataSet window after a load and the save
// window asking before it replaces a file.
TEST_F(Screenshots, FileWindows) {
    QTemporaryDir dir;
    ASSERT_TRUE(SampleGraph().save(dir.filePath("torque.png")));
    ASSERT_TRUE(SampleGraph().save(dir.filePath("SCAN.BMP")));
    core::DataSet family = PreparedFamily({14, 16, 12});
    for (int line = 1; line <= 3; ++line) family.parameterText[line] = std::to_string(20 * line);
    ASSERT_EQ(
        core::SaveText(dir.filePath("torque.dat").toStdString(), core::AllLinesDataText(family))
            .status,
        core::SaveStatus::kSaved);
    ASSERT_EQ(core::SaveText(dir.filePath("NOTES.TXT").toStdString(), "Meeting notes\r\n").status,
              core::SaveStatus::kSaved);
    QDir(dir.path()).mkdir("archive");

    Session d;
    QTest::qWait(600);  // the window manager frames the start windows first
    d.workspace.files.folderName = QDir::toNativeSeparators(dir.path()).toStdString();
    d.ClickPanel(panel::kPictureFileButton);
    SaveScreen("load_picture_mode");
    ClickFile(d.load(), "torque.png", true);
    SaveScreen("picture_loaded");

    Find<QAction>(d.panel(), panel::kNumericDataEntry)->trigger();
    SaveScreen("load_data_mode");
    ClickFile(d.load(), "torque.dat", true);
    SaveScreen("dataset_after_load");

    d.ClickDataSet(data_set::kSaveAllButton);
    ClickFile(d.save(), "NOTES.TXT");
    SaveScreen("save_not_a_data_file");
    ClickFile(d.save(), "torque.dat");
    Click(d.save(), sn::kSaveButton);
    SaveScreen("save_question");
    Click(d.save(), sn::kRejectButton);
    SaveAs(d.save(), "a.d");
    SaveScreen("save_name_refused");
    Click(d.save(), sn::kCancelButton);

    // Two lines of one parameter are named; a family no form can be rated on
    // is named in the program window's status line.
    d.ClickDataSet(ArrayName(data_set::kLineOption, 1));
    d.Type(d.dataSetControl<QLineEdit>(data_set::kParameterBox), "20");
    d.ClickDataSet(data_set::kGenerateButton);
    SaveScreen("dataset_same_parameter");
    d.dataSet().HideMessages();
    d.Type(d.dataSetControl<QLineEdit>(data_set::kParameterBox), "40");
    d.ClickDataSet(ArrayName(data_set::kLineOption, 0));
    for (int system = 1; system <= 7; ++system) d.workspace.settings.excludedSystem[system] = 1;
    d.ClickDataSet(data_set::kGenerateButton);
    d.program().HideAreaHints();
    Click(d.program(), pn::kCalculateButton);
    Save(d.program(), "program_unrated");
}

}  // namespace
}  // namespace kx::test

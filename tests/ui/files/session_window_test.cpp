// The whole work saved through "作業の保存" and opened again through
// "作業の呼込み": the picture calibrated, the lines, their marks, capture
// ready, the caption naming the session; a damaged session changes nothing.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include "core/files/session.h"
#include "ui/digitizer/canvas.h"
#include "ui_harness.h"

namespace kx::test {
namespace {

TEST(SessionWindows, TheWorkComesBackAsItWasLeft) {
    App();
    QTemporaryDir dir;
    Session d;
    d.workspace.files.folderName = QDir::toNativeSeparators(dir.path()).toStdString();
    const QImage graph = DrawGraph(QSize(800, 600), QPoint(100, 500), 600, 400,
                                   {[](int px) { return 500 - 0.5 * (px - 100); },
                                    [](int px) { return 450 - 0.3 * (px - 100); }});
    d.Calibrate(graph);
    d.ClickPanel(panel::kCaptureButton);
    for (int line = 0; line < 2; ++line) {
        Tick(d.dataSet(), ArrayName(data_set::kLineOption, line));
        for (int px : {150, 300, 450, 600}) {
            d.ClickCanvasPixel(
                QPoint(px, line == 0 ? 500 - (px - 100) / 2 : 450 - 3 * (px - 100) / 10));
        }
    }
    Click(d.dataSet(), data_set::kBackButton);
    const ui::Workspace before = d.workspace;
    const core::CaptureMarks marks = d.panel().captureMarks();
    const QString path = QDir::toNativeSeparators(dir.filePath("work.kxs"));

    Find<QAction>(d.panel(), panel::kSessionSaveEntry)->trigger();
    ASSERT_TRUE(d.save().isVisible());
    SaveAs(d.save(), path);
    ASSERT_FALSE(d.save().isVisible());
    EXPECT_EQ(d.main().windowTitle(), "Kuvatelix <" + path + ">");

    // Other work meanwhile: another picture, the lines reset.
    d.PastePicture(BlankPicture(QSize(300, 200)));
    core::ResetLine(d.workspace.data, 1);

    // A damaged session is refused and the work stays as it is.
    QFile::copy(dir.filePath("work.kxs"), dir.filePath("cut.kxs"));
    QFile cut(dir.filePath("cut.kxs"));
    ASSERT_TRUE(cut.resize(cut.size() / 2));
    Find<QAction>(d.panel(), panel::kSessionLoadEntry)->trigger();
    ASSERT_TRUE(d.load().isVisible());
    EXPECT_EQ(Items(d.load(), fw::kFileList), QStringList({"cut.kxs", "work.kxs"}));
    ASSERT_TRUE(ClickFile(d.load(), "cut.kxs", true));
    EXPECT_TRUE(d.load().isVisible());
    EXPECT_EQ(d.load().messageText(), "ﾌｧｲﾙ内容不正");
    EXPECT_EQ(d.canvas().picture().size(), QSize(300, 200));

    ASSERT_TRUE(ClickFile(d.load(), "work.kxs", true));
    ASSERT_FALSE(d.load().isVisible());
    EXPECT_EQ(d.main().windowTitle(), "Kuvatelix <" + path + ">");
    EXPECT_EQ(d.canvas().picture().size(), graph.size());
    EXPECT_EQ(d.workspace.calibration, before.calibration);
    EXPECT_EQ(d.workspace.pictureBytes, before.pictureBytes);
    for (int line = 1; line <= core::kMaxLines; ++line) {
        EXPECT_EQ(d.workspace.data.pointText[line], before.data.pointText[line]) << line;
        EXPECT_EQ(d.workspace.data.parameterText[line], before.data.parameterText[line]) << line;
        EXPECT_EQ(d.panel().captureMarks().Of(line), marks.Of(line)) << line;
    }

    // Ready to capture: a click on line 1 converts as before the save.
    d.ClickPanel(panel::kCaptureButton);
    ASSERT_TRUE(d.dataSet().isVisible());
    Tick(d.dataSet(), ArrayName(data_set::kLineOption, 0));
    d.ClickCanvasPixel(QPoint(400, 350));
    EXPECT_EQ(d.workspace.data.pointCount[1], 5);
    const auto points = PointsOf(d.workspace.data.pointText[1]);
    ASSERT_EQ(points.size(), 5u);
    EXPECT_NEAR(points.back().first, 30, 0.2);
    EXPECT_NEAR(points.back().second, 15, 0.2);
}

// The program's event loop run until the program ends (its status), or 1
// after ten seconds; `meanwhile` runs inside it.
int RunUntilEnd(const std::function<void()>& meanwhile) {
    QTimer::singleShot(0, meanwhile);
    QTimer safetyNet;
    QObject::connect(&safetyNet, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    safetyNet.start(10000);
    return QCoreApplication::exec();
}

// Closing by a frame with the work unsaved asks first: "ｷｬﾝｾﾙ" keeps the
// program, "作業の保存" saves a session and ends it, "破 棄" ends it; saved,
// or "終了", it ends at once.
TEST(SessionWindows, AFrameCloseAsksBeforeUnsavedWorkGoes) {
    App();
    QTemporaryDir dir;
    Session d;
    d.workspace.files.folderName = QDir::toNativeSeparators(dir.path()).toStdString();
    d.Calibrate(BlankPicture());
    const ui::PanelQuestion& question = d.panel().question();
    auto answer = [&d](int choice) {
        Click(d.panel(), ArrayName(panel::kQuestionButton, choice));
    };

    d.panel().close();
    ASSERT_TRUE(question.asking());
    EXPECT_EQ(question.text(), "作業が保存されていません。");
    EXPECT_FALSE(d.main().isEnabled());
    answer(2);  // "ｷｬﾝｾﾙ"
    EXPECT_TRUE(d.main().isEnabled());
    EXPECT_TRUE(d.panel().isVisible());

    const QString path = QDir::toNativeSeparators(dir.filePath("work.kxs"));
    EXPECT_EQ(RunUntilEnd([&] {
                  d.main().close();
                  answer(0);  // "作業の保存"
                  ASSERT_TRUE(d.save().isVisible());
                  SaveAs(d.save(), path);
              }),
              0);
    const core::SessionRead saved = core::ReadSession(path.toStdString());
    ASSERT_TRUE(saved.outcome.ok()) << saved.outcome.detail;
    EXPECT_EQ(saved.session.calibration, d.workspace.calibration);

    EXPECT_EQ(RunUntilEnd([&] { d.panel().close(); }), 0);  // saved: no question
    EXPECT_FALSE(question.asking());

    d.PastePicture(BlankPicture(QSize(300, 200)));
    EXPECT_EQ(RunUntilEnd([&] {
                  d.main().close();
                  ASSERT_TRUE(question.asking());
                  answer(1);  // "破 棄"
              }),
              0);
    d.PastePicture(BlankPicture(QSize(200, 200)));
    EXPECT_EQ(RunUntilEnd([&] { d.ClickPanel(panel::kEndButton); }), 0);
    EXPECT_FALSE(question.asking());
}

}  // namespace
}  // namespace kx::test

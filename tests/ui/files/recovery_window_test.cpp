// The work recorded as it is made: a run killed with SIGKILL leaves it in its
// recovery file, and the next start offers it; restored, it is the killed
// run's work and becomes the new run's own recovery; declined, it is gone.
#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "core/files/data_file.h"
#include "ui/digitizer/canvas.h"
#include "ui_harness.h"

namespace kx::test {
namespace {

constexpr char kChildFolder[] = "KX_RECOVERY_CHILD_FOLDER";
constexpr char kChildPipe[] = "KX_RECOVERY_CHILD_PIPE";

QStringList RecoveryFiles(const QTemporaryDir& dir) {
    return QDir(dir.path()).entryList({"recovery-*.kxs"}, QDir::Files);
}

// The run that is killed: started by the case below as a program of its own.
// It calibrates a graph, captures three points into line 1 and types their
// parameter, tells the parent its data as a data file would hold it, and
// waits to be killed.
TEST(RecoveryChild, WorksUntilKilled) {
    const char* folder = std::getenv(kChildFolder);
    const char* pipe = std::getenv(kChildPipe);
    if (folder == nullptr || pipe == nullptr) GTEST_SKIP() << "started by the case below";
    Session d(ui::SystemDrives, QString::fromLocal8Bit(folder));
    d.Calibrate(DrawGraph(QSize(800, 600), QPoint(100, 500), 600, 400,
                          {[](int px) { return 500 - 0.5 * (px - 100); }}));
    d.ClickPanel(panel::kCaptureButton);
    Tick(d.dataSet(), ArrayName(data_set::kLineOption, 0));
    for (int px : {200, 350, 500}) d.ClickCanvasPixel(QPoint(px, 500 - (px - 100) / 2));
    d.Type(d.dataSetControl<QLineEdit>(data_set::kParameterBox), "7");
    // The events of the typing (the parameter is taken when its box loses the
    // keyboard), then the check those events asked for, as the event loop
    // runs them.
    for (int pass = 0; pass < 3; ++pass) QCoreApplication::processEvents();
    const std::string told = core::AllLinesDataText(d.workspace.data);
    const int fd = std::atoi(pipe);
    if (::write(fd, told.data(), told.size()) != static_cast<ssize_t>(told.size())) _exit(3);
    ::close(fd);
    for (;;) ::pause();
}

TEST(RecoveryWindows, WorkOfAKilledRunIsOfferedRestoredOrDeclined) {
    App();
    QTemporaryDir dir;
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::close(fds[0]);
        ::setenv(kChildFolder, dir.path().toLocal8Bit().constData(), 1);
        ::setenv(kChildPipe, std::to_string(fds[1]).c_str(), 1);
        ::execl("/proc/self/exe", "kx_recovery_tests", "--gtest_filter=RecoveryChild.*",
                static_cast<char*>(nullptr));
        _exit(127);
    }
    ::close(fds[1]);
    std::string told;
    char buffer[4096];
    for (ssize_t n; (n = ::read(fds[0], buffer, sizeof buffer)) > 0;)
        told.append(buffer, static_cast<std::size_t>(n));
    ::close(fds[0]);
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    ASSERT_EQ(told.rfind("7, 1 , 3", 0), 0u) << told;  // line 1: parameter 7, three points
    ASSERT_EQ(RecoveryFiles(dir).size(), 1);

    {
        Session d(ui::SystemDrives, dir.path());
        const ui::PanelQuestion& question = d.panel().question();
        ASSERT_TRUE(question.asking());
        EXPECT_EQ(question.text(), "前回の作業が残っています。復元しますか？");
        EXPECT_FALSE(d.main().isEnabled()) << "the canvas waits for the answer";
        Click(d.panel(), ArrayName(panel::kQuestionButton, 0));  // "復 元"
        EXPECT_FALSE(question.asking());
        EXPECT_TRUE(d.main().isEnabled());
        // The killed run's last action is there.
        EXPECT_EQ(core::AllLinesDataText(d.workspace.data), told);
        EXPECT_TRUE(d.workspace.calibration.calibrationConfirmed);
        EXPECT_EQ(d.canvas().picture().size(), QSize(800, 600));
        EXPECT_EQ(d.panel().captureMarks().Of(1).size(), 3u);
        // Only this run's own file is left, and it holds the work.
        const QStringList files = RecoveryFiles(dir);
        ASSERT_EQ(files.size(), 1);
        EXPECT_EQ(dir.filePath(files[0]), d.desktop.recorder().recoveryPath());
        const core::SessionRead own = core::ReadRecoverySession(
            QFile::encodeName(d.desktop.recorder().recoveryPath()).toStdString());
        ASSERT_TRUE(own.outcome.ok()) << own.outcome.detail;
        EXPECT_EQ(own.session.lines[1].pointText, d.workspace.data.pointText[1]);
        EXPECT_EQ(own.session.pictureBytes, d.workspace.pictureBytes);
        EXPECT_TRUE(d.desktop.recorder().unsaved());
    }
    // That run ended with its work unsaved, so the next start offers it too;
    // declined, it goes, and the start after that offers nothing.
    {
        Session d(ui::SystemDrives, dir.path());
        ASSERT_TRUE(d.panel().question().asking());
        Click(d.panel(), ArrayName(panel::kQuestionButton, 1));  // "破 棄"
        EXPECT_EQ(d.workspace.data.pointCount[1], 0);
        EXPECT_TRUE(RecoveryFiles(dir).isEmpty());
        EXPECT_FALSE(d.desktop.recorder().unsaved());
    }
    Session d(ui::SystemDrives, dir.path());
    EXPECT_FALSE(d.panel().question().asking());
}

}  // namespace
}  // namespace kx::test

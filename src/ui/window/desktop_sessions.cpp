// The desktop's part of sessions: "作業の保存" writes the whole work through
// the save window, "作業の呼込み" opens a session through the load window, and
// the main window's caption names the session. The work is recorded as it
// changes; a start offers what a run left unsaved, and a close by a frame
// asks before unsaved work goes.
#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include "ui/window/desktop.h"

namespace kx::ui {
namespace {

enum RestoreChoice { kRestore = 0, kDecline = 1 };
enum EndChoice { kSaveAndEnd = 0, kDiscardAndEnd = 1, kStay = 2 };
// The work is no longer kept as it changes; "作業の保存" still saves it.
constexpr char kCannotRecord[] = "作業の記録を書込めません。";

}  // namespace

void Desktop::ConnectSessions() {
    QObject::connect(&panel_, &DigitizerPanel::sessionSaveRequested, &save_, [this] {
        save_.OpenToWrite(core::kSaveSession, &panel_, [this](const std::string& path) {
            const core::SessionOutcome written = core::WriteSession(path, SessionOfWork());
            core::SaveOutcome outcome;
            if (!written.ok()) {
                outcome.status = core::SaveStatus::kCannotWrite;
                outcome.file = written.file;
            }
            return outcome;
        });
    });
    QObject::connect(&save_, &SaveWindow::saved, &main_, [this](const QString& fileName) {
        if (save_.saveKind() != core::kSaveSession) return;
        NameSession(fileName);
        recorder_.TakeAsSaved();
        if (endAfterSave_) QCoreApplication::exit(0);
    });
    QObject::connect(&save_, &ChildWindow::returned, &main_, [this] { endAfterSave_ = false; });
    QObject::connect(&panel_, &DigitizerPanel::endByFrameRequested, &main_,
                     [this] { EndByFrame(); });
    QObject::connect(&main_, &MainWindow::endByFrameRequested, &panel_, [this] { EndByFrame(); });
    // A trace's points land when the worker is done, after the press that
    // started it was recorded: they are recorded when they land.
    QObject::connect(&panel_, &DigitizerPanel::pointCaptured, &recorder_,
                     &WorkRecorder::RecordChange, Qt::QueuedConnection);
    QObject::connect(&recorder_, &WorkRecorder::recordingFailed, &panel_,
                     [this] { panel_.ShowMessageText(QString::fromUtf8(kCannotRecord)); });
    load_.SetSessionOpener([this](const QString& fileName, const core::Session& session) {
        return OpenSession(fileName, session);
    });
}

core::Session Desktop::SessionOfWork(bool withPicture) const {
    core::Session session;
    session.pictureName = workspace_.pictureName;
    if (withPicture) session.pictureBytes = workspace_.pictureBytes;
    session.calibration = workspace_.calibration;
    core::PutLinesInSession(session, workspace_.data, panel_.captureMarks());
    panel_.PutTracedInSession(session);
    session.settings = workspace_.settings;
    const core::PlotSettings plot = plot_.CurrentSettings();
    session.plot = {plot.xMinText, plot.xMaxText, plot.logX, plot.logY, plot_.CurrentLabels()};
    return session;
}

QString Desktop::OpenSession(const QString& fileName, const core::Session& session) {
    const QString fault = panel_.OpenSession(session, QString());
    if (!fault.isEmpty()) return fault;
    TakeSession(session);
    NameSession(fileName);
    // What is shown is a saved session: nothing of it needs recovering.
    recorder_.TakeAsSaved();
    return {};
}

void Desktop::TakeSession(const core::Session& session) {
    ++workspace_.pictureGeneration;
    plot_.RestoreSettings(
        {session.plot.xMinText, session.plot.xMaxText, session.plot.logX, session.plot.logY},
        session.plot.labels);
    // The results were of the work before.
    workspace_.fitCurrent = false;
    dataSet_.RefreshPointBoxesFromData();
    panel_.FollowPictureData();
}

void Desktop::OfferLeftWork() {
    if (recorder_.cannotRecord()) panel_.ShowMessageText(QString::fromUtf8(kCannotRecord));
    const QString path = recorder_.ClaimLeftRecovery();
    if (path.isEmpty()) return;
    const core::SessionRead read =
        core::ReadRecoverySession(QFile::encodeName(path).toStdString());
    if (!read.outcome.ok()) {
        // A file this program cannot read (cut short, or of a later program)
        // is left as it is: nothing is destroyed unasked.
        recorder_.LetGoLeftRecovery(false);
        return;
    }
    panel_.Ask(
        QStringLiteral("前回の作業が残っています。復元しますか？"),
        {QStringLiteral("復 元"), QStringLiteral("破 棄")}, [this, read](int choice) {
            recorder_.LetGoLeftRecovery(choice == kDecline || RestoreLeftWork(read.session));
        });
}

bool Desktop::RestoreLeftWork(const core::Session& session) {
    const QString fault = panel_.OpenSession(session, QString());
    if (!fault.isEmpty()) {
        // Its picture cannot be shown: the file stays for another try.
        panel_.ShowMessageText(fault);
        return false;
    }
    TakeSession(session);
    const QString name = QString::fromStdString(session.pictureName);
    main_.setWindowTitle(name.isEmpty()
                             ? QStringLiteral("Kuvatelix")
                             : QStringLiteral("Kuvatelix <") + name + QStringLiteral(">"));
    // In this run's own recovery before the left one goes; kept where this
    // run can keep none.
    recorder_.RecordChange();
    return !recorder_.recoveryPath().isEmpty() && recorder_.lastRecord().ok();
}

void Desktop::EndByFrame() {
    if (panel_.question().asking()) return;  // it waits for its answer
    if (!recorder_.unsaved()) {
        QCoreApplication::exit(0);
        return;
    }
    panel_.Ask(QStringLiteral("作業が保存されていません。"),
               {QStringLiteral("作業の保存"), QStringLiteral("破 棄"), QStringLiteral("ｷｬﾝｾﾙ")},
               [this](int choice) {
                   if (choice == kSaveAndEnd) {
                       endAfterSave_ = true;
                       emit panel_.sessionSaveRequested();
                   } else if (choice == kDiscardAndEnd) {
                       recorder_.TakeAsSaved();  // given up: its recovery goes too
                       QCoreApplication::exit(0);
                   }
               });
}

void Desktop::NameSession(const QString& fileName) {
    main_.setWindowTitle(QStringLiteral("Kuvatelix <") +
                         QDir::toNativeSeparators(fileName).trimmed() + QStringLiteral(">"));
}

}  // namespace kx::ui

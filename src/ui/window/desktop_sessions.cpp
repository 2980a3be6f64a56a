// The desktop's part of sessions: "作業の保存" writes the whole work through
// the save window, "作業の呼込み" opens a session through the load window, and
// the main window's caption names the session.
#include <QDir>

#include "ui/window/desktop.h"

namespace kx::ui {

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
        if (save_.saveKind() == core::kSaveSession) NameSession(fileName);
    });
    load_.SetSessionOpener([this](const QString& fileName, const core::Session& session) {
        return OpenSession(fileName, session);
    });
}

core::Session Desktop::SessionOfWork() const {
    core::Session session;
    session.pictureName = workspace_.pictureName;
    session.pictureBytes = workspace_.pictureBytes;
    session.calibration = workspace_.calibration;
    core::PutLinesInSession(session, workspace_.data, panel_.captureMarks());
    panel_.PutTracedInSession(session);
    session.settings = workspace_.settings;
    const core::PlotSettings& plot = plot_.shownSettings();
    session.plot = {plot.xMinText, plot.xMaxText, plot.logX, plot.logY, plot_.labelsShown()};
    return session;
}

QString Desktop::OpenSession(const QString& fileName, const core::Session& session) {
    const QString fault = panel_.OpenSession(session, QString());
    if (!fault.isEmpty()) return fault;
    NameSession(fileName);
    // The results were of the work before.
    workspace_.fitCurrent = false;
    dataSet_.RefreshPointBoxesFromData();
    panel_.FollowPictureData();
    return {};
}

void Desktop::NameSession(const QString& fileName) {
    main_.setWindowTitle(QStringLiteral("Kuvatelix <") +
                         QDir::toNativeSeparators(fileName).trimmed() + QStringLiteral(">"));
}

}  // namespace kx::ui

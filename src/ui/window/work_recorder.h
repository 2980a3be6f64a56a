#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>

#include "core/files/recovery_session.h"

namespace kx::ui {

// Watches the work for changes. After every action of the user (a press, a
// release, a key, a pointer over a control that confirms by itself) the work
// is compared with the state recorded last, and a change goes into this run's
// recovery session as one transaction: a crash or a kill loses at most the
// last action. It also tells whether the work differs from the one saved or
// opened last, which the close questions ask.
//
// Every run records into a file of its own, named by its process and its
// start, and holds a lock file beside it while it runs. A recovery file whose
// lock nobody holds was left by a run that ended without saving its work; the
// next start claims it (taking its lock) and offers it. Two programs running
// at once never touch each other's files.
class WorkRecorder : public QObject {
    Q_OBJECT
public:
    // The work as a session; the picture's bytes only `withPicture`.
    using WorkSource = std::function<core::Session(bool withPicture)>;

    // `folder` empty: nothing is written, changes are only noted.
    WorkRecorder(WorkSource work, const int& pictureGeneration, const QString& folder);
    ~WorkRecorder() override;
    WorkRecorder(const WorkRecorder&) = delete;
    WorkRecorder& operator=(const WorkRecorder&) = delete;

    // Watching starts with the work as it stands, taken as the saved one.
    void Start();
    // The work as it stands was saved or opened from a session, or given up:
    // this run's recovery file goes until the next change.
    void TakeAsSaved();
    // The work differs from the one saved, opened or started with.
    bool unsaved();
    // This run's recovery file (none while nothing was recorded or when
    // recording is off).
    const QString& recoveryPath() const { return path_; }
    // A folder was given but no recovery file can be kept there.
    bool cannotRecord() const { return !folder_.isEmpty() && path_.isEmpty(); }
    // The outcome of the last record (a disk that refuses it, for example).
    const core::SessionOutcome& lastRecord() const { return lastRecord_; }

    // The newest recovery file left by a run that has ended, claimed by this
    // run (its lock held) until it is let go; empty when there is none.
    QString ClaimLeftRecovery();
    // The claimed file is removed (restored into this run's work, or
    // declined), or kept for a later start (`remove` false).
    void LetGoLeftRecovery(bool remove);

public slots:
    // Records the work when it has changed since the last record; the check
    // after every action, also called directly by the tests.
    void RecordChange();

signals:
    // A record failed after the last one that succeeded (a full disk, a
    // folder taken away): the work is no longer kept as it changes.
    void recordingFailed(const QString& detail);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    core::Session Snapshot() const { return work_(false); }

    WorkSource work_;
    const int& pictureGeneration_;
    QString folder_;
    QString path_;
    std::unique_ptr<QLockFile> lock_;
    std::unique_ptr<core::RecoverySession> recovery_;
    QTimer check_;
    std::optional<core::Session> saved_;     // without the picture's bytes
    std::optional<core::Session> recorded_;  // likewise
    int savedPicture_ = 0;                   // the picture generation of each
    int recordedPicture_ = 0;
    bool fileStarted_ = false;  // the recovery file holds a record of this run
    int writtenPicture_ = 0;    // the picture generation whose bytes it holds
    core::SessionOutcome lastRecord_;
    QString leftPath_;
    std::unique_ptr<QLockFile> leftLock_;
};

// Where the recovery files of the desktop program are kept: the user's data
// folder of the program; empty when the system names none.
QString RecoveryFolder();

}  // namespace kx::ui

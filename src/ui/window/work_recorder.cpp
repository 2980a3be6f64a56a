#include "ui/window/work_recorder.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QStandardPaths>

namespace kx::ui {
namespace {

constexpr char kRecoveryPattern[] = "recovery-*.kxs";
constexpr char kLockSuffix[] = ".lock";

// A lock that counts as left only when its owner has ended, never by its age:
// a program may run for days.
std::unique_ptr<QLockFile> TakeLock(const QString& path) {
    auto lock = std::make_unique<QLockFile>(path + kLockSuffix);
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0)) return nullptr;
    return lock;
}

void RemoveRecoveryFiles(const QString& path) {
    for (const char* suffix : {"", "-wal", "-shm", "-journal"}) QFile::remove(path + suffix);
}

bool IsActionEvent(QEvent::Type type) {
    switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:  // the confirmation by a pointer over its button
        case QEvent::Enter:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::InputMethod:
        case QEvent::FocusOut:  // a value box taken when it is left
        case QEvent::Drop:
        case QEvent::Wheel:
        case QEvent::Close: return true;
        default: return false;
    }
}

}  // namespace

QString RecoveryFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

WorkRecorder::WorkRecorder(WorkSource work, const int& pictureGeneration, const QString& folder)
    : work_(std::move(work)), pictureGeneration_(pictureGeneration), folder_(folder) {
    check_.setObjectName("RecoveryCheck");
    check_.setSingleShot(true);
    check_.setInterval(0);
    connect(&check_, &QTimer::timeout, this, &WorkRecorder::RecordChange);
    if (folder_.isEmpty() || !QDir().mkpath(folder_)) return;
    const QString name = QStringLiteral("recovery-%1-%2.kxs")
                             .arg(QCoreApplication::applicationPid())
                             .arg(QDateTime::currentMSecsSinceEpoch());
    const QString path = QDir(folder_).filePath(name);
    lock_ = TakeLock(path);
    if (lock_ == nullptr) return;
    path_ = path;
    recovery_ = std::make_unique<core::RecoverySession>(QFile::encodeName(path_).toStdString());
}

WorkRecorder::~WorkRecorder() {
    if (QCoreApplication::instance() != nullptr)
        QCoreApplication::instance()->removeEventFilter(this);
    // The file stays for the next start unless the work was saved; the lock
    // goes with this run.
    recovery_.reset();
}

void WorkRecorder::Start() {
    saved_ = recorded_ = Snapshot();
    savedPicture_ = recordedPicture_ = pictureGeneration_;
    QCoreApplication::instance()->installEventFilter(this);
}

void WorkRecorder::TakeAsSaved() {
    saved_ = recorded_ = Snapshot();
    savedPicture_ = recordedPicture_ = pictureGeneration_;
    if (recovery_) recovery_->Remove();
    fileStarted_ = false;
}

bool WorkRecorder::unsaved() {
    return saved_ && (pictureGeneration_ != savedPicture_ || Snapshot() != *saved_);
}

void WorkRecorder::RecordChange() {
    if (!saved_) return;  // not started
    core::Session now = Snapshot();
    const int picture = pictureGeneration_;
    if (recorded_ && picture == recordedPicture_ && now == *recorded_) return;
    recorded_ = now;
    recordedPicture_ = picture;
    if (!recovery_) return;
    // A file started afresh holds the picture from its first record on.
    const bool pictureChanged = !fileStarted_ || picture != writtenPicture_;
    const bool wasRecording = lastRecord_.ok();
    lastRecord_ = recovery_->Record(pictureChanged ? work_(true) : std::move(now), pictureChanged);
    fileStarted_ = lastRecord_.ok();
    if (wasRecording && !fileStarted_)
        emit recordingFailed(QString::fromStdString(lastRecord_.detail));
    if (fileStarted_) {
        writtenPicture_ = picture;
    } else {
        recorded_.reset();  // the next action tries again
    }
}

bool WorkRecorder::eventFilter(QObject* watched, QEvent* event) {
    // Checked once the action's own handlers have run.
    if (IsActionEvent(event->type()) && !check_.isActive()) check_.start();
    return QObject::eventFilter(watched, event);
}

QString WorkRecorder::ClaimLeftRecovery() {
    LetGoLeftRecovery(false);
    if (folder_.isEmpty()) return {};
    const QFileInfoList files =
        QDir(folder_).entryInfoList({kRecoveryPattern}, QDir::Files, QDir::Time);
    for (const QFileInfo& file : files) {  // the newest first
        const QString path = file.absoluteFilePath();
        if (path == QFileInfo(path_).absoluteFilePath()) continue;
        if (auto lock = TakeLock(path)) {
            leftPath_ = path;
            leftLock_ = std::move(lock);
            return leftPath_;
        }
    }
    return {};
}

void WorkRecorder::LetGoLeftRecovery(bool remove) {
    if (leftLock_ == nullptr) return;
    if (remove) RemoveRecoveryFiles(leftPath_);
    leftLock_.reset();  // the lock file goes with it
    leftPath_.clear();
}

}  // namespace kx::ui

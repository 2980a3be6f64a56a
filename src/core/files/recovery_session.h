#pragma once

#include <sqlite3.h>

#include <string>

#include "core/files/session.h"

// The recovery session: the work as it stands, recorded after every change of
// the data set, the calibration or the settings, each change as a transaction
// of its own, so that a crash or a kill loses at most the last action. It is a
// session file like any other, kept open in write-ahead mode so that a record
// costs a few small writes; the picture is written only when it changes.
namespace kx::core {

class RecoverySession {
public:
    explicit RecoverySession(std::string path) : path_(std::move(path)) {}
    ~RecoverySession() { Close(); }
    RecoverySession(const RecoverySession&) = delete;
    RecoverySession& operator=(const RecoverySession&) = delete;

    const std::string& path() const { return path_; }

    // Records the state in one transaction. The first record of a run starts
    // the file afresh (its folders made); the picture's bytes are written then
    // and whenever `pictureChanged`.
    SessionOutcome Record(const Session& session, bool pictureChanged);
    // The work was saved or the user gave it up: the file goes, and the next
    // record starts it again.
    void Remove();

private:
    SessionOutcome Open();
    void Close();

    std::string path_;
    sqlite3* db_ = nullptr;
};

// Reads a recovery session left by an earlier run, with every action it had
// recorded; the session file's read and checks otherwise.
SessionRead ReadRecoverySession(const std::string& path);

}  // namespace kx::core

#include "core/files/recovery_session.h"

#include <filesystem>

#include "core/files/atomic_file.h"
#include "core/files/session_tables.h"

namespace kx::core {
namespace {

namespace tables = session_tables;

void RemoveFiles(const std::string& path) {
    std::error_code ignored;
    for (const char* suffix : {"", "-wal", "-shm", "-journal"}) {
        std::filesystem::remove(path + suffix, ignored);
    }
}

SessionOutcome Failed(std::string detail) {
    return SessionFailure(SessionStatus::kCannotWrite, std::move(detail));
}

}  // namespace

SessionOutcome RecoverySession::Open() {
    RemoveFiles(path_);
    std::error_code made;
    const std::filesystem::path folder = std::filesystem::path(path_).parent_path();
    if (!folder.empty()) std::filesystem::create_directories(folder, made);
    if (sqlite3_open_v2(path_.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                        nullptr) != SQLITE_OK) {
        std::string detail = sqlite3_errmsg(db_);
        Close();
        return Failed(std::move(detail));
    }
    // A commit reaches the operating system at once; a crash or kill of the
    // program loses nothing committed. Only a failing machine could.
    std::string detail;
    if (!tables::Exec(db_, "PRAGMA journal_mode = WAL; PRAGMA synchronous = NORMAL;", detail) ||
        !tables::CreateSchema(db_, detail)) {
        Close();
        return Failed(std::move(detail));
    }
    return {};
}

SessionOutcome RecoverySession::Record(const Session& session, bool pictureChanged) {
    if (db_ == nullptr) {
        if (SessionOutcome opened = Open(); !opened.ok()) return opened;
        pictureChanged = true;
    }
    std::string detail;
    const tables::PictureWrite picture =
        pictureChanged ? tables::PictureWrite::kReplace : tables::PictureWrite::kKeep;
    if (!tables::Exec(db_, "BEGIN", detail)) return Failed(std::move(detail));
    if (!tables::WriteTables(db_, session, picture, detail) ||
        !tables::Exec(db_, "COMMIT", detail)) {
        std::string ignored;
        tables::Exec(db_, "ROLLBACK", ignored);
        return Failed(std::move(detail));
    }
    return {};
}

void RecoverySession::Close() {
    sqlite3_close(db_);
    db_ = nullptr;
}

void RecoverySession::Remove() {
    Close();
    RemoveFiles(path_);
}

SessionRead ReadRecoverySession(const std::string& path) {
    SessionRead read;
    const FileRead head = ReadFileHead(path, 100);
    if (head.outcome.status != FileStatus::kOk) {
        read.outcome = {SessionStatus::kCannotOpen, head.outcome, {}};
        return read;
    }
    // What names it a session may still stand in the log beside it; the
    // tables' reader checks that. A file that is no database is not opened.
    if (!head.bytes.empty() && head.bytes.rfind("SQLite format 3", 0) != 0) {
        read.outcome = SessionFailure(SessionStatus::kNotASession, "no session header");
        return read;
    }
    // Opened for writing, so that the actions still in its log are taken in.
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        read.outcome = SessionFailure(SessionStatus::kDamaged, sqlite3_errmsg(db));
    } else {
        read.outcome = tables::ReadTables(db, read.session);
    }
    sqlite3_close(db);
    return read;
}

}  // namespace kx::core

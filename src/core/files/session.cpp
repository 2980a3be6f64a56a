#include "core/files/session.h"

#include <sqlite3.h>

#include <cerrno>
#include <cstring>
#include <memory>

#include "core/files/atomic_file.h"
#include "core/files/session_tables.h"

namespace kx::core {
namespace {

namespace tables = session_tables;

constexpr std::string_view kHeaderMagic{"SQLite format 3\0", 16};
constexpr std::size_t kHeaderSize = 100;

struct CloseDatabase {
    void operator()(sqlite3* db) const { sqlite3_close(db); }
};
using Database = std::unique_ptr<sqlite3, CloseDatabase>;

Database OpenInMemory() {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(":memory:", &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
        SQLITE_OK) {
        sqlite3_close(db);
        return nullptr;
    }
    return Database(db);
}

uint32_t BigEndian(std::string_view bytes, std::size_t at, std::size_t width) {
    uint32_t value = 0;
    for (std::size_t i = 0; i < width; ++i) {
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    }
    return value;
}

// The size the header gives the database: page size times page count.
uint64_t HeaderDatabaseSize(std::string_view bytes) {
    const uint32_t pageSize = BigEndian(bytes, 16, 2);
    return uint64_t{pageSize == 1 ? 65536u : pageSize} * BigEndian(bytes, 28, 4);
}

SessionRead Refused(SessionStatus status, std::string detail) {
    SessionRead read;
    read.outcome = SessionFailure(status, std::move(detail));
    return read;
}

// The database of the bytes, read-only in memory; none when the library
// refuses them.
Database Deserialized(std::string_view bytes, std::string& detail) {
    Database db = OpenInMemory();
    auto* copy = static_cast<unsigned char*>(sqlite3_malloc64(bytes.size()));
    if (db == nullptr || copy == nullptr) {
        sqlite3_free(copy);
        detail = "out of memory";
        return nullptr;
    }
    std::memcpy(copy, bytes.data(), bytes.size());
    // A recovery session copied while it was open is in write-ahead mode,
    // which a database in memory cannot be; its main file reads alike.
    copy[18] = copy[19] = 1;
    if (sqlite3_deserialize(db.get(), "main", copy, static_cast<sqlite3_int64>(bytes.size()),
                            static_cast<sqlite3_int64>(bytes.size()),
                            SQLITE_DESERIALIZE_FREEONCLOSE | SQLITE_DESERIALIZE_READONLY) !=
        SQLITE_OK) {
        detail = sqlite3_errmsg(db.get());
        return nullptr;
    }
    return db;
}

bool PassesQuickCheck(sqlite3* db, std::string& detail) {
    sqlite3_stmt* stmt = nullptr;
    bool ok = sqlite3_prepare_v2(db, "PRAGMA quick_check", -1, &stmt, nullptr) == SQLITE_OK &&
              sqlite3_step(stmt) == SQLITE_ROW;
    if (ok) {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
        ok = text != nullptr && std::strcmp(text, "ok") == 0;
        detail = text != nullptr ? text : "";
    } else {
        detail = sqlite3_errmsg(db);
    }
    sqlite3_finalize(stmt);
    return ok;
}

}  // namespace

bool LooksLikeSession(std::string_view head) {
    return head.size() >= kHeaderSize && head.substr(0, kHeaderMagic.size()) == kHeaderMagic &&
           BigEndian(head, 68, 4) == static_cast<uint32_t>(tables::kApplicationId);
}

std::string SessionBytes(const Session& session) {
    Database db = OpenInMemory();
    if (db == nullptr) return {};
    std::string detail;
    if (!tables::CreateSchema(db.get(), detail) || !tables::Exec(db.get(), "BEGIN", detail) ||
        !tables::WriteTables(db.get(), session, tables::PictureWrite::kReplace, detail) ||
        !tables::Exec(db.get(), "COMMIT", detail)) {
        return {};
    }
    sqlite3_int64 size = 0;
    unsigned char* bytes = sqlite3_serialize(db.get(), "main", &size, 0);
    if (bytes == nullptr) return {};
    std::string file(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(size));
    sqlite3_free(bytes);
    return file;
}

FileToWrite SessionFile(const std::string& path, const Session& session, std::string& detail) {
    // The database is built in the staged file itself: no copy of a large
    // picture in memory. The rename makes it whole at once, so the file needs
    // no journal of its own, and the writer syncs it before the rename.
    return {path, {}, [&session, &detail](int, const std::string& temporary) {
                sqlite3* opened = nullptr;
                const int status =
                    sqlite3_open_v2(temporary.c_str(), &opened, SQLITE_OPEN_READWRITE, nullptr);
                const Database db(opened);
                if (status != SQLITE_OK) {
                    detail = opened != nullptr ? sqlite3_errmsg(opened) : "out of memory";
                    return EIO;
                }
                const bool made =
                    tables::Exec(db.get(), "PRAGMA journal_mode = OFF; PRAGMA synchronous = OFF;",
                                 detail) &&
                    tables::CreateSchema(db.get(), detail) &&
                    tables::Exec(db.get(), "BEGIN", detail) &&
                    tables::WriteTables(db.get(), session, tables::PictureWrite::kReplace,
                                        detail) &&
                    tables::Exec(db.get(), "COMMIT", detail);
                return made ? 0 : EIO;
            }};
}

SessionOutcome WriteSession(const std::string& path, const Session& session) {
    std::string detail;
    const FileOutcome written = WriteFilesAtomically({SessionFile(path, session, detail)}).outcome;
    if (written.status != FileStatus::kOk) return {SessionStatus::kCannotWrite, written, detail};
    return {};
}

SessionRead ParseSession(std::string_view bytes) {
    if (!LooksLikeSession(bytes)) return Refused(SessionStatus::kNotASession, "no session header");
    if (bytes.size() < HeaderDatabaseSize(bytes)) {
        return Refused(SessionStatus::kDamaged,
                       "cut short: " + std::to_string(bytes.size()) + " of " +
                           std::to_string(HeaderDatabaseSize(bytes)) + " bytes");
    }
    std::string detail;
    const Database db = Deserialized(bytes, detail);
    if (db == nullptr || !PassesQuickCheck(db.get(), detail)) {
        return Refused(SessionStatus::kDamaged, detail);
    }
    SessionRead read;
    read.outcome = tables::ReadTables(db.get(), read.session);
    if (!read.outcome.ok()) read.session = Session{};
    return read;
}

SessionRead ReadSession(const std::string& path) {
    const FileRead file = ReadWholeFile(path, kMaxSessionBytes);
    if (file.outcome.status != FileStatus::kOk) {
        SessionRead read;
        read.outcome = {SessionStatus::kCannotOpen, file.outcome, {}};
        return read;
    }
    return ParseSession(file.bytes);
}

void PutLinesInSession(Session& session, const DataSet& data, const CaptureMarks& marks) {
    for (int line = 1; line <= kMaxLines; ++line) {
        const auto i = static_cast<std::size_t>(line);
        session.lines[i] = {data.parameterText[i], data.pointText[i], data.pointCount[i],
                            marks.Of(line)};
    }
}

void TakeLinesFromSession(DataSet& data, CaptureMarks& marks, const Session& session) {
    marks.Clear();
    for (int line = 1; line <= kMaxLines; ++line) {
        const auto i = static_cast<std::size_t>(line);
        ResetLine(data, line);
        const SessionLine& l = session.lines[i];
        data.parameterText[i] = l.parameterText;
        data.pointText[i] = l.pointText;
        data.pointCount[i] = l.pointCount;
        marks.Replace(line, l.marks);
    }
}

}  // namespace kx::core

#pragma once

#include <sqlite3.h>

#include <string>

#include "core/files/session.h"

// The tables of a session in an open database, shared by the session file
// and the recovery session. Within the files module only.
namespace kx::core::session_tables {

// "KXS1" read as a big-endian number: the database header says whose file it is.
inline constexpr int kApplicationId = 0x4B585331;

// Marks the database as a session of the current schema and makes its tables
// where they are missing.
bool CreateSchema(sqlite3* db, std::string& detail);

// What a recorded state replaces: the picture only when it changed.
enum class PictureWrite { kKeep, kReplace };

// Replaces the tables' rows by the session's; the caller holds the transaction.
bool WriteTables(sqlite3* db, const Session& session, PictureWrite picture, std::string& detail);

// The session the tables hold, checked against what a session may hold.
SessionOutcome ReadTables(sqlite3* db, Session& session);

// Runs statements without results; false with the database's message.
bool Exec(sqlite3* db, const char* sql, std::string& detail);

}  // namespace kx::core::session_tables

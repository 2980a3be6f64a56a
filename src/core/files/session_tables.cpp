#include "core/files/session_tables.h"

#include <cmath>
#include <iterator>
#include <limits>
#include <string_view>

#ifndef KX_PROGRAM_VERSION
#define KX_PROGRAM_VERSION "unknown"
#endif

namespace kx::core::session_tables {
namespace {

class Statement {
public:
    Statement(sqlite3* db, std::string_view sql) : db_(db) {
        ok_ = sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &stmt_, nullptr) ==
              SQLITE_OK;
    }
    ~Statement() { sqlite3_finalize(stmt_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    bool ok() const { return ok_; }
    void Bind(int index, double value) { Check(sqlite3_bind_double(stmt_, index, value)); }
    void Bind(int index, int value) { Check(sqlite3_bind_int(stmt_, index, value)); }
    void Bind(int index, std::string_view text) {
        Check(sqlite3_bind_text64(stmt_, index, text.data(), text.size(), SQLITE_TRANSIENT,
                                  SQLITE_UTF8));
    }
    // The picture's bytes are not copied: they must outlive the statement's run.
    void BindBlob(int index, std::string_view bytes) {
        Check(sqlite3_bind_blob64(stmt_, index, bytes.data(), bytes.size(), SQLITE_STATIC));
    }
    // One step of a statement without results, made ready for the next binding.
    bool Run() {
        const bool done = ok_ && sqlite3_step(stmt_) == SQLITE_DONE;
        sqlite3_reset(stmt_);
        ok_ = ok_ && done;
        return done;
    }
    bool Next() { return ok_ && sqlite3_step(stmt_) == SQLITE_ROW; }
    int Int(int column) const { return sqlite3_column_int(stmt_, column); }
    double Real(int column) const { return sqlite3_column_double(stmt_, column); }
    std::string Text(int column) const {
        const void* bytes = sqlite3_column_blob(stmt_, column);
        const int size = sqlite3_column_bytes(stmt_, column);
        return bytes == nullptr
                   ? std::string()
                   : std::string(static_cast<const char*>(bytes), static_cast<std::size_t>(size));
    }
    std::string Error() const { return sqlite3_errmsg(db_); }

private:
    void Check(int result) { ok_ = ok_ && result == SQLITE_OK; }

    sqlite3* db_;
    sqlite3_stmt* stmt_ = nullptr;
    bool ok_ = false;
};

// The calibration's fields, one column each.
struct FloatField {
    const char* column;
    float AxisCalibration::*member;
};
constexpr FloatField kCalibrationFloats[] = {
    {"xmin", &AxisCalibration::Xmin},         {"xmax", &AxisCalibration::Xmax},
    {"ymin", &AxisCalibration::Ymin},         {"ymax", &AxisCalibration::Ymax},
    {"xmid", &AxisCalibration::Xmid},         {"ymid", &AxisCalibration::Ymid},
    {"x1min", &AxisCalibration::X1MIN},       {"x1max", &AxisCalibration::X1MAX},
    {"y1min", &AxisCalibration::Y1MIN},       {"y1max", &AxisCalibration::Y1MAX},
    {"x_mid_pos", &AxisCalibration::xMidPos}, {"y_mid_pos", &AxisCalibration::yMidPos},
};
struct BoolField {
    const char* column;
    bool AxisCalibration::*member;
};
constexpr BoolField kCalibrationFlags[] = {
    {"origin_x_set", &AxisCalibration::originXSet},
    {"x_max_set", &AxisCalibration::xMaxSet},
    {"origin_y_set", &AxisCalibration::originYSet},
    {"y_max_set", &AxisCalibration::yMaxSet},
    {"log_x", &AxisCalibration::logX},
    {"log_y", &AxisCalibration::logY},
    {"x_mid_armed", &AxisCalibration::xMidArmed},
    {"y_mid_armed", &AxisCalibration::yMidArmed},
    {"x_mid_active", &AxisCalibration::xMidActive},
    {"y_mid_active", &AxisCalibration::yMidActive},
    {"exponent_display", &AxisCalibration::exponentDisplay},
    {"confirmed", &AxisCalibration::calibrationConfirmed},
    {"invalid", &AxisCalibration::calibrationInvalid},
};
constexpr int kCalibrationColumns =
    static_cast<int>(std::size(kCalibrationFloats) + std::size(kCalibrationFlags));

std::string CalibrationColumns(const char* floatType, const char* flagType) {
    std::string columns;
    auto add = [&columns](const char* name, const char* type) {
        columns += (columns.empty() ? "" : ", ") + std::string(name) + type;
    };
    for (const FloatField& f : kCalibrationFloats) add(f.column, floatType);
    for (const BoolField& f : kCalibrationFlags) add(f.column, flagType);
    return columns;
}

constexpr const char* kTables = R"(
CREATE TABLE IF NOT EXISTS meta(name TEXT PRIMARY KEY, value TEXT NOT NULL);
CREATE TABLE IF NOT EXISTS picture(name TEXT NOT NULL, bytes BLOB NOT NULL);
CREATE TABLE IF NOT EXISTS lines(line INTEGER PRIMARY KEY, parameter_text TEXT NOT NULL,
    point_text TEXT NOT NULL, point_count INTEGER NOT NULL);
CREATE TABLE IF NOT EXISTS marks(line INTEGER NOT NULL, point INTEGER NOT NULL,
    record TEXT NOT NULL, captured INTEGER NOT NULL, x REAL NOT NULL, y REAL NOT NULL,
    PRIMARY KEY(line, point));
CREATE TABLE IF NOT EXISTS traced_lines(traced INTEGER PRIMARY KEY, line INTEGER NOT NULL,
    seed_x REAL NOT NULL, seed_y REAL NOT NULL, point_count INTEGER NOT NULL,
    tolerance REAL NOT NULL);
CREATE TABLE IF NOT EXISTS traced_points(traced INTEGER NOT NULL, point INTEGER NOT NULL,
    x REAL NOT NULL, y REAL NOT NULL, PRIMARY KEY(traced, point));
CREATE TABLE IF NOT EXISTS calc_settings(error_mode INTEGER NOT NULL,
    cutoff_precision REAL NOT NULL, excluded_systems TEXT NOT NULL,
    min_section_points INTEGER NOT NULL);
CREATE TABLE IF NOT EXISTS plot_settings(x_min_text TEXT NOT NULL, x_max_text TEXT NOT NULL,
    log_x INTEGER NOT NULL, log_y INTEGER NOT NULL, labels INTEGER NOT NULL);
)";

bool Fail(sqlite3* db, std::string& detail) {
    detail = sqlite3_errmsg(db);
    return false;
}

// ---- writing ----------------------------------------------------------------

// The program that writes the file names itself, whatever wrote what it read.
bool WriteMeta(sqlite3* db) {
    Statement insert(db, "INSERT INTO meta(name, value) VALUES (?1, ?2)");
    insert.Bind(1, std::string_view("program_version"));
    insert.Bind(2, std::string_view(KX_PROGRAM_VERSION));
    return insert.Run();
}

bool WritePicture(sqlite3* db, const Session& session) {
    Statement insert(db, "INSERT INTO picture(name, bytes) VALUES (?1, ?2)");
    insert.Bind(1, session.pictureName);
    insert.BindBlob(2, session.pictureBytes);
    return insert.Run();
}

bool WriteCalibration(sqlite3* db, const AxisCalibration& cal) {
    std::string places;
    for (int i = 1; i <= kCalibrationColumns; ++i) places += (i > 1 ? ", ?" : "?");
    Statement insert(
        db, "INSERT INTO calibration(" + CalibrationColumns("", "") + ") VALUES (" + places + ")");
    int index = 0;
    for (const FloatField& f : kCalibrationFloats) insert.Bind(++index, double{cal.*f.member});
    for (const BoolField& f : kCalibrationFlags) insert.Bind(++index, cal.*f.member ? 1 : 0);
    return insert.Run();
}

bool WriteMarks(sqlite3* db, int line, const LineMarks& marks) {
    Statement insert(
        db, "INSERT INTO marks(line, point, record, captured, x, y) VALUES (?1,?2,?3,?4,?5,?6)");
    for (std::size_t point = 0; point < marks.size(); ++point) {
        const MarkedPoint& mark = marks[point];
        insert.Bind(1, line);
        insert.Bind(2, static_cast<int>(point));
        insert.Bind(3, mark.record);
        insert.Bind(4, mark.captured ? 1 : 0);
        insert.Bind(5, mark.x);
        insert.Bind(6, mark.y);
        if (!insert.Run()) return false;
    }
    return true;
}

bool WriteLines(sqlite3* db, const Session& session) {
    Statement insert(db,
                     "INSERT INTO lines(line, parameter_text, point_text, point_count) "
                     "VALUES (?1, ?2, ?3, ?4)");
    for (int line = 1; line <= kMaxLines; ++line) {
        const SessionLine& l = session.lines[static_cast<std::size_t>(line)];
        insert.Bind(1, line);
        insert.Bind(2, l.parameterText);
        insert.Bind(3, l.pointText);
        insert.Bind(4, int{l.pointCount});
        if (!insert.Run() || !WriteMarks(db, line, l.marks)) return false;
    }
    return true;
}

bool WriteTraced(sqlite3* db, const Session& session) {
    Statement line(db,
                   "INSERT INTO traced_lines(traced, line, seed_x, seed_y, point_count, tolerance)"
                   " VALUES (?1, ?2, ?3, ?4, ?5, ?6)");
    Statement point(db, "INSERT INTO traced_points(traced, point, x, y) VALUES (?1, ?2, ?3, ?4)");
    int traced = 0;
    for (const TracedLine& t : session.traced) {
        line.Bind(1, ++traced);
        line.Bind(2, int{t.line});
        line.Bind(3, t.seedX);
        line.Bind(4, t.seedY);
        line.Bind(5, t.pointCount);
        line.Bind(6, t.tolerance);
        if (!line.Run()) return false;
        for (std::size_t i = 0; i < t.centre.size(); ++i) {
            point.Bind(1, traced);
            point.Bind(2, static_cast<int>(i));
            point.Bind(3, t.centre[i].x);
            point.Bind(4, t.centre[i].y);
            if (!point.Run()) return false;
        }
    }
    return true;
}

std::string ExcludedText(const CalcSettings& settings) {
    std::string text;
    for (int system = 1; system <= 7; ++system) {
        text += settings.excludedSystem[static_cast<std::size_t>(system)] == 1 ? '1' : '0';
    }
    return text;
}

bool WriteSettings(sqlite3* db, const Session& session) {
    const CalcSettings& s = session.settings;
    Statement calc(db,
                   "INSERT INTO calc_settings(error_mode, cutoff_precision, excluded_systems, "
                   "min_section_points) VALUES (?1, ?2, ?3, ?4)");
    calc.Bind(1, int{s.errorMode});
    calc.Bind(2, double{s.cutoffPrecision});
    calc.Bind(3, ExcludedText(s));
    calc.Bind(4, int{s.minSectionPoints});
    const SessionPlot& p = session.plot;
    Statement plot(db,
                   "INSERT INTO plot_settings(x_min_text, x_max_text, log_x, log_y, labels) "
                   "VALUES (?1, ?2, ?3, ?4, ?5)");
    plot.Bind(1, p.xMinText);
    plot.Bind(2, p.xMaxText);
    plot.Bind(3, p.logX ? 1 : 0);
    plot.Bind(4, p.logY ? 1 : 0);
    plot.Bind(5, p.labels ? 1 : 0);
    return calc.Run() && plot.Run();
}

// ---- reading ----------------------------------------------------------------

SessionOutcome Damaged(std::string detail) {
    return SessionFailure(SessionStatus::kDamaged, std::move(detail));
}

// A value that a float holds: what the file gives beyond that is damage.
bool FitsFloat(double value) {
    return std::isfinite(value) && std::fabs(value) <= std::numeric_limits<float>::max();
}

bool ReadMeta(sqlite3* db, Session& session) {
    Statement select(db, "SELECT value FROM meta WHERE name = 'program_version'");
    if (!select.ok()) return false;
    if (select.Next()) session.programVersion = select.Text(0);
    return true;
}

bool ReadPicture(sqlite3* db, Session& session) {
    Statement select(db, "SELECT name, bytes FROM picture");
    if (!select.ok()) return false;
    if (select.Next()) {
        session.pictureName = select.Text(0);
        session.pictureBytes = select.Text(1);
    }
    return !select.Next();  // one picture at most
}

bool ReadCalibration(sqlite3* db, AxisCalibration& cal) {
    Statement select(db, "SELECT " + CalibrationColumns("", "") + " FROM calibration");
    if (!select.Next()) return false;
    int column = 0;
    for (const FloatField& f : kCalibrationFloats) {
        const double value = select.Real(column++);
        if (!FitsFloat(value)) return false;
        cal.*f.member = static_cast<float>(value);
    }
    for (const BoolField& f : kCalibrationFlags) cal.*f.member = select.Int(column++) != 0;
    return !select.Next();
}

bool ReadLines(sqlite3* db, Session& session) {
    Statement select(db, "SELECT line, parameter_text, point_text, point_count FROM lines");
    if (!select.ok()) return false;
    while (select.Next()) {
        const int line = select.Int(0);
        const int count = select.Int(3);
        if (line < 1 || line > kMaxLines || count < 0 || count > 32767) return false;
        SessionLine& l = session.lines[static_cast<std::size_t>(line)];
        l.parameterText = select.Text(1);
        l.pointText = select.Text(2);
        l.pointCount = static_cast<int16_t>(count);
    }
    return true;
}

bool ReadMarks(sqlite3* db, Session& session) {
    Statement select(db,
                     "SELECT line, point, record, captured, x, y FROM marks ORDER BY line, point");
    if (!select.ok()) return false;
    while (select.Next()) {
        const int line = select.Int(0);
        if (line < 1 || line > kMaxLines) return false;
        LineMarks& marks = session.lines[static_cast<std::size_t>(line)].marks;
        // The points of a line are numbered 0, 1, ... without a gap.
        if (select.Int(1) != static_cast<int>(marks.size())) return false;
        marks.push_back({select.Text(2), select.Int(3) != 0, select.Real(4), select.Real(5)});
    }
    return true;
}

bool ReadTracedPoints(sqlite3* db, Session& session) {
    Statement select(db, "SELECT traced, point, x, y FROM traced_points ORDER BY traced, point");
    if (!select.ok()) return false;
    while (select.Next()) {
        const int traced = select.Int(0);
        if (traced < 1 || traced > static_cast<int>(session.traced.size())) return false;
        CentreLine& centre = session.traced[static_cast<std::size_t>(traced - 1)].centre;
        if (select.Int(1) != static_cast<int>(centre.size())) return false;
        centre.push_back({select.Real(2), select.Real(3)});
    }
    return true;
}

bool ReadTraced(sqlite3* db, Session& session) {
    Statement select(db,
                     "SELECT traced, line, seed_x, seed_y, point_count, tolerance "
                     "FROM traced_lines ORDER BY traced");
    if (!select.ok()) return false;
    while (select.Next()) {
        const int line = select.Int(1);
        // Numbered 1, 2, ... in the order they were traced.
        if (select.Int(0) != static_cast<int>(session.traced.size()) + 1) return false;
        if (line < 1 || line > kMaxLines) return false;
        session.traced.push_back({static_cast<int16_t>(line),
                                  select.Real(2),
                                  select.Real(3),
                                  select.Int(4),
                                  select.Real(5),
                                  {}});
    }
    return ReadTracedPoints(db, session);
}

bool ReadExcluded(const std::string& text, CalcSettings& settings) {
    if (text.size() != 7) return false;
    for (std::size_t i = 0; i < 7; ++i) {
        if (text[i] != '0' && text[i] != '1') return false;
        settings.excludedSystem[i + 1] = static_cast<int16_t>(text[i] - '0');
    }
    return true;
}

bool ReadCalcSettings(sqlite3* db, CalcSettings& settings) {
    Statement select(db,
                     "SELECT error_mode, cutoff_precision, excluded_systems, min_section_points "
                     "FROM calc_settings");
    if (!select.Next()) return false;
    const int mode = select.Int(0);
    const double cutoff = select.Real(1);
    const int minSection = select.Int(3);
    if (mode < 0 || mode > 2 || !FitsFloat(cutoff) || cutoff <= 0) return false;
    if (minSection < kStandardMinSection || minSection > kLargestMinSection) return false;
    settings.errorMode = static_cast<int16_t>(mode);
    settings.cutoffPrecision = static_cast<float>(cutoff);
    settings.minSectionPoints = static_cast<int16_t>(minSection);
    return ReadExcluded(select.Text(2), settings) && !select.Next();
}

bool ReadPlotSettings(sqlite3* db, SessionPlot& plot) {
    Statement select(db, "SELECT x_min_text, x_max_text, log_x, log_y, labels FROM plot_settings");
    if (!select.Next()) return false;
    plot = {select.Text(0), select.Text(1), select.Int(2) != 0, select.Int(3) != 0,
            select.Int(4) != 0};
    return !select.Next();
}

int PragmaValue(sqlite3* db, const char* pragma) {
    Statement select(db, pragma);
    return select.Next() ? select.Int(0) : -1;
}

}  // namespace

bool Exec(sqlite3* db, const char* sql, std::string& detail) {
    char* message = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &message) == SQLITE_OK) return true;
    detail = message != nullptr ? message : sqlite3_errmsg(db);
    sqlite3_free(message);
    return false;
}

bool CreateSchema(sqlite3* db, std::string& detail) {
    const std::string calibration = "CREATE TABLE IF NOT EXISTS calibration(" +
                                    CalibrationColumns(" REAL NOT NULL", " INTEGER NOT NULL") +
                                    ");";
    const std::string pragmas =
        "PRAGMA application_id = " + std::to_string(kApplicationId) +
        "; PRAGMA user_version = " + std::to_string(kSessionSchemaVersion) + ";";
    return Exec(db, kTables, detail) && Exec(db, calibration.c_str(), detail) &&
           Exec(db, pragmas.c_str(), detail);
}

bool WriteTables(sqlite3* db, const Session& session, PictureWrite picture, std::string& detail) {
    std::string clear =
        "DELETE FROM meta; DELETE FROM calibration; DELETE FROM lines; DELETE FROM marks; "
        "DELETE FROM traced_lines; DELETE FROM traced_points; DELETE FROM calc_settings; "
        "DELETE FROM plot_settings;";
    if (picture == PictureWrite::kReplace) clear += " DELETE FROM picture;";
    if (!Exec(db, clear.c_str(), detail)) return false;
    const bool written = WriteMeta(db) &&
                         (picture == PictureWrite::kKeep || WritePicture(db, session)) &&
                         WriteCalibration(db, session.calibration) && WriteLines(db, session) &&
                         WriteTraced(db, session) && WriteSettings(db, session);
    return written || Fail(db, detail);
}

SessionOutcome ReadTables(sqlite3* db, Session& session) {
    if (PragmaValue(db, "PRAGMA application_id") != kApplicationId)
        return SessionFailure(SessionStatus::kNotASession, "not a session of this program");
    const int version = PragmaValue(db, "PRAGMA user_version");
    if (version > kSessionSchemaVersion)
        return SessionFailure(SessionStatus::kNewerVersion,
                              "schema version " + std::to_string(version));
    if (version < 1) return Damaged("schema version " + std::to_string(version));
    session = Session{};
    session.schemaVersion = version;
    struct Part {
        const char* table;
        bool (*read)(sqlite3*, Session&);
    };
    static constexpr Part kParts[] = {
        {"meta", ReadMeta},
        {"picture", ReadPicture},
        {"calibration", [](sqlite3* d, Session& s) { return ReadCalibration(d, s.calibration); }},
        {"lines", ReadLines},
        {"marks", ReadMarks},
        {"traced_lines", ReadTraced},
        {"calc_settings", [](sqlite3* d, Session& s) { return ReadCalcSettings(d, s.settings); }},
        {"plot_settings", [](sqlite3* d, Session& s) { return ReadPlotSettings(d, s.plot); }},
    };
    for (const Part& part : kParts) {
        if (!part.read(db, session)) return Damaged(std::string("table ") + part.table);
    }
    return {};
}

}  // namespace kx::core::session_tables

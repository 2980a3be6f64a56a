#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/data/data_set.h"
#include "core/digitizer/axis_calibration.h"
#include "core/digitizer/capture_marks.h"
#include "core/digitizer/traced_marks.h"
#include "core/files/atomic_file.h"
#include "core/files/file_outcome.h"
#include "core/fitting/calc_settings.h"

// The session file: the whole work on one graph in one SQLite file, so that it
// can be continued, checked later or handed on. It holds the picture's bytes as
// they were read, the calibration, every line with its texts and the canvas
// positions of its points, the traced lines with their settings, the
// calculation and plot settings, the schema version and the program version.
// A save builds the whole file in one transaction and puts it in place through
// the atomic writer, so a session on disk is always wholly old or wholly new.
namespace kx::core {

// Version 1 is the first; a later program reads every earlier version.
inline constexpr int kSessionSchemaVersion = 1;
inline constexpr std::string_view kSessionExtension = ".kxs";
inline constexpr std::string_view kSessionFilter = "*.kxs";
// A 6000 x 8000 scan as an uncompressed bitmap is 144 MB; room beyond that.
inline constexpr std::size_t kMaxSessionBytes = std::size_t{1} << 30;

struct SessionLine {
    std::string parameterText;
    std::string pointText;  // "X,Y" CR LF per point, as the data set holds it
    int16_t pointCount = 0;
    LineMarks marks;  // where each point was captured, in text order
    bool operator==(const SessionLine&) const = default;
};

// A line followed on the picture: where it was started, the settings it was
// traced with, and the centre line found.
struct TracedLine {
    int16_t line = 0;  // the data set's line it went into, 1..10
    double seedX = 0;  // canvas units
    double seedY = 0;
    int pointCount = 0;    // the points asked for along the curve
    double tolerance = 0;  // the colour distance a curve pixel may have
    CentreLine centre;
    bool operator==(const TracedLine&) const = default;
};

// The plot window's boxes and checks.
struct SessionPlot {
    std::string xMinText;
    std::string xMaxText;
    bool logX = false;
    bool logY = false;
    bool labels = false;  // the parameter values written onto the plot
    bool operator==(const SessionPlot&) const = default;
};

struct Session {
    int schemaVersion = kSessionSchemaVersion;  // of the file read; a save writes the current
    std::string programVersion;  // of the program that wrote the file; a save writes its own
    std::string pictureName;     // the picture file's name without its folder
    std::string pictureBytes;    // its bytes as read; empty when no picture was loaded
    AxisCalibration calibration;
    std::array<SessionLine, kMaxLines + 1> lines{};  // 1..10
    std::vector<TracedLine> traced;
    CalcSettings settings;
    SessionPlot plot;
    bool operator==(const Session&) const = default;
};

enum class SessionStatus {
    kOk = 0,
    kCannotOpen,    // the file cannot be opened or read (FileOutcome tells why)
    kNotASession,   // the content is no session of this program
    kDamaged,       // a session, but cut short or damaged
    kNewerVersion,  // written by a later program with a schema this one does not know
    kCannotWrite,   // the session could not be made or written; an earlier file is unchanged
};

struct SessionOutcome {
    SessionStatus status = SessionStatus::kOk;
    FileOutcome file;    // the failed read or write
    std::string detail;  // what the database said, or which record was at fault
    bool ok() const { return status == SessionStatus::kOk; }
};

// A failure with what the database or the check said; the file's outcome is
// set where a read or write of the file failed.
inline SessionOutcome SessionFailure(SessionStatus status, std::string detail) {
    SessionOutcome outcome;
    outcome.status = status;
    outcome.detail = std::move(detail);
    return outcome;
}

struct SessionRead {
    SessionOutcome outcome;
    Session session;
};

// Whether the first bytes of a file are those of a session file (the
// database's header naming this program's sessions). 100 bytes decide.
bool LooksLikeSession(std::string_view head);

// The whole file of a session, made in one transaction; empty when the
// database could not make it.
std::string SessionBytes(const Session& session);
// The session as a file for the atomic writer, made in its staged file in one
// transaction; `detail` gets what the database said of a failure. The session
// and `detail` must outlive the write.
FileToWrite SessionFile(const std::string& path, const Session& session, std::string& detail);
SessionOutcome WriteSession(const std::string& path, const Session& session);

SessionRead ParseSession(std::string_view bytes);
SessionRead ReadSession(const std::string& path);

// ---- Between a session and the data set ------------------------------------

// The collected form of the data set and the marks of its lines.
void PutLinesInSession(Session& session, const DataSet& data, const CaptureMarks& marks);
// Every line 1..10 reset and filled from the session; the prepared form and
// the selection are left to the caller.
void TakeLinesFromSession(DataSet& data, CaptureMarks& marks, const Session& session);

}  // namespace kx::core

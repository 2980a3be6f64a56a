// kuvatelix-trace: traces curves on a graph picture headlessly, from one seed
// per curve, and writes their points as a data file, converted through the
// calibration as the panel converts a captured point, or as a session with
// the picture, the calibration and the traced lines.
#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>

#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "cli/exit_status.h"
#include "cli/fit_messages.h"
#include "cli/trace_options.h"
#include "core/data/data_set.h"
#include "core/data/text_chars.h"
#include "core/digitizer/axis_calibration.h"
#include "core/files/atomic_file.h"
#include "core/files/cp932.h"
#include "core/files/data_file.h"
#include "core/files/session.h"
#include "core/files/standard_output.h"
#include "core/trace/curve_trace.h"

namespace {

using namespace kx;
using cli::Because;
using cli::kDone;
using cli::kNothingWritten;

constexpr const char* kProgramName = "kuvatelix-trace";
// The panel's own calibration messages, and the message of a click that finds
// no curve.
constexpr const char* kLogValue = "対数座標には不適切";
constexpr const char* kNoCurveFound = "曲線が見つかりません";
// Canvas units per picture pixel.
constexpr double kTwipsPerPixel = 15;

int Fail(const std::string& subject, std::string_view message, int status = kNothingWritten) {
    std::fprintf(stderr, "%s: %s: %.*s\n", kProgramName, subject.c_str(),
                 static_cast<int>(message.size()), message.data());
    return status;
}

const char* FaultText(core::TraceFault fault) {
    switch (fault) {
        case core::TraceFault::kSeedOutside: return "the seed lies outside the picture";
        case core::TraceFault::kNoLine: return "nothing but paper near the seed";
        case core::TraceFault::kToleranceTakesPaper:
            return "the tolerance takes the paper for the line's colour";
        case core::TraceFault::kNotALine: return "the ink at the seed is no line";
        case core::TraceFault::kStraightLine:
            return "a straight line along a row or a column (a grid line, the frame)";
        case core::TraceFault::kTooShort: return "too short for a curve (text, a mark)";
        case core::TraceFault::kNone: break;
    }
    return "";
}

// The calibration as the panel holds it once confirmed, or the reason why the
// panel would refuse it.
struct Calibrated {
    core::AxisCalibration cal;
    std::string subject;
    std::string refusal;
};

Calibrated CalibrationOf(const cli::TraceOptions& options) {
    Calibrated c;
    core::AxisCalibration& cal = c.cal;
    cal.Xmin = static_cast<float>(options.x.value0);
    cal.Xmax = static_cast<float>(options.x.value1);
    cal.Ymin = static_cast<float>(options.y.value0);
    cal.Ymax = static_cast<float>(options.y.value1);
    cal.X1MIN = static_cast<float>(options.x.pixel0 * kTwipsPerPixel);
    cal.X1MAX = static_cast<float>(options.x.pixel1 * kTwipsPerPixel);
    cal.Y1MIN = static_cast<float>(options.y.pixel0 * kTwipsPerPixel);
    cal.Y1MAX = static_cast<float>(options.y.pixel1 * kTwipsPerPixel);
    cal.originXSet = cal.xMaxSet = cal.originYSet = cal.yMaxSet = true;
    cal.logX = options.logX;
    cal.logY = options.logY;
    cal.calibrationConfirmed = true;
    cal.calibrationInvalid = false;
    if (!(cal.Xmax > cal.Xmin)) return {cal, "--x", "Xmax <= Xmin "};
    if (!(cal.Ymax > cal.Ymin)) return {cal, "--y", "Ymax <= Ymin "};
    if (cal.logX && !(cal.Xmin > 0)) return {cal, "--x", kLogValue};
    if (cal.logY && !(cal.Ymin > 0)) return {cal, "--y", kLogValue};
    if (cal.X1MAX == cal.X1MIN)
        return {cal, "--x", "入力ｴﾗｰ" + Because("one column for both values")};
    if (cal.Y1MAX == cal.Y1MIN)
        return {cal, "--y", "入力ｴﾗｰ" + Because("one row for both values")};
    return c;
}

// The picture as three bytes a pixel.
struct Picture {
    QImage image;
    core::RgbImage view;
};

std::string CurveSubject(const std::string& picture, std::size_t index,
                         const cli::CurveSeed& seed) {
    char at[96];
    std::snprintf(at, sizeof at, " (curve %zu at %g,%g)", index + 1, seed.at.x, seed.at.y);
    return picture + at;
}

// What a session keeps of a traced curve, in canvas units as the window holds
// its positions.
core::TracedLine TracedLineOf(int line, const cli::CurveSeed& seed,
                              const core::TraceSettings& settings,
                              const core::TraceResult& traced) {
    core::TracedLine kept{static_cast<int16_t>(line), seed.at.x * kTwipsPerPixel,
                          seed.at.y * kTwipsPerPixel, settings.pointCount,
                          settings.tolerance,         {}};
    for (const core::PicturePoint& p : traced.centreLine)
        kept.centre.push_back({p.x * kTwipsPerPixel, p.y * kTwipsPerPixel});
    return kept;
}

// Every curve traced into its line, in the order given; the session gets the
// traced lines and the places of their points.
int TraceInto(const cli::TraceOptions& options, const Picture& picture,
              const core::AxisCalibration& cal, core::DataSet& data, core::Session& session,
              core::CaptureMarks& marks) {
    for (std::size_t k = 0; k < options.curves.size(); ++k) {
        const cli::CurveSeed& seed = options.curves[k];
        const core::TraceResult traced = core::TraceCurve(picture.view, seed.at, options.settings);
        const std::string subject = CurveSubject(options.picture, k, seed);
        if (!traced.ok()) return Fail(subject, kNoCurveFound + Because(FaultText(traced.fault)));
        const int line = static_cast<int>(k) + 1;
        core::SetParameterText(data, line, seed.parameterText);
        for (const core::PicturePoint& p : traced.points) {
            const double x = p.x * kTwipsPerPixel, y = p.y * kTwipsPerPixel;
            const auto sampled = core::SampleAt(cal, x, y);
            if (!sampled) return Fail(subject, "the calibration cannot convert a traced point");
            const std::string xText = core::Trimmed(sampled->xText);
            const std::string yText = core::Trimmed(sampled->yText);
            core::AppendPoint(data, line, xText, yText);
            marks.Record(line, xText + "," + yText, x, y);
        }
        session.traced.push_back(TracedLineOf(line, seed, options.settings, traced));
    }
    return kDone;
}

// Standard output, every byte checked: a full disk or a closed stream is a
// failure, not a data file cut short.
int Print(std::string_view text) {
    const core::FileOutcome printed = core::WriteStandardOutput(text);
    if (printed.status == core::FileStatus::kOk) return kDone;
    return Fail(printed.path, cli::CannotWriteText(printed));
}

// The data file to --out or standard output, the session to --session; both
// files as one step, so that they are written together or not at all.
int Write(const cli::TraceOptions& options, const std::string& text,
          const core::Session& session) {
    const core::CodecResult encoded = core::Utf8ToCp932(text);
    const std::string target = options.outFile.value_or("stdout");
    if (encoded.status != core::CodecStatus::kOk) {
        return Fail(target, cli::kCannotWrite + Because("a character without a Shift-JIS form"));
    }
    if (!options.outFile && !options.sessionFile) return Print(encoded.text);
    std::vector<core::FileToWrite> files;
    if (options.outFile) files.push_back({*options.outFile, encoded.text});
    std::string detail;  // what the database said of a session it could not make
    if (options.sessionFile)
        files.push_back(core::SessionFile(*options.sessionFile, session, detail));
    const core::WriteReport report = core::WriteFilesAtomically(files);
    if (report.ok()) return kDone;
    std::string message = cli::CannotWriteText(report.outcome);
    if (!detail.empty()) message += Because(detail);
    return Fail(report.outcome.path, message);
}

int Run(const cli::TraceOptions& options) {
    const Calibrated calibrated = CalibrationOf(options);
    if (!calibrated.refusal.empty()) return Fail(calibrated.subject, calibrated.refusal);
    // Opened as a data file is: a named pipe or a device is refused at once
    // instead of being waited on.
    const core::OpenedFile opened = core::OpenRegularFile(options.picture);
    if (opened.fd < 0) {
        return Fail(options.picture,
                    "ﾌｧｲﾙ名不正" + Because(cli::FileReasonText(opened.outcome.reason,
                                                               opened.outcome.error, 0)));
    }
    QFile file;
    if (!file.open(opened.fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(opened.fd);
        return Fail(options.picture, "ﾌｧｲﾙ名不正");
    }
    // Read once as bytes: the session keeps them as they are.
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        return Fail(options.picture,
                    "ﾌｧｲﾙ名不正" + Because(file.errorString().toLocal8Bit().toStdString()));
    }
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAllocationLimit(1024);  // MB, as the panel: a 6000 x 8000 scan takes 192
    const QImage read = reader.read();
    if (read.isNull()) {
        return Fail(options.picture,
                    "ﾌｧｲﾙ名不正" + Because(reader.errorString().toLocal8Bit().toStdString()));
    }
    Picture picture{read.convertToFormat(QImage::Format_RGB888), {}};
    picture.view = {picture.image.constBits(), picture.image.width(), picture.image.height(),
                    picture.image.bytesPerLine(), 3};
    core::DataSet data;
    for (int line = 1; line <= core::kMaxLines; ++line) core::ResetLine(data, line);
    core::Session session;
    core::CaptureMarks marks;
    if (const int status = TraceInto(options, picture, calibrated.cal, data, session, marks);
        status != kDone) {
        return status;
    }
    if (options.sessionFile) {
        session.pictureName =
            QFileInfo(QString::fromLocal8Bit(options.picture.c_str())).fileName().toStdString();
        session.pictureBytes = bytes.toStdString();
        session.calibration = calibrated.cal;
        core::PutLinesInSession(session, data, marks);
    }
    return Write(options, core::AllLinesDataText(data), session);
}

}  // namespace

int main(int argc, char** argv) {
    std::signal(SIGXFSZ, SIG_IGN);
    core::HoldStandardStreams();
    const std::vector<std::string_view> arguments(argv + 1, argv + argc);
    const cli::ParsedTraceOptions parsed = cli::ParseTraceOptions(arguments);
    if (parsed.options.help) return Print(cli::kTraceUsageText);
    if (parsed.error) {
        Fail(parsed.error->subject, cli::TraceRefusalText(parsed.error->refusal),
             cli::kMalformedCommandLine);
        std::fputs(cli::kTraceUsageText, stderr);
        return cli::kMalformedCommandLine;
    }
    return Run(parsed.options);
}

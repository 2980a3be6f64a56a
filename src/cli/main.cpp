// kuvatelix-fit: fits a data file headlessly, as the DataSet window's program
// generation and the program-generation window's run do, and writes the four
// listings or prints the generated program, in BASIC, C or Python, or its
// check against the points, and draws the analysis plot into a file.
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "cli/exit_status.h"
#include "cli/fit_messages.h"
#include "cli/fit_options.h"
#include "core/codegen/calc_evaluation.h"
#include "core/codegen/calc_program.h"
#include "core/codegen/program_listing.h"
#include "core/codegen/validation_table.h"
#include "core/data/data_set.h"
#include "core/data/preparation.h"
#include "core/files/atomic_file.h"
#include "core/files/cp932.h"
#include "core/files/data_file.h"
#include "core/files/listing.h"
#include "core/files/session.h"
#include "core/files/standard_output.h"
#include "core/fitting/fit_family.h"
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif
#ifdef KX_WITH_PLOT
#include "render/plot_export.h"
#include "render/plot_gui.h"
#endif

namespace {

using namespace kx;
using cli::Because;
using cli::kCannotWrite;
using cli::kDone;
using cli::kFallsShort;
using cli::kNothingWritten;

constexpr const char* kProgramName = "kuvatelix-fit";

int Fail(const std::string& subject, std::string_view message, int status = kNothingWritten) {
    std::fprintf(stderr, "%s: %s: %.*s\n", kProgramName, subject.c_str(),
                 static_cast<int>(message.size()), message.data());
    return status;
}

std::string LineSubject(const std::string& file, int line) {
    return line > 0 ? file + " (line " + std::to_string(line) + ")" : file;
}

std::string Listed(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) text += (text.empty() ? "" : ", ") + name;
    return text;
}

// The program in the chosen language and the other three listings. The
// sources beyond BASIC are ASCII text with LF line ends, as their tools expect.
int WriteListings(const std::string& folder, const core::ResultLists& lists,
                  core::ProgramLanguage language, const std::vector<std::string>& program) {
    struct Listing {
        const char* name;
        int kind;
    };
    const Listing listings[] = {{core::ProgramFileName(language), core::kSaveProgram},
                                {"equations.txt", core::kSaveEquations},
                                {"results.txt", core::kSaveAllResults},
                                {"history.txt", core::kSaveHistory}};
    std::vector<core::FileToWrite> files;
    for (const Listing& listing : listings) {
        const std::string path = (std::filesystem::path(folder) / listing.name).string();
        if (listing.kind == core::kSaveProgram && language != core::ProgramLanguage::kBasic) {
            files.push_back({path, core::SourceText(program)});
            continue;
        }
        const core::CodecResult encoded =
            core::Utf8ToCp932(core::ListingText(listing.kind, lists));
        if (encoded.status != core::CodecStatus::kOk) {
            return Fail(
                path, std::string(kCannotWrite) + Because("a character without a Shift-JIS form"));
        }
        files.push_back({path, encoded.text});
    }

    const core::WriteReport report = core::WriteFilesAtomically(files, {.makeFolders = true});
    if (report.ok()) return kDone;
    const core::FileOutcome& outcome = report.outcome;
    std::string message = cli::CannotWriteText(outcome);
    // Files that could not be put back as they were are named, so that no
    // one takes the run for one that wrote nothing.
    if (!report.written.empty()) message += "; written nevertheless: " + Listed(report.written);
    if (!report.madeFolders.empty()) message += "; folders left: " + Listed(report.madeFolders);
    return Fail(outcome.path, message);
}

#ifdef KX_WITH_PLOT
// Why the plot file was not written.
std::string PlotFailureText(const render::PlotFileResult& result) {
    switch (result.status) {
        case render::PlotFileStatus::kUnknownFormat:
            return "ﾌｧｲﾙ名不正" + Because("the name must end in .pdf, .svg or .png");
        case render::PlotFileStatus::kRefused:
            return "入力ｴﾗｰ" + Because(
                                   "Xmax must be above Xmin by more than a float resolves, "
                                   "and both above 0 with --log-x");
        case render::PlotFileStatus::kNotDrawn:
            return kCannotWrite + Because("the plot could not be drawn");
        case render::PlotFileStatus::kCannotWrite:
        case render::PlotFileStatus::kWritten: break;
    }
    return cli::CannotWriteText(result.file);
}

// The plot of the fitted family into its file; 0 when written.
int WritePlot(const cli::FitOptions& options, core::DataSet& data,
              const core::FitResults& results) {
    const render::PlotGui gui(kProgramName);
    const render::PlotFileResult plotted = render::WriteFamilyPlot(
        *options.plotFile, data, results, options.plot, options.plotLabels);
    return plotted.ok() ? kDone : Fail(*options.plotFile, PlotFailureText(plotted));
}

bool IsPlotFileName(std::string_view name) {
    return render::PlotFileFormatOf(name).has_value();
}
constexpr cli::PlotNameCheck kPlotNameCheck = IsPlotFileName;
#else
constexpr cli::PlotNameCheck kPlotNameCheck = nullptr;
#endif

// Standard output holds the result like a file: a write that fails there
// fails the run, whatever went out before it.
int Print(std::string_view text) {
    const core::FileOutcome printed = core::WriteStandardOutput(text);
    if (printed.status == core::FileStatus::kOk) return kDone;
    return Fail(printed.path, cli::CannotWriteText(printed));
}

// What the check finds between the points of a line: a midpoint Calc cannot
// compute, and the largest deviation there when it passes the limit.
void ReportBetweenPoints(const std::string& file, const core::CheckedLine& line, double limit) {
    for (const core::CheckedMidpoint& mid : line.between) {
        if (mid.flag != core::kCalcFailed) continue;
        char text[128];
        std::snprintf(text, sizeof text, "Calc cannot compute between points %d and %d (EFLG 7)",
                      mid.after, mid.after + 1);
        Fail(LineSubject(file, line.line), text);
        break;
    }
    if (line.largestBetween > limit) {
        char text[160];
        std::snprintf(
            text, sizeof text, "deviation %.3G between points %d and %d beyond the limit %.3G",
            line.largestBetween, line.largestBetweenAfter, line.largestBetweenAfter + 1, limit);
        Fail(LineSubject(file, line.line), text);
    }
}

// The lines whose points the program does not reproduce within the limit,
// each named on standard error with its worst point; false when there are any.
bool ReportCheck(const std::string& file, const core::ValidationTable& table, double limit) {
    bool within = true;
    for (const core::CheckedLine& line : table.lines) {
        if (core::WithinLimit(line, limit)) continue;
        within = false;
        if (line.flagsMet[core::kCalcFailed]) {
            Fail(LineSubject(file, line.line), "Calc cannot compute a point (EFLG 7)");
        }
        if (line.largestDeviation > limit) {
            char text[128];
            std::snprintf(text, sizeof text, "deviation %.3G at point %d beyond the limit %.3G",
                          line.largestDeviation, line.largestAt, limit);
            Fail(LineSubject(file, line.line), text);
        }
        ReportBetweenPoints(file, line, limit);
    }
    return within;
}

int PrepareRead(const std::string& file, core::DataSet& data);

// Why a session was not read.
std::string SessionFaultText(const core::SessionOutcome& outcome) {
    switch (outcome.status) {
        case core::SessionStatus::kCannotOpen:
            return cli::FileReasonText(outcome.file.reason, outcome.file.error,
                                       outcome.file.limit);
        case core::SessionStatus::kNewerVersion:
            return "a session of a later program: " + outcome.detail;
        default: return "a damaged session: " + outcome.detail;
    }
}

// The lines of a session file in the collected form; 0 when read.
int ReadSessionLines(const std::string& file, core::DataSet& data) {
    const core::SessionRead read = core::ReadSession(file);
    if (!read.outcome.ok()) {
        const char* message = read.outcome.status == core::SessionStatus::kCannotOpen
                                  ? "ﾌｧｲﾙ名不正"
                                  : "ﾌｧｲﾙ内容不正";
        return Fail(file, message + Because(SessionFaultText(read.outcome)));
    }
    core::CaptureMarks marks;
    core::TakeLinesFromSession(data, marks, read.session);
    return kDone;
}

bool IsSessionFile(const std::string& file) {
    const core::FileRead head = core::ReadFileHead(file, 100);
    return head.outcome.status == core::FileStatus::kOk && core::LooksLikeSession(head.bytes);
}

// The data file (or the session file) read and prepared as the DataSet
// window prepares it.
int ReadPrepared(const std::string& file, core::DataSet& data) {
    if (IsSessionFile(file)) {
        if (const int status = ReadSessionLines(file, data); status != kDone) return status;
        return PrepareRead(file, data);
    }
    const core::DataFileRead read = core::ReadDataFile(file);
    if (read.outcome == core::DataFileOutcome::kCannotOpen) {
        return Fail(file, "ﾌｧｲﾙ名不正" + Because(cli::FileReasonText(read.reason, read.error, 0)));
    }
    if (read.outcome == core::DataFileOutcome::kBadContent) {
        const std::string subject =
            read.record > 0 ? file + " (record " + std::to_string(read.record) + ")" : file;
        return Fail(subject, "ﾌｧｲﾙ内容不正" + Because(cli::ContentFaultText(read)));
    }
    core::ApplyDataFileRead(data, read);
    return PrepareRead(file, data);
}

int PrepareRead(const std::string& file, core::DataSet& data) {
    data.selectedLine = 0;
    const int16_t state = core::PrepareDataSet(data);
    if (state != core::kPrepared) {
        return Fail(LineSubject(file, data.refusal.line),
                    cli::PreparationMessage(state) + Because(cli::PreparationReason(data, state)));
    }
    return kDone;
}

// A section no form could rate at all leaves a statement of 0: the program
// would answer 0 whatever the data says.
int RefuseUnrated(const std::string& file, const std::vector<core::UnratedSection>& unrated) {
    for (const core::UnratedSection& u : unrated) {
        if (u.form == 0) {
            return Fail(LineSubject(file, u.line), "no equation form could be rated on section " +
                                                       std::to_string(u.section) +
                                                       "; nothing written");
        }
    }
    return kDone;
}

// What a run gives, made before anything is written.
struct RunOutputs {
    core::ResultLists lists;
    core::ProgramListing program;
    core::ValidationTable table;
};

RunOutputs OutputsOf(const cli::FitOptions& options, const core::DataSet& data,
                     const core::FitResults& results) {
    return {core::ResultListsOf(data, options.settings, results),
            core::ProgramListingOf(options.language, data, results),
            options.check ? core::ValidationTableOf(data, results) : core::ValidationTable{}};
}

bool Ready(const cli::FitOptions& options, const RunOutputs& outputs) {
    return outputs.program.status == core::CalcFamilyStatus::kReady &&
           (!options.check || outputs.table.status == core::CalcFamilyStatus::kReady);
}

// The plot, the listings and the printed program or check, in that order.
int WriteOutputs(const cli::FitOptions& options, [[maybe_unused]] core::DataSet& data,
                 [[maybe_unused]] const core::FitResults& results, const RunOutputs& outputs) {
#ifdef KX_WITH_PLOT
    if (options.plotFile) {
        if (const int status = WritePlot(options, data, results); status != kDone) return status;
    }
#endif
    if (options.outFolder) {
        if (const int status = WriteListings(*options.outFolder, outputs.lists, options.language,
                                             outputs.program.lines);
            status != kDone) {
            // The plot stands written; the message must not suggest otherwise.
            if (options.plotFile) Fail(*options.plotFile, "written nevertheless");
            return status;
        }
    }
    // A plot alone is the output asked for: the program is not printed too.
    if (!options.check && (options.outFolder || options.plotFile)) return kDone;
    const int printed = Print(core::SourceText(
        options.check ? core::ValidationListing(outputs.table) : outputs.program.lines));
    if (printed != kDone) {
        if (options.plotFile) Fail(*options.plotFile, "written nevertheless");
        if (options.outFolder) Fail(*options.outFolder, "the listings written nevertheless");
    }
    return printed;
}

// Where the written result falls short: the sections that took the least-bad
// form, and the lines the check finds beyond its limit.
int ReportShortfalls(const cli::FitOptions& options,
                     const std::vector<core::UnratedSection>& unrated,
                     const core::ValidationTable& table) {
    for (const core::UnratedSection& u : unrated) {
        Fail(LineSubject(options.dataFile, u.line),
             "no equation form deviates less than 1000000 on section " +
                 std::to_string(u.section) +
                 "; the least-bad one, EQ No=" + std::to_string(u.form) + ", was taken");
    }
    const bool checked =
        !options.check || ReportCheck(options.dataFile, table, options.checkLimit);
    return unrated.empty() && checked ? kDone : kFallsShort;
}

int Run(const cli::FitOptions& options) {
    core::DataSet data;
    if (const int status = ReadPrepared(options.dataFile, data); status != kDone) return status;
    core::FitResults results;
    core::FitAndGenerate(data, options.settings, results);
    const std::vector<core::UnratedSection> unrated = core::UnratedSections(data, results);
    if (const int status = RefuseUnrated(options.dataFile, unrated); status != kDone) {
        return status;
    }
    const RunOutputs outputs = OutputsOf(options, data, results);
    if (!Ready(options, outputs)) {
        return Fail(options.dataFile,
                    "the run left no program to write or check; nothing written");
    }
    if (const int status = WriteOutputs(options, data, results, outputs); status != kDone) {
        return status;
    }
    return ReportShortfalls(options, unrated, outputs.table);
}

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
    // The printed program and check are the same bytes as elsewhere: no CR
    // before each LF.
    _setmode(_fileno(stdout), _O_BINARY);
#else
    // Beyond a file-size limit a write then fails with EFBIG, and the failure
    // takes the ordinary path instead of ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    core::HoldStandardStreams();
    std::vector<std::string_view> arguments(argv + 1, argv + argc);
    const cli::ParsedOptions parsed = cli::ParseFitOptions(arguments, kPlotNameCheck);
    if (parsed.options.help) return Print(cli::kUsageText);
    if (parsed.error) {
        const cli::RefusalRule& rule = cli::RuleOf(parsed.error->refusal);
        Fail(parsed.error->subject, rule.message, rule.status);
        if (rule.usageFollows) std::fputs(cli::kUsageText, stderr);
        return rule.status;
    }
    return Run(parsed.options);
}

// kuvatelix-fit: fits a data file headlessly, as the DataSet window's program
// generation and the program-generation window's run do, and writes the four
// listings or prints the generated program.
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "cli/fit_messages.h"
#include "cli/fit_options.h"
#include "core/codegen/calc_program.h"
#include "core/data/data_set.h"
#include "core/data/preparation.h"
#include "core/files/atomic_file.h"
#include "core/files/cp932.h"
#include "core/files/data_file.h"
#include "core/files/listing.h"
#include "core/fitting/fit_family.h"

namespace {

using namespace kx;
using cli::Because;

constexpr const char* kProgramName = "kuvatelix-fit";
constexpr const char* kCannotWrite = "書込めません。";

// Exit status when the output was written but a section of a line takes a
// form that deviates by 1000000 or more (see the usage text).
constexpr int kWrittenWithUnratedSection = 3;

int Fail(const std::string& subject, std::string_view message, int status = 1) {
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

int WriteListings(const std::string& folder, const core::ResultLists& lists) {
    struct Listing {
        const char* name;
        int kind;
    };
    const Listing listings[] = {{"program.txt", core::kSaveProgram},
                                {"equations.txt", core::kSaveEquations},
                                {"results.txt", core::kSaveAllResults},
                                {"history.txt", core::kSaveHistory}};
    std::vector<core::FileToWrite> files;
    for (const Listing& listing : listings) {
        const std::string path = (std::filesystem::path(folder) / listing.name).string();
        const core::CodecResult encoded =
            core::Utf8ToCp932(core::ListingText(listing.kind, lists));
        if (encoded.status != core::CodecStatus::kOk) {
            return Fail(
                path, std::string(kCannotWrite) + Because("a character without a Shift-JIS form"));
        }
        files.push_back({path, encoded.text});
    }

    const core::WriteReport report = core::WriteFilesAtomically(files, {.makeFolders = true});
    if (report.ok()) return 0;
    const core::FileOutcome& outcome = report.outcome;
    std::string message =
        std::string(kCannotWrite) + Because(cli::FileReasonText(outcome.reason, outcome.error, 0));
    // Files that could not be put back as they were are named, so that no
    // one takes the run for one that wrote nothing.
    if (!report.written.empty()) message += "; written nevertheless: " + Listed(report.written);
    if (!report.madeFolders.empty()) message += "; folders left: " + Listed(report.madeFolders);
    return Fail(outcome.path, message);
}

int Run(const cli::FitOptions& options) {
    const std::string& file = options.dataFile;
    const core::DataFileRead read = core::ReadDataFile(file);
    if (read.outcome == core::DataFileOutcome::kCannotOpen) {
        return Fail(file, "ﾌｧｲﾙ名不正" + Because(cli::FileReasonText(read.reason, read.error, 0)));
    }
    if (read.outcome == core::DataFileOutcome::kBadContent) {
        const std::string subject =
            read.record > 0 ? file + " (record " + std::to_string(read.record) + ")" : file;
        return Fail(subject, "ﾌｧｲﾙ内容不正" + Because(cli::ContentFaultText(read)));
    }

    core::DataSet data;
    core::ApplyDataFileRead(data, read);
    data.selectedLine = 0;
    const int16_t state = core::PrepareDataSet(data);
    if (state != core::kPrepared) {
        return Fail(LineSubject(file, data.refusal.line),
                    cli::PreparationMessage(state) + Because(cli::PreparationReason(data, state)));
    }

    core::FitResults results;
    core::FitAndGenerate(data, options.settings, results);
    const std::vector<core::UnratedSection> unrated = core::UnratedSections(data, results);
    for (const core::UnratedSection& u : unrated) {
        // A statement of 0: the program would answer 0 whatever the data says.
        if (u.form == 0) {
            return Fail(LineSubject(file, u.line), "no equation form could be rated on section " +
                                                       std::to_string(u.section) +
                                                       "; nothing written");
        }
    }
    const core::ResultLists lists = core::ResultListsOf(data, options.settings, results);

    if (options.outFolder) {
        if (const int status = WriteListings(*options.outFolder, lists); status != 0)
            return status;
    } else {
        for (const std::string& record : lists.program) {
            std::fwrite(record.data(), 1, record.size(), stdout);
            std::fputc('\n', stdout);
        }
        if (std::fflush(stdout) != 0) return Fail("stdout", std::strerror(errno));
    }
    for (const core::UnratedSection& u : unrated) {
        Fail(LineSubject(file, u.line),
             "no equation form deviates less than 1000000 on section " +
                 std::to_string(u.section) +
                 "; the least-bad one, EQ No=" + std::to_string(u.form) + ", was taken");
    }
    return unrated.empty() ? 0 : kWrittenWithUnratedSection;
}

}  // namespace

int main(int argc, char** argv) {
    // Beyond a file-size limit a write then fails with EFBIG, and the failure
    // takes the ordinary path instead of ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
    std::vector<std::string_view> arguments(argv + 1, argv + argc);
    const cli::ParsedOptions parsed = cli::ParseFitOptions(arguments);
    if (parsed.options.help) {
        std::fputs(cli::kUsageText, stdout);
        return 0;
    }
    if (parsed.error) {
        const int status =
            Fail(parsed.error->subject, parsed.error->message, parsed.error->usage ? 2 : 1);
        if (parsed.error->usage) std::fputs(cli::kUsageText, stderr);
        return status;
    }
    return Run(parsed.options);
}

// kuvatelix-fit: fits a data file headlessly, as the DataSet window's program
// generation and the program-generation window's run do, and writes the four
// listings or prints the generated program.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "cli/fit_options.h"
#include "core/codegen/calc_program.h"
#include "core/data/data_set.h"
#include "core/data/preparation.h"
#include "core/files/atomic_file.h"
#include "core/files/cp932.h"
#include "core/files/data_file.h"
#include "core/files/listing.h"

namespace {

using namespace kx;

constexpr const char* kProgramName = "kuvatelix-fit";

int Fail(const std::string& subject, std::string_view message, int status = 1) {
    std::fprintf(stderr, "%s: %s: %.*s\n", kProgramName, subject.c_str(),
                 static_cast<int>(message.size()), message.data());
    return status;
}

// The DataSet window's message for a preparation state.
const char* PreparationMessage(int16_t state) {
    switch (state) {
        case core::kGapInLines: return "データが無いパラメータ存在";
        case core::kMissingXOrY: return "X,Yデータがどちらか欠損";
        case core::kNotNumeric: return "数値として判断されない";
        case core::kTooFewPoints: return "データが少ない";
        case core::kNoData: return "データが無い";
        case core::kParameterNotNumeric: return "パラメータが数値でない";
        default: return "データが無い";
    }
}

constexpr const char* kCannotWrite = "書込めません。";

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
        if (encoded.status != core::CodecStatus::kOk) return Fail(path, kCannotWrite);
        files.push_back({path, encoded.text});
    }

    // The folders this run makes, innermost first: a failed run takes them
    // away again, so that it leaves nothing behind.
    std::error_code error;
    std::vector<std::filesystem::path> made;
    for (std::filesystem::path p = folder; !p.empty() && !std::filesystem::exists(p, error);
         p = p.parent_path()) {
        made.push_back(p);
        if (p == p.parent_path()) break;
    }
    const auto removeMade = [&made] {
        std::error_code ignored;
        for (const std::filesystem::path& p : made) std::filesystem::remove(p, ignored);
    };
    if (!made.empty() && !std::filesystem::create_directories(folder, error)) {
        removeMade();
        return Fail(folder, std::string(kCannotWrite) + " (" + error.message() + ")");
    }
    const core::FileOutcome outcome = core::WriteFilesAtomically(files);
    if (outcome.status != core::FileStatus::kOk) {
        removeMade();
        return Fail(folder, std::string(kCannotWrite) + " (" + std::strerror(outcome.error) + ")");
    }
    return 0;
}

int Run(const cli::FitOptions& options) {
    const core::DataFileRead read = core::ReadDataFile(options.dataFile);
    if (read.outcome == core::DataFileOutcome::kCannotOpen) {
        return Fail(options.dataFile, "ﾌｧｲﾙ名不正");
    }
    if (read.outcome == core::DataFileOutcome::kBadContent) {
        return Fail(options.dataFile + " (record " + std::to_string(read.record) + ")",
                    "ﾌｧｲﾙ内容不正");
    }

    core::DataSet data;
    core::ApplyDataFileRead(data, read);
    data.selectedLine = 0;
    const int16_t state = core::PrepareDataSet(data);
    if (state != core::kPrepared) return Fail(options.dataFile, PreparationMessage(state));

    core::FitResults results;
    core::FitAndGenerate(data, options.settings, results);
    const core::ResultLists lists = core::ResultListsOf(data, options.settings, results);

    if (options.outFolder) return WriteListings(*options.outFolder, lists);
    for (const std::string& record : lists.program) {
        std::fwrite(record.data(), 1, record.size(), stdout);
        std::fputc('\n', stdout);
    }
    if (std::fflush(stdout) != 0) return Fail("stdout", std::strerror(errno));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
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

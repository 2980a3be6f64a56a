#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <algorithm>
#include <cmath>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/codegen/calc_evaluation.h"
#include "core/codegen/calc_program.h"
#include "core/codegen/program_listing.h"
#include "core/codegen/validation_table.h"
#include "core/data/numeric_text.h"
#include "core/data/preparation.h"
#include "core/files/cp932.h"
#include "core/files/data_file.h"
#include "core/files/listing.h"
#include "core/files/save_file.h"
#include "core/files/session.h"
#include "other_user.h"
#include "run_fit.h"
#include "support/basic_interpreter.h"
#include "temp_folder.h"

namespace kx {
namespace {

using test::FileBytes;
using test::Quoted;
using test::Ran;
using test::RunFit;
using test::TempFolder;

// Runs the program with a file-size limit of 512 bytes and SIGXFSZ set to
// `action`, both of which it inherits.
Ran RunUnderFileSizeLimit(const TempFolder& folder, const std::vector<std::string>& arguments,
                          void (*action)(int)) {
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    const auto previous = std::signal(SIGXFSZ, action);
    rlimit limit = saved;
    limit.rlim_cur = 512;
    setrlimit(RLIMIT_FSIZE, &limit);
    Ran run = RunFit(folder, arguments);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    return run;
}

// A family of three lines y = a x^2 + b with a varying with the parameter.
core::DataSet FamilyData() {
    core::DataSet data;
    for (int line = 1; line <= core::kMaxLines; ++line) core::ResetLine(data, line);
    const char* parameters[] = {"40", "20", "30"};
    for (int line = 1; line <= 3; ++line) {
        data.parameterText[line] = parameters[line - 1];
        for (int i = 1; i <= 12 + 4 * line; ++i) {
            const double x = 0.5 * i;
            const double y = (1.0 + 0.1 * line) * x * x + 3.0 + 0.4 * std::sin(3.0 * x);
            core::AppendPoint(data, line, core::SingleToText(static_cast<float>(x)),
                              core::SingleToText(static_cast<float>(y)));
        }
    }
    return data;
}

std::string FamilyFile(const TempFolder& folder) {
    const std::string path = folder.file("family.dat");
    EXPECT_EQ(core::SaveText(path, core::AllLinesDataText(FamilyData())).status,
              core::SaveStatus::kSaved);
    return path;
}

// The lists of the same run made in this process, as the program-generation
// window would hold them.
core::ResultLists ListsOf(const std::string& file, const core::CalcSettings& settings) {
    core::DataSet data;
    core::ApplyDataFileRead(data, core::ReadDataFile(file));
    EXPECT_EQ(core::PrepareDataSet(data), core::kPrepared);
    core::FitResults results;
    EXPECT_TRUE(core::FitAndGenerate(data, settings, results));
    return core::ResultListsOf(data, settings, results);
}

// The prepared data and the results of the same run, as the windows hold them.
struct RunOf {
    core::DataSet data;
    core::FitResults results;
    explicit RunOf(const std::string& file) {
        core::ApplyDataFileRead(data, core::ReadDataFile(file));
        EXPECT_EQ(core::PrepareDataSet(data), core::kPrepared);
        EXPECT_TRUE(core::FitAndGenerate(data, core::CalcSettings{}, results));
    }
};

std::string LfText(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    return text;
}

std::string Cp932Listing(int kind, const core::ResultLists& lists) {
    return core::Utf8ToCp932(core::ListingText(kind, lists)).text;
}

void ExpectListings(const TempFolder& folder, const std::string& out,
                    const core::ResultLists& lists) {
    const std::filesystem::path dir = folder.path() / out;
    EXPECT_EQ(FileBytes((dir / "program.txt").string()), Cp932Listing(core::kSaveProgram, lists));
    EXPECT_EQ(FileBytes((dir / "equations.txt").string()),
              Cp932Listing(core::kSaveEquations, lists));
    EXPECT_EQ(FileBytes((dir / "results.txt").string()),
              Cp932Listing(core::kSaveAllResults, lists));
    EXPECT_EQ(FileBytes((dir / "history.txt").string()), Cp932Listing(core::kSaveHistory, lists));
}

TEST(KuvatelixFit, WritesTheFourListingsOfTheRun) {
    TempFolder folder;
    const std::string file = FamilyFile(folder);
    const Ran run = RunFit(folder, {"--out", folder.file("out"), file});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, "");
    const core::ResultLists lists = ListsOf(file, core::CalcSettings{});
    ASSERT_GE(lists.equations.size(), 9u);
    ExpectListings(folder, "out", lists);
    const std::string results = FileBytes(folder.file("out/results.txt"));
    EXPECT_NE(results.find("\r\n" + std::string(40, '*') + "\r\n"), std::string::npos);
    // Lines are fitted in parameter order: rank 1 is the line of parameter 20.
    EXPECT_NE(
        core::Cp932ToUtf8(FileBytes(folder.file("out/equations.txt"))).text.find("ﾊﾟﾗﾒｰﾀ=20"),
        std::string::npos);
}

// A session is told by its content, whatever its name, and its lines give
// the listings and the program of the data file of the same lines.
TEST(KuvatelixFit, ASessionFitsAsTheDataFileOfItsLines) {
    TempFolder folder;
    const std::string file = FamilyFile(folder);
    core::Session session;
    session.pictureBytes = "not looked at";
    core::PutLinesInSession(session, FamilyData(), core::CaptureMarks{});
    const std::string sessionFile = folder.file("work.dat");
    ASSERT_TRUE(core::WriteSession(sessionFile, session).ok());

    for (const char* language : {"basic", "python"}) {
        const Ran fromData = RunFit(folder, {"--lang", language, "--out", "data", file});
        const Ran fromSession = RunFit(folder, {"--lang", language, "--out", "ses", sessionFile});
        ASSERT_EQ(fromData.status, 0) << fromData.err;
        ASSERT_EQ(fromSession.status, 0) << fromSession.err;
        for (const auto& entry : std::filesystem::directory_iterator(folder.path() / "data")) {
            const std::string name = entry.path().filename().string();
            EXPECT_EQ(FileBytes((folder.path() / "ses" / name).string()),
                      FileBytes(entry.path().string()))
                << language << " " << name;
        }
        EXPECT_EQ(RunFit(folder, {"--lang", language, sessionFile}).out,
                  RunFit(folder, {"--lang", language, file}).out);
    }

    // A damaged session is refused as a data file of bad content is.
    const std::string bytes = FileBytes(sessionFile);
    test::PutFile(sessionFile, bytes.substr(0, bytes.size() / 2));
    const Ran damaged = RunFit(folder, {sessionFile});
    EXPECT_EQ(damaged.status, 1);
    EXPECT_NE(damaged.err.find("ﾌｧｲﾙ内容不正 (a damaged session: cut short"), std::string::npos)
        << damaged.err;
}

TEST(KuvatelixFit, TheSettingsReachTheFit) {
    TempFolder folder;
    const std::string file = FamilyFile(folder);
    core::CalcSettings settings;
    settings.errorMode = 0;
    settings.cutoffPrecision = 1e-5f;
    settings.excludedSystem[1] = 1;
    settings.excludedSystem[3] = 1;
    const Ran run =
        RunFit(folder, {"--mode", "0", "--cutoff=1E-5", "--exclude", "1, 3", "--out=set", file});
    ASSERT_EQ(run.status, 0) << run.err;
    ExpectListings(folder, "set", ListsOf(file, settings));
    EXPECT_NE(FileBytes(folder.file("set/history.txt")),
              Cp932Listing(core::kSaveHistory, ListsOf(file, core::CalcSettings{})));

    // 7.6D-4 is the standard precision written with a D exponent.
    ASSERT_EQ(
        RunFit(folder, {"--cutoff", "7.6D-4", "--mode", "2", "--out", folder.file("std"), file})
            .status,
        0);
    ExpectListings(folder, "std", ListsOf(file, core::CalcSettings{}));
}

TEST(KuvatelixFit, WithoutAFolderPrintsTheProgram) {
    TempFolder folder;
    const std::string file = FamilyFile(folder);
    const Ran run = RunFit(folder, {file});
    ASSERT_EQ(run.status, 0) << run.err;
    std::string expected;
    for (const std::string& record : ListsOf(file, core::CalcSettings{}).program) {
        expected += record + "\n";
    }
    EXPECT_EQ(run.out, expected);
    EXPECT_EQ(run.err, "");
}

// Every option's malformed value is a malformed command line (2); a refused
// data file is a refusal of the input (1). Either writes nothing.
TEST(KuvatelixFit, RefusalsUseTheSystemsMessagesAndWriteNothing) {
    TempFolder folder;
    const std::string file = FamilyFile(folder);
    const std::string badContent = folder.file("bad.dat");
    test::PutFile(badContent, "10, 1 , 3\r\n1,2\r\n3,4\r\n");
    const std::string twoPoints = folder.file("two.dat");
    test::PutFile(twoPoints, "10, 1 , 3\r\n1,2\r\n3,4\r\n5,6\r\n20, 1 , 2\r\n1,2\r\n3,4\r\n");
    const std::string notNumeric = folder.file("text.dat");
    test::PutFile(notNumeric, "10, 1 , 3\r\n1,2\r\n1.5, 2a\r\n5,6\r\n");

    struct Case {
        std::vector<std::string> arguments;
        std::string message;
        int status;
    };
    const Case cases[] = {
        {{"--mode", "3", file}, "入力ｴﾗｰ", 2},
        {{"--mode", "abc", file}, "入力ｴﾗｰ", 2},
        {{"--mode", "1.5", file}, "入力ｴﾗｰ", 2},
        {{"--mode=", file}, "入力ｴﾗｰ", 2},
        {{"--cutoff", "0.75", file}, "入力ｴﾗｰ", 2},
        {{"--cutoff", "0", file}, "入力ｴﾗｰ", 2},
        {{"--cutoff", "1e-3x", file}, "入力ｴﾗｰ", 2},
        {{"--exclude", "1,2,3,4,5,6,7", file}, "計算座標系なし", 2},
        {{"--exclude", "8", file}, "入力ｴﾗｰ", 2},
        {{"--exclude", "1,,2", file}, "入力ｴﾗｰ", 2},
        {{"--min-section", "2", file}, "入力ｴﾗｰ", 2},
        {{"--lang", "C", file}, "unknown language", 2},
        {{"--lang", "cobol", file}, "unknown language", 2},
        {{"--check=yes", file}, "unknown option", 2},
        {{"--check-limit", "-1", file}, "入力ｴﾗｰ", 2},
        {{"--check-limit", "1%", file}, "入力ｴﾗｰ", 2},
        {{"--out=", file}, "a value is missing", 2},
#ifdef KX_WITH_PLOT
        {{"--plot", "p.jpg", file}, "ﾌｧｲﾙ名不正", 2},
        {{"--plot", "p.png", "--xmin", "abc", file}, "入力ｴﾗｰ", 2},
        {{"--plot", "p.png", "--xmax", "1E+39", file}, "入力ｴﾗｰ", 2},
        {{"--plot", "p.png", "--log-x=1", file}, "unknown option", 2},
#endif
        {{"--log-y", file}, "no --plot FILE", 2},
        {{"--para", file}, "no --plot FILE", 2},
        {{"--help=x"}, "unknown option", 2},
        {{"--bogus", file}, "unknown option", 2},
        {{"--mode"}, "a value is missing", 2},
        {{}, "no data file given", 2},
        {{file, file}, "more than one data file given", 2},
        {{"--", "--mode"}, "ﾌｧｲﾙ名不正", 1},
        {{folder.file("missing.dat")}, "ﾌｧｲﾙ名不正", 1},
        {{badContent}, "ﾌｧｲﾙ内容不正", 1},
        {{twoPoints}, "データが少ない", 1},
        {{notNumeric}, "数値として判断されない", 1},
    };
    for (const Case& c : cases) {
        std::vector<std::string> arguments = {"--out", folder.file("out")};
        arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
        const Ran run = RunFit(folder, arguments);
        EXPECT_EQ(run.status, c.status) << c.message;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "");
        EXPECT_FALSE(std::filesystem::exists(folder.file("out"))) << c.message;
        EXPECT_FALSE(std::filesystem::exists(folder.file("p.png"))) << c.message;
    }

    // Listings of an earlier run stay as they were.
    ASSERT_EQ(RunFit(folder, {"--out", folder.file("kept"), file}).status, 0);
    const std::string before = FileBytes(folder.file("kept/results.txt"));
    EXPECT_EQ(RunFit(folder, {"--out", folder.file("kept"), twoPoints}).status, 1);
    EXPECT_EQ(FileBytes(folder.file("kept/results.txt")), before);
}

// ---- Output that is never lost -------------------------------------------------

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

std::size_t EntriesIn(const std::filesystem::path& folder) {
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) ++count;
    return count;
}

TEST(KuvatelixFit, AFailedRunLeavesEverySymbolicLinkWhereItWas) {
    TempFolder folder;
    const std::string file = FamilyFile(folder);
    std::filesystem::create_symlink(folder.file("nowhere"), folder.file("dangling"));
    std::filesystem::create_symlink(folder.file("loop2"), folder.file("loop1"));
    std::filesystem::create_symlink(folder.file("loop1"), folder.file("loop2"));
    for (const char* out : {"dangling", "dangling/sub", "loop1", "loop1/sub/deeper"}) {
        const Ran run = RunFit(folder, {"--out", out, file});
        EXPECT_EQ(run.status, 1) << out;
        EXPECT_TRUE(Contains(run.err, "書込めません。")) << run.err;
        for (const char* link : {"dangling", "loop1", "loop2"}) {
            EXPECT_TRUE(std::filesystem::is_symlink(folder.file(link))) << out << " took " << link;
        }
        EXPECT_FALSE(std::filesystem::exists(folder.file("nowhere"))) << out;
    }
    // A link to a folder is a folder.
    std::filesystem::create_directory(folder.file("real"));
    std::filesystem::create_symlink(folder.file("real"), folder.file("linked"));
    ASSERT_EQ(RunFit(folder, {"--out", "linked/new", file}).status, 0);
    EXPECT_TRUE(std::filesystem::is_regular_file(folder.file("real/new/results.txt")));
}

// Files that cannot be written (a file-size limit the program inherits): the
// folders the run made are taken away again, and listings already there stay.
TEST(KuvatelixFit, AFileSizeLimitEndsInTheOrdinaryFailure) {
    TempFolder folder;
    const std::string file = FamilyFile(folder);
    std::filesystem::create_directory(folder.file("kept"));
    test::PutFile(folder.file("kept/results.txt"), "earlier results\r\n");
    // With SIG_DFL the program gets the signal's default action, which would
    // end it.
    const Ran made = RunUnderFileSizeLimit(folder, {"--out", "made/deeper", file}, SIG_IGN);
    const Ran madeDefault = RunUnderFileSizeLimit(folder, {"--out", "made/deeper", file}, SIG_DFL);
    const Ran kept = RunUnderFileSizeLimit(folder, {"--out", "kept", file}, SIG_DFL);

    for (const Ran& run : {made, madeDefault, kept}) {
        EXPECT_EQ(run.status, 1) << "-1: the program was killed";
        EXPECT_TRUE(Contains(run.err, "書込めません。")) << run.err;
    }
    EXPECT_FALSE(std::filesystem::exists(folder.file("made")));
    EXPECT_EQ(FileBytes(folder.file("kept/results.txt")), "earlier results\r\n");
    EXPECT_EQ(EntriesIn(folder.file("kept")), 1u);
}

// Standard output takes a result as a file does: when it cannot take all of
// it (a full device, a file-size limit, a stream closed) the run fails saying
// why, and names what was written nevertheless.
TEST(KuvatelixFit, AResultStandardOutputCannotTakeIsAFailure) {
    TempFolder folder;
    const std::string file = FamilyFile(folder);
    struct Case {
        std::vector<std::string> arguments;
        std::string prefix;
        std::string output;
        std::string reason;
    };
    const Case cases[] = {
        {{file}, "", ">/dev/full", "no space left on the device"},
        {{"--check", file}, "", ">/dev/full", "no space left on the device"},
        {{"--help"}, "", ">/dev/full", "no space left on the device"},
        {{"--lang", "c", file}, "", ">&-", "closed"},
        {{"--check", "--out", "out", file}, "", ">&-", "closed"},
        // 8 blocks of 512 bytes, less than the program.
        {{"--lang", "c", file}, "ulimit -f 8; ", ">kx_calc.c", "the file-size limit was reached"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.front() + " " + c.output);
        const Ran run = RunFit(folder, c.arguments, c.prefix, c.output);
        EXPECT_EQ(run.status, 1);
        EXPECT_TRUE(Contains(run.err, "standard output: 書込めません。 (" + c.reason + ")"))
            << run.err;
        const bool listings =
            std::find(c.arguments.begin(), c.arguments.end(), "--out") != c.arguments.end();
        EXPECT_EQ(Contains(run.err, "out: the listings written nevertheless"), listings)
            << run.err;
        EXPECT_EQ(std::filesystem::exists(folder.file("out/results.txt")), listings);
        std::filesystem::remove_all(folder.file("out"));
    }
    // The limit cut the program short: the file holds what went out before.
    const std::size_t whole = RunFit(folder, {"--lang", "c", file}).out.size();
    EXPECT_GT(std::filesystem::file_size(folder.file("kx_calc.c")), 0u);
    EXPECT_LT(std::filesystem::file_size(folder.file("kx_calc.c")), whole);
}

TEST(KuvatelixFit, ListingsTheUserMayNotReplaceAreKept) {
    TempFolder folder;
    ::chmod(folder.path().c_str(), 0777);
    const std::string file = FamilyFile(folder);
    struct Case {
        const char* out;
        mode_t folderMode;
        const char* listing;
        mode_t listingMode;
    };
    const Case cases[] = {
        // An open folder with a read-only listing in it.
        {"open", 0777, "results.txt", 0444},
        // A shared folder in which the last listing belongs to someone else:
        // the rename over it fails after the first three were renamed into
        // place, and they are taken back. Root's files stand for another
        // user's, so this needs the tests to run as root.
        {"shared", 01777, "history.txt", 0666},
        // ... and one before the last, of which no second name is kept that
        // no one could remove.
        {"shared-results", 01777, "results.txt", 0666},
    };
    for (const Case& c : cases) {
        if (c.folderMode == 01777 && !test::RunsAsRoot()) continue;
        const std::string out = folder.file(c.out);
        const std::string listing = out + "/" + c.listing;
        std::filesystem::create_directory(out);
        ::chmod(out.c_str(), c.folderMode);
        test::PutFile(listing, "someone's listing");
        ::chmod(listing.c_str(), c.listingMode);
        const Ran run = RunFit(folder, {"--out", c.out, file}, test::OrdinaryUserPrefix());
        EXPECT_EQ(run.status, 1) << c.out;
        EXPECT_TRUE(Contains(run.err, "書込めません。 (no permission)")) << run.err;
        EXPECT_EQ(FileBytes(listing), "someone's listing") << c.out;
        EXPECT_EQ(EntriesIn(out), 1u) << c.out << ": nothing written, nothing left";
    }
}

TEST(KuvatelixFit, RefusedFilesSayWhy) {
    TempFolder folder;
    ::chmod(folder.path().c_str(), 0777);
    std::filesystem::create_directory(folder.file("folder.dat"));
    ASSERT_EQ(::mkfifo(folder.file("pipe.dat").c_str(), 0666), 0);
    test::PutFile(folder.file("plain"), "x");
    test::PutFile(folder.file("secret.dat"), "10, 1 , 3\r\n1,2\r\n3,4\r\n5,6\r\n");
    ::chmod(folder.file("secret.dat").c_str(), 0600);
    {
        std::ofstream huge(folder.file("huge.dat"), std::ios::binary);
        huge << std::string(core::kMaxDataFileBytes + 1, '1');
    }
    test::PutFile(folder.file("short.dat"), "10, 1 , 1\r\n1,2\r\n");
    struct Case {
        std::string file;
        std::string message;
    };
    const Case cases[] = {
        {"missing.dat", "ﾌｧｲﾙ名不正 (no such file"},
        {"folder.dat", "ﾌｧｲﾙ名不正 (a folder"},
        {"pipe.dat", "ﾌｧｲﾙ名不正 (a named pipe"},
        {"plain/x.dat", "ﾌｧｲﾙ名不正 (not a folder"},
        {"secret.dat", "ﾌｧｲﾙ名不正 (no permission"},
        {"huge.dat", "ﾌｧｲﾙ内容不正 (larger than the limit of 4194304 bytes"},
        {"short.dat", "ﾌｧｲﾙ内容不正 (a count of 1 or less"},
    };
    for (const Case& c : cases) {
        const Ran run = RunFit(folder, {c.file}, test::OrdinaryUserPrefix());
        EXPECT_EQ(run.status, 1) << c.file;
        EXPECT_TRUE(Contains(run.err, c.message)) << run.err;
    }
    const Ran blocked = RunFit(folder, {"--out", "plain/sub", "missing.dat"});
    EXPECT_TRUE(Contains(blocked.err, "ﾌｧｲﾙ名不正")) << "the data file is read first";
    test::PutFile(folder.file("good.dat"), "10, 1 , 3\r\n1,2\r\n3,4\r\n5,7\r\n");
    const Ran notFolder = RunFit(folder, {"--out", "plain/sub", "good.dat"});
    EXPECT_EQ(notFolder.status, 1);
    EXPECT_TRUE(Contains(notFolder.err, "書込めません。 (not a folder")) << notFolder.err;
}

// ---- Families the generated program could not serve ----------------------------------

TEST(KuvatelixFit, EqualParametersAreRefusedNamingTheLine) {
    TempFolder folder;
    const std::string block = ", 1 , 3\r\n1,2\r\n2,4\r\n3,7\r\n";
    test::PutFile(folder.file("fives.dat"), "5" + block + "7" + block + "5" + block);
    test::PutFile(folder.file("ones.dat"),
                  "1" + block + "1.0000001" + block + "1.0000002" + block);
    for (const char* file : {"fives.dat", "ones.dat"}) {
        const Ran run = RunFit(folder, {"--out", "out", file});
        EXPECT_EQ(run.status, 1) << file;
        EXPECT_TRUE(Contains(run.err, "パラメータが数値でない")) << run.err;
        EXPECT_TRUE(Contains(run.err, std::string(file) == "fives.dat" ? "line 3" : "line 2"))
            << run.err;
        EXPECT_FALSE(std::filesystem::exists(folder.file("out")));
    }
}

// Every form rates these points 1000000 or worse (the 1.1E-20 among values of
// 1E10 spoils every relative deviation); the program must still follow them.
TEST(KuvatelixFit, ALineNoFormCanRateGetsTheLeastBadForm) {
    TempFolder folder;
    test::PutFile(folder.file("spoilt.dat"),
                  "1, 1 , 5\r\n0,0\r\n1,1.1E-20\r\n2,1E10\r\n3,0\r\n4,-6E10\r\n");
    const Ran printed = RunFit(folder, {"spoilt.dat"});
    // Not 1: the program is there, so this is no ordinary failure.
    EXPECT_EQ(printed.status, 3);
    EXPECT_TRUE(Contains(printed.err, "spoilt.dat (line 1)")) << printed.err;
    EXPECT_TRUE(Contains(printed.err, "section 1")) << printed.err;
    std::vector<std::string> lines;
    for (std::size_t start = 0, end; (end = printed.out.find('\n', start)) != std::string::npos;
         start = end + 1) {
        lines.push_back(printed.out.substr(start, end - start));
    }
    const test::basic::Program program(lines);
    ASSERT_TRUE(program.ok()) << program.error();
    const auto at2 = test::basic::RunCalc(program, 2.0f, 1.0f);
    ASSERT_TRUE(at2.ok) << at2.call.error;
    EXPECT_NEAR(at2.answer, 1e10, 1e5);

    const Ran written = RunFit(folder, {"--out", "out", "spoilt.dat"});
    EXPECT_EQ(written.status, printed.status);
    EXPECT_TRUE(std::filesystem::exists(folder.file("out/program.txt")));
}

TEST(KuvatelixFit, HelpExplainsTheCommand) {
    TempFolder folder;
    const Ran run = RunFit(folder, {"--help"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out.rfind("Usage: kuvatelix-fit [--mode 0|1|2]", 0), 0u) << run.out;
    for (const char* option :
         {"--cutoff", "--exclude", "--out", "0.00076", "--lang basic|c|python", "--check",
          "--check-limit", "kx_calc.py", "Exit status"}) {
        EXPECT_NE(run.out.find(option), std::string::npos) << option;
    }
}

// The spellings of the command line: a refused one by its message, its status
// and the usage text that follows a malformed command line; an accepted one by
// doing what its plain spelling does.
TEST(KuvatelixFit, EverySpellingOfTheCommandLine) {
    TempFolder folder;
    const std::string file = FamilyFile(folder);
    const std::string usage = RunFit(folder, {"--help"}).out;
    struct Case {
        std::vector<std::string> arguments;
        int status;
        std::string message;              // the first line on standard error
        std::vector<std::string> sameAs;  // for an accepted one
    };
    const Case cases[] = {
        {{"--lang=c", file}, 0, "", {"--lang", "c", file}},
        {{"--check-limit=1", file}, 0, "", {"--check-limit", "1", file}},
        // A later option overrides an earlier one.
        {{"--lang", "c", "--exclude", "1,2", "--lang", "basic", "--exclude=", file},
         0,
         "",
         {file}},
        {{"--help", "--bogus"}, 0, "", {"--help"}},
        // After "--" every argument is a data file.
        {{"--", "--check"}, 1, "--check: ﾌｧｲﾙ名不正 (no such file or folder)", {}},
        // A value is taken as it comes, even one that looks like an option.
        {{"--mode", "--help", file}, 2, "--mode --help: 入力ｴﾗｰ", {}},
        {{"--cutoff=1=2", file}, 2, "--cutoff 1=2: 入力ｴﾗｰ", {}},
        {{"--exclude=1,2,3,4,5,6,7", file}, 2, "--exclude 1,2,3,4,5,6,7: 計算座標系なし", {}},
        {{"--min-section=11", file}, 2, "--min-section 11: 入力ｴﾗｰ", {}},
        {{"--min-section=4", file}, 0, "", {"--min-section", "4", file}},
        // The first refusal ends the command line.
        {{"--mode", "3", "--bogus", file}, 2, "--mode 3: 入力ｴﾗｰ", {}},
        {{"--bogus=1", "--mode", "3", file}, 2, "--bogus=1: unknown option", {}},
        {{"--check=1", file}, 2, "--check=1: unknown option", {}},
        {{"--help=x"}, 2, "--help=x: unknown option", {}},
        {{"--out=", file}, 2, "--out: a value is missing", {}},
        {{file, "--exclude"}, 2, "--exclude: a value is missing", {}},
        {{"--lang="}, 2, "--lang : unknown language", {}},
        {{"--para", "--xmin", "1"}, 2, "--xmin: shapes the plot, but no --plot FILE is given", {}},
    };
    for (const Case& c : cases) {
        std::string shown;
        for (const std::string& argument : c.arguments) shown += Quoted(argument) + " ";
        SCOPED_TRACE(shown);
        const Ran run = RunFit(folder, c.arguments);
        EXPECT_EQ(run.status, c.status) << run.err;
        if (!c.sameAs.empty()) {
            const Ran plain = RunFit(folder, c.sameAs);
            EXPECT_EQ(run.out, plain.out);
            EXPECT_EQ(run.err, plain.err);
            continue;
        }
        const std::size_t lineEnd = run.err.find('\n');
        EXPECT_EQ(run.err.substr(0, lineEnd), "kuvatelix-fit: " + c.message);
        EXPECT_TRUE(run.err.substr(lineEnd + 1) == (c.status == 2 ? usage : ""))
            << "the usage text follows a malformed command line, and nothing else";
        EXPECT_EQ(run.out, "");
    }
}

TEST(KuvatelixFit, FitsTheSampleFamily) {
    TempFolder folder;
    const Ran run = RunFit(folder, {"--out", folder.file("sample"), KX_SAMPLE_FILE});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string equations =
        core::Cp932ToUtf8(FileBytes(folder.file("sample/equations.txt"))).text;
    for (int rank = 1; rank <= 5; ++rank) {
        EXPECT_NE(equations.find("Y!(" + std::to_string(rank) + ")="), std::string::npos) << rank;
    }
    EXPECT_EQ(equations.find("Y!(6)="), std::string::npos);
    ExpectListings(folder, "sample", ListsOf(KX_SAMPLE_FILE, core::CalcSettings{}));
}

// ---- The program in other languages, and its check against the points ------------

TEST(KuvatelixFit, GivesTheProgramInTheChosenLanguage) {
    TempFolder folder;
    const std::string file = FamilyFile(folder);
    const RunOf run(file);
    const core::ResultLists lists = ListsOf(file, core::CalcSettings{});
    const struct {
        const char* language;
        core::ProgramLanguage value;
        const char* fileName;  // in place of program.txt with --out
    } languages[] = {{"basic", core::ProgramLanguage::kBasic, "program.txt"},
                     {"c", core::ProgramLanguage::kC, "kx_calc.c"},
                     {"python", core::ProgramLanguage::kPython, "kx_calc.py"},
                     {"matlab", core::ProgramLanguage::kMatlab, "kx_calc.m"},
                     {"javascript", core::ProgramLanguage::kJavaScript, "kx_calc.mjs"},
                     {"csharp", core::ProgramLanguage::kCSharp, "KxCalc.cs"},
                     {"fortran", core::ProgramLanguage::kFortran, "kx_calc.f90"}};
    for (const auto& [language, value, fileName] : languages) {
        const core::ProgramListing program = core::ProgramListingOf(value, run.data, run.results);
        ASSERT_EQ(program.status, core::CalcFamilyStatus::kReady);
        const Ran printed = RunFit(folder, {"--lang", language, file});
        ASSERT_EQ(printed.status, 0) << printed.err;
        EXPECT_EQ(printed.out, LfText(program.lines)) << language;

        const std::string out = std::string("out-") + language;
        ASSERT_EQ(RunFit(folder, {"--lang", language, "--out", out, file}).status, 0);
        const std::filesystem::path dir = folder.path() / out;
        const char* name = core::ProgramFileName(value);
        EXPECT_STREQ(name, fileName);
        EXPECT_EQ(EntriesIn(dir), 4u) << language;
        EXPECT_EQ(FileBytes((dir / "equations.txt").string()),
                  Cp932Listing(core::kSaveEquations, lists));
        if (value == core::ProgramLanguage::kBasic) {
            EXPECT_EQ(FileBytes((dir / name).string()), Cp932Listing(core::kSaveProgram, lists));
        } else {
            EXPECT_EQ(FileBytes((dir / name).string()), LfText(program.lines)) << name;
        }
    }
}

TEST(KuvatelixFit, ChecksTheProgramAgainstThePoints) {
    TempFolder folder;
    const std::string file = FamilyFile(folder);
    const RunOf run(file);
    const core::ValidationTable table = core::ValidationTableOf(run.data, run.results);
    const std::string listing = LfText(core::ValidationListing(table));
    ASSERT_EQ(table.lines.size(), 3u);
    double largest = 0.0, between = 0.0;
    for (const core::CheckedLine& line : table.lines) {
        largest = std::max(largest, line.largestDeviation);
        between = std::max(between, line.largestBetween);
    }
    ASSERT_GT(largest, 1e-5);
    ASSERT_LT(largest, 0.01);
    // The wave of the family between its first points is more than the
    // program follows: the check sees it there, not at the points.
    ASSERT_GT(between, 0.01);
    const Ran standard = RunFit(folder, {"--check", file});
    EXPECT_EQ(standard.status, 3);
    EXPECT_EQ(standard.out, listing);
    EXPECT_TRUE(Contains(standard.err, "between points")) << standard.err;
    EXPECT_FALSE(Contains(standard.err, " at point ")) << standard.err;

    char limit[32];
    std::snprintf(limit, sizeof limit, "%.9g", std::max(largest, between) * 1.001);
    const std::string above = limit;
    const Ran within = RunFit(folder, {"--check-limit", above, file});
    EXPECT_EQ(within.status, 0) << within.err;
    EXPECT_EQ(within.out, listing);
    EXPECT_EQ(within.err, "");

    // A limit below the largest deviation at a point: the table all the same,
    // status 3, and the lines beyond the limit named.
    std::snprintf(limit, sizeof limit, "%.9g", largest * 0.999);
    const Ran beyond = RunFit(folder, {"--check-limit", limit, file});
    EXPECT_EQ(beyond.status, 3);
    EXPECT_EQ(beyond.out, listing);
    EXPECT_TRUE(Contains(beyond.err, "beyond the limit")) << beyond.err;
    EXPECT_TRUE(Contains(beyond.err, ".dat (line ")) << beyond.err;

    // With a folder the listings are written and the check printed.
    const Ran both =
        RunFit(folder, {"--check-limit", above, "--lang", "python", "--out", "both", file});
    EXPECT_EQ(both.status, 0) << both.err;
    EXPECT_EQ(both.out, listing);
    EXPECT_TRUE(std::filesystem::exists(folder.file("both/kx_calc.py")));
}

std::string Output(const std::string& command, const TempFolder& folder) {
    const std::string out = folder.file("output");
    EXPECT_EQ(std::system((command + " >" + Quoted(out)).c_str()), 0) << command;
    return FileBytes(out);
}

// The drivers in samples/ run the sample programs, compiled by the system's C
// compiler and run by python3, and print the family's values.
TEST(KuvatelixFit, TheSampleProgramsRun) {
    TempFolder folder;
    const std::string samples = KX_SAMPLES_DIR;
    const std::string fromC = Output(
        Quoted(KX_C_COMPILER) + " -std=c99 -ffp-contract=off -o " +
            Quoted(folder.file("calc_demo")) + " " + Quoted(samples + "/calc_demo.c") + " " +
            Quoted(samples + "/kx_calc.c") + " -lm && " + Quoted(folder.file("calc_demo")),
        folder);
    const std::string fromPython =
        Output(Quoted(KX_PYTHON) + " -B " + Quoted(samples + "/calc_demo.py"), folder);
    EXPECT_EQ(fromPython, fromC);

    const RunOf run(KX_SAMPLE_FILE);
    const core::CalcFamilyBuild family = core::CalcFamilyOf(run.data, run.results);
    ASSERT_EQ(family.status, core::CalcFamilyStatus::kReady);
    std::istringstream rows(fromC);
    std::string header;
    std::getline(rows, header);
    EXPECT_EQ(header, "mA\tdegC\tV\tEFLG");
    int count = 0;
    for (double milliamps, celsius, volts; rows >> milliamps >> celsius >> volts;) {
        int flag = -1;
        rows >> flag;
        const core::CalcAnswer answer = core::EvaluateCalc(
            family.family, static_cast<float>(milliamps), static_cast<float>(celsius));
        EXPECT_EQ(flag, answer.flag);
        EXPECT_NEAR(volts, answer.value, 5e-5);
        ++count;
    }
    EXPECT_EQ(count, 6);
}

}  // namespace
}  // namespace kx

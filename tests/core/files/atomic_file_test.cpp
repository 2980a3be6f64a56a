#include "core/files/atomic_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>

#include "core/files/temporary_files.h"
#include "other_user.h"
#include "temp_folder.h"

namespace kx::core {
namespace {

using test::FileBytes;
using test::PutFile;
using test::TempFolder;

std::size_t EntriesIn(const std::filesystem::path& folder) {
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) ++count;
    return count;
}

// Makes every write beyond `bytes` fail with EFBIG for the lifetime of the
// object, a disk-full stand-in that works whatever the user's rights.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previous_);
    }

private:
    rlimit saved_{};
    void (*previous_)(int) = nullptr;
};

TEST(AtomicFile, WritesAndReplacesWholeFilesLeavingNothingBehind) {
    TempFolder folder;
    const std::string path = folder.file("data.dat");
    ASSERT_EQ(WriteFileAtomically(path, "first\r\n").status, FileStatus::kOk);
    EXPECT_EQ(FileBytes(path), "first\r\n");
    ::chmod(path.c_str(), 0640);
    ASSERT_EQ(WriteFileAtomically(path, "2").status, FileStatus::kOk);
    EXPECT_EQ(FileBytes(path), "2");
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u) << "the replaced file keeps its permissions";
    ASSERT_EQ(WriteFileAtomically(path, "").status, FileStatus::kOk);
    EXPECT_EQ(FileBytes(path), "");
    EXPECT_EQ(EntriesIn(folder.path()), 1u);
}

TEST(AtomicFile, AFailedWriteKeepsTheEarlierFile) {
    TempFolder folder;
    const std::string path = folder.file("results.txt");
    PutFile(path, "earlier contents\r\n");
    {
        FileSizeLimit limit(1000);
        const FileOutcome outcome = WriteFileAtomically(path, std::string(5000, 'x'));
        EXPECT_EQ(outcome.status, FileStatus::kCannotWrite);
        EXPECT_EQ(outcome.error, EFBIG);
    }
    EXPECT_EQ(FileBytes(path), "earlier contents\r\n");
    EXPECT_EQ(EntriesIn(folder.path()), 1u) << "the temporary file is removed";
}

TEST(AtomicFile, ASetOfFilesIsWrittenWholeOrNotAtAll) {
    TempFolder folder;
    PutFile(folder.file("a.txt"), "old a");
    {
        FileSizeLimit limit(1000);
        const WriteReport report = WriteFilesAtomically(
            {{folder.file("a.txt"), "new a"}, {folder.file("b.txt"), std::string(4000, 'b')}});
        EXPECT_EQ(report.outcome.status, FileStatus::kCannotWrite);
    }
    EXPECT_EQ(FileBytes(folder.file("a.txt")), "old a");
    EXPECT_FALSE(std::filesystem::exists(folder.file("b.txt")));
    EXPECT_EQ(EntriesIn(folder.path()), 1u);

    ASSERT_EQ(WriteFilesAtomically({{folder.file("a.txt"), "new a"}, {folder.file("b.txt"), "b"}})
                  .outcome.status,
              FileStatus::kOk);
    EXPECT_EQ(FileBytes(folder.file("a.txt")), "new a");
    EXPECT_EQ(FileBytes(folder.file("b.txt")), "b");
}

TEST(AtomicFile, UnwritablePlacesAreRefusedSayingWhy) {
    TempFolder folder;
    const FileOutcome missing = WriteFileAtomically(folder.file("missing/x.dat"), "1");
    EXPECT_EQ(missing.status, FileStatus::kCannotOpen);
    EXPECT_EQ(missing.reason, FileReason::kNotFound);
    EXPECT_EQ(missing.path, folder.file("missing/x.dat"));
    std::filesystem::create_directory(folder.file("sub"));
    const FileOutcome onFolder = WriteFileAtomically(folder.file("sub"), "1");
    EXPECT_EQ(onFolder.status, FileStatus::kCannotOpen);
    EXPECT_EQ(onFolder.reason, FileReason::kIsAFolder);
    EXPECT_TRUE(std::filesystem::is_directory(folder.file("sub")));
    ASSERT_EQ(::mkfifo(folder.file("pipe").c_str(), 0600), 0);
    EXPECT_EQ(WriteFileAtomically(folder.file("pipe"), "1").reason, FileReason::kNamedPipe);
    PutFile(folder.file("plain"), "x");
    EXPECT_EQ(WriteFileAtomically(folder.file("plain/x.dat"), "1").reason,
              FileReason::kNotAFolder);
    std::filesystem::create_symlink(folder.file("nowhere"), folder.file("dangling"));
    EXPECT_EQ(WriteFileAtomically(folder.file("dangling"), "1").reason, FileReason::kBrokenLink);
    EXPECT_TRUE(std::filesystem::is_symlink(folder.file("dangling")));
    EXPECT_EQ(EntriesIn(folder.path()), 4u);
}

// ---- Folders made for a set of files ---------------------------------------------

TEST(AtomicFile, ReportsTheFilesWrittenAndTheFoldersMade) {
    TempFolder folder;
    const std::string a = folder.file("new/deeper/a.txt");
    const std::string b = folder.file("new/deeper/b.txt");
    const WriteReport report = WriteFilesAtomically({{a, "a"}, {b, "b"}}, {.makeFolders = true});
    ASSERT_TRUE(report.ok());
    EXPECT_EQ(report.written, (std::vector<std::string>{a, b}));
    EXPECT_EQ(report.madeFolders,
              (std::vector<std::string>{folder.file("new"), folder.file("new/deeper")}));
    EXPECT_EQ(FileBytes(b), "b");

    // The second file's folder cannot be made: the folders this write made
    // for the first are taken away again, those that were there stay.
    PutFile(folder.file("plain"), "x");
    const WriteReport failed = WriteFilesAtomically(
        {{folder.file("new/more/c.txt"), "c"}, {folder.file("plain/sub/d.txt"), "d"}},
        {.makeFolders = true});
    EXPECT_EQ(failed.outcome.status, FileStatus::kCannotOpen);
    EXPECT_EQ(failed.outcome.reason, FileReason::kNotAFolder);
    EXPECT_EQ(failed.outcome.path, folder.file("plain"));
    EXPECT_TRUE(failed.written.empty());
    EXPECT_TRUE(failed.madeFolders.empty());
    EXPECT_FALSE(std::filesystem::exists(folder.file("new/more")));
    EXPECT_TRUE(std::filesystem::exists(b));
}

// Whatever was on the path before stays, even when it is what made the write
// fail: a link that leads nowhere or round in a circle is not "made" here.
TEST(AtomicFile, SymbolicLinksOnTheFolderPathAreNeverRemoved) {
    TempFolder folder;
    std::filesystem::create_symlink(folder.file("nowhere"), folder.file("dangling"));
    std::filesystem::create_symlink(folder.file("loop2"), folder.file("loop1"));
    std::filesystem::create_symlink(folder.file("loop1"), folder.file("loop2"));
    struct Case {
        const char* file;
        FileReason reason;
        const char* atFault;
    };
    const Case cases[] = {
        {"dangling/x.txt", FileReason::kBrokenLink, "dangling"},
        {"dangling/sub/x.txt", FileReason::kBrokenLink, "dangling"},
        {"loop1/x.txt", FileReason::kLinkLoop, "loop1"},
        {"loop1/sub/x.txt", FileReason::kLinkLoop, "loop1"},
    };
    for (const Case& c : cases) {
        const WriteReport report =
            WriteFilesAtomically({{folder.file(c.file), "x"}}, {.makeFolders = true});
        EXPECT_FALSE(report.ok()) << c.file;
        EXPECT_EQ(report.outcome.reason, c.reason) << c.file;
        EXPECT_EQ(report.outcome.path, folder.file(c.atFault)) << c.file;
        for (const char* link : {"dangling", "loop1", "loop2"}) {
            EXPECT_TRUE(std::filesystem::is_symlink(folder.file(link))) << c.file;
        }
        EXPECT_EQ(EntriesIn(folder.path()), 3u) << c.file;
    }
}

// ---- Files the user may not replace --------------------------------------------

TEST(AtomicFile, FilesTheUserMayNotWriteKeepTheirBytes) {
    TempFolder folder;
    ::chmod(folder.path().c_str(), 0777);
    const std::string readOnly = folder.file("read-only.txt");
    PutFile(readOnly, "kept\r\n");
    ::chmod(readOnly.c_str(), 0444);
    const std::string locked = folder.file("locked");
    std::filesystem::create_directory(locked);
    const std::string inLocked = locked + "/open.txt";
    PutFile(inLocked, "kept too\r\n");
    ::chmod(inLocked.c_str(), 0666);
    ::chmod(locked.c_str(), 0755);

    const int refused = test::InChildAsOrdinaryUser([&] {
        const auto refusedForPermission = [](const FileOutcome& outcome) {
            return outcome.status == FileStatus::kCannotOpen &&
                   outcome.reason == FileReason::kNoPermission;
        };
        int wrongly = 0;
        if (!refusedForPermission(WriteFileAtomically(readOnly, "new"))) wrongly |= 1;
        if (!refusedForPermission(WriteFileAtomically(inLocked, "new"))) wrongly |= 2;
        return wrongly;
    });
    EXPECT_EQ(refused, 0) << "1: the read-only file, 2: the file in the locked folder";
    EXPECT_EQ(FileBytes(readOnly), "kept\r\n");
    EXPECT_EQ(FileBytes(inLocked), "kept too\r\n");
    EXPECT_EQ(EntriesIn(folder.path()), 2u);
    EXPECT_EQ(EntriesIn(locked), 1u);
}

TEST(AtomicFile, ASymbolicLinkIsWrittenThroughAndStays) {
    TempFolder folder;
    const std::string real = folder.file("real.dat");
    PutFile(real, "old");
    const std::string link = folder.file("link.dat");
    std::filesystem::create_symlink(real, link);
    ASSERT_EQ(WriteFileAtomically(link, "new").status, FileStatus::kOk);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(FileBytes(real), "new");
    EXPECT_EQ(EntriesIn(folder.path()), 2u);
}

// A shared folder with the sticky bit: anyone may add files, but only a file's
// owner may replace it. Staging succeeds; the rename over the other user's file
// fails after the earlier files of the set were already renamed into place.
TEST(AtomicFile, ASetIsPutBackWhenALaterRenameFails) {
    if (!test::RunsAsRoot()) GTEST_SKIP() << "needs a file of another user";
    TempFolder folder;
    ::chmod(folder.path().c_str(), 0777);
    const std::filesystem::path shared = folder.path() / "shared";
    std::filesystem::create_directory(shared);
    ::chmod(shared.c_str(), 01777);
    const std::string mine = (shared / "mine.txt").string();
    PutFile(mine, "my old text");
    ASSERT_EQ(::chown(mine.c_str(), test::kNobody, test::kNobody), 0);
    const std::string theirs = (shared / "theirs.txt").string();
    PutFile(theirs, "their text");
    ::chmod(theirs.c_str(), 0666);
    const std::string fresh = (shared / "fresh.txt").string();
    const std::string last = (shared / "last.txt").string();

    // Their file is not the last: a second name of it, which nobody could
    // remove from the sticky folder again, must not be made.
    const int result = test::InChildAsOrdinaryUser([&] {
        const WriteReport report = WriteFilesAtomically(
            {{fresh, "fresh"}, {mine, "my new text"}, {theirs, "overwritten"}, {last, "last"}});
        if (report.ok()) return 1;
        if (!report.written.empty()) return 2;
        if (report.outcome.status != FileStatus::kCannotWrite || report.outcome.path != theirs ||
            report.outcome.reason != FileReason::kNoPermission) {
            return 3;
        }
        return 0;
    });
    EXPECT_EQ(result, 0) << "1: written, 2: not all put back, 3: another failure";
    EXPECT_FALSE(std::filesystem::exists(fresh));
    EXPECT_FALSE(std::filesystem::exists(last));
    EXPECT_EQ(FileBytes(mine), "my old text");
    EXPECT_EQ(FileBytes(theirs), "their text");
    EXPECT_EQ(EntriesIn(shared), 2u) << "no temporary or backup file is left";
}

// A writer killed while writing leaves its temporary file; the next write into
// the folder removes it, and nothing but such files of writers that are gone.
TEST(AtomicFile, AWriteRemovesWhatKilledWritersLeft) {
    TempFolder folder;
    const std::string target = folder.file("results.txt");
    // What a kill leaves: the writer's own temporary name, never renamed.
    std::string left;
    const pid_t child = ::fork();
    if (child == 0) {
        const std::string name = TemporaryName(target);
        PutFile(name, "half a listing");
        ::_exit(0);
    }
    ASSERT_GT(child, 0);
    ::waitpid(child, nullptr, 0);
    for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
        left = entry.path().filename().string();
    }
    ASSERT_EQ(WriterOfTemporary(left), child) << left;

    const std::string gone = std::to_string(child);
    const std::string running = std::to_string(::getppid());
    const std::string kept[] = {
        ".results.txt." + running + ".1.2.tmp",  // a writer still at work
        ".results.txt." + gone + ".1.tmp",       // not the writer's pattern
        "results.txt." + gone + ".1.2.tmp",
        ".results.txt." + gone + ".1.2.tmp.bak",
        "." + gone + ".1.2.tmp",
    };
    for (const std::string& name : kept) PutFile(folder.file(name), "");
    const std::string asFolder = folder.file(".notes.txt." + gone + ".3.4.tmp");
    std::filesystem::create_directory(asFolder);
    TempFolder elsewhere;
    PutFile(elsewhere.file(left), "");

    ASSERT_EQ(WriteFileAtomically(target, "new").status, FileStatus::kOk);
    EXPECT_FALSE(std::filesystem::exists(folder.file(left)));
    for (const std::string& name : kept) EXPECT_TRUE(std::filesystem::exists(folder.file(name)));
    EXPECT_TRUE(std::filesystem::is_directory(asFolder));
    EXPECT_TRUE(std::filesystem::exists(elsewhere.file(left))) << "a folder not written into";
    EXPECT_EQ(FileBytes(target), "new");
}

// The default action of SIGXFSZ ends the process; a write beyond the limit
// must fail as an ordinary write does.
TEST(AtomicFile, AFileSizeLimitIsAnOrdinaryFailure) {
    TempFolder folder;
    const std::string path = folder.file("big.txt");
    PutFile(path, "small");
    const int result = test::InChild(
        [&] {
            std::signal(SIGXFSZ, SIG_DFL);
            rlimit limit{};
            getrlimit(RLIMIT_FSIZE, &limit);
            limit.rlim_cur = 1000;
            setrlimit(RLIMIT_FSIZE, &limit);
            const FileOutcome outcome = WriteFileAtomically(path, std::string(5000, 'x'));
            const bool ordinary = outcome.status == FileStatus::kCannotWrite &&
                                  outcome.reason == FileReason::kFileSizeLimit;
            return ordinary ? 0 : 1;
        },
        false);
    EXPECT_EQ(result, 0) << "-1: the process was killed";
    EXPECT_EQ(FileBytes(path), "small");
    EXPECT_EQ(EntriesIn(folder.path()), 1u);
}

TEST(AtomicFile, ReadsWholeFilesWithinALimit) {
    TempFolder folder;
    PutFile(folder.file("f"), std::string(300, 'a'));
    const FileRead read = ReadWholeFile(folder.file("f"), 300);
    EXPECT_EQ(read.outcome.status, FileStatus::kOk);
    EXPECT_EQ(read.bytes.size(), 300u);
    const FileRead tooLarge = ReadWholeFile(folder.file("f"), 299);
    EXPECT_EQ(tooLarge.outcome.status, FileStatus::kTooLarge);
    EXPECT_EQ(tooLarge.outcome.reason, FileReason::kTooLarge);
    EXPECT_EQ(tooLarge.outcome.limit, 299u);
    EXPECT_TRUE(tooLarge.bytes.empty());
    const FileRead missing = ReadWholeFile(folder.file("none"), 10);
    EXPECT_EQ(missing.outcome.status, FileStatus::kCannotOpen);
    EXPECT_EQ(missing.outcome.error, ENOENT);
    EXPECT_EQ(missing.outcome.reason, FileReason::kNotFound);
    const FileRead onFolder = ReadWholeFile(folder.path().string(), 10);
    EXPECT_EQ(onFolder.outcome.status, FileStatus::kCannotOpen);
    EXPECT_EQ(onFolder.outcome.reason, FileReason::kIsAFolder);
    ASSERT_EQ(::mkfifo(folder.file("pipe").c_str(), 0600), 0);
    const FileRead pipe = ReadWholeFile(folder.file("pipe"), 10);
    EXPECT_EQ(pipe.outcome.status, FileStatus::kCannotOpen);
    EXPECT_EQ(pipe.outcome.reason, FileReason::kNamedPipe);
}

}  // namespace
}  // namespace kx::core

#include "core/files/atomic_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <filesystem>

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
        const FileOutcome outcome = WriteFilesAtomically(
            {{folder.file("a.txt"), "new a"}, {folder.file("b.txt"), std::string(4000, 'b')}});
        EXPECT_EQ(outcome.status, FileStatus::kCannotWrite);
    }
    EXPECT_EQ(FileBytes(folder.file("a.txt")), "old a");
    EXPECT_FALSE(std::filesystem::exists(folder.file("b.txt")));
    EXPECT_EQ(EntriesIn(folder.path()), 1u);

    ASSERT_EQ(WriteFilesAtomically({{folder.file("a.txt"), "new a"}, {folder.file("b.txt"), "b"}})
                  .status,
              FileStatus::kOk);
    EXPECT_EQ(FileBytes(folder.file("a.txt")), "new a");
    EXPECT_EQ(FileBytes(folder.file("b.txt")), "b");
}

TEST(AtomicFile, UnwritablePlacesAreRefused) {
    TempFolder folder;
    EXPECT_EQ(WriteFileAtomically(folder.file("missing/x.dat"), "1").status,
              FileStatus::kCannotOpen);
    std::filesystem::create_directory(folder.file("sub"));
    EXPECT_EQ(WriteFileAtomically(folder.file("sub"), "1").status, FileStatus::kCannotOpen);
    EXPECT_TRUE(std::filesystem::is_directory(folder.file("sub")));
}

TEST(AtomicFile, ReadsWholeFilesWithinALimit) {
    TempFolder folder;
    PutFile(folder.file("f"), std::string(300, 'a'));
    const FileRead read = ReadWholeFile(folder.file("f"), 300);
    EXPECT_EQ(read.outcome.status, FileStatus::kOk);
    EXPECT_EQ(read.bytes.size(), 300u);
    EXPECT_EQ(ReadWholeFile(folder.file("f"), 299).outcome.status, FileStatus::kTooLarge);
    EXPECT_TRUE(ReadWholeFile(folder.file("f"), 299).bytes.empty());
    const FileRead missing = ReadWholeFile(folder.file("none"), 10);
    EXPECT_EQ(missing.outcome.status, FileStatus::kCannotOpen);
    EXPECT_EQ(missing.outcome.error, ENOENT);
    EXPECT_EQ(ReadWholeFile(folder.path().string(), 10).outcome.status, FileStatus::kCannotOpen);
    ASSERT_EQ(::mkfifo(folder.file("pipe").c_str(), 0600), 0);
    EXPECT_EQ(ReadWholeFile(folder.file("pipe"), 10).outcome.status, FileStatus::kCannotOpen);
}

}  // namespace
}  // namespace kx::core

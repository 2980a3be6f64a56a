// Sessions: what is saved comes back whole, a session of the first schema
// version still opens, a damaged, cut or foreign file is refused, a killed save
// leaves the earlier session, and the recovery session keeps every action.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <cstdlib>
#include <filesystem>

#include "core/files/data_file.h"
#include "core/files/recovery_session.h"
#include "core/files/session.h"
#include "support/data_sets.h"
#include "temp_folder.h"

namespace kx::core {
namespace {

using test::FileBytes;
using test::PutFile;
using test::TempFolder;

// Bytes of every value, NUL among them: what a picture file may hold.
std::string AllBytes(std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 7 + i / 256) % 256);
    return bytes;
}

// A session with something other than the start value in every field.
Session FullSession() {
    Session s;
    s.pictureName = "グラフ.png";
    s.pictureBytes = AllBytes(70000);
    AxisCalibration& c = s.calibration;
    c = {.Xmin = 0.1f,
         .Xmax = 1000,
         .Ymin = -5.5f,
         .Ymax = 2.25f,
         .Xmid = 10,
         .Ymid = 0.5f,
         .X1MIN = 1500,
         .X1MAX = 90000.5f,
         .Y1MIN = 60000,
         .Y1MAX = 750,
         .xMidPos = 45000,
         .yMidPos = 30000};
    c.originXSet = c.xMaxSet = c.originYSet = c.yMaxSet = true;
    c.logX = c.xMidArmed = c.xMidActive = c.exponentDisplay = c.calibrationConfirmed = true;
    c.calibrationInvalid = false;
    s.lines[1] = {
        "25", "1.5,2\r\n3,4.25\r\n", 2, {{"1.5,2", true, 1515, 2030}, {"3,4.25", false}}};
    s.lines[2] = {"ﾊﾟﾗ", "x\r\n", 0, {}};
    for (int line = 3; line <= kMaxLines; ++line)
        s.lines[line].parameterText = std::to_string(line);
    s.traced = {{2, 300.5, 450, 40, 32.5, {{1, 2}, {3.25, 4}, {5, 6.5}}}, {7, 1, 2, 10, 8, {}}};
    s.settings.errorMode = 0;
    s.settings.cutoffPrecision = 0.0012f;
    s.settings.excludedSystem[2] = s.settings.excludedSystem[7] = 1;
    s.settings.minSectionPoints = 5;
    s.plot = {"0.5", "200", true, false, true};
    s.programVersion = "1.0";
    return s;
}

// One more point on line 3, as a capture adds it.
void AppendLinePoint(Session& s, int point) {
    SessionLine& line = s.lines[3];
    line.pointText += std::to_string(point) + ",1\r\n";
    ++line.pointCount;
    line.marks.push_back({std::to_string(point) + ",1", true, 100.0 * point, 50});
}

std::string WithByte(std::string bytes, std::size_t at, unsigned char value) {
    bytes[at] = static_cast<char>(value);
    return bytes;
}

TEST(Session, WhatIsSavedComesBackWhole) {
    TempFolder folder;
    const Session saved = FullSession();
    const std::string path = folder.file("work.kxs");
    ASSERT_TRUE(WriteSession(path, saved).ok());
    EXPECT_TRUE(LooksLikeSession(FileBytes(path)));
    const SessionRead read = ReadSession(path);
    ASSERT_TRUE(read.outcome.ok()) << read.outcome.detail;
    EXPECT_EQ(read.session, saved);
    EXPECT_EQ(read.session.pictureBytes, saved.pictureBytes);  // byte for byte, no re-encoding

    // Saved again over itself, with fewer lines and no picture.
    Session smaller;
    smaller.programVersion = "1.0";
    smaller.lines[1] = {"1", "1,1\r\n", 1, {}};
    ASSERT_TRUE(WriteSession(path, smaller).ok());
    EXPECT_EQ(ReadSession(path).session, smaller);
}

// The file under tests/data was written by the first schema version; every
// later program must read it as it was.
TEST(Session, TheFirstVersionsFileStillOpens) {
    const std::string path = std::string(KX_TEST_DATA_DIR) + "/session_v1.kxs";
    if (std::getenv("KX_WRITE_SESSION_V1") != nullptr) {
        ASSERT_TRUE(WriteSession(path, FullSession()).ok());
    }
    const SessionRead read = ReadSession(path);
    ASSERT_TRUE(read.outcome.ok()) << read.outcome.detail;
    EXPECT_EQ(read.session.schemaVersion, 1);
    EXPECT_EQ(read.session, FullSession());
}

TEST(Session, DamagedCutOrForeignFilesAreRefused) {
    const std::string good = SessionBytes(FullSession());
    ASSERT_TRUE(ParseSession(good).outcome.ok());
    const std::string dataFile = "1, 1 , 2\r\n1,2\r\n3,4\r\n";
    struct Case {
        const char* what;
        std::string bytes;
        SessionStatus status;
    };
    const Case cases[] = {
        {"cut in half", good.substr(0, good.size() / 2), SessionStatus::kDamaged},
        {"cut by one byte", good.substr(0, good.size() - 1), SessionStatus::kDamaged},
        {"its tables overwritten", good.substr(0, 100) + std::string(400, 'x') + good.substr(500),
         SessionStatus::kDamaged},
        {"a later schema", WithByte(good, 63, 2), SessionStatus::kNewerVersion},
        {"another program's database", WithByte(good, 71, 0), SessionStatus::kNotASession},
        {"a data file", dataFile, SessionStatus::kNotASession},
        {"empty", "", SessionStatus::kNotASession},
    };
    for (const Case& c : cases) {
        const SessionRead read = ParseSession(c.bytes);
        EXPECT_EQ(read.outcome.status, c.status) << c.what;
        EXPECT_EQ(read.session, Session{}) << c.what;  // nothing of it is taken
    }
    EXPECT_FALSE(LooksLikeSession(dataFile));
    EXPECT_FALSE(LooksLikeSession("\x89PNG\r\n\x1a\n" + std::string(200, '\0')));

    TempFolder folder;
    EXPECT_EQ(ReadSession(folder.file("none.kxs")).outcome.status, SessionStatus::kCannotOpen);
}

#ifndef _WIN32
// The process saving a session is killed while the new file is being written:
// the session on disk is the earlier one, whole. (Windows has no fork.)
TEST(Session, AKillDuringASaveLeavesTheEarlierSession) {
    TempFolder folder;
    const std::string path = folder.file("work.kxs");
    const Session earlier = FullSession();
    ASSERT_TRUE(WriteSession(path, earlier).ok());
    Session later = earlier;
    later.pictureBytes = AllBytes(std::size_t{32} << 20);

    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        WriteSession(path, later);
        _exit(0);
    }
    // As soon as the new file is being staged beside the old one.
    bool staging = false;
    while (!staging && waitpid(child, nullptr, WNOHANG) == 0) {
        for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
            staging = staging || entry.path().extension() == ".tmp";
        }
    }
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    ASSERT_TRUE(staging) << "the save ended before it was seen";
    const SessionRead read = ReadSession(path);
    ASSERT_TRUE(read.outcome.ok()) << read.outcome.detail;
    EXPECT_EQ(read.session, earlier);
}
#endif

TEST(RecoverySession, KeepsTheLastRecordedActionAndGoesWhenRemoved) {
    TempFolder folder;
    const std::string path = folder.file("recovery/work.kxs");  // the folder is made
    Session state = FullSession();
    {
        RecoverySession recovery(path);
        ASSERT_TRUE(recovery.Record(state, true).ok());
        for (int point = 1; point <= 5; ++point) {
            AppendLinePoint(state, point);
            ASSERT_TRUE(recovery.Record(state, false).ok());
        }
        // Read while the program still holds it open, as after a kill.
        const SessionRead read = ReadRecoverySession(path);
        ASSERT_TRUE(read.outcome.ok()) << read.outcome.detail;
        EXPECT_EQ(read.session, state);  // the picture of the first record kept

        recovery.Remove();
        EXPECT_FALSE(std::filesystem::exists(path));
        Session next;
        next.programVersion = "1.0";
        ASSERT_TRUE(recovery.Record(next, false).ok());  // starts afresh, picture and all
        EXPECT_EQ(ReadRecoverySession(path).session, next);
    }
    EXPECT_EQ(ReadRecoverySession(folder.file("none.kxs")).outcome.status,
              SessionStatus::kCannotOpen);
}

}  // namespace
}  // namespace kx::core

// A session of a 6000 x 8000 scan with 1000 points: the whole save (one
// transaction, staged and renamed into place), and one recorded action of the
// recovery session. The picture stands in as an uncompressed 24-bit bitmap's
// bytes (144 MB), the largest a session of such a scan holds.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "core/files/recovery_session.h"
#include "core/files/session.h"

namespace {

using namespace kx::core;

Session ScanSession() {
    Session session;
    session.pictureName = "scan.bmp";
    session.pictureBytes.assign(std::size_t{6000} * 8000 * 3, '\x7f');
    for (int line = 1; line <= kMaxLines; ++line) {
        SessionLine& l = session.lines[static_cast<std::size_t>(line)];
        l.parameterText = std::to_string(line * 10);
        for (int point = 1; point <= 100; ++point) {
            const std::string record = std::to_string(point * 0.5) + "," + std::to_string(line);
            l.pointText += record + "\r\n";
            l.marks.push_back({record, true, point * 900.0, line * 6000.0});
        }
        l.pointCount = 100;
    }
    return session;
}

std::string TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kx-bench-XXXXXX").string();
    return ::mkdtemp(pattern.data());
}

void SessionSave(benchmark::State& state) {
    const Session session = ScanSession();
    const std::string folder = TempFolder();
    for (auto _ : state) {
        benchmark::DoNotOptimize(WriteSession(folder + "/work.kxs", session).ok());
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(SessionSave)->Unit(benchmark::kMillisecond)->UseRealTime();

void RecordedAction(benchmark::State& state) {
    Session session = ScanSession();
    const std::string folder = TempFolder();
    RecoverySession recovery(folder + "/recovery.kxs");
    recovery.Record(session, true);
    int point = 0;
    for (auto _ : state) {
        // One captured point more, as a click adds it.
        SessionLine& line = session.lines[1];
        line.pointText += std::to_string(++point) + ",1\r\n";
        benchmark::DoNotOptimize(recovery.Record(session, false).ok());
    }
    recovery.Remove();
    std::filesystem::remove_all(folder);
}
BENCHMARK(RecordedAction)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();

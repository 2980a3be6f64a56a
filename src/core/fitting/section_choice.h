#pragma once

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <thread>
#include <utility>
#include <vector>

#include "core/data/data_set.h"
#include "core/fitting/calc_settings.h"
#include "core/fitting/equation_form.h"
#include "core/fitting/section_fit.h"

namespace kx::core {

// The sections of a line by first and last point (1..kMaxPoints), one slot
// each.
inline constexpr std::size_t kSectionSlots = (kMaxPoints + 1) * (kMaxPoints + 1);
inline std::size_t SectionSlot(int first, int last) {
    return static_cast<std::size_t>(first) * (kMaxPoints + 1) + static_cast<std::size_t>(last);
}

// The form chosen for a section, and what its fit told the host on the way.
struct SectionChoice {
    int16_t form = 0;  // 0: no form could be rated
    float error = 0.0f;
    std::array<float, 5> c{};
    Coefficients coefficient{};
    bool leastBad = false;  // no form came below the selection start
    int candidates = 0;     // forms fitted
    int cubics = 0;         // cubics solved
};

// The form of the smallest deviation value among the choosable candidates
// (see FitCandidate::choosable), the first of equal values; when none comes below the selection
// start (1000000), the least bad one whose rating did not fail.
SectionChoice ChooseForm(std::span<const FitCandidate> candidates);

// The sections a line's partition search asks for, in the order it first
// asks for each: the whole line, then the two-section and the three-section
// partitions of a line of n points split in steps of `step`.
std::vector<std::pair<int, int>> PlannedSections(int n, int step,
                                                 int minSectionPoints = kStandardMinSection);

// Fits a line's planned sections on a second thread, from the last backwards,
// while the partition search takes them from the first: a section's choice
// depends on nothing but its points, so either thread may make it. Each
// section is fitted once, by whichever thread claims it first. The thread
// starts with the first line and waits between lines (starting one is slow
// next to the fit of a line).
class SectionPrefetch {
public:
    SectionPrefetch() = default;
    SectionPrefetch(const SectionPrefetch&) = delete;
    SectionPrefetch& operator=(const SectionPrefetch&) = delete;
    ~SectionPrefetch();

    // Starts fitting the sections of `plan` on the table, which stays as it
    // is until finish(). Nothing starts on a machine of one processor.
    void start(const PointTable& table, const CalcSettings& settings,
               const std::vector<std::pair<int, int>>& plan);
    // The choice of section first..last when the second thread made it (or
    // is making it: then this waits); null when the caller is to fit it
    // itself, which no other thread then does.
    const SectionChoice* take(int first, int last);
    // The second thread has made the choice of section first..last.
    bool ready(int first, int last) const;
    // Stops the second thread, waits for it and forgets the sections.
    void finish();

private:
    enum State : int { kFree, kHelperFitting, kReady, kCallerFitting };
    struct Entry {
        int first = 0;
        int last = 0;
        std::atomic<int> state{kFree};
        SectionChoice choice;
    };
    void serve();  // the second thread
    void run();
    // The entry of section first..last; null when it was not planned.
    Entry* entryFor(int first, int last) const;

    std::unique_ptr<Entry[]> entries_;
    std::size_t count_ = 0;
    // Entry number + 1 by first and last point; 0: not planned.
    std::vector<std::size_t> entryOf_ = std::vector<std::size_t>(kSectionSlots, 0);
    std::atomic<bool> cancel_{false};
    // The second thread's orders, under mutex_: the line to fit, and whether
    // the sections are being fitted; the thread ends on quit_.
    std::mutex mutex_;
    std::condition_variable wake_, idle_;
    const PointTable* table_ = nullptr;
    const CalcSettings* settings_ = nullptr;
    bool fitting_ = false;
    bool quit_ = false;
    std::thread helper_;
    std::unique_ptr<SectionFitter> fitter_;  // the second thread's
};

}  // namespace kx::core

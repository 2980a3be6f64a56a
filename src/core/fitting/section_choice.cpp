#include "core/fitting/section_choice.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <system_error>

#include "core/fitting/fit_observer.h"

namespace kx::core {
namespace {

constexpr float kSelectStart = 1000000.0f;

// Counts the cubics of a fit made away from the host, to be told later.
class CubicCount : public FitObserver {
public:
    void cubicSolved() override { ++count; }
    int count = 0;
};

}  // namespace

SectionChoice ChooseForm(std::span<const FitCandidate> candidates) {
    SectionChoice choice;
    choice.candidates = static_cast<int>(candidates.size());
    // The choice compares the values of the deviation texts, which cut a
    // deviation to six digits: a candidate beyond the reach of the smallest
    // deviation can neither win nor tie, so only those near it are valued.
    // (Below 1E-30 the float values lose their relative precision; all such
    // candidates are valued.) Outranked candidates are beyond that reach.
    double smallest = std::numeric_limits<double>::infinity();
    for (const FitCandidate& candidate : candidates) {
        if (!candidate.failed && !candidate.outranked && candidate.choosable)
            smallest = std::min(smallest, candidate.meanDeviation);
    }
    const double reach = ChoiceReach(smallest);
    std::array<float, kFormCount> value;
    std::array<bool, kFormCount> near{};
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        const FitCandidate& candidate = candidates[i];
        near[i] = !candidate.failed && !candidate.outranked && candidate.choosable &&
                  (candidate.meanDeviation <= reach || candidate.meanDeviation < 1e-30);
        if (near[i]) value[i] = MeanDeviationValue(candidate);
    }

    float best = kSelectStart;
    const auto take = [&](std::size_t i) {
        best = value[i];
        choice.form = candidates[i].form;
        choice.c = candidates[i].c;
        choice.coefficient = candidates[i].coefficient;
    };
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        if (near[i] && value[i] < best) take(i);
    }
    if (choice.form == 0) {
        // No form comes below the start value. A statement of 0 would answer 0
        // wherever the data says otherwise; the form that deviates least, among
        // those whose rating did not fail, still follows the points.
        std::optional<std::size_t> leastBad;
        for (std::size_t i = 0; i < candidates.size(); ++i) {
            if (near[i] && (!leastBad || value[i] < value[*leastBad])) leastBad = i;
        }
        if (leastBad) {
            take(*leastBad);
            choice.leastBad = true;
        }
    }
    choice.error = best;
    return choice;
}

namespace {

// The sections of a line in the order the partition search first asks for
// each, every one once.
class SectionList {
public:
    explicit SectionList(int n) : n_(n), planned_(kSectionSlots, false) {}

    void add(int first, int last) {
        if (first < 1 || last > n_ || first > last || last > kMaxPoints) return;
        const std::size_t slot = SectionSlot(first, last);
        if (planned_[slot]) return;
        planned_[slot] = true;
        sections_.emplace_back(first, last);
    }
    std::vector<std::pair<int, int>> take() { return std::move(sections_); }

private:
    int n_;
    std::vector<bool> planned_;
    std::vector<std::pair<int, int>> sections_;
};

void PlanTwoSections(int n, int step, int minSectionPoints, SectionList& plan) {
    int m = 3;
    do {
        if (SectionsLongEnough(minSectionPoints, {m, n - m + 1})) {
            plan.add(1, m);
            plan.add(m, n);
        }
        m += step;
    } while (n - m >= 3);
}

void PlanThreeSections(int n, int s, int minSectionPoints, SectionList& plan) {
    for (int j = 1; 1 + s * (j - 1) <= n - s - 6; ++j) {
        const int m1 = 2 + s * j;
        if (!SectionsLongEnough(minSectionPoints, {m1})) continue;
        plan.add(1, m1);
        for (int i = 1; 1 + s * (i - 1) <= (n - m1) - 3; ++i) {
            const int secondLast = m1 + 2 + s * i - 1;
            const int thirdPoints = n - secondLast + 1;
            if (thirdPoints < 2) break;
            if (SectionsLongEnough(minSectionPoints, {2 + s * i, thirdPoints})) {
                plan.add(m1, secondLast);
                plan.add(secondLast, n);
            }
            if (thirdPoints < s + 3) break;
        }
    }
}

}  // namespace

std::vector<std::pair<int, int>> PlannedSections(int n, int step, int minSectionPoints) {
    SectionList plan(n);
    plan.add(1, n);
    if (n > 4) PlanTwoSections(n, step, minSectionPoints, plan);
    if (n > 8) PlanThreeSections(n, step, minSectionPoints, plan);
    return plan.take();
}

void SectionPrefetch::start(const PointTable& table, const CalcSettings& settings,
                            const std::vector<std::pair<int, int>>& plan) {
    finish();
    if (std::thread::hardware_concurrency() < 2 || plan.size() < 2) return;
    if (!helper_.joinable()) {
        try {
            helper_ = std::thread([this] { serve(); });
        } catch (const std::system_error&) {
            return;  // no second thread to be had: the caller fits every section
        }
    }
    entries_ = std::make_unique<Entry[]>(plan.size());
    count_ = plan.size();
    for (std::size_t i = 0; i < count_; ++i) {
        entries_[i].first = plan[i].first;
        entries_[i].last = plan[i].second;
        entryOf_[SectionSlot(plan[i].first, plan[i].second)] = i + 1;
    }
    if (!fitter_) fitter_ = std::make_unique<SectionFitter>();
    cancel_.store(false);
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        table_ = &table;
        settings_ = &settings;
        fitting_ = true;
    }
    wake_.notify_one();
}

void SectionPrefetch::serve() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return fitting_ || quit_; });
        if (quit_) return;
        lock.unlock();
        run();
        lock.lock();
        fitting_ = false;
        idle_.notify_all();
    }
}

void SectionPrefetch::run() {
    int likelySystem = 0;
    for (std::size_t i = count_; i-- > 0;) {
        if (cancel_.load(std::memory_order_relaxed)) return;
        Entry& entry = entries_[i];
        int expected = kFree;
        if (!entry.state.compare_exchange_strong(expected, kHelperFitting)) continue;
        CubicCount cubics;
        fitter_->Fit(*table_, entry.first, entry.last - entry.first + 1, *settings_, &cubics,
                     Rating::kForChoice, likelySystem);
        entry.choice = ChooseForm(fitter_->candidates());
        entry.choice.cubics = cubics.count;
        if (entry.choice.form != 0) likelySystem = SystemOfForm(entry.choice.form);
        entry.state.store(kReady, std::memory_order_release);
    }
}

SectionPrefetch::Entry* SectionPrefetch::entryFor(int first, int last) const {
    if (count_ == 0 || first < 1 || last > kMaxPoints) return nullptr;
    const std::size_t number = entryOf_[SectionSlot(first, last)];
    return number == 0 ? nullptr : &entries_[number - 1];
}

const SectionChoice* SectionPrefetch::take(int first, int last) {
    Entry* entry = entryFor(first, last);
    if (!entry) return nullptr;
    for (;;) {
        int state = entry->state.load(std::memory_order_acquire);
        if (state == kReady) return &entry->choice;
        if (state == kFree &&
            entry->state.compare_exchange_strong(state, kCallerFitting, std::memory_order_acquire))
            return nullptr;
        if (state == kCallerFitting) return nullptr;
        std::this_thread::yield();  // the second thread is fitting it
    }
}

bool SectionPrefetch::ready(int first, int last) const {
    const Entry* entry = entryFor(first, last);
    return entry && entry->state.load(std::memory_order_acquire) == kReady;
}

void SectionPrefetch::finish() {
    cancel_.store(true);
    {
        std::unique_lock<std::mutex> lock(mutex_);
        idle_.wait(lock, [this] { return !fitting_; });
    }
    // The sections were those of one table: none is to be taken again.
    for (std::size_t i = 0; i < count_; ++i) {
        entryOf_[SectionSlot(entries_[i].first, entries_[i].last)] = 0;
    }
    count_ = 0;
}

SectionPrefetch::~SectionPrefetch() {
    finish();
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        quit_ = true;
    }
    wake_.notify_one();
    if (helper_.joinable()) helper_.join();
}

}  // namespace kx::core

// Sections fitted ahead on a second thread: the plan is what the partition
// search asks for, and a run comes out the same whichever thread fitted what.
#include "core/fitting/section_choice.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "core/fitting/fit_family.h"
#include "support/data_sets.h"

namespace kx::core {
namespace {

using test::NoisyBentFamily;

// The sections the log names for line L of n points, in the order each first
// appears. (The whole line's entry writes n in two places: 100 reads "00".)
std::vector<std::pair<int, int>> LoggedSections(const FitResults& results, int line, int n) {
    std::vector<std::pair<int, int>> order;
    std::set<std::pair<int, int>> seen;
    for (const std::string& text : results.fittingLog) {
        int para = 0, from = 0, to = 0;
        if (std::sscanf(text.c_str(), "[Para:%d]  DEV    1X - %d", &para, &from) == 2) {
            to = n;
        } else if (std::sscanf(text.c_str(), "[Para:%d]  from %d to %d", &para, &from, &to) != 3) {
            continue;
        }
        if (para == line && seen.insert({from, to}).second) order.emplace_back(from, to);
    }
    return order;
}

TEST(PlannedSections, AreTheSectionsThePartitionSearchAsksFor) {
    const CalcSettings strict{.cutoffPrecision = -1.0f};  // every partition is tried
    const std::vector<int> counts = {9, 13, 30, 31, 53, 71, 86, 100};
    DataSet data = NoisyBentFamily(counts, 7);
    FitResults results;
    ASSERT_TRUE(FitFamily(data, strict, results));
    for (std::size_t k = 0; k < counts.size(); ++k) {
        const int n = counts[k];
        const int step = n <= 30 ? 1 : n <= 52 ? 2 : n <= 70 ? 3 : n <= 85 ? 4 : 5;
        EXPECT_EQ(PlannedSections(n, step), LoggedSections(results, static_cast<int>(k) + 1, n))
            << n << " points";
    }
}

TEST(SectionPrefetch, HandsOnTheChoiceOfAFitMadeHere) {
    PointTable table;
    for (int i = 1; i <= 40; ++i) SetTablePoint(table, i, i, std::exp(0.05 * i) + 0.01 * (i % 3));
    table.count = 40;
    const CalcSettings settings;
    const std::vector<std::pair<int, int>> plan = PlannedSections(40, 2);
    SectionPrefetch prefetch;
    prefetch.start(table, settings, plan);
    if (std::thread::hardware_concurrency() > 1) {
        // The second thread starts from the last section.
        for (int wait = 0; wait < 5000 && !prefetch.ready(plan.back().first, plan.back().second);
             ++wait) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        EXPECT_TRUE(prefetch.ready(plan.back().first, plan.back().second));
    }
    SectionFitter fitter;
    for (const auto& [first, last] : plan) {
        fitter.Fit(table, first, last - first + 1, settings);
        const SectionChoice here = ChooseForm(fitter.candidates());
        if (const SectionChoice* ready = prefetch.take(first, last)) {
            EXPECT_EQ(ready->form, here.form);
            EXPECT_EQ(ready->error, here.error);
            EXPECT_EQ(ready->c, here.c);
            EXPECT_EQ(ready->coefficient, here.coefficient);
            EXPECT_EQ(ready->candidates, here.candidates);
            EXPECT_EQ(ready->cubics, 7);
        } else {
            EXPECT_FALSE(prefetch.ready(first, last));  // this thread fits it
        }
    }
    EXPECT_EQ(prefetch.take(2, 5), nullptr);  // never planned
    prefetch.finish();
    EXPECT_EQ(prefetch.take(1, 40), nullptr);  // the line is over
}

// Whatever the threads did, a run is the same: the log, the chosen sections
// and the statements, run after run.
TEST(SectionPrefetch, RunsComeOutTheSameEveryTime) {
    const DataSet prepared = NoisyBentFamily({100, 47, 4, 12, 100, 3, 64}, 11);
    std::vector<std::string> firstLog, firstStatements;
    for (int run = 0; run < 25; ++run) {
        DataSet data = prepared;
        FitResults results;
        ASSERT_TRUE(FitFamily(data, CalcSettings{}, results));
        if (run == 0) {
            firstLog = results.fittingLog.Texts();
            firstStatements = results.statements;
            continue;
        }
        ASSERT_EQ(results.fittingLog.Texts(), firstLog) << "run " << run;
        ASSERT_EQ(results.statements, firstStatements) << "run " << run;
    }
}

}  // namespace
}  // namespace kx::core

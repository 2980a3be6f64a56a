#include "core/fitting/fit_family.h"
#include "core/fitting/section_choice.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "core/data/numeric_text.h"
#include "core/data/text_chars.h"
#include "core/fitting/section_fit.h"
#include "support/data_sets.h"
#include "support/finite_text.h"

namespace kx::core {
namespace {

using test::NoisySample;

// The families' points are written with six digits.
constexpr int kDigits = 6;

template <typename Lines>
int Count(const Lines& lines, const std::string& prefix) {
    int count = 0;
    for (const std::string& line : lines) count += line.rfind(prefix, 0) == 0;
    return count;
}

// The log, the summary and the statements show only numbers.
void ExpectNoNonFiniteText(const FitResults& results) {
    const std::vector<std::string> log = results.fittingLog.Texts();
    EXPECT_TRUE(test::FiniteTexts({&log, &results.summary, &results.statements}));
}

TEST(FitFamily, AnExactLineIsOneSectionWithItsWholeLog) {
    DataSet data =
        test::PreparedPoints({{"25", {{1, 3}, {2, 5}, {3, 7}, {4, 9}, {5, 11}}}}, kDigits);
    FitResults results;
    ASSERT_TRUE(FitFamily(data, CalcSettings{}, results));
    const std::vector<std::string> expectedLog = {
        " 1< 1,3 >",
        " 2< 2,5 >",
        " 3< 3,7 >",
        " 4< 4,9 >",
        " 5< 5,11 >",
        "C1= 2  C2= 1  C3= 0  C4= 0",
        "[Para: 1]  DEV    1X -  1 -  5              EQ No= 1    誤差= 0",
        std::string(78, '-'),
        "  Deviation <<<  0  Gr=  270.36 >>>",
        std::string(78, '-')};
    ASSERT_EQ(results.fittingLog.size(), expectedLog.size());
    for (std::size_t i = 0; i < expectedLog.size(); ++i) {
        EXPECT_EQ(results.fittingLog[i], expectedLog[i]) << i;
    }
    EXPECT_EQ(results.lineFit[1].sectionCount, 1);
    EXPECT_EQ(results.statements,
              (std::vector<std::string>{"Y!(1)=  2.00000E+00* X1! +  1.00000E+00"}));
    ASSERT_EQ(results.summary.size(), 3u);
    // The header: 27 + 25 + 25 characters.
    EXPECT_EQ(results.summary[0],
              "ﾊﾟﾗﾒｰﾀ=25    ﾃﾞｰﾀ数= 5      From= 1--> X1=1          "
              "To  = 5--> X2=5          ");
    EXPECT_EQ(CharCount(results.summary[0]), 77u);
    EXPECT_EQ(results.summary[2], std::string(108, '='));
    EXPECT_EQ(results.partitionCounter, 1);
    EXPECT_TRUE(results.completed);
}

TEST(FitFamily, SortsAndRewritesThePointTexts) {
    DataSet data = test::PreparedPoints({{"1", {{3, 2.5}, {1, 1.5}, {2, 2.0}}}}, kDigits);
    data.xText[1][1] = "3.00";
    FitResults results;
    ASSERT_TRUE(FitFamily(data, CalcSettings{}, results));
    EXPECT_EQ(data.xText[1][1], "1");
    EXPECT_EQ(data.yText[1][1], "1.5");
    EXPECT_EQ(data.xText[1][3], "3");
    EXPECT_EQ(data.yText[1][3], "2.5");
    EXPECT_EQ(results.rankBounds[1].xMin, 1.0f);
    EXPECT_EQ(results.rankBounds[1].yMax, 2.5f);
}

TEST(FitFamily, ShortLinesTryOnlyThePartitionsTheyHold) {
    const CalcSettings strict{.cutoffPrecision = -1.0f};  // never reached: every stage runs
    auto wiggle = [](double x) { return 5 + std::sin(3 * x); };

    DataSet three = test::PreparedPoints({{"1", NoisySample(3, 1, 1, wiggle)}}, kDigits);
    FitResults results;
    ASSERT_TRUE(FitFamily(three, strict, results));
    EXPECT_EQ(Count(results.fittingLog, "  Deviation"), 1);
    EXPECT_EQ(results.lineFit[1].sectionCount, 1);

    DataSet five = test::PreparedPoints({{"1", NoisySample(5, 1, 1, wiggle)}}, kDigits);
    ASSERT_TRUE(FitFamily(five, strict, results));
    EXPECT_EQ(Count(results.fittingLog, "  Deviation"), 2);
    EXPECT_EQ(Count(results.fittingLog, "[Para: 1]  from   1 to   3 "), 1);
    EXPECT_EQ(Count(results.fittingLog, "[Para: 1]  from   3 to   5 "), 1);

    // Nine points: two-section splits at 3..5, then three-section partitions.
    DataSet nine = test::PreparedPoints({{"1", NoisySample(9, 1, 1, wiggle)}}, kDigits);
    ASSERT_TRUE(FitFamily(nine, strict, results));
    EXPECT_EQ(Count(results.fittingLog, "  Deviation"), 1 + 4 + 5);
    EXPECT_EQ(results.partitionCounter, 10);
    EXPECT_EQ(results.threeSectionCounter, 5);
    EXPECT_EQ(results.lineFit[1].sectionCount, 3);  // any three-section result replaces
}

TEST(FitFamily, PartitionBlocksHaveTheirLayout) {
    const CalcSettings strict{.cutoffPrecision = -1.0f};
    DataSet data = test::PreparedPoints(
        {{"7", NoisySample(9, 1, 1, [](double x) { return 5 + std::sin(3 * x); })}}, kDigits);
    FitResults results;
    ASSERT_TRUE(FitFamily(data, strict, results));
    const std::vector<std::string> log = results.fittingLog.Texts();
    // The first two-section block follows the one-section stage (9 points + 5).
    std::size_t at = 9 + 5;
    EXPECT_EQ(log[at].rfind("C1=", 0), 0u);
    EXPECT_EQ(log[at + 1].rfind("[Para: 1]  from   1 to   3       EQ No=", 0), 0u);
    EXPECT_EQ(log[at + 2], "  ");
    EXPECT_EQ(log[at + 4].rfind("[Para: 1]  from   3 to   9       EQ No=", 0), 0u);
    EXPECT_EQ(log[at + 5], std::string(78, '-'));
    EXPECT_EQ(log[at + 6].rfind("  Deviation <<< ", 0), 0u);
    EXPECT_EQ(log[at + 7], std::string(78, '-'));
    // Each first section of the three-section stage is logged once when it is
    // fitted, then again in each of its partitions: three with 3 points, two
    // with 4. A block holds sections 1 and 2 each followed by a blank line.
    at = 9 + 5 + 4 * 8;
    EXPECT_EQ(log[at].rfind("C1=", 0), 0u);
    EXPECT_EQ(log[at + 1].rfind("[Para: 1]  from   1 to   3 ", 0), 0u);
    EXPECT_EQ(log[at + 2 + 3 * 11 + 1].rfind("[Para: 1]  from   1 to   4 ", 0), 0u);
    EXPECT_EQ(log[at + 2 + 3 * 11 + 3], log[at + 2 + 3 * 11 + 1]);
    at += 2;
    EXPECT_EQ(log[at], log[at - 2]);
    EXPECT_EQ(log[at + 1].rfind("[Para: 1]  from   1 to   3 ", 0), 0u);
    EXPECT_EQ(log[at + 2], "  ");
    EXPECT_EQ(log[at + 4].rfind("[Para: 1]  from   3 to   5 ", 0), 0u);
    EXPECT_EQ(log[at + 5], "  ");
    EXPECT_EQ(log[at + 7].rfind("[Para: 1]  from   5 to   9 ", 0), 0u);
    EXPECT_EQ(log[at + 8], std::string(78, '-'));
    EXPECT_EQ(log.size(), at + 2 + 5 * 11);

    // The score line carries Str of the error and its grade.
    const std::string& score = log[9 + 3];
    const float e1 = static_cast<float>(ValueOfText(score.substr(16)));
    EXPECT_EQ(score, "  Deviation <<< " + StrText(e1) + "  Gr= " + StrText(LogGr(e1)) + " >>>");
}

TEST(FitFamily, AcceptedPartitionsAreContiguousAndShareTheirBoundaries) {
    const CalcSettings settings{.cutoffPrecision = 1e-9f};
    auto knee = [](double x) { return x < 20 ? 1 + 0.1 * x : 3 + 0.002 * (x - 20) * (x - 20); };
    DataSet data = test::PreparedPoints({{"1", NoisySample(40, 1, 1, knee, 0.002)}}, kDigits);
    FitResults results;
    ASSERT_TRUE(FitFamily(data, settings, results));
    const LineFit& fit = results.lineFit[1];
    ASSERT_GE(fit.sectionCount, 2);
    EXPECT_EQ(fit.sections[1].firstIndex, 1);
    EXPECT_EQ(fit.sections[fit.sectionCount].lastIndex, 40);
    for (int s = 1; s < fit.sectionCount; ++s) {
        EXPECT_EQ(fit.sections[s].lastIndex, fit.sections[s + 1].firstIndex);
    }
    for (int s = 1; s <= fit.sectionCount; ++s) {
        const SectionFit& section = fit.sections[s];
        EXPECT_EQ(section.sectionPoints, section.lastIndex - section.firstIndex + 1);
        EXPECT_GE(section.form, 1);
        EXPECT_EQ(section.programText.rfind("Y1! = ", 0), 0u);
    }
    EXPECT_EQ(static_cast<int>(results.statements.size()), fit.sectionCount);
}

TEST(FitFamily, LinesAreFittedInParameterOrder) {
    DataSet data =
        test::PreparedPoints({{"30", NoisySample(6, 1, 1, [](double x) { return 3 * x; })},
                              {"10", NoisySample(6, 1, 1, [](double x) { return 1 * x; })},
                              {"20", NoisySample(6, 1, 2, [](double x) { return 2 * x; })}},
                             kDigits);
    FitResults results;
    ASSERT_TRUE(FitFamily(data, CalcSettings{}, results));
    ASSERT_EQ(results.statements.size(), 3u);
    EXPECT_EQ(results.statements[0], "Y!(1)=  1.00000E+00* X1! - 0.00000E-50");
    EXPECT_EQ(results.statements[1].substr(0, 19), "Y!(2)=  2.00000E+00");
    EXPECT_EQ(results.statements[2].substr(0, 19), "Y!(3)=  3.00000E+00");
    EXPECT_EQ(results.fittingLog[0], " 1< 1,1 >");  // line 2 (parameter 10) first
    EXPECT_EQ(Count(results.fittingLog, "[Para: 2]"), 1);
    EXPECT_EQ(results.rankBounds[2].xMax, 11.0f);
    EXPECT_EQ(results.familyBounds.xMax, 11.0f);
    EXPECT_EQ(results.familyBounds.yMax, 22.0f);
    EXPECT_EQ(results.familyBounds.yMin, 1.0f);
}

TEST(CombinedError, FollowsTheErrorMode) {
    const SectionScore two[] = {{4, 0.01f}, {8, 0.002f}};
    EXPECT_FLOAT_EQ(CombinedError(0, two), 0.01f);
    EXPECT_NEAR(CombinedError(1, two), 0.0046667f, 1e-7);
    EXPECT_NEAR(CombinedError(2, two), 0.0046667f, 1e-7);
    const SectionScore three[] = {{4, 0.01f}, {8, 0.002f}, {6, 0.004f}};
    EXPECT_FLOAT_EQ(CombinedError(0, three), 0.01f);
    EXPECT_NEAR(CombinedError(1, three), (0.04 + 0.016 + 0.024) / 18, 1e-7);
    EXPECT_NEAR(CombinedError(2, three), (0.04 + 0.024) / 10, 1e-7);
    // Of two equal errors the earlier section counts.
    const SectionScore tie[] = {{3, 0.001f}, {9, 0.001f}, {5, 0.0001f}};
    EXPECT_NEAR(CombinedError(2, tie), 0.001, 1e-9);
}

TEST(FitFamily, ErrorModesChangeTheSearch) {
    auto curve = [](double x) { return x < 15 ? 2 + x : 17 + 0.05 * (x - 15) * (x - 15) * x; };
    std::vector<std::string> logs[3];
    for (int mode = 0; mode <= 2; ++mode) {
        CalcSettings settings;
        settings.errorMode = static_cast<int16_t>(mode);
        settings.cutoffPrecision = 1e-9f;
        DataSet data = test::PreparedPoints({{"1", NoisySample(30, 1, 1, curve, 0.003)}}, kDigits);
        FitResults results;
        ASSERT_TRUE(FitFamily(data, settings, results));
        logs[mode] = results.fittingLog.Texts();
    }
    EXPECT_NE(logs[0], logs[1]);
    EXPECT_NE(logs[1], logs[2]);
}

// The partition stages meet most sections several times; each distinct
// section of a line is fitted once, whatever the log repeats, and what one
// line fitted is never taken for another line's section.
TEST(FitFamily, EachSectionOfALineIsFittedOnce) {
    struct FitCounter : FitObserver {
        int fits = 0;
        void sectionFitted(int, int) override { ++fits; }
    };
    const CalcSettings strict{.cutoffPrecision = -1.0f};
    auto bent = [](double x) { return x < 12 ? 1 + x : 13 + 0.3 * (x - 12) * (x - 12); };
    auto steep = [](double x) { return std::exp(0.2 * x) + 0.5 * x; };
    const auto first = NoisySample(40, 1, 1, bent, 0.01, 3);
    const auto second = NoisySample(40, 1, 1, steep, 0.01, 4);
    DataSet data = test::PreparedPoints({{"1", first}, {"2", second}}, kDigits);
    FitResults results;
    FitCounter counter;
    ASSERT_TRUE(FitFamily(data, strict, results, &counter));

    // Every section the log names: "[Para: L]  from   a to   b" in the
    // partitions, "[Para: L]  DEV    1X -  1 - n" for the whole line.
    std::set<std::tuple<int, int, int>> sections;
    int logged = 0;
    for (const std::string& line : results.fittingLog) {
        int para = 0, from = 0, to = 0;
        if (std::sscanf(line.c_str(), "[Para:%d]  from %d to %d", &para, &from, &to) == 3 ||
            std::sscanf(line.c_str(), "[Para:%d]  DEV    1X - %d - %d", &para, &from, &to) == 3) {
            sections.insert({para, from, to});
            ++logged;
        }
    }
    EXPECT_GT(logged, 2 * static_cast<int>(sections.size()));
    EXPECT_EQ(counter.fits, static_cast<int>(sections.size()));

    // The second line comes out as it does on its own.
    DataSet alone = test::PreparedPoints({{"2", second}}, kDigits);
    FitResults own;
    ASSERT_TRUE(FitFamily(alone, strict, own));
    const LineFit& together = results.lineFit[2];
    ASSERT_EQ(together.sectionCount, own.lineFit[1].sectionCount);
    for (int s = 1; s <= together.sectionCount; ++s) {
        EXPECT_EQ(together.sections[s].form, own.lineFit[1].sections[s].form) << s;
        EXPECT_EQ(together.sections[s].lastIndex, own.lineFit[1].sections[s].lastIndex) << s;
        EXPECT_EQ(together.sections[s].c, own.lineFit[1].sections[s].c) << s;
    }
}

struct StopAfter : FitObserver {
    explicit StopAfter(int n) : limit(n) {}
    bool stopRequested() override { return ++asked >= limit; }
    int limit;
    int asked = 0;
};

TEST(FitFamily, AStopEndsTheRunAtOnce) {
    const CalcSettings strict{.cutoffPrecision = -1.0f};
    DataSet data = test::PreparedPoints(
        {{"1", NoisySample(30, 1, 0.3, [](double x) { return std::sin(x) + 2; })},
         {"2", NoisySample(30, 1, 0.3, [](double x) { return std::cos(x) + 3; })}},
        kDigits);
    StopAfter stop(40);  // inside the three-section stage of line 1
    FitResults results;
    EXPECT_FALSE(FitFamily(data, strict, results, &stop));
    EXPECT_FALSE(results.completed);
    EXPECT_EQ(results.partitionCounter, 40);
    EXPECT_EQ(results.fittingLog.back(), std::string(78, '-'));
    EXPECT_EQ(results.fittingLog[results.fittingLog.size() - 2].rfind("  Deviation", 0), 0u);
    EXPECT_TRUE(results.summary.empty());
    EXPECT_TRUE(results.statements.empty());
    EXPECT_EQ(results.lineFit[1].sectionCount, 3);  // its last accepted partition
}

TEST(FitFamily, HardDataNeverFailsTheRun) {
    const CalcSettings strict{.cutoffPrecision = -1.0f};
    // Signs changing and zeros, a constant, Y = 0 throughout.
    const test::PointLines awkward = test::AwkwardLines();
    const test::Points& signs = awkward[0].second;
    const test::Points hundred = NoisySample(
        100, 0.1, 0.5, [](double x) { return std::exp(0.05 * x) + 1; }, 0.01);
    DataSet data = test::PreparedPoints(
        {{"1", signs}, {"2", hundred}, {"3", awkward[1].second}, {"4", awkward[2].second}},
        kDigits);
    FitResults results;
    ASSERT_TRUE(FitFamily(data, strict, results));
    ExpectNoNonFiniteText(results);
    EXPECT_EQ(results.statements.size(),
              static_cast<std::size_t>(
                  results.lineFit[1].sectionCount + results.lineFit[2].sectionCount +
                  results.lineFit[3].sectionCount + results.lineFit[4].sectionCount));
}

// ---- Data at the edges of what the forms and the bounds hold --------------------

// The value of a section's equation at x, in double precision.
double EquationValue(const SectionFit& s, double x) {
    const int system = SystemOfForm(s.form);
    const double u = system == 2 || system == 4   ? std::log(x)
                     : system >= 5 && system != 6 ? 1.0 / x
                                                  : x;
    double p = s.coefficient[1];
    for (int k = 2; k <= DegreeOfForm(s.form) + 1; ++k) p = p * u + s.coefficient[k];
    return system == 3 || system == 4 ? std::exp(p) : system >= 6 ? 1.0 / p : p;
}

// Every form rates these points 1000000 or worse: the 1.1E-20 beside 1E10
// spoils each relative deviation. The line still gets the form that follows
// its points best instead of the constant 0 (the cubic through them, which
// five points let the section judge).
TEST(FitFamily, ASectionNoFormRatesTakesTheLeastBadForm) {
    DataSet data = test::PreparedPoints(
        {{"1", {{0, 0}, {1, 1.1e-20}, {2, 1e10}, {3, 0}, {4, -6e10}}}}, kDigits);
    FitResults results;
    ASSERT_TRUE(FitFamily(data, CalcSettings{}, results));
    ExpectNoNonFiniteText(results);
    const SectionFit& section = results.lineFit[1].sections[1];
    ASSERT_GE(section.form, 1);
    EXPECT_TRUE(section.leastBad);
    EXPECT_GE(section.error, 1e6f);
    ASSERT_EQ(results.statements.size(), 1u);
    EXPECT_NE(results.statements[0], "Y!(1)= 0");
    EXPECT_NEAR(EquationValue(section, 2.0), 1e10, 1e4);
    for (double x : {0.0, 1.0, 3.0}) EXPECT_NEAR(EquationValue(section, x), 0.0, 1.0) << x;

    // The log, the details and the run's findings all say so.
    const std::string note =
        "EQ No= " + std::to_string(section.form) + "  誤差1000000未満の式なし、最小誤差の式を採用";
    EXPECT_EQ(results.fittingLog.back(), "[Para: 1]  from   1 to   5       " + note);
    const std::vector<std::string> details = DescribeResults(data, CalcSettings{}, results).lines;
    ASSERT_GE(details.size(), 7u);
    EXPECT_EQ(details[6], "<" + note + ">");
    const std::vector<UnratedSection> unrated = UnratedSections(data, results);
    ASSERT_EQ(unrated.size(), 1u);
    EXPECT_EQ(unrated[0].rank, 1);
    EXPECT_EQ(unrated[0].line, 1);
    EXPECT_EQ(unrated[0].section, 1);
    EXPECT_EQ(unrated[0].form, section.form);

    // Ordinary lines have nothing to say.
    DataSet plain = test::PreparedPoints({{"1", {{1, 2}, {2, 3}, {3, 5}, {4, 4}}}}, kDigits);
    ASSERT_TRUE(FitFamily(plain, CalcSettings{}, results));
    EXPECT_TRUE(UnratedSections(plain, results).empty());
    EXPECT_FALSE(results.lineFit[1].sections[1].leastBad);
}

// The driver values only the candidates near the smallest deviation; the
// form it takes must still be the first of those whose deviation value is
// smallest, as valuing every candidate would find, ties and near-ties
// included: exact lines (many forms at 0), tiny and huge values, and points
// where most forms fail.
TEST(FitFamily, TheChosenFormIsTheFirstOfTheSmallestDeviationValue) {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const double scales[] = {1.0, 1e-30, 1e-12, 1e15, 1e35};
    int checked = 0, ties = 0;
    for (int trial = 0; trial < 300; ++trial) {
        const double scale = scales[trial % 5];
        std::vector<std::pair<double, double>> points;
        for (int i = 1; i <= 4; ++i) {
            const double x = i + (trial % 3 == 0 ? 0.0 : unit(random));
            const double y = trial % 4 == 0 ? scale * (2 * x + 1) : scale * (0.1 + unit(random));
            points.push_back({x, trial % 7 == 0 ? -y : y});
        }
        DataSet data = test::PreparedPoints({{"1", points}}, kDigits);
        FitResults results;
        ASSERT_TRUE(FitFamily(data, CalcSettings{}, results));
        // On the texts as the driver rewrote them.
        const std::vector<FitCandidate> candidates =
            FitSection(data.xText[1], data.yText[1], data.preparedCount[1], CalcSettings{});

        int expected = 0;
        float best = 1000000.0f;
        for (const FitCandidate& c : candidates) {
            if (!c.choosable) continue;  // more coefficients than the points can judge
            const float value = MeanDeviationValue(c);
            ties += expected != 0 && value == best;
            if (value < best) {
                best = value;
                expected = c.form;
            }
        }
        if (expected == 0) continue;  // the least-bad path has its own tests
        EXPECT_EQ(results.lineFit[1].sections[1].form, expected) << trial;
        EXPECT_EQ(results.lineFit[1].sections[1].error, best) << trial;
        ++checked;
    }
    EXPECT_GT(checked, 200);
    EXPECT_GT(ties, 0);
}

// A user's minimum of points per section holds in every partition tried, and
// the second thread's plan asks for no other sections.
TEST(FitFamily, EverySectionHoldsTheMinimumOfPoints) {
    const DataSet family = test::PreparedFamily({40, 12}, 0.03);
    for (int minimum : {5, 10}) {
        DataSet data = family;
        FitResults results;
        const CalcSettings settings{.cutoffPrecision = 1e-9f,
                                    .minSectionPoints = static_cast<int16_t>(minimum)};
        ASSERT_TRUE(FitFamily(data, settings, results));
        for (int line = 1; line <= 2; ++line) {
            const LineFit& fit = results.lineFit[line];
            for (int s = 1; s <= fit.sectionCount; ++s)
                EXPECT_GE(fit.sections[s].sectionPoints, minimum) << line << " " << s;
        }
        for (const auto& [first, last] : PlannedSections(40, 2, minimum)) {
            if (first == 1 && last == 40) continue;
            EXPECT_GE(last - first + 1, minimum) << first << "-" << last;
        }
    }
    EXPECT_EQ(CheckedMinSection("4"), 4);
    EXPECT_FALSE(CheckedMinSection("2") || CheckedMinSection("11") || CheckedMinSection("4.5"));
}

// A section chooses only forms with fewer coefficients than it has distinct
// X: through three points a quadratic (and a cubic, whose equations are
// singular) passes exactly whatever they are, and which of such "exact" forms
// won was decided by rounding. Now the choice stands when the points move by
// their last digit, and no form of the minimum section is steered by noise.
// Points on fewer distinct X keep the rule of every form.
TEST(FitFamily, AShortSectionChoosesOnlyWhatItsPointsCanJudge) {
    std::mt19937 random(11);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    for (int trial = 0; trial < 200; ++trial) {
        const int n = 3 + trial % 2;
        std::vector<std::pair<double, double>> points, moved;
        for (int i = 1; i <= n; ++i) {
            const double x = i + 0.9 * unit(random);
            const double y = 1 + 10 * unit(random);
            points.push_back({x, y});
            moved.push_back({x, y * (1 + 3e-6)});
        }
        FitResults first, second;
        DataSet data = test::PreparedPoints({{"1", points}}, kDigits);
        DataSet other = test::PreparedPoints({{"1", moved}}, kDigits);
        const CalcSettings whole{.cutoffPrecision = 0.7f};
        ASSERT_TRUE(FitFamily(data, whole, first));
        ASSERT_TRUE(FitFamily(other, whole, second));
        const SectionFit& chosen = first.lineFit[1].sections[1];
        EXPECT_LE(DegreeOfForm(chosen.form), n - 2) << trial;
        EXPECT_EQ(chosen.form, second.lineFit[1].sections[1].form) << trial;
        EXPECT_GT(chosen.error, 1e-9f) << trial;  // no exact interpolant of noise
    }
    DataSet repeated = test::PreparedPoints({{"1", {{1, 2}, {1, 3}, {2, 5}}}}, kDigits);
    FitResults results;
    ASSERT_TRUE(FitFamily(repeated, CalcSettings{}, results));
    EXPECT_GE(results.lineFit[1].sections[1].form, 1);
}

// With every system excluded no form is rated at all: the section keeps the
// constant 0, every line keeps a statement, and the run says that it has no
// form.
TEST(FitFamily, ASectionWithoutAnyRatedFormIsReported) {
    CalcSettings none;
    for (int system = 1; system <= kSystemCount; ++system) none.excludedSystem[system] = 1;
    DataSet signs = test::PreparedPoints(
        {{"1", test::AwkwardLines()[0].second}, {"2", {{1, 2}, {2, 3}, {3, 5}}}}, kDigits);
    FitResults constant;
    ASSERT_TRUE(FitFamily(signs, none, constant));
    ExpectNoNonFiniteText(constant);
    EXPECT_EQ(constant.lineFit[1].sections[1].form, 0);
    EXPECT_EQ(constant.statements[0], "Y!(1)= 0");

    DataSet data = test::PreparedPoints(
        {{"1", {{1, 2}, {2, 3}, {3, 5}}}, {"2", {{1, 3}, {2, 4}, {3, 6}}}}, kDigits);
    FitResults results;
    ASSERT_TRUE(FitFamily(data, none, results));
    const std::vector<UnratedSection> unrated = UnratedSections(data, results);
    ASSERT_EQ(unrated.size(), 2u);
    EXPECT_EQ(unrated[1].rank, 2);
    EXPECT_EQ(unrated[1].form, 0);
    EXPECT_EQ(Count(results.fittingLog, "[Para: 2]  from   1 to   3       評価できる式なし"), 1);
}

TEST(FitFamily, BoundsHoldValuesBeyondAnyStartValue) {
    DataSet data = test::PreparedPoints({{"1", {{2e15, 3e20}, {4e15, 5e20}, {8e15, 9e20}}},
                                         {"2", {{-3e16, -2e17}, {-2e16, -1e17}, {-1e16, -5e16}}}},
                                        kDigits);
    FitResults results;
    ASSERT_TRUE(FitFamily(data, CalcSettings{}, results));
    const PointBounds& first = results.rankBounds[1];
    EXPECT_EQ(first.xMin, 2e15f);
    EXPECT_EQ(first.xMax, 8e15f);
    EXPECT_EQ(first.yMin, 3e20f);
    const PointBounds& second = results.rankBounds[2];
    EXPECT_EQ(second.xMax, -1e16f);
    EXPECT_EQ(second.yMax, -5e16f);
    EXPECT_EQ(second.yMin, -2e17f);
    const PointBounds& all = results.familyBounds;
    EXPECT_EQ(all.xMin, -3e16f);
    EXPECT_EQ(all.xMax, 8e15f);
    EXPECT_EQ(all.yMin, -2e17f);
    EXPECT_EQ(all.yMax, 9e20f);
}

TEST(DescribeResults, ListsEverySectionAndTheLineError) {
    const DataSet data = test::HandPrepared({{1, "25", 0, {{1, "1.5"}, {12, "40"}}}});
    FitResults results;
    LineFit& fit = results.lineFit[1];
    fit.sectionCount = 1;
    SectionFit& s = fit.sections[1];
    s = {2, 1, 12, 12, 0.001f, {0, 0.25f, -2, 3.5f, 0}, {}, "", ""};
    CalcSettings settings;
    settings.errorMode = 0;
    const ResultDetails details = DescribeResults(data, settings, results);
    const std::vector<std::string> expected = {"ﾃﾞｰﾀ数=12  ﾊﾟﾗﾒｰﾀ=25",
                                               "From=1--> X1=1.5",
                                               "To  =12--> X2=40",
                                               "Eq No=2",
                                               "  Status=300",
                                               "<誤差=0.001>",
                                               "C1=0.25",
                                               "C2=-2",
                                               "C3=3.5",
                                               "C4=0",
                                               std::string(24, '='),
                                               "最大誤差=0.001",
                                               "Gr=71.6",
                                               std::string(24, '=')};
    EXPECT_EQ(details.lines, expected);
    EXPECT_FLOAT_EQ(details.lastMeanError, 0.001f);

    settings.errorMode = 2;
    fit.sectionCount = 2;
    fit.sections[2] = {1, 12, 12, 1, 0.0f, {0, 1, 1, 0, 0}, {}, "", ""};
    const ResultDetails two = DescribeResults(data, settings, results);
    EXPECT_EQ(two.lines[10], std::string(24, '-'));
    EXPECT_EQ(two.lines[20], "C4=0");
    const float mean = static_cast<float>(12 * static_cast<double>(0.001f) / 13);
    EXPECT_EQ(two.lines[22], "平均誤差=" + SingleToPlainText(mean));

    // A three-section line shows its combined error as it is, even an exact 0;
    // only its grade needs a positive value.
    fit.sectionCount = 3;
    fit.sections[3] = fit.sections[2];
    fit.threeSectionError = 0.0f;
    const ResultDetails three = DescribeResults(data, settings, results);
    ASSERT_GE(three.lines.size(), 3u);
    EXPECT_EQ(three.lines[three.lines.size() - 3], "平均誤差=0");
    EXPECT_EQ(three.lines[three.lines.size() - 2], "Gr=" + SingleToPlainText(*Gr(1.05e-15f)));
}

}  // namespace
}  // namespace kx::core

#include "core/fitting/fit_family.h"

#include <algorithm>
#include <cassert>
#include <cmath>

#include "core/data/numeric_text.h"
#include "core/data/sort_pairs.h"
#include "core/data/text_chars.h"
#include "core/fitting/section_choice.h"
#include "core/fitting/section_fit.h"

namespace kx::core {
namespace {

constexpr float kThreeSectionStart = 100000.0f;
constexpr int kRecordsPerSize = 6000;
constexpr int kThreeSectionLimit = 29999;

// A fitted section as the partition search keeps it.
struct SectionRecord {
    int16_t points = 0;
    int16_t form = 0;
    float error = 0.0f;
    std::array<float, 5> c{};
    Coefficients coefficient{};
    int16_t firstIndex = 0;
    bool leastBad = false;
    std::size_t logged = 0;  // its number among the fitting log's sections
};

// Fitted sections by partition size (1..3) and record number (1..6000). The
// record number restarts for each partition size of a line.
class SectionRecordTable {
public:
    SectionRecordTable() : records_(3 * kRecordsPerSize) {}
    void restart() { next_ = {0, 0, 0, 0}; }
    int add(int size, const SectionRecord& record) {
        const int number = std::min(++next_[size], kRecordsPerSize);
        at(size, number) = record;
        return number;
    }
    const SectionRecord& get(int size, int number) const {
        return records_[(size - 1) * kRecordsPerSize + number - 1];
    }

private:
    SectionRecord& at(int size, int number) {
        return records_[(size - 1) * kRecordsPerSize + number - 1];
    }
    std::vector<SectionRecord> records_;
    std::array<int, 4> next_{};
};

// The sections of one line fitted so far, by first and last point. The
// partition stages meet many sections more than once (a third section ends
// every partition that shares its start), and a section's fit depends on
// nothing but its points, so each is fitted and formatted once per line.
class SectionMemo {
public:
    SectionMemo() : index_(kSectionSlots, 0), stamps_(kSectionSlots, 0) {}
    // Forgets every section: the next line has other points.
    void restart() {
        ++stamp_;
        sections_.clear();
    }
    const SectionRecord* find(int first, int last) const {
        const std::size_t slot = SectionSlot(first, last);
        return stamps_[slot] == stamp_ ? &sections_[index_[slot]] : nullptr;
    }
    const SectionRecord& keep(int first, int last, const SectionRecord& section) {
        const std::size_t slot = SectionSlot(first, last);
        index_[slot] = sections_.size();
        stamps_[slot] = stamp_;
        sections_.push_back(section);
        return sections_.back();
    }

private:
    std::vector<SectionRecord> sections_;
    std::vector<std::size_t> index_;
    std::vector<unsigned> stamps_;
    unsigned stamp_ = 1;
};

int SplitStep(int n) {
    return n <= 30 ? 1 : n <= 52 ? 2 : n <= 70 ? 3 : n <= 85 ? 4 : 5;
}

std::string Digits(int value, std::size_t width) {
    std::string text;
    AppendRightAligned(text, value, width);
    return text;
}

// What the log and the details say of a section no form rates below the start.
std::string UnratedNote(const SectionFit& section) {
    if (section.form == 0) return "評価できる式なし";
    return "EQ No=" + Digits(section.form, 2) + "  誤差1000000未満の式なし、最小誤差の式を採用";
}

class LineFitting {
public:
    LineFitting(DataSet& data, const CalcSettings& settings, FitResults& results,
                FitObserver* observer)
        : data_(data), settings_(settings), results_(results), observer_(observer) {}

    // Fits the line of rank k; false when a stop was requested.
    bool fit(int rank);

private:
    void sortLine();
    void updateBounds();
    void collectSection();
    const SectionRecord& fitSection(int first, int last);
    void logSection(const SectionRecord& record, int last);
    bool countPartition(float score);  // logs the score; false on a stop
    bool twoSectionStage(float& best);
    bool threeSectionStage(bool& done);
    // How a partition of the three-section stage ends its search.
    enum class PartitionEnd { kNext, kStopped, kPreciseEnough, kLimitReached };
    PartitionEnd threeSectionPartition(int firstNumber, int m1, int secondLast, float& best);
    void accept(std::initializer_list<const SectionRecord*> sections);
    void logUnrated();
    void writeSummary();
    void log(std::string line) { results_.fittingLog.AddText(std::move(line)); }

    DataSet& data_;
    const CalcSettings& settings_;
    FitResults& results_;
    FitObserver* observer_;
    SectionFitter fitter_;
    // The system of the form last chosen: neighbouring sections mostly choose
    // alike, so it is rated first and holds the others to its reach.
    int likelySystem_ = 0;
    SectionMemo memo_;
    SectionRecordTable records_;
    PointTable table_;
    // Fits the line's sections ahead on a second thread; it reads table_ and
    // settings_, and is stopped before either changes or goes.
    SectionPrefetch prefetch_;
    LineTexts xTexts_, yTexts_;
    int line_ = 0;
    int rank_ = 0;
    int n_ = 0;
    int step_ = 1;
    bool stopped_ = false;
};

void LineFitting::sortLine() {
    const int count = data_.preparedCount[line_];
    std::array<float, kMaxPoints + 1> xs{};
    std::array<float, kMaxPoints + 1> ys{};
    for (int i = 1; i <= count; ++i) {
        xs[i] = static_cast<float>(ValueOfText(data_.xText[line_][i]));
        ys[i] = static_cast<float>(ValueOfText(data_.yText[line_][i]));
    }
    SortPairs(xs, ys, count);
    for (int i = 1; i <= count; ++i) {
        data_.xText[line_][i] = SingleToText(xs[i]);
        data_.yText[line_][i] = SingleToText(ys[i]);
    }
}

void LineFitting::updateBounds() {
    PointBounds& own = results_.rankBounds[rank_];
    PointBounds& all = results_.familyBounds;
    for (int i = 1; i <= data_.preparedCount[line_]; ++i) {
        const float x = static_cast<float>(ValueOfText(data_.xText[line_][i]));
        const float y = static_cast<float>(ValueOfText(data_.yText[line_][i]));
        for (PointBounds* b : {&own, &all}) {
            if (x > b->xMax) b->xMax = x;
            if (x < b->xMin) b->xMin = x;
            if (y > b->yMax) b->yMax = y;
            if (y < b->yMin) b->yMin = y;
        }
    }
}

void LineFitting::collectSection() {
    n_ = 0;
    for (int i = data_.firstPoint[line_]; i <= data_.preparedCount[line_]; ++i) {
        if (TrimBlanks(data_.yText[line_][i]).empty()) continue;
        ++n_;
        xTexts_[n_] = data_.xText[line_][i];
        yTexts_[n_] = data_.yText[line_][i];
        log(Digits(n_, 2) + "< " + xTexts_[n_] + "," + yTexts_[n_] + " >");
    }
    LoadPointTable(table_, xTexts_, yTexts_, n_);
    memo_.restart();
    step_ = SplitStep(n_);
}

const SectionRecord& LineFitting::fitSection(int first, int last) {
    if (const SectionRecord* known = memo_.find(first, last)) return *known;
    SectionRecord record;
    record.firstIndex = static_cast<int16_t>(first);
    record.points = static_cast<int16_t>(last - first + 1);
    SectionChoice choice;
    if (const SectionChoice* ready = prefetch_.take(first, last)) {
        // Fitted on the second thread: the host hears of it as of a fit here.
        choice = *ready;
        if (observer_) {
            observer_->yieldEvents();
            for (int k = 0; k < choice.cubics; ++k) observer_->cubicSolved();
        }
    } else {
        fitter_.Fit(table_, first, record.points, settings_, observer_, Rating::kForChoice,
                    likelySystem_);
        choice = ChooseForm(fitter_.candidates());
    }
    if (observer_) observer_->sectionFitted(record.points, choice.candidates);
    record.form = choice.form;
    record.c = choice.c;
    record.coefficient = choice.coefficient;
    record.leastBad = choice.leastBad;
    record.error = choice.error;
    if (record.form != 0) likelySystem_ = SystemOfForm(record.form);
    record.logged = results_.fittingLog.AddSection(
        {record.c, record.error, static_cast<int16_t>(line_), record.firstIndex, record.form});
    return memo_.keep(first, last, record);
}

void LineFitting::logSection(const SectionRecord& r, int last) {
    results_.fittingLog.AddCoefficients(r.logged);
    results_.fittingLog.AddPlacement(r.logged, last);
}

bool LineFitting::countPartition(float score) {
    results_.fittingLog.AddRule();
    results_.fittingLog.AddScore(score);
    results_.fittingLog.AddRule();
    ++results_.partitionCounter;
    if (observer_) {
        observer_->partitionCounted(results_.partitionCounter);
        observer_->yieldEvents();
        if (observer_->stopRequested()) {
            stopped_ = true;
            return false;
        }
    }
    return true;
}

void LineFitting::accept(std::initializer_list<const SectionRecord*> sections) {
    LineFit& fit = results_.lineFit[line_];
    fit.sectionCount = static_cast<int16_t>(sections.size());
    int s = 0;
    for (const SectionRecord* r : sections) {
        SectionFit& out = fit.sections[++s];
        out.form = r->form;
        out.firstIndex = r->firstIndex;
        out.sectionPoints = r->points;
        out.lastIndex = static_cast<int16_t>(r->firstIndex + r->points - 1);
        out.error = r->error;
        out.c = r->c;
        out.coefficient = r->coefficient;
        out.leastBad = r->leastBad;
    }
}

// A note in the log for every chosen section that no form rates below the
// start value, so that the user sees why its error is that large.
void LineFitting::logUnrated() {
    const LineFit& fit = results_.lineFit[line_];
    for (int s = 1; s <= fit.sectionCount; ++s) {
        const SectionFit& section = fit.sections[s];
        if (section.form != 0 && !section.leastBad) continue;
        log("[Para:" + Digits(line_, 2) + "]  from " + Digits(section.firstIndex, 3) + " to " +
            Digits(section.lastIndex, 3) + "       " + UnratedNote(section));
    }
}

bool LineFitting::twoSectionStage(float& best) {
    records_.restart();
    int m = 3;
    do {
        if (!SectionsLongEnough(settings_.minSectionPoints, {m, n_ - m + 1})) {
            m += step_;
            continue;
        }
        const SectionRecord& first = records_.get(2, records_.add(2, fitSection(1, m)));
        const SectionRecord& second = records_.get(2, records_.add(2, fitSection(m, n_)));
        logSection(first, m);
        results_.fittingLog.AddGap();
        logSection(second, n_);
        const SectionScore scores[] = {{first.points, first.error}, {second.points, second.error}};
        const float e = CombinedError(settings_.errorMode, scores);
        if (!countPartition(e)) return false;
        const float score = std::max(e, second.error);
        if (score <= best) {
            best = score;
            accept({&first, &second});
            if (score <= settings_.cutoffPrecision) return true;
        }
        m += step_;
    } while (n_ - m >= 3);
    return false;
}

// One three-section partition: sections 2 and 3 fitted after the first one's
// record, logged and scored; the best so far is accepted.
LineFitting::PartitionEnd LineFitting::threeSectionPartition(int firstNumber, int m1,
                                                             int secondLast, float& best) {
    const SectionRecord& first = records_.get(3, firstNumber);
    logSection(first, m1);
    results_.fittingLog.AddGap();
    const SectionRecord& second = records_.get(3, records_.add(3, fitSection(m1, secondLast)));
    logSection(second, secondLast);
    results_.fittingLog.AddGap();
    const SectionRecord& third = records_.get(3, records_.add(3, fitSection(secondLast, n_)));
    logSection(third, n_);
    const SectionScore scores[] = {
        {first.points, first.error}, {second.points, second.error}, {third.points, third.error}};
    const float e = CombinedError(settings_.errorMode, scores);
    if (!countPartition(e)) return PartitionEnd::kStopped;
    if (e < best) {
        best = e;
        accept({&first, &second, &third});
        results_.lineFit[line_].threeSectionError = e;
        if (e <= settings_.cutoffPrecision) return PartitionEnd::kPreciseEnough;
    }
    if (++results_.threeSectionCounter > kThreeSectionLimit) return PartitionEnd::kLimitReached;
    return PartitionEnd::kNext;
}

bool LineFitting::threeSectionStage(bool& done) {
    records_.restart();
    float best = kThreeSectionStart;
    const int s = step_;
    for (int j = 1; 1 + s * (j - 1) <= n_ - s - 6; ++j) {
        const int m1 = 2 + s * j;
        if (!SectionsLongEnough(settings_.minSectionPoints, {m1})) continue;
        const int firstNumber = records_.add(3, fitSection(1, m1));
        // The first section is logged when it is fitted and again, from its
        // record, in every partition that reuses it.
        logSection(records_.get(3, firstNumber), m1);
        for (int i = 1; 1 + s * (i - 1) <= (n_ - m1) - 3; ++i) {
            const int m2 = 2 + s * i;
            const int secondLast = m1 + m2 - 1;
            const int thirdPoints = n_ - secondLast + 1;
            // A third section needs at least two points of the line; the split
            // bounds alone would let the second section run past its end.
            if (thirdPoints < 2) break;
            if (SectionsLongEnough(settings_.minSectionPoints, {m2, thirdPoints})) {
                switch (threeSectionPartition(firstNumber, m1, secondLast, best)) {
                    case PartitionEnd::kStopped: return false;
                    case PartitionEnd::kPreciseEnough: done = true; return true;
                    case PartitionEnd::kLimitReached: return true;
                    case PartitionEnd::kNext: break;
                }
            }
            if (thirdPoints < s + 3) break;
        }
    }
    return true;
}

void LineFitting::writeSummary() {
    LineFit& fit = results_.lineFit[line_];
    for (int s = 1; s <= fit.sectionCount; ++s) {
        SectionFit& section = fit.sections[s];
        section.displayText = DisplayText(section.form, section.coefficient);
        section.programText = ProgramText(section.form, section.coefficient);
        results_.summary.push_back(
            LeftChars("ﾊﾟﾗﾒｰﾀ=" + data_.parameterText[line_] +
                          "    ﾃﾞｰﾀ数=" + StrText(section.sectionPoints) + std::string(10, ' '),
                      27) +
            LeftChars("From=" + StrText(section.firstIndex) +
                          "--> X1=" + xTexts_[section.firstIndex] + std::string(15, ' '),
                      25) +
            LeftChars("To  =" + StrText(section.lastIndex) +
                          "--> X2=" + xTexts_[section.lastIndex] + std::string(15, ' '),
                      25));
        const std::string& program = section.programText;
        const std::size_t equals = program.find('=');
        std::string statement =
            "Y!(" + std::to_string(rank_) +
            ")=" + (equals == std::string::npos ? program : program.substr(equals + 1));
        results_.summary.push_back(statement);
        results_.statements.push_back(std::move(statement));
        results_.summary.push_back(std::string(108, s < fit.sectionCount ? '-' : '='));
    }
}

bool LineFitting::fit(int rank) {
    rank_ = rank;
    line_ = data_.lineOrder[rank];
    data_.activeLine = static_cast<int16_t>(line_);
    results_.lineFit[line_] = LineFit{};
    sortLine();
    updateBounds();
    collectSection();
    struct Finish {
        SectionPrefetch& prefetch;
        ~Finish() { prefetch.finish(); }
    } finish{prefetch_};
    if (n_ > 4)
        prefetch_.start(table_, settings_, PlannedSections(n_, step_, settings_.minSectionPoints));

    if (n_ < 1) {
        // Nothing to fit: the line keeps an empty section so that it still has
        // its statement in the program.
        results_.lineFit[line_].sectionCount = 1;
        logUnrated();
        writeSummary();
        return true;
    }

    records_.restart();
    const SectionRecord& whole = records_.get(1, records_.add(1, fitSection(1, n_)));
    results_.fittingLog.AddCoefficients(whole.logged);
    log("[Para:" + Digits(line_, 2) + "]  DEV    1X -  1 - " + Digits(n_, 2) +
        "              EQ No=" + Digits(whole.form, 2) + "    誤差=" + StrText(whole.error));
    accept({&whole});
    const float e1 = whole.error;
    if (!countPartition(e1)) return false;

    if (e1 > settings_.cutoffPrecision) {
        float best = e1;
        bool done = false;
        if (n_ > 4) done = twoSectionStage(best);
        if (stopped_) return false;
        if (!done && n_ > 8) {
            threeSectionStage(done);
            if (stopped_) return false;
        }
    }
    logUnrated();
    writeSummary();
    return true;
}

}  // namespace

namespace {

float WeightedMean(std::span<const SectionScore> sections) {
    double products = 0.0;
    double points = 0.0;
    for (const SectionScore& s : sections) {
        products += s.points * static_cast<double>(s.error);
        points += s.points;
    }
    return static_cast<float>(products / points);
}

}  // namespace

float CombinedError(int mode, std::span<const SectionScore> sections) {
    assert(!sections.empty());
    if (mode == 0) {
        float largest = sections[0].error;
        for (const SectionScore& s : sections) largest = std::max(largest, s.error);
        return largest;
    }
    if (mode == 2 && sections.size() > 2) {
        std::size_t first = 0;
        for (std::size_t i = 1; i < sections.size(); ++i) {
            if (sections[i].error > sections[first].error) first = i;
        }
        std::size_t second = first == 0 ? 1 : 0;
        for (std::size_t i = 0; i < sections.size(); ++i) {
            if (i != first && sections[i].error > sections[second].error) second = i;
        }
        const SectionScore largestTwo[] = {sections[first], sections[second]};
        return WeightedMean(largestTwo);
    }
    return WeightedMean(sections);
}

bool FitFamily(DataSet& data, const CalcSettings& settings, FitResults& results,
               FitObserver* observer) {
    results = FitResults{};
    LineFitting fitting(data, settings, results, observer);
    for (int rank = 1; rank <= data.lineCount; ++rank) {
        if (!fitting.fit(rank)) return false;
    }
    results.completed = true;
    return true;
}

namespace {

// The details of one section of a line.
void DescribeSection(const DataSet& data, int line, const SectionFit& section,
                     std::vector<std::string>& out) {
    const int coefficients = CoefficientCount(section.form);
    out.push_back("ﾃﾞｰﾀ数=" + std::to_string(section.sectionPoints) +
                  "  ﾊﾟﾗﾒｰﾀ=" + data.parameterText[line]);
    out.push_back("From=" + std::to_string(section.firstIndex) +
                  "--> X1=" + data.xText[line][section.firstIndex]);
    out.push_back("To  =" + std::to_string(section.lastIndex) +
                  "--> X2=" + data.xText[line][section.lastIndex]);
    out.push_back("Eq No=" + std::to_string(section.form));
    out.push_back(std::string("  Status=") + EquationCode(section.form));
    out.push_back("<誤差=" + SingleToPlainText(section.error) + ">");
    if (section.form == 0 || section.leastBad) out.push_back("<" + UnratedNote(section) + ">");
    out.push_back("C1=" + SingleToPlainText(section.c[1]));
    out.push_back("C2=" + SingleToPlainText(section.c[2]));
    out.push_back("C3=" + (coefficients >= 3 ? SingleToPlainText(section.c[3]) : "0"));
    out.push_back("C4=" + (coefficients >= 4 ? SingleToPlainText(section.c[4]) : "0"));
}

}  // namespace

ResultDetails DescribeResults(const DataSet& data, const CalcSettings& settings,
                              const FitResults& results) {
    ResultDetails details;
    std::vector<std::string>& out = details.lines;
    for (int rank = 1; rank <= data.lineCount; ++rank) {
        const int line = data.lineOrder[rank];
        const LineFit& fit = results.lineFit[line];
        double products = 0.0;
        double points = 0.0;
        for (int s = 1; s <= fit.sectionCount; ++s) {
            const SectionFit& section = fit.sections[s];
            DescribeSection(data, line, section, out);
            if (s < fit.sectionCount) out.push_back(std::string(24, '-'));
            products += section.sectionPoints * static_cast<double>(section.error);
            points += section.sectionPoints;
        }
        if (!(products > 0.0)) products = 1.05e-15;
        const float mean = static_cast<float>(points > 0.0 ? products / points : products);
        details.lastMeanError = mean;
        const float e = fit.sectionCount == 3 ? fit.threeSectionError : mean;
        // An exact three-section fit has no logarithm; it is graded as the
        // smallest mean error is.
        const float graded = e > 0.0f ? e : 1.05e-15f;
        out.push_back(std::string(24, '='));
        out.push_back((settings.errorMode == 0 ? "最大誤差=" : "平均誤差=") +
                      SingleToPlainText(e));
        out.push_back("Gr=" + SingleToPlainText(Gr(graded).value_or(0.0f)));
        out.push_back(std::string(24, '='));
    }
    return details;
}

std::vector<UnratedSection> UnratedSections(const DataSet& data, const FitResults& results) {
    std::vector<UnratedSection> unrated;
    for (int rank = 1; rank <= data.lineCount; ++rank) {
        const int line = data.lineOrder[rank];
        const LineFit& fit = results.lineFit[line];
        for (int s = 1; s <= fit.sectionCount; ++s) {
            const SectionFit& section = fit.sections[s];
            if (section.form == 0 || section.leastBad) {
                unrated.push_back({rank, line, s, section.form});
            }
        }
    }
    return unrated;
}

int GaugeLength(int partitionCounter, int progressTotal) {
    if (progressTotal <= 0) return 0;
    return static_cast<int>(
        RoundHalfEven(static_cast<double>(partitionCounter) * 25.0 / progressTotal * 1.035));
}

}  // namespace kx::core

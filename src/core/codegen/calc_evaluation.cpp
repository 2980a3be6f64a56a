#include "core/codegen/calc_evaluation.h"

#include <array>
#include <cmath>
#include <limits>

#include "core/fitting/equation_form.h"

namespace kx::core {
namespace {

// A run-time error of the program: Calc ends with flag 7 and the value 0.
struct Fault {};

constexpr double kLargestSingle = std::numeric_limits<float>::max();
// The limits of the program's rule for storing a Double in a Single.
constexpr double kStoreSmallest = 1.1754944E-38;
constexpr double kStoreLargest = 3.402823E+38;

// A value stored in a Single (or computed as one): beyond the largest Single
// it is an error, not an infinity.
float Single(double value) {
    if (!(std::fabs(value) <= kLargestSingle)) throw Fault{};
    return static_cast<float>(value);
}

// A value computed as a Double: an infinity or a NaN is an error.
double Checked(double value) {
    if (!std::isfinite(value)) throw Fault{};
    return value;
}

double Quotient(double a, double b) {
    if (b == 0.0) throw Fault{};
    return Checked(a / b);
}

// Operations on two Singles give a Single.
float Sum(float a, float b) {
    return Single(static_cast<double>(a) + b);
}
float Difference(float a, float b) {
    return Single(static_cast<double>(a) - b);
}
float Product(float a, float b) {
    return Single(static_cast<double>(a) * b);
}
float SingleQuotient(float a, float b) {
    if (b == 0.0f) throw Fault{};
    return Single(static_cast<double>(a) / b);
}

double Power(double base, double exponent) {
    if (base < 0.0 && exponent != std::floor(exponent)) throw Fault{};
    if (base == 0.0 && exponent < 0.0) throw Fault{};
    return Checked(std::pow(base, exponent));
}

// The program's rule for a Double (YQ#) that goes into a Single: below the
// smallest normal Single 0, beyond the largest Single that value.
float Stored(double value) {
    if (std::fabs(value) < kStoreSmallest) return 0.0f;
    if (std::fabs(value) > kStoreLargest) value = value > 0.0 ? kStoreLargest : -kStoreLargest;
    return Single(value);
}

// The value of a section's statement at X1!, a Double (YQ#).
double EquationValue(const CalcSection& section, float x1) {
    const int form = section.form;
    if (form < 1 || form > kFormCount) return 0.0;
    const int system = SystemOfForm(form);
    double u = x1;
    if (system == 2 || system == 4) {
        if (!(x1 > 0.0f)) throw Fault{};
        u = std::log(static_cast<double>(x1));
    } else if (system == 5 || system == 7) {
        u = SingleQuotient(1.0f, x1);  // "(1/X1!)" is a Single
    }
    const std::array<double, 5>& c = section.c;
    double p = 0.0;
    switch (DegreeOfForm(form)) {
        case 1: p = Checked(Checked(c[1] * u) + c[2]); break;
        case 2:
            p = Checked(Checked(Checked(c[1] * Power(u, 2)) + Checked(c[2] * u)) + c[3]);
            break;
        default:
            p = Checked(
                Checked(Checked(Checked(c[1] * Power(u, 3)) + Checked(c[2] * Power(u, 2))) +
                        Checked(c[3] * u)) +
                c[4]);
            break;
    }
    if (system == 3 || system == 4) return Checked(std::exp(p));
    if (system == 6 || system == 7) return Quotient(1.0, p);
    return p;
}

// The line's value at X1!: the first section whose end X1! does not pass.
float LineValue(const CalcLine& line, float x1) {
    int s = 0;
    while (s < line.sectionCount - 1 && x1 > line.sections[s].end) ++s;
    return Stored(EquationValue(line.sections[s], x1));
}

// The widening of the limits: 2 % of each limit's size.
struct Allowance {
    float xBelow, xAbove, yBelow, yAbove;
};
Allowance AllowanceOf(const PointBounds& limits) {
    const float share = 0.02f;
    return {Product(std::fabs(limits.xMin), share), Product(std::fabs(limits.xMax), share),
            Product(std::fabs(limits.yMin), share), Product(std::fabs(limits.yMax), share)};
}

// Beyond a range widened by the allowances (both sides are computed, as the
// program's Or computes both).
bool Outside(float v, float min, float below, float max, float above) {
    const bool low = v < Difference(min, below);
    const bool high = v > Sum(max, above);
    return low || high;
}

CalcAnswer SingleLine(const CalcFamily& family, float x) {
    const PointBounds& limits = family.limits;
    if (family.refusesNonPositiveX && x <= 0.0f && limits.xMin > 0.0f && limits.xMax > 0.0f) {
        return {0.0f, kCalcNonPositiveX};
    }
    const Allowance a = AllowanceOf(limits);
    int flag = kCalcOk;
    if (Outside(x, limits.xMin, a.xBelow, limits.xMax, a.xAbove)) flag = kCalcXOutside;
    const float value = LineValue(family.lines[0], x);
    if (Outside(value, limits.yMin, a.yBelow, limits.yMax, a.yAbove) && flag == kCalcOk) {
        flag = kCalcYOutside;
    }
    return {value, flag};
}

// One call of the family program, its variables named after the program's.
class FamilyRun {
public:
    FamilyRun(const CalcFamily& family, float x, float parameter)
        : family_(family),
          lines_(family.lines),
          n_(static_cast<int>(family.lines.size())),
          threePoint_(n_ > 2),
          xxpp_(x),
          yypp_(parameter),
          x1_(x) {}

    CalcAnswer Run();

private:
    const CalcLine& Position(int k) const { return lines_[k - 1]; }
    const PointBounds& Range(int k) const { return Position(k).range; }
    float Parameter(int k) const { return Single(Position(k).parameter); }
    // The positions the interpolation uses (CVC$): three around NNP%, or
    // the two bracketing ones once the third could not be computed.
    bool Used(int k) const {
        if (straight_) return k == nnpb_ - 1 || k == nnpb_;
        return k >= nnp_ - 1 && k <= nnp_ + (threePoint_ ? 1 : 0);
    }

    void Bracket();
    bool ParameterOutside() const;
    void Equation(int k);  // EQ00
    void EquationSteps(int k);
    bool ModeOne();
    float Interpolated(bool solvedX) const;  // CMATRIX
    void Solve(int k);
    void Inverse();
    void FinishInverse();

    const CalcFamily& family_;
    const std::vector<CalcLine>& lines_;
    const int n_;
    const bool threePoint_;
    const float xxpp_, yypp_;
    Allowance allowance_{};
    int nnp_ = 0, nnpb_ = 0;
    int flag_ = kCalcOk;
    bool inverse_ = false;   // HMODE% = 1
    bool eqfail_ = false;    // EQFAIL%: the last evaluation could not be computed
    bool straight_ = false;  // CVL% = 1
    float x1_;
    std::array<float, kMaxLines + 1> y_{}, xp1_{};
    float ans00_ = 0.0f, ans11_ = 0.0f;
    // The inverse solution.
    float ytgt_ = 0.0f, ypj_ = 0.0f, beki_ = 0.0f;
    int sim_ = 1, nq1_ = 0, nq2_ = 0;
};

void FamilyRun::Bracket() {
    for (int k = 1; k <= n_; ++k) {
        if (yypp_ < Parameter(k)) {
            nnp_ = nnpb_ = k;
            break;
        }
    }
    if (nnp_ == 0 || nnp_ == n_) {
        nnp_ = n_ - 1;
        nnpb_ = n_;
    }
    if (nnp_ == 1) nnp_ = nnpb_ = 2;
}

bool FamilyRun::ParameterOutside() const {
    // 2 % beyond the end parameters, outward whatever their sign.
    auto widened = [](double p, int outward) {
        const int sign = (p > 0.0) - (p < 0.0);
        const float factor = outward < 0
                                 ? Difference(1.0f, Product(static_cast<float>(sign), 0.02f))
                                 : Sum(1.0f, Product(static_cast<float>(sign), 0.02f));
        return Single(Checked(p * factor));
    };
    const bool low = yypp_ < widened(Position(1).parameter, -1);
    const bool high = yypp_ > widened(Position(n_).parameter, 1);
    return low || high;
}

void FamilyRun::Equation(int k) {
    ++nq1_;
    ++nq2_;
    eqfail_ = false;
    try {
        EquationSteps(k);
    } catch (const Fault&) {
        eqfail_ = true;
    }
}

void FamilyRun::EquationSteps(int k) {
    y_[k] = LineValue(Position(k), x1_);
    if (!inverse_) return;
    // Moves X1! by the ratio of the line's value to the target Y.
    ypj_ = y_[k];
    double ratio = 1.0;
    if (ypj_ != 0.0f) {
        const bool above = Difference(ypj_, ytgt_) > 0.0f;
        const bool up = sim_ == 1 ? above : !above;
        ratio = up ? Quotient(ypj_, ytgt_) : Quotient(ytgt_, ypj_);
    }
    x1_ = Stored(Checked(x1_ * Power(std::fabs(ratio), beki_)));
}

float FamilyRun::Interpolated(bool solvedX) const {
    const std::array<float, kMaxLines + 1>& values = solvedX ? xp1_ : y_;
    const float xz1 = Parameter(nnp_ - 1);
    const float xz2 = Parameter(nnp_);
    const float yz1 = values[nnp_ - 1];
    const float yz2 = values[nnp_];
    double yq = 0.0;
    if (!threePoint_) {
        const float slope = SingleQuotient(Difference(yz2, yz1), Difference(xz2, xz1));
        yq = Sum(Product(slope, Difference(yypp_, xz2)), yz2);
    } else {
        const float xz3 = Parameter(nnp_ + 1);
        const float yz3 = values[nnp_ + 1];
        const double p1 = Checked(static_cast<double>(yypp_) - xz1);
        const double p2 = Checked(static_cast<double>(yypp_) - xz2);
        const double p3 = Checked(static_cast<double>(yypp_) - xz3);
        double w1 = 0.0, w2 = 0.0, w3 = 0.0;
        if (straight_ && nnpb_ == nnp_) {
            w1 = Quotient(p2, Checked(p2 - p1));
            w2 = Quotient(p1, Checked(p1 - p2));
        } else if (straight_) {
            w2 = Quotient(p3, Checked(p3 - p2));
            w3 = Quotient(p2, Checked(p2 - p3));
        } else {
            w1 = Quotient(Checked(Quotient(p2, Checked(p2 - p1)) * p3), Checked(p3 - p1));
            w2 = Quotient(Checked(Quotient(p1, Checked(p1 - p2)) * p3), Checked(p3 - p2));
            w3 = Quotient(Checked(Quotient(p1, Checked(p1 - p3)) * p2), Checked(p2 - p3));
        }
        yq = Checked(Checked(Checked(w1 * yz1) + Checked(w2 * yz2)) + Checked(w3 * yz3));
    }
    return Stored(yq);
}

// The X at which the line at position k meets the target Y, by steps from
// X1! = XXPP!; it gives up (EFLGk% = 1) after 200 steps or where the line
// cannot be computed. Whether the answer stands is decided by its agreement
// with Mode1 (FinishInverse).
void FamilyRun::Solve(int k) {
    nq1_ = nq2_ = 0;
    x1_ = xxpp_;
    sim_ = 1;
    double previous = 1E+15;
    beki_ = 0.8f;
    auto miss = [&] {
        return std::fabs(Quotient(Checked(static_cast<double>(ypj_) - ytgt_), ytgt_));
    };
    while (!(miss() < 0.0001 && nq1_ > 3)) {
        Equation(k);
        if (eqfail_ || nq1_ > 200) break;
        const double change = miss();
        if (previous != 1E+15) {
            const PointBounds& limits = family_.limits;
            const bool below = static_cast<double>(x1_) <
                               Checked(limits.xMin - Checked(std::fabs(limits.xMin) * 0.5));
            const bool above = x1_ > Sum(limits.xMax, std::fabs(limits.xMax));
            if (below || above) x1_ = xxpp_;
            if (change > previous && nq2_ > 2) {
                x1_ = xxpp_;
                beki_ = Single(beki_ * 0.8);
                sim_ = -sim_;
                nq2_ = 0;
            }
        }
        previous = change;
    }
    xp1_[k] = x1_;
    Single(Position(k).parameter);  // YP1!(k)
}

// Mode2: the Y whose interpolated X is XXPP!, found by steps from Mode1's Y.
void FamilyRun::Inverse() {
    ytgt_ = ans11_;
    float ans22 = Single(1E+15);
    double previous = 1E+15;
    x1_ = xxpp_;
    int simz = 1, nq5 = 0, nq6 = 0;
    float beki5 = 0.8f;
    inverse_ = true;
    auto miss = [&] {
        return std::fabs(Quotient(Checked(static_cast<double>(xxpp_) - ans22), ans22));
    };
    while (!(miss() < 0.0001 && nq5 > 3)) {
        ++nq5;
        ++nq6;
        for (int k = 1; k <= n_; ++k) {
            if (Used(k)) Solve(k);
        }
        ans22 = Interpolated(true);
        if (ans22 == 0.0f) break;
        ypj_ = xxpp_;
        const bool above = Difference(ypj_, ans22) > 0.0f;
        const bool up = simz == 1 ? above : !above;
        const double ratio = up ? Quotient(xxpp_, ans22) : Quotient(ans22, xxpp_);
        const double yq = Checked(ytgt_ * Power(std::fabs(ratio), beki5));
        if (std::fabs(yq) < kStoreSmallest || std::fabs(yq) > kStoreLargest) break;
        ytgt_ = Single(yq);
        if (nq5 > 300) break;
        const double change =
            std::fabs(Quotient(Checked(static_cast<double>(ypj_) - ans22), ans22));
        if (previous != 1E+15 && change > previous && nq6 > 2) {
            ytgt_ = ans11_;
            beki5 = Single(beki5 * 0.8);
            simz = -simz;
            nq6 = 0;
        }
        previous = change;
    }
    FinishInverse();
}

// The end of Mode2: flag 6 where its Y is not within 1 % of Mode1's, flag 5
// where its X lies beyond both lines' ranges, and the answer: the mean of the
// two Ys where they agree, Mode1's otherwise.
void FamilyRun::FinishInverse() {
    const double agreement = ans11_ != 0.0f
                                 ? Quotient(Checked(static_cast<double>(ans11_) - ytgt_), ans11_)
                                 : Quotient(Checked(static_cast<double>(ans11_) - ytgt_), ytgt_);
    // Only answers that agree within 1 % are one, converged or not.
    const int flgm = std::fabs(agreement) <= 0.01 ? 0 : 1;
    if (flgm != 0 && flag_ == kCalcOk) flag_ = kCalcNotConverged;
    const float ans33 = ytgt_;
    const Allowance& a = allowance_;
    int outside = 0;
    for (int k : {nnpb_ - 1, nnpb_}) {
        if (Outside(xp1_[k], Range(k).xMin, a.xBelow, Range(k).xMax, a.xAbove)) ++outside;
    }
    if (outside == 2 && flag_ == kCalcOk) flag_ = kCalcInverseXOutside;
    ans00_ = flgm == 0 ? Single(Sum(ans11_, ans33) * 0.5) : ans11_;
}

// Mode1's evaluations: only the lines the interpolation uses; false when a
// bracketing line cannot be computed. A third line that cannot leaves the
// straight line through the two.
bool FamilyRun::ModeOne() {
    std::array<bool, kMaxLines + 1> computed{};
    for (int k = 1; k <= n_; ++k) {
        if (!Used(k)) continue;
        Equation(k);
        computed[static_cast<std::size_t>(k)] = !eqfail_;
    }
    if (!computed[static_cast<std::size_t>(nnpb_ - 1)] ||
        !computed[static_cast<std::size_t>(nnpb_)])
        return false;
    for (int k = 1; k <= n_; ++k) {
        if (Used(k) && !computed[static_cast<std::size_t>(k)]) straight_ = true;
    }
    return true;
}

CalcAnswer FamilyRun::Run() {
    Bracket();
    const int low = nnpb_ - 1, high = nnpb_;
    if (family_.refusesNonPositiveX && xxpp_ <= 0.0f) {
        for (int k : {low, high}) {
            if (Range(k).xMin > 0.0f && Range(k).xMax > 0.0f) return {0.0f, kCalcNonPositiveX};
        }
    }
    allowance_ = AllowanceOf(family_.limits);
    const Allowance& a = allowance_;
    int outside = 0;
    for (int k : {low, high}) {
        if (Outside(xxpp_, Range(k).xMin, a.xBelow, Range(k).xMax, a.xAbove)) ++outside;
    }
    if (outside == 2) flag_ = kCalcXOutside;
    // PEXP!, computed and stored though nothing reads it.
    Single(Checked(Checked(Position(n_).parameter - Position(1).parameter) * 0.02f));
    if (ParameterOutside() && flag_ == kCalcOk) flag_ = kCalcParameterOutside;

    if (!ModeOne()) return {0.0f, kCalcFailed};
    ans11_ = ans00_ = Interpolated(false);
    outside = 0;
    for (int k : {low, high}) {
        if (Outside(ans11_, Range(k).yMin, a.yBelow, Range(k).yMax, a.yAbove)) ++outside;
    }
    if (outside == 2 && flag_ == kCalcOk) flag_ = kCalcYOutside;
    // The inverse solution moves X and Y by ratios: it cannot start from 0.
    if (xxpp_ != 0.0f && ans11_ != 0.0f) Inverse();
    return {ans00_, flag_};
}

}  // namespace

CalcAnswer EvaluateCalc(const CalcFamily& family, float x, float parameter) {
    if (family.lines.empty() || !std::isfinite(x) || !std::isfinite(parameter)) {
        return {0.0f, kCalcFailed};
    }
    try {
        if (family.lines.size() == 1) return SingleLine(family, x);
        return FamilyRun(family, x, parameter).Run();
    } catch (const Fault&) {
        return {0.0f, kCalcFailed};
    }
}

}  // namespace kx::core

#include "core/codegen/c_program.h"

#include <span>
#include <sstream>

#include "core/codegen/calc_source_parts.h"

namespace kx::core {
namespace {

// The calculation itself, the same for every family: it follows the BASIC
// Calc step for step, as EvaluateCalc does.
constexpr const char* kCalculation = R"C(
/* Any run-time error of the calculation ends kx_calc with flag 7. */
struct kx_run {
    jmp_buf fault;
    float xxpp, yypp, x1;
    float allowance[4]; /* 2 % of the size of each of the limits */
    int nnp, nnpb, flag, inverse;
    float y[KX_LINES + 1], xp1[KX_LINES + 1];
    float ans00, ans11, ytgt, ypj, beki;
    int sim, nq1, nq2;
    int straight; /* the third line failed: a straight line through the two */
};

static void kx_fail(struct kx_run *r)
{
    longjmp(r->fault, 1);
}

/* A value stored in, or computed as, a 32-bit float. */
static float kx_single(struct kx_run *r, double v)
{
    if (!(fabs(v) <= FLT_MAX)) kx_fail(r);
    return (float)v;
}

static double kx_checked(struct kx_run *r, double v)
{
    if (!isfinite(v)) kx_fail(r);
    return v;
}

static double kx_quotient(struct kx_run *r, double a, double b)
{
    if (b == 0.0) kx_fail(r);
    return kx_checked(r, a / b);
}

static float kx_sum(struct kx_run *r, float a, float b)
{
    return kx_single(r, (double)a + b);
}

static float kx_difference(struct kx_run *r, float a, float b)
{
    return kx_single(r, (double)a - b);
}

static float kx_product(struct kx_run *r, float a, float b)
{
    return kx_single(r, (double)a * b);
}

static float kx_float_quotient(struct kx_run *r, float a, float b)
{
    if (b == 0.0f) kx_fail(r);
    return kx_single(r, (double)a / b);
}

static double kx_power(struct kx_run *r, double base, double exponent)
{
    if (base < 0.0 && exponent != floor(exponent)) kx_fail(r);
    if (base == 0.0 && exponent < 0.0) kx_fail(r);
    return kx_checked(r, pow(base, exponent));
}

/* A double result kept as a float: below the smallest normal float it is 0,
   beyond the largest it is that value. */
static float kx_stored(struct kx_run *r, double v)
{
    if (fabs(v) < 1.1754944e-38) return 0.0f;
    if (fabs(v) > 3.402823e+38) v = v > 0.0 ? 3.402823e+38 : -3.402823e+38;
    return kx_single(r, v);
}

/* The value of a section's equation at x1. */
static double kx_equation(struct kx_run *r, const struct kx_section *s, float x1)
{
    const double *c = s->c;
    int system, degree;
    double u = x1, p;
    if (s->form < 1 || s->form > 21) return 0.0;
    system = (s->form - 1) / 3 + 1;
    degree = (s->form - 1) % 3 + 1;
    if (system == 2 || system == 4) {
        if (!(x1 > 0.0f)) kx_fail(r);
        u = log((double)x1);
    } else if (system == 5 || system == 7) {
        u = kx_float_quotient(r, 1.0f, x1);
    }
    if (degree == 1)
        p = c[1] * u + c[2];
    else if (degree == 2)
        p = c[1] * pow(u, 2) + c[2] * u + c[3];
    else
        p = c[1] * pow(u, 3) + c[2] * pow(u, 2) + c[3] * u + c[4];
    p = kx_checked(r, p); /* an overflow on the way leaves an infinity or a NaN */
    if (system == 3 || system == 4) return kx_checked(r, exp(p));
    if (system == 6 || system == 7) return kx_quotient(r, 1.0, p);
    return p;
}

/* The line's value at x1: the first section whose end x1 does not pass. */
static float kx_line_value(struct kx_run *r, int k, float x1)
{
    const struct kx_line *line = &kx_lines[k - 1];
    int s = 0;
    while (s < line->sections - 1 && x1 > line->section[s].end) ++s;
    return kx_stored(r, kx_equation(r, &line->section[s], x1));
}

static float kx_parameter(struct kx_run *r, int k)
{
    return kx_single(r, kx_lines[k - 1].parameter);
}

/* Beyond a range widened below and above (both sides are computed). */
static int kx_outside(struct kx_run *r, float v, float min, float below, float max, float above)
{
    int low = v < kx_difference(r, min, below);
    int high = v > kx_sum(r, max, above);
    return low || high;
}

static int kx_outside_x(struct kx_run *r, float x, int k)
{
    const float *range = kx_lines[k - 1].range;
    return kx_outside(r, x, range[0], r->allowance[0], range[1], r->allowance[1]);
}

static int kx_outside_y(struct kx_run *r, float y, int k)
{
    const float *range = kx_lines[k - 1].range;
    return kx_outside(r, y, range[2], r->allowance[2], range[3], r->allowance[3]);
}

static void kx_set_allowance(struct kx_run *r)
{
    int i;
    for (i = 0; i < 4; ++i) r->allowance[i] = kx_product(r, fabsf(kx_limits[i]), 0.02f);
}

static int kx_single_line(struct kx_run *r, double *y)
{
    float value;
    int flag = 0;
    if (kx_refuses_non_positive_x && r->xxpp <= 0.0f && kx_limits[0] > 0.0f &&
        kx_limits[1] > 0.0f) {
        *y = 0.0;
        return 1;
    }
    kx_set_allowance(r);
    if (kx_outside(r, r->xxpp, kx_limits[0], r->allowance[0], kx_limits[1], r->allowance[1]))
        flag = 2;
    value = kx_line_value(r, 1, r->xxpp);
    if (kx_outside(r, value, kx_limits[2], r->allowance[2], kx_limits[3], r->allowance[3]) &&
        flag == 0)
        flag = 4;
    *y = value;
    return flag;
}

/* The lines whose parameters bracket yypp: interpolation uses nnp - 1, nnp
   (and nnp + 1), the range checks nnpb - 1 and nnpb. */
static void kx_bracket(struct kx_run *r)
{
    int k;
    for (k = 1; k <= KX_LINES; ++k) {
        if (r->yypp < kx_parameter(r, k)) {
            r->nnp = r->nnpb = k;
            break;
        }
    }
    if (r->nnp == 0 || r->nnp == KX_LINES) {
        r->nnp = KX_LINES - 1;
        r->nnpb = KX_LINES;
    }
    if (r->nnp == 1) r->nnp = r->nnpb = 2;
}

static int kx_used(const struct kx_run *r, int k)
{
    if (r->straight) return k == r->nnpb - 1 || k == r->nnpb;
    return k >= r->nnp - 1 && k <= r->nnp + (KX_LINES > 2 ? 1 : 0);
}

/* The parameter limit 2 % beyond an end parameter, outward. */
static float kx_parameter_limit(struct kx_run *r, double p, int outward)
{
    float sign = (float)((p > 0.0) - (p < 0.0));
    float share = kx_product(r, sign, 0.02f);
    float factor = outward < 0 ? kx_difference(r, 1.0f, share) : kx_sum(r, 1.0f, share);
    return kx_single(r, kx_checked(r, p * factor));
}

/* The value of line k at x1; in the inverse solution x1 also moves toward the
   target Y by the ratio of the line's value to it. */
static void kx_evaluate_steps(struct kx_run *r, int k)
{
    double ratio = 1.0;
    r->y[k] = kx_line_value(r, k, r->x1);
    if (!r->inverse) return;
    r->ypj = r->y[k];
    if (r->ypj != 0.0f) {
        int above = kx_difference(r, r->ypj, r->ytgt) > 0.0f;
        int up = r->sim == 1 ? above : !above;
        ratio = up ? kx_quotient(r, r->ypj, r->ytgt) : kx_quotient(r, r->ytgt, r->ypj);
    }
    r->x1 = kx_stored(r, kx_checked(r, r->x1 * kx_power(r, fabs(ratio), r->beki)));
}

/* The same under a fault handler of its own: a line that cannot be computed
   at x1 is no failure of the whole calculation. Returns 0 for such a line. */
static int kx_evaluate(struct kx_run *r, int k)
{
    jmp_buf outer;
    volatile int computed = 0;
    ++r->nq1;
    ++r->nq2;
    memcpy(outer, r->fault, sizeof outer);
    if (setjmp(r->fault) == 0) {
        kx_evaluate_steps(r, k);
        computed = 1;
    }
    memcpy(r->fault, outer, sizeof outer);
    return computed;
}

/* The value at yypp of the curve through the neighbouring lines' values (or,
   solved, their X values): a straight line through two, a parabola through
   three. */
static float kx_interpolated(struct kx_run *r, int solved)
{
    const float *values = solved ? r->xp1 : r->y;
    int n = r->nnp;
    float xz1 = kx_parameter(r, n - 1), xz2 = kx_parameter(r, n);
    float yz1 = values[n - 1], yz2 = values[n];
    double yq;
    if (KX_LINES == 2) {
        float slope = kx_float_quotient(r, kx_difference(r, yz2, yz1), kx_difference(r, xz2, xz1));
        yq = kx_sum(r, kx_product(r, slope, kx_difference(r, r->yypp, xz2)), yz2);
    } else {
        float xz3 = kx_parameter(r, n + 1), yz3 = values[n + 1];
        double p1 = kx_checked(r, (double)r->yypp - xz1);
        double p2 = kx_checked(r, (double)r->yypp - xz2);
        double p3 = kx_checked(r, (double)r->yypp - xz3);
        double w1 = 0.0, w2 = 0.0, w3 = 0.0;
        if (r->straight && r->nnpb == n) {
            w1 = kx_quotient(r, p2, kx_checked(r, p2 - p1));
            w2 = kx_quotient(r, p1, kx_checked(r, p1 - p2));
        } else if (r->straight) {
            w2 = kx_quotient(r, p3, kx_checked(r, p3 - p2));
            w3 = kx_quotient(r, p2, kx_checked(r, p2 - p3));
        } else {
            w1 = kx_quotient(r, kx_checked(r, kx_quotient(r, p2, kx_checked(r, p2 - p1)) * p3),
                             kx_checked(r, p3 - p1));
            w2 = kx_quotient(r, kx_checked(r, kx_quotient(r, p1, kx_checked(r, p1 - p2)) * p3),
                             kx_checked(r, p3 - p2));
            w3 = kx_quotient(r, kx_checked(r, kx_quotient(r, p1, kx_checked(r, p1 - p3)) * p2),
                             kx_checked(r, p2 - p3));
        }
        yq = kx_checked(r, kx_checked(r, kx_checked(r, w1 * yz1) + kx_checked(r, w2 * yz2)) +
                               kx_checked(r, w3 * yz3));
    }
    return kx_stored(r, yq);
}

static double kx_miss(struct kx_run *r, float value, float target)
{
    return fabs(kx_quotient(r, kx_checked(r, (double)value - target), target));
}

/* The X at which line k meets the target Y, by steps from x1 = xxpp. */
static void kx_solve(struct kx_run *r, int k)
{
    double previous = 1e+15, change;
    r->nq1 = r->nq2 = 0;
    r->x1 = r->xxpp;
    r->sim = 1;
    r->beki = 0.8f;
    while (!(kx_miss(r, r->ypj, r->ytgt) < 0.0001 && r->nq1 > 3)) {
        if (!kx_evaluate(r, k) || r->nq1 > 200) break;
        change = kx_miss(r, r->ypj, r->ytgt);
        if (previous != 1e+15) {
            int below = (double)r->x1 <
                        kx_checked(r, kx_limits[0] - kx_checked(r, fabsf(kx_limits[0]) * 0.5));
            int above = r->x1 > kx_sum(r, kx_limits[1], fabsf(kx_limits[1]));
            if (below || above) r->x1 = r->xxpp;
            if (change > previous && r->nq2 > 2) {
                r->x1 = r->xxpp;
                r->beki = kx_single(r, r->beki * 0.8);
                r->sim = -r->sim;
                r->nq2 = 0;
            }
        }
        previous = change;
    }
    r->xp1[k] = r->x1;
    kx_parameter(r, k);
}

/* The inverse solution: the Y whose interpolated X is xxpp, by steps from
   the interpolated Y. */
static void kx_inverse(struct kx_run *r)
{
    float ans22 = kx_single(r, 1e+15), ans33, beki5 = 0.8f;
    double previous = 1e+15, change, ratio, yq, agreement;
    int simz = 1, nq5 = 0, nq6 = 0, flgm, outside = 0, k;
    r->ytgt = r->ans11;
    r->x1 = r->xxpp;
    r->inverse = 1;
    while (!(kx_miss(r, r->xxpp, ans22) < 0.0001 && nq5 > 3)) {
        int above, up;
        ++nq5;
        ++nq6;
        for (k = 1; k <= KX_LINES; ++k)
            if (kx_used(r, k)) kx_solve(r, k);
        ans22 = kx_interpolated(r, 1);
        if (ans22 == 0.0f) break;
        r->ypj = r->xxpp;
        above = kx_difference(r, r->ypj, ans22) > 0.0f;
        up = simz == 1 ? above : !above;
        ratio = up ? kx_quotient(r, r->xxpp, ans22) : kx_quotient(r, ans22, r->xxpp);
        yq = kx_checked(r, r->ytgt * kx_power(r, fabs(ratio), beki5));
        if (fabs(yq) < 1.1754944e-38 || fabs(yq) > 3.402823e+38) break;
        r->ytgt = kx_single(r, yq);
        if (nq5 > 300) break;
        change = kx_miss(r, r->ypj, ans22);
        if (previous != 1e+15 && change > previous && nq6 > 2) {
            r->ytgt = r->ans11;
            beki5 = kx_single(r, beki5 * 0.8);
            simz = -simz;
            nq6 = 0;
        }
        previous = change;
    }
    agreement = r->ans11 != 0.0f
                    ? kx_quotient(r, kx_checked(r, (double)r->ans11 - r->ytgt), r->ans11)
                    : kx_quotient(r, kx_checked(r, (double)r->ans11 - r->ytgt), r->ytgt);
    /* Only answers that agree within 1 % are one, converged or not. */
    flgm = fabs(agreement) <= 0.01 ? 0 : 1;
    if (flgm != 0 && r->flag == 0) r->flag = 6;
    ans33 = r->ytgt;
    for (k = r->nnpb - 1; k <= r->nnpb; ++k) outside += kx_outside_x(r, r->xp1[k], k);
    if (outside == 2 && r->flag == 0) r->flag = 5;
    r->ans00 = flgm == 0 ? kx_single(r, kx_sum(r, r->ans11, ans33) * 0.5) : r->ans11;
}

static int kx_family(struct kx_run *r, double *y)
{
    int k, outside = 0;
    kx_bracket(r);
    if (kx_refuses_non_positive_x && r->xxpp <= 0.0f) {
        for (k = r->nnpb - 1; k <= r->nnpb; ++k) {
            const float *range = kx_lines[k - 1].range;
            if (range[0] > 0.0f && range[1] > 0.0f) {
                *y = 0.0;
                return 1;
            }
        }
    }
    kx_set_allowance(r);
    for (k = r->nnpb - 1; k <= r->nnpb; ++k) outside += kx_outside_x(r, r->xxpp, k);
    if (outside == 2) r->flag = 2;
    /* computed and stored, though nothing reads it */
    kx_single(r, kx_checked(r, kx_checked(r, kx_lines[KX_LINES - 1].parameter -
                                                 kx_lines[0].parameter) * 0.02f));
    {
        int low = r->yypp < kx_parameter_limit(r, kx_lines[0].parameter, -1);
        int high = r->yypp > kx_parameter_limit(r, kx_lines[KX_LINES - 1].parameter, 1);
        if ((low || high) && r->flag == 0) r->flag = 3;
    }
    {
        /* Only the lines the interpolation uses; a bracketing line that cannot
           be computed leaves no answer, a third line the straight line. */
        int computed[KX_LINES + 1] = {0};
        for (k = 1; k <= KX_LINES; ++k)
            if (kx_used(r, k)) computed[k] = kx_evaluate(r, k);
        if (!computed[r->nnpb - 1] || !computed[r->nnpb]) kx_fail(r);
        for (k = 1; k <= KX_LINES; ++k)
            if (kx_used(r, k) && !computed[k]) r->straight = 1;
    }
    r->ans11 = r->ans00 = kx_interpolated(r, 0);
    outside = 0;
    for (k = r->nnpb - 1; k <= r->nnpb; ++k) outside += kx_outside_y(r, r->ans11, k);
    if (outside == 2 && r->flag == 0) r->flag = 4;
    /* The inverse solution moves X and Y by ratios: it cannot start from 0. */
    if (r->xxpp != 0.0f && r->ans11 != 0.0f) kx_inverse(r);
    *y = r->ans00;
    return r->flag;
}

int kx_calc(double x, double p, double *y)
{
    struct kx_run run;
    memset(&run, 0, sizeof run);
    if (setjmp(run.fault) != 0) {
        *y = 0.0;
        return 7;
    }
    run.xxpp = run.x1 = kx_single(&run, x);
    run.yypp = kx_single(&run, p);
    return KX_LINES == 1 ? kx_single_line(&run, y) : kx_family(&run, y);
}
)C";

std::string Floats(std::span<const float> values) {
    return "{" + SourceList(values, FloatSourceC) + "}";
}

std::string Section(const CalcSection& s, bool last) {
    std::string text = "{.form = " + std::to_string(s.form) + ", .c = {0.0";
    for (int i = 1; i <= 4; ++i) text += ", " + DoubleSource(s.c[i]);
    text += "}";
    if (!last) text += ", .end = " + FloatSourceC(s.end);
    return text + "}";
}

}  // namespace

std::vector<std::string> CalcProgramInC(const CalcFamily& family) {
    std::ostringstream out;
    out << "/*\n";
    for (const std::string& line : CalcSourceHeader(family, SourceLanguage::kC))
        out << line << "\n";
    out << " */\n"
        << "#include <float.h>\n#include <math.h>\n#include <setjmp.h>\n#include <string.h>\n\n"
        << "#define KX_LINES " << family.lines.size() << "\n\n"
        << "struct kx_section {\n    int form; /* 1..21, 0: the value 0 */\n"
        << "    double c[5]; /* C1..C4 at 1..4 */\n"
        << "    float end; /* the last X of the section; the last section has none */\n};\n\n"
        << "struct kx_line {\n    double parameter;\n"
        << "    float range[4]; /* smallest and largest X, smallest and largest Y */\n"
        << "    int sections;\n    struct kx_section section[3];\n};\n\n";
    const PointBounds& l = family.limits;
    const float limits[] = {l.xMin, l.xMax, l.yMin, l.yMax};
    out << "/* Smallest and largest X, smallest and largest Y of the family. */\n"
        << "static const float kx_limits[4] = " << Floats(limits) << ";\n"
        << "static const int kx_refuses_non_positive_x = " << (family.refusesNonPositiveX ? 1 : 0)
        << ";\n\n"
        << "/* The lines in ascending parameter order. */\n"
        << "static const struct kx_line kx_lines[KX_LINES] = {\n";
    for (const CalcLine& line : family.lines) {
        const PointBounds& r = line.range;
        const float range[] = {r.xMin, r.xMax, r.yMin, r.yMax};
        out << "    /* line " << line.line << ", parameter " << line.parameterText << " */\n"
            << "    {.parameter = " << DoubleSource(line.parameter)
            << ",\n     .range = " << Floats(range) << ",\n     .sections = " << line.sectionCount
            << ",\n     .section = {";
        for (int s = 0; s < line.sectionCount; ++s) {
            out << (s ? ",\n                 " : "")
                << Section(line.sections[s], s + 1 == line.sectionCount);
        }
        out << "}},\n";
    }
    out << "};\n" << kCalculation;

    return SourceLines(out.str());
}

}  // namespace kx::core

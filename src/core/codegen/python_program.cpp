#include "core/codegen/python_program.h"

#include <span>
#include <sstream>

#include "core/codegen/calc_source_parts.h"

namespace kx::core {
namespace {

// The calculation itself, the same for every family: it follows the BASIC
// Calc step for step, as EvaluateCalc does.
constexpr const char* kCalculation = R"PY(
_FLT_MAX = 3.4028234663852886e+38
_isfinite = math.isfinite


class _Fault(Exception):
    """A run-time error of the calculation: kx_calc returns flag 7."""


def _single(v):
    """A value stored in, or computed as, a 32-bit float."""
    if not abs(v) <= _FLT_MAX:
        raise _Fault
    return _unpack(_pack(v))[0]


def _checked(v):
    if not _isfinite(v):
        raise _Fault
    return v


# A division by 0 raises ZeroDivisionError, which ends kx_calc with flag 7 as
# any fault does. A quotient of two floats is always a finite double; those
# of doubles are checked.
def _quotient(a, b):
    return _checked(a / b)


def _float_quotient(a, b):
    return _single(a / b)


def _power(base, exponent):
    if base < 0 and exponent != math.floor(exponent):
        raise _Fault
    if base == 0 and exponent < 0:
        raise _Fault
    return _checked(math.pow(base, exponent))


def _stored(v):
    """A double result kept as a float: below the smallest normal float it is
    0, beyond the largest it is that value."""
    size = abs(v)
    if size < 1.1754944e-38:
        return 0.0
    if size > 3.402823e+38:
        v = 3.402823e+38 if v > 0 else -3.402823e+38
    return _unpack(_pack(v))[0]


_SHARE = _float(0.02)
_STEP = _float(0.8)


def _equation(section, x1):
    """The value of a section's equation at x1."""
    form, c = section[0], section[1]
    if not 1 <= form <= 21:
        return 0.0
    system = (form - 1) // 3 + 1
    degree = (form - 1) % 3 + 1
    u = x1
    if system in (2, 4):
        if not x1 > 0:
            raise _Fault
        u = math.log(x1)
    elif system in (5, 7):
        u = _float_quotient(1.0, x1)
    if degree == 1:
        p = c[0] * u + c[1]
    elif degree == 2:
        p = c[0] * math.pow(u, 2) + c[1] * u + c[2]
    else:
        p = c[0] * math.pow(u, 3) + c[1] * math.pow(u, 2) + c[2] * u + c[3]
    p = _checked(p)  # an overflow on the way leaves an infinity or a NaN
    if system in (3, 4):
        return _checked(math.exp(p))
    if system in (6, 7):
        return _quotient(1.0, p)
    return p


def _line_value(k, x1):
    """The line's value at x1: the first section whose end x1 does not pass."""
    sections = _LINES[k - 1][2]
    s = 0
    while s < len(sections) - 1 and x1 > sections[s][2]:
        s += 1
    return _stored(_equation(sections[s], x1))


def _parameter(k):
    return _single(_LINES[k - 1][0])


def _outside(v, low, below, high, above):
    """Beyond a range widened below and above (both sides are computed)."""
    under = v < _single(low - below)
    over = v > _single(high + above)
    return under or over


def _allowance():
    return [_single(abs(limit) * _SHARE) for limit in _LIMITS]


def _single_line(x):
    if _REFUSES_NON_POSITIVE_X and x <= 0 and _LIMITS[0] > 0 and _LIMITS[1] > 0:
        return 1, 0.0
    a = _allowance()
    flag = 2 if _outside(x, _LIMITS[0], a[0], _LIMITS[1], a[1]) else 0
    value = _line_value(1, x)
    if _outside(value, _LIMITS[2], a[2], _LIMITS[3], a[3]) and flag == 0:
        flag = 4
    return flag, value


class _Family:
    def __init__(self, x, p):
        self.n = len(_LINES)
        self.xxpp = self.x1 = x
        self.yypp = p
        self.nnp = self.nnpb = 0
        self.flag = 0
        self.inverse = False
        self.y = [0.0] * (self.n + 1)
        self.xp1 = [0.0] * (self.n + 1)
        self.ans00 = self.ans11 = self.ytgt = self.ypj = self.beki = 0.0
        self.sim = 1
        self.nq1 = self.nq2 = 0
        self.straight = False  # the third line failed: a straight line through two
        self.allowance = None

    def bracket(self):
        """The lines whose parameters bracket p: interpolation uses nnp - 1,
        nnp (and nnp + 1), the range checks nnpb - 1 and nnpb."""
        for k in range(1, self.n + 1):
            if self.yypp < _parameter(k):
                self.nnp = self.nnpb = k
                break
        if self.nnp == 0 or self.nnp == self.n:
            self.nnp = self.n - 1
            self.nnpb = self.n
        if self.nnp == 1:
            self.nnp = self.nnpb = 2

    def used(self, k):
        if self.straight:
            return k in (self.nnpb - 1, self.nnpb)
        return self.nnp - 1 <= k <= self.nnp + (1 if self.n > 2 else 0)

    def outside_x(self, x, k):
        r, a = _LINES[k - 1][1], self.allowance
        return _outside(x, r[0], a[0], r[1], a[1])

    def outside_y(self, y, k):
        r, a = _LINES[k - 1][1], self.allowance
        return _outside(y, r[2], a[2], r[3], a[3])

    @staticmethod
    def parameter_limit(p, outward):
        """The parameter limit 2 % beyond an end parameter, outward."""
        share = _single(float((p > 0) - (p < 0)) * _SHARE)
        factor = _single(1.0 - share) if outward < 0 else _single(1.0 + share)
        return _single(_checked(p * factor))

    def evaluate(self, k):
        """The value of line k at x1; in the inverse solution x1 also moves
        toward the target Y by the ratio of the line's value to it. False
        where the line cannot be computed: that is no failure of the whole
        calculation."""
        self.nq1 += 1
        self.nq2 += 1
        try:
            self.evaluate_steps(k)
        except (_Fault, OverflowError, ZeroDivisionError, ValueError):
            return False
        return True

    def evaluate_steps(self, k):
        self.y[k] = _line_value(k, self.x1)
        if not self.inverse:
            return
        ypj = self.ypj = self.y[k]
        ratio = 1.0
        if ypj != 0:
            above = _single(ypj - self.ytgt) > 0
            up = above if self.sim == 1 else not above
            ratio = ypj / self.ytgt if up else self.ytgt / ypj
        self.x1 = _stored(_checked(self.x1 * _power(abs(ratio), self.beki)))

    def interpolated(self, solved):
        """The value at p of the curve through the neighbouring lines' values
        (or, solved, their X values): a straight line through two, a parabola
        through three."""
        values = self.xp1 if solved else self.y
        n = self.nnp
        xz1, xz2 = _parameter(n - 1), _parameter(n)
        yz1, yz2 = values[n - 1], values[n]
        if self.n == 2:
            slope = _float_quotient(_single(yz2 - yz1), _single(xz2 - xz1))
            yq = _single(_single(slope * _single(self.yypp - xz2)) + yz2)
        else:
            xz3, yz3 = _parameter(n + 1), values[n + 1]
            p1 = _checked(self.yypp - xz1)
            p2 = _checked(self.yypp - xz2)
            p3 = _checked(self.yypp - xz3)
            w1 = w2 = w3 = 0.0
            if self.straight and self.nnpb == n:
                w1 = _quotient(p2, _checked(p2 - p1))
                w2 = _quotient(p1, _checked(p1 - p2))
            elif self.straight:
                w2 = _quotient(p3, _checked(p3 - p2))
                w3 = _quotient(p2, _checked(p2 - p3))
            else:
                w1 = _quotient(_checked(_quotient(p2, _checked(p2 - p1)) * p3), _checked(p3 - p1))
                w2 = _quotient(_checked(_quotient(p1, _checked(p1 - p2)) * p3), _checked(p3 - p2))
                w3 = _quotient(_checked(_quotient(p1, _checked(p1 - p3)) * p2), _checked(p2 - p3))
            yq = _checked(_checked(_checked(w1 * yz1) + _checked(w2 * yz2)) + _checked(w3 * yz3))
        return _stored(yq)

    @staticmethod
    def miss(value, target):
        return abs((value - target) / target)

    def solve(self, k):
        """The X at which line k meets the target Y, by steps from x1 = x."""
        self.nq1 = self.nq2 = 0
        self.x1 = self.xxpp
        self.sim = 1
        self.beki = _STEP
        previous = 1e15
        while not (self.miss(self.ypj, self.ytgt) < 0.0001 and self.nq1 > 3):
            if not self.evaluate(k) or self.nq1 > 200:
                break
            change = self.miss(self.ypj, self.ytgt)
            if previous != 1e15:
                below = self.x1 < _checked(_LIMITS[0] - _checked(abs(_LIMITS[0]) * 0.5))
                above = self.x1 > _single(_LIMITS[1] + abs(_LIMITS[1]))
                if below or above:
                    self.x1 = self.xxpp
                if change > previous and self.nq2 > 2:
                    self.x1 = self.xxpp
                    self.beki = _single(self.beki * 0.8)
                    self.sim = -self.sim
                    self.nq2 = 0
            previous = change
        self.xp1[k] = self.x1
        _parameter(k)

    def solve_inverse(self):
        """The inverse solution: the Y whose interpolated X is x, by steps
        from the interpolated Y."""
        self.ytgt = self.ans11
        ans22 = _float(1e15)
        previous = 1e15
        self.x1 = self.xxpp
        simz, nq5, nq6 = 1, 0, 0
        beki5 = _STEP
        self.inverse = True
        while not (self.miss(self.xxpp, ans22) < 0.0001 and nq5 > 3):
            nq5 += 1
            nq6 += 1
            for k in range(1, self.n + 1):
                if self.used(k):
                    self.solve(k)
            ans22 = self.interpolated(True)
            if ans22 == 0:
                break
            self.ypj = self.xxpp
            above = _single(self.ypj - ans22) > 0
            up = above if simz == 1 else not above
            ratio = self.xxpp / ans22 if up else ans22 / self.xxpp
            yq = _checked(self.ytgt * _power(abs(ratio), beki5))
            if abs(yq) < 1.1754944e-38 or abs(yq) > 3.402823e+38:
                break
            self.ytgt = _single(yq)
            if nq5 > 300:
                break
            change = self.miss(self.ypj, ans22)
            if previous != 1e15 and change > previous and nq6 > 2:
                self.ytgt = self.ans11
                beki5 = _single(beki5 * 0.8)
                simz = -simz
                nq6 = 0
            previous = change
        if self.ans11 != 0:
            agreement = (self.ans11 - self.ytgt) / self.ans11
        else:
            agreement = (self.ans11 - self.ytgt) / self.ytgt
        # Only answers that agree within 1 % are one, converged or not.
        flgm = 0 if abs(agreement) <= 0.01 else 1
        if flgm != 0 and self.flag == 0:
            self.flag = 6
        ans33 = self.ytgt
        outside = sum(self.outside_x(self.xp1[k], k) for k in (self.nnpb - 1, self.nnpb))
        if outside == 2 and self.flag == 0:
            self.flag = 5
        if flgm == 0:
            self.ans00 = _single(_single(self.ans11 + ans33) * 0.5)
        else:
            self.ans00 = self.ans11

    def run(self):
        self.bracket()
        neighbours = (self.nnpb - 1, self.nnpb)
        if _REFUSES_NON_POSITIVE_X and self.xxpp <= 0:
            for k in neighbours:
                r = _LINES[k - 1][1]
                if r[0] > 0 and r[1] > 0:
                    return 1, 0.0
        self.allowance = _allowance()
        if sum(self.outside_x(self.xxpp, k) for k in neighbours) == 2:
            self.flag = 2
        # computed and stored, though nothing reads it
        _single(_checked(_checked(_LINES[-1][0] - _LINES[0][0]) * _SHARE))
        low = self.yypp < self.parameter_limit(_LINES[0][0], -1)
        high = self.yypp > self.parameter_limit(_LINES[-1][0], 1)
        if (low or high) and self.flag == 0:
            self.flag = 3
        # Only the lines the interpolation uses; a bracketing line that cannot
        # be computed leaves no answer, a third line the straight line.
        computed = [False] * (self.n + 1)
        for k in range(1, self.n + 1):
            if self.used(k):
                computed[k] = self.evaluate(k)
        if not (computed[self.nnpb - 1] and computed[self.nnpb]):
            raise _Fault
        if any(self.used(k) and not computed[k] for k in range(1, self.n + 1)):
            self.straight = True
        self.ans11 = self.ans00 = self.interpolated(False)
        if sum(self.outside_y(self.ans11, k) for k in neighbours) == 2 and self.flag == 0:
            self.flag = 4
        # The inverse solution moves X and Y by ratios: it cannot start from 0.
        if self.xxpp != 0 and self.ans11 != 0:
            self.solve_inverse()
        return self.flag, self.ans00


def kx_calc(x, p):
    """Returns (flag, value) of the family at X = x and the parameter p."""
    try:
        xf = _single(float(x))
        pf = _single(float(p))
        if len(_LINES) == 1:
            return _single_line(xf)
        return _Family(xf, pf).run()
    except (_Fault, OverflowError, ZeroDivisionError, ValueError):
        return 7, 0.0
)PY";

// The helpers the tables need: they hold 32-bit floats.
constexpr const char* kFloats = R"PY(
import math
import struct

_pack = struct.Struct("<f").pack
_unpack = struct.Struct("<f").unpack


def _float(v):
    """v rounded to a 32-bit float."""
    return _unpack(_pack(v))[0]


def _floats(*values):
    return tuple(_float(v) for v in values)

)PY";

std::string Floats(std::span<const float> values) {
    return "_floats(" + SourceList(values, FloatSourcePython) + ")";
}

std::string Section(const CalcSection& s, bool last) {
    std::string text = "(" + std::to_string(s.form) + ", (";
    for (int i = 1; i <= 4; ++i) text += (i > 1 ? ", " : "") + DoubleSource(s.c[i]);
    return text + "), " +
           (last ? std::string("None") : "_float(" + FloatSourcePython(s.end) + ")") + ")";
}

}  // namespace

std::vector<std::string> CalcProgramInPython(const CalcFamily& family) {
    std::ostringstream out;
    for (const std::string& line : CalcSourceHeader(family, SourceLanguage::kPython)) {
        out << line << "\n";
    }
    const PointBounds& l = family.limits;
    const float limits[] = {l.xMin, l.xMax, l.yMin, l.yMax};
    out << kFloats << "# Smallest and largest X, smallest and largest Y of the family.\n"
        << "_LIMITS = " << Floats(limits) << "\n"
        << "_REFUSES_NON_POSITIVE_X = " << (family.refusesNonPositiveX ? "True" : "False")
        << "\n\n"
        << "# The lines in ascending parameter order: the parameter, the range (smallest\n"
        << "# and largest X, smallest and largest Y) and the sections: the form (1..21;\n"
        << "# 0: the value 0), C1..C4 and the last X (the last section has none).\n"
        << "_LINES = (\n";
    for (const CalcLine& line : family.lines) {
        const PointBounds& r = line.range;
        const float range[] = {r.xMin, r.xMax, r.yMin, r.yMax};
        out << "    # line " << line.line << ", parameter " << line.parameterText << "\n"
            << "    (" << DoubleSource(line.parameter) << ",\n     " << Floats(range)
            << ",\n     (";
        for (int s = 0; s < line.sectionCount; ++s) {
            out << (s ? ",\n      " : "") << Section(line.sections[s], s + 1 == line.sectionCount);
        }
        out << (line.sectionCount == 1 ? ",))," : ")),") << "\n";
    }
    out << ")\n" << kCalculation;

    return SourceLines(out.str());
}

}  // namespace kx::core

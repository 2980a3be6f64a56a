// The calculation of the family's Calc in the language of calc_steps.h. It
// follows the BASIC program step for step, as EvaluateCalc does; every
// generated source beyond BASIC, C and Python is printed from it.
namespace kx::core::steps {

extern const char* const kCalcStepsText;

const char* const kCalcStepsText = R"STEPS(
## 2 %, as a Single
const share: single = 0.02
## The first step of the inverse solution, as a Single
const step: single = 0.8

## The state of one call, as the BASIC Calc keeps it in its variables.
state:
    xxpp: single
    yypp: single
    allowance: single[4]  # 2 % of the size of each limit
    nnp: int
    nnpb: int
    flag: int
    straight: bool  # the third line failed: a straight line through the two
    y: single[lines]
    xp1: single[lines]
    first: single[lines]  # xp1 for the first target Y
    first_known: bool
    ans00: single
    ans11: single
    ytgt: single
    ypj: single

## A value stored in, or computed as, a 32-bit float.
def single(v: double) -> single:
    if not (abs(v) <= 3.4028234663852886e+38):
        fail
    return to_single(v)

def checked(v: double) -> double:
    if not is_finite(v):
        fail
    return v

def quotient(a: double, b: double) -> double:
    if b == 0.0:
        fail
    return checked(a / b)

def float_quotient(a: single, b: single) -> single:
    if b == 0.0:
        fail
    return single(a / b)

def power(b: double, e: double) -> double:
    if b < 0.0 and e != whole(e):
        fail
    if b == 0.0 and e < 0.0:
        fail
    return checked(pow(b, e))

## A double result kept as a float: below the smallest normal float it is 0,
## beyond the largest it is that value.
def stored(v: double) -> single:
    if abs(v) < 1.1754944e-38:
        return 0.0
    if abs(v) > 3.402823e+38:
        v = sign(v) * 3.402823e+38
    return single(v)

## The value of line k at x1, stored as a Single: the first section whose end
## x1 does not pass. NaN where it cannot be computed. (Written out without the
## helpers above: it runs a hundred thousand times where the inverse solution
## does not converge.)
def line_at(k: int, x1: single) -> single:
    let s: int = 1
    while s < sections[k]:
        if not (x1 > ends[k, s]):
            break
        s = s + 1
    let f: int = form[k, s]
    if f < 1 or f > 21:
        return 0.0
    let coordinates: int = idiv(f - 1, 3) + 1
    let degree: int = mod(f - 1, 3) + 1
    let u: double = x1
    if coordinates == 2 or coordinates == 4:
        if not (x1 > 0.0):
            return nan()
        u = log(x1)
    elif coordinates == 5 or coordinates == 7:
        if x1 == 0.0:
            return nan()
        u = 1.0 / x1
        if not (abs(u) <= 3.4028234663852886e+38):
            return nan()
        u = to_single(u)
    let c: int = 4 * s - 3
    let w: double = 0.0
    if degree == 1:
        w = coefficient[k, c] * u + coefficient[k, c + 1]
    elif degree == 2:
        w = coefficient[k, c] * pow(u, 2.0) + coefficient[k, c + 1] * u + coefficient[k, c + 2]
    else:
        w = coefficient[k, c] * pow(u, 3.0) + coefficient[k, c + 1] * pow(u, 2.0) + coefficient[k, c + 2] * u + coefficient[k, c + 3]
    if not is_finite(w):
        return nan()  # an overflow on the way leaves an infinity or a NaN
    if coordinates == 3 or coordinates == 4:
        w = exp(w)
    elif coordinates == 6 or coordinates == 7:
        if w == 0.0:
            return nan()
        w = 1.0 / w
    if not is_finite(w):
        return nan()
    if abs(w) < 1.1754944e-38:
        return 0.0
    if abs(w) > 3.402823e+38:
        w = sign(w) * 3.402823e+38
    return to_single(w)

## The value of line k at x1, which must be computed.
def line_value(k: int, x1: single) -> single:
    let v: single = line_at(k, x1)
    if is_nan(v):
        fail
    return v

def parameter_of(k: int) -> single:
    return single(parameter[k])

## Beyond a range widened below and above (both sides are computed).
def outside(v: single, low: single, below: single, high: single, above: single) -> bool:
    let under: bool = v < single(low - below)
    let over: bool = v > single(high + above)
    return under or over

def outside_x(x: single, k: int) -> bool:
    return outside(x, range[k, 1], r.allowance[1], range[k, 2], r.allowance[2])

def outside_y(y: single, k: int) -> bool:
    return outside(y, range[k, 3], r.allowance[3], range[k, 4], r.allowance[4])

def set_allowance():
    for i in 1 .. 4:
        r.allowance[i] = single(abs(limits[i]) * share)

def single_line() -> int:
    if refuses_non_positive_x == 1 and r.xxpp <= 0.0 and limits[1] > 0.0 and limits[2] > 0.0:
        return 1
    set_allowance()
    let flag: int = 0
    if outside(r.xxpp, limits[1], r.allowance[1], limits[2], r.allowance[2]):
        flag = 2
    r.ans00 = line_value(1, r.xxpp)
    if outside(r.ans00, limits[3], r.allowance[3], limits[4], r.allowance[4]) and flag == 0:
        flag = 4
    return flag

## The lines whose parameters bracket yypp: interpolation uses nnp - 1, nnp
## (and nnp + 1), the range checks nnpb - 1 and nnpb.
def bracket():
    for k in 1 .. lines:
        if r.yypp < parameter_of(k):
            r.nnp = k
            r.nnpb = k
            break
    if r.nnp == 0 or r.nnp == lines:
        r.nnp = lines - 1
        r.nnpb = lines
    if r.nnp == 1:
        r.nnp = 2
        r.nnpb = 2

def used(k: int) -> bool:
    if r.straight:
        return k == r.nnpb - 1 or k == r.nnpb
    if lines > 2:
        return k >= r.nnp - 1 and k <= r.nnp + 1
    return k >= r.nnp - 1 and k <= r.nnp

## The parameter limit 2 % beyond an end parameter, outward.
def parameter_limit(p: double, outward: int) -> single:
    let part: single = single(sign(p) * share)
    let factor: single = 0.0
    if outward < 0:
        factor = single(1.0 - part)
    else:
        factor = single(1.0 + part)
    return single(checked(p * factor))

## The value of line k at xxpp; false where the line cannot be computed there:
## that is no failure of the whole calculation.
def evaluate(k: int) -> bool:
    let v: single = line_at(k, r.xxpp)
    if is_nan(v):
        return false
    r.y[k] = v
    return true

## The value at yypp of the curve through the neighbouring lines' values (or,
## solved, their X values): a straight line through two, a parabola through
## three.
def interpolated(solved: bool) -> single:
    let n: int = r.nnp
    let xz1: single = parameter_of(n - 1)
    let xz2: single = parameter_of(n)
    let yz1: single = r.y[n - 1]
    let yz2: single = r.y[n]
    if solved:
        yz1 = r.xp1[n - 1]
        yz2 = r.xp1[n]
    if lines == 2:
        let slope: single = float_quotient(single(yz2 - yz1), single(xz2 - xz1))
        return stored(single(single(slope * single(r.yypp - xz2)) + yz2))
    let xz3: single = parameter_of(n + 1)
    let yz3: single = r.y[n + 1]
    if solved:
        yz3 = r.xp1[n + 1]
    let p1: double = checked(r.yypp - xz1)
    let p2: double = checked(r.yypp - xz2)
    let p3: double = checked(r.yypp - xz3)
    let w1: double = 0.0
    let w2: double = 0.0
    let w3: double = 0.0
    if r.straight and r.nnpb == n:
        w1 = quotient(p2, checked(p2 - p1))
        w2 = quotient(p1, checked(p1 - p2))
    elif r.straight:
        w2 = quotient(p3, checked(p3 - p2))
        w3 = quotient(p2, checked(p2 - p3))
    else:
        w1 = quotient(checked(quotient(p2, checked(p2 - p1)) * p3), checked(p3 - p1))
        w2 = quotient(checked(quotient(p1, checked(p1 - p2)) * p3), checked(p3 - p2))
        w3 = quotient(checked(quotient(p1, checked(p1 - p3)) * p2), checked(p2 - p3))
    return stored(checked(checked(checked(w1 * yz1) + checked(w2 * yz2)) + checked(w3 * yz3)))

## The difference of two Singles over a Single other than 0 is finite.
def miss(v: single, target: single) -> double:
    if target == 0.0:
        fail
    return abs((v - target) / target)

## The X at which line k meets the target Y, by steps from x1 = xxpp. A step
## that starts from the values the step before it started from ends as that
## one did (its miss is no larger than the last: nothing starts again), and so
## do all the steps after it: they are skipped to the last one, whose x1 is
## the answer.
def solve(k: int):
    let x1: single = r.xxpp
    let ypj: single = r.ypj
    let sim: int = 1
    let beki: single = step
    let previous: double = 1e+15
    let nq1: int = 0
    let nq2: int = 0
    # Where x1 goes too far, it starts again from xxpp; a limit beyond a
    # Single is a fault, met at the first range check.
    let below: double = checked(limits[1] - checked(abs(limits[1]) * 0.5))
    let top: double = limits[2] + abs(limits[2])
    let too_far: bool = not (abs(top) <= 3.4028234663852886e+38)
    let above: single = 0.0
    if not too_far:
        above = to_single(top)
    let last_x1: single = 0.0
    let last_ypj: single = 0.0
    let last_previous: double = 0.0
    let last_sim: int = 0
    let last_beki: single = 0.0
    let change: double = miss(ypj, r.ytgt)
    while not (change < 0.0001 and nq1 > 3):
        if nq1 > 3 and x1 == last_x1 and ypj == last_ypj and previous == last_previous and sim == last_sim and beki == last_beki:
            if nq1 < 200:
                nq1 = 200
        last_x1 = x1
        last_ypj = ypj
        last_previous = previous
        last_sim = sim
        last_beki = beki
        nq1 = nq1 + 1
        nq2 = nq2 + 1
        let v: single = line_at(k, x1)
        if is_nan(v):
            break
        ypj = v
        # x1 moves by the ratio of the line's value to the target, both
        # Singles other than 0: their quotient is finite.
        let ratio: double = 1.0
        if ypj != 0.0:
            let difference: double = ypj - r.ytgt
            if not (abs(difference) <= 3.4028234663852886e+38):
                break
            let up: bool = difference > 0.0
            if sim != 1:
                up = not up
            if up:
                ratio = ypj / r.ytgt
            else:
                ratio = r.ytgt / ypj
        if ratio == 0.0 and beki < 0.0:
            break
        let moved: double = x1 * pow(abs(ratio), beki)
        if not is_finite(moved):
            break
        if abs(moved) < 1.1754944e-38:
            moved = 0.0
        elif abs(moved) > 3.402823e+38:
            moved = sign(moved) * 3.402823e+38
        x1 = to_single(moved)
        if nq1 > 200:
            break
        change = abs((ypj - r.ytgt) / r.ytgt)
        if previous != 1e+15:
            if too_far:
                fail
            if x1 < below or x1 > above:
                x1 = r.xxpp
            if change > previous and nq2 > 2:
                x1 = r.xxpp
                beki = to_single(beki * 0.8)
                sim = -sim
                nq2 = 0
        previous = change
    r.ypj = ypj
    r.xp1[k] = x1
    parameter_of(k)  # computed, though nothing reads it

## The X values of the used lines for the target Y. Those for the first
## target, which every new start meets again, are found once.
def solve_lines():
    if r.first_known and r.ytgt == r.ans11:
        for k in 1 .. lines:
            r.xp1[k] = r.first[k]
        return
    for k in 1 .. lines:
        if used(k):
            solve(k)
    if r.ytgt == r.ans11:
        for k in 1 .. lines:
            r.first[k] = r.xp1[k]
        r.first_known = true

## The inverse solution: the Y whose interpolated X is xxpp, by steps from the
## interpolated Y.
def inverse():
    let ans22: single = single(1e+15)
    let beki5: single = step
    let previous: double = 1e+15
    let simz: int = 1
    let nq5: int = 0
    let nq6: int = 0
    r.ytgt = r.ans11
    while not (miss(r.xxpp, ans22) < 0.0001 and nq5 > 3):
        nq5 = nq5 + 1
        nq6 = nq6 + 1
        solve_lines()
        ans22 = interpolated(true)
        if ans22 == 0.0:
            break
        r.ypj = r.xxpp
        let up: bool = single(r.ypj - ans22) > 0.0
        if simz != 1:
            up = not up
        let ratio: double = 0.0
        if up:
            ratio = quotient(r.xxpp, ans22)
        else:
            ratio = quotient(ans22, r.xxpp)
        let yq: double = checked(r.ytgt * power(abs(ratio), beki5))
        if abs(yq) < 1.1754944e-38 or abs(yq) > 3.402823e+38:
            break
        r.ytgt = single(yq)
        if nq5 > 300:
            break
        let change: double = miss(r.ypj, ans22)
        if previous != 1e+15 and change > previous and nq6 > 2:
            r.ytgt = r.ans11
            beki5 = single(beki5 * 0.8)
            simz = -simz
            nq6 = 0
        previous = change
    let agreement: double = 0.0
    if r.ans11 != 0.0:
        agreement = quotient(checked(r.ans11 - r.ytgt), r.ans11)
    else:
        agreement = quotient(checked(r.ans11 - r.ytgt), r.ytgt)
    # Only answers that agree within 1 % are one, converged or not.
    let agree: bool = abs(agreement) <= 0.01
    if not agree and r.flag == 0:
        r.flag = 6
    let ans33: single = r.ytgt
    let beyond: int = 0
    for k in r.nnpb - 1 .. r.nnpb:
        if outside_x(r.xp1[k], k):
            beyond = beyond + 1
    if beyond == 2 and r.flag == 0:
        r.flag = 5
    if agree:
        r.ans00 = single(single(r.ans11 + ans33) * 0.5)
    else:
        r.ans00 = r.ans11

def family() -> int:
    bracket()
    if refuses_non_positive_x == 1 and r.xxpp <= 0.0:
        for k in r.nnpb - 1 .. r.nnpb:
            if range[k, 1] > 0.0 and range[k, 2] > 0.0:
                return 1
    set_allowance()
    let beyond: int = 0
    for k in r.nnpb - 1 .. r.nnpb:
        if outside_x(r.xxpp, k):
            beyond = beyond + 1
    if beyond == 2:
        r.flag = 2
    # computed and stored, though nothing reads it
    single(checked(checked(parameter[lines] - parameter[1]) * share))
    let low: bool = r.yypp < parameter_limit(parameter[1], -1)
    let high: bool = r.yypp > parameter_limit(parameter[lines], 1)
    if (low or high) and r.flag == 0:
        r.flag = 3
    # Only the lines the interpolation uses; a bracketing line that cannot be
    # computed leaves no answer, a third line the straight line.
    let computed: bool[lines]
    for k in 1 .. lines:
        if used(k):
            computed[k] = evaluate(k)
    if not computed[r.nnpb - 1] or not computed[r.nnpb]:
        fail
    for k in 1 .. lines:
        if used(k) and not computed[k]:
            r.straight = true
    r.ans11 = interpolated(false)
    r.ans00 = r.ans11
    beyond = 0
    for k in r.nnpb - 1 .. r.nnpb:
        if outside_y(r.ans11, k):
            beyond = beyond + 1
    if beyond == 2 and r.flag == 0:
        r.flag = 4
    # The inverse solution moves X and Y by ratios: it cannot start from 0.
    if r.xxpp != 0.0 and r.ans11 != 0.0:
        inverse()
    return r.flag

## The flag of the family at X = x and the parameter p; the value is ans00.
def calculate(x: double, p: double) -> int:
    r.xxpp = single(x)
    r.yypp = single(p)
    if lines == 1:
        return single_line()
    return family()
)STEPS";

}  // namespace kx::core::steps

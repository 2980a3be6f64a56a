#include <sstream>

#include "core/codegen/calc_source_parts.h"
#include "core/codegen/calc_source_tables.h"
#include "core/codegen/calc_sources.h"

namespace kx::core {
namespace {

// The body of kx_calc and the calculation, the same for every family: it
// follows the BASIC Calc step for step, as EvaluateCalc does. Every number is
// a double; a Single is a double that single() has rounded, since MATLAB
// would make single any expression that mixes the two.
constexpr const char* kCalculation = R"M(try
    xf = kx_single(x);
    t = kx_tables();
    r = struct('xxpp', xf, 'yypp', kx_single(p), 'allowance', zeros(1, 4), 'nnp', 0, ...
               'nnpb', 0, 'flag', 0, 'straight', false, 'y', zeros(1, t.lines), ...
               'xp1', zeros(1, t.lines), 'ans00', 0, 'ans11', 0, 'ytgt', 0, 'ypj', 0);
    if t.lines == 1
        [flag, y] = kx_single_line(r, t);
    else
        [flag, y] = kx_family(r, t);
    end
catch
    flag = 7;
    y = 0;
end
end

function kx_fail()
% A run-time error of the calculation: kx_calc returns flag 7.
error('kx_calc:fault', 'The value cannot be computed here.');
end

function s = kx_single(v)
% A value stored in, or computed as, a 32-bit float.
if ~(abs(v) <= 3.4028234663852886e+38)
    kx_fail();
end
s = double(single(v));
end

function v = kx_checked(v)
if ~isfinite(v)
    kx_fail();
end
end

function q = kx_quotient(a, b)
if b == 0
    kx_fail();
end
q = kx_checked(a / b);
end

function q = kx_float_quotient(a, b)
if b == 0
    kx_fail();
end
q = kx_single(a / b);
end

function v = kx_power(base, exponent)
if (base < 0 && exponent ~= floor(exponent)) || (base == 0 && exponent < 0)
    kx_fail();
end
v = kx_checked(base ^ exponent);
end

function s = kx_stored(v)
% A double result kept as a float: below the smallest normal float it is 0,
% beyond the largest it is that value.
a = abs(v);
if a < 1.1754944e-38
    s = 0;
    return;
end
if isnan(a)
    kx_fail();
end
if a > 3.402823e+38
    v = sign(v) * 3.402823e+38;
end
s = double(single(v));
end

function [v, ok] = kx_value(sections, ends, forms, c, x1)
% The value of a line (its sections, their ends, forms and coefficients) at
% x1, stored as a Single: the first section whose end x1 does not pass. ok is
% false where it cannot be computed. (Written out without the helpers above:
% it runs a hundred thousand times where the inverse solution does not
% converge, and a call costs as much as a few statements.)
v = 0;
ok = false;
s = 1;
while s < sections && x1 > ends(s)
    s = s + 1;
end
form = forms(s);
if form >= 1 && form <= 21
    coordinates = floor((form - 1) / 3) + 1;
    degree = mod(form - 1, 3) + 1;
    u = x1;
    if coordinates == 2 || coordinates == 4
        if ~(x1 > 0)
            return;
        end
        u = log(x1);
    elseif coordinates == 5 || coordinates == 7
        if x1 == 0
            return;
        end
        u = 1 / x1;
        if ~(abs(u) <= 3.4028234663852886e+38)
            return;
        end
        u = double(single(u));
    end
    k = 4 * s - 3;
    if degree == 1
        v = c(k) * u + c(k + 1);
    elseif degree == 2
        v = c(k) * u ^ 2 + c(k + 1) * u + c(k + 2);
    else
        v = c(k) * u ^ 3 + c(k + 1) * u ^ 2 + c(k + 2) * u + c(k + 3);
    end
    if ~isfinite(v)
        return;
    end
    if coordinates == 3 || coordinates == 4
        v = exp(v);
    elseif coordinates == 6 || coordinates == 7
        if v == 0
            return;
        end
        v = 1 / v;
    end
    if ~isfinite(v)
        return;
    end
    % Kept as a Single: below the smallest normal float it is 0, beyond the
    % largest it is that value.
    if abs(v) < 1.1754944e-38
        v = 0;
    elseif abs(v) > 3.402823e+38
        v = sign(v) * 3.402823e+38;
    end
    v = double(single(v));
end
ok = true;
end

function v = kx_line_value(t, k, x1)
% The value of line k at x1, which must be computed.
[v, ok] = kx_value(t.sections(k), t.ends(k, :), t.form(k, :), t.coefficient(k, :), x1);
if ~ok
    kx_fail();
end
end

function v = kx_parameter(t, k)
v = kx_single(t.parameter(k));
end

function o = kx_outside(v, low, below, high, above)
% Beyond a range widened below and above (both sides are computed).
under = v < kx_single(low - below);
over = v > kx_single(high + above);
o = under || over;
end

function o = kx_outside_x(r, t, x, k)
o = kx_outside(x, t.range(k, 1), r.allowance(1), t.range(k, 2), r.allowance(2));
end

function o = kx_outside_y(r, t, y, k)
o = kx_outside(y, t.range(k, 3), r.allowance(3), t.range(k, 4), r.allowance(4));
end

function a = kx_allowance(t)
a = zeros(1, 4);
for i = 1:4
    a(i) = kx_single(abs(t.limits(i)) * t.share);
end
end

function [flag, y] = kx_single_line(r, t)
flag = 1;
y = 0;
if t.refuses_non_positive_x && r.xxpp <= 0 && t.limits(1) > 0 && t.limits(2) > 0
    return;
end
a = kx_allowance(t);
flag = 0;
if kx_outside(r.xxpp, t.limits(1), a(1), t.limits(2), a(2))
    flag = 2;
end
y = kx_line_value(t, 1, r.xxpp);
if kx_outside(y, t.limits(3), a(3), t.limits(4), a(4)) && flag == 0
    flag = 4;
end
end

function r = kx_bracket(r, t)
% The lines whose parameters bracket yypp: interpolation uses nnp - 1, nnp
% (and nnp + 1), the range checks nnpb - 1 and nnpb.
for k = 1:t.lines
    if r.yypp < kx_parameter(t, k)
        r.nnp = k;
        r.nnpb = k;
        break;
    end
end
if r.nnp == 0 || r.nnp == t.lines
    r.nnp = t.lines - 1;
    r.nnpb = t.lines;
end
if r.nnp == 1
    r.nnp = 2;
    r.nnpb = 2;
end
end

function u = kx_used(r, t, k)
if r.straight
    u = k == r.nnpb - 1 || k == r.nnpb;
else
    u = k >= r.nnp - 1 && k <= r.nnp + (t.lines > 2);
end
end

function v = kx_parameter_limit(t, p, outward)
% The parameter limit 2 % beyond an end parameter, outward.
share = kx_single(sign(p) * t.share);
if outward < 0
    factor = kx_single(1 - share);
else
    factor = kx_single(1 + share);
end
v = kx_single(kx_checked(p * factor));
end

function [r, ok] = kx_evaluate(r, t, k)
% The value of line k at xxpp; ok is false where the line cannot be computed
% there: that is no failure of the whole calculation.
[v, ok] = kx_value(t.sections(k), t.ends(k, :), t.form(k, :), t.coefficient(k, :), r.xxpp);
if ok
    r.y(k) = v;
end
end

function v = kx_interpolated(r, t, solved)
% The value at yypp of the curve through the neighbouring lines' values (or,
% solved, their X values): a straight line through two, a parabola through
% three.
if solved
    values = r.xp1;
else
    values = r.y;
end
n = r.nnp;
xz1 = kx_parameter(t, n - 1);
xz2 = kx_parameter(t, n);
yz1 = values(n - 1);
yz2 = values(n);
if t.lines == 2
    slope = kx_float_quotient(kx_single(yz2 - yz1), kx_single(xz2 - xz1));
    yq = kx_single(kx_single(slope * kx_single(r.yypp - xz2)) + yz2);
else
    xz3 = kx_parameter(t, n + 1);
    yz3 = values(n + 1);
    p1 = kx_checked(r.yypp - xz1);
    p2 = kx_checked(r.yypp - xz2);
    p3 = kx_checked(r.yypp - xz3);
    w1 = 0;
    w2 = 0;
    w3 = 0;
    if r.straight && r.nnpb == n
        w1 = kx_quotient(p2, kx_checked(p2 - p1));
        w2 = kx_quotient(p1, kx_checked(p1 - p2));
    elseif r.straight
        w2 = kx_quotient(p3, kx_checked(p3 - p2));
        w3 = kx_quotient(p2, kx_checked(p2 - p3));
    else
        w1 = kx_quotient(kx_checked(kx_quotient(p2, kx_checked(p2 - p1)) * p3), kx_checked(p3 - p1));
        w2 = kx_quotient(kx_checked(kx_quotient(p1, kx_checked(p1 - p2)) * p3), kx_checked(p3 - p2));
        w3 = kx_quotient(kx_checked(kx_quotient(p1, kx_checked(p1 - p3)) * p2), kx_checked(p2 - p3));
    end
    yq = kx_checked(kx_checked(kx_checked(w1 * yz1) + kx_checked(w2 * yz2)) + kx_checked(w3 * yz3));
end
v = kx_stored(yq);
end

function m = kx_miss(value, target)
% The difference of two Singles over a Single other than 0 is finite.
if target == 0
    kx_fail();
end
m = abs((value - target) / target);
end

function r = kx_solve(r, t, k)
% The X at which line k meets the target Y, by steps from x1 = xxpp. A step
% that starts from the values the step before it started from ends as that
% one did (its miss is no larger than the last: nothing starts again), and so
% do all the steps after it: they are skipped to the last one, whose x1 is
% the answer. (Past the fourth step the miss of a repeated step is too large
% to end the steps.)
sections = t.sections(k);
ends = t.ends(k, :);
forms = t.form(k, :);
c = t.coefficient(k, :);
ytgt = r.ytgt;
xxpp = r.xxpp;
ypj = r.ypj;
x1 = xxpp;
sim = 1;
beki = t.step;
previous = 1e+15;
nq1 = 0;
nq2 = 0;
% Where x1 goes too far, it starts again from xxpp.
below = kx_checked(t.limits(1) - kx_checked(abs(t.limits(1)) * 0.5));
above = t.limits(2) + abs(t.limits(2));
if abs(above) <= 3.4028234663852886e+38
    above = double(single(above));
else
    above = NaN; % a fault, met at the first range check
end
repeated = [NaN, NaN, NaN, NaN, NaN];
miss = kx_miss(ypj, ytgt);
while ~(miss < 0.0001 && nq1 > 3)
    if nq1 > 3 && x1 == repeated(1) && ypj == repeated(2) && ...
            previous == repeated(3) && sim == repeated(4) && beki == repeated(5)
        nq1 = max(nq1, 200);
    end
    repeated = [x1, ypj, previous, sim, beki];
    nq1 = nq1 + 1;
    nq2 = nq2 + 1;
    [v, ok] = kx_value(sections, ends, forms, c, x1);
    if ~ok
        break;
    end
    ypj = v;
    % x1 moved by the ratio of the line's value to the target, both Singles
    % other than 0: their difference rounds to a Single of its sign, their
    % quotient is finite.
    ratio = 1;
    if ypj ~= 0
        difference = ypj - ytgt;
        if ~(abs(difference) <= 3.4028234663852886e+38)
            break;
        end
        if (difference > 0) == (sim == 1)
            ratio = ypj / ytgt;
        else
            ratio = ytgt / ypj;
        end
    end
    moved = x1 * abs(ratio) ^ beki;
    if ~isfinite(moved) || (ratio == 0 && beki < 0)
        break;
    end
    if abs(moved) < 1.1754944e-38
        moved = 0;
    elseif abs(moved) > 3.402823e+38
        moved = sign(moved) * 3.402823e+38;
    end
    x1 = double(single(moved));
    if nq1 > 200
        break;
    end
    miss = abs((ypj - ytgt) / ytgt);
    if previous ~= 1e+15
        if isnan(above)
            kx_fail();
        end
        if x1 < below || x1 > above
            x1 = xxpp;
        end
        if miss > previous && nq2 > 2
            x1 = xxpp;
            beki = double(single(beki * 0.8));
            sim = -sim;
            nq2 = 0;
        end
    end
    previous = miss;
end
r.ypj = ypj;
r.xp1(k) = x1;
kx_parameter(t, k);
end

function r = kx_inverse(r, t)
% The inverse solution: the Y whose interpolated X is xxpp, by steps from the
% interpolated Y.
ans22 = kx_single(1e+15);
beki5 = t.step;
previous = 1e+15;
simz = 1;
nq5 = 0;
nq6 = 0;
r.ytgt = r.ans11;
% The X values found for a target Y depend on nothing else: a target met
% again (the first one is met at every new start) takes those found before.
targets = [];
found = zeros(0, t.lines);
while ~(kx_miss(r.xxpp, ans22) < 0.0001 && nq5 > 3)
    nq5 = nq5 + 1;
    nq6 = nq6 + 1;
    known = find(targets == r.ytgt, 1);
    if isempty(known)
        for k = 1:t.lines
            if kx_used(r, t, k)
                r = kx_solve(r, t, k);
            end
        end
        targets(end + 1) = r.ytgt;
        found(end + 1, :) = r.xp1;
    else
        r.xp1 = found(known, :);
    end
    ans22 = kx_interpolated(r, t, true);
    if ans22 == 0
        break;
    end
    r.ypj = r.xxpp;
    above = kx_single(r.ypj - ans22) > 0;
    if simz == 1
        up = above;
    else
        up = ~above;
    end
    if up
        ratio = kx_quotient(r.xxpp, ans22);
    else
        ratio = kx_quotient(ans22, r.xxpp);
    end
    yq = kx_checked(r.ytgt * kx_power(abs(ratio), beki5));
    if abs(yq) < 1.1754944e-38 || abs(yq) > 3.402823e+38
        break;
    end
    r.ytgt = kx_single(yq);
    if nq5 > 300
        break;
    end
    change = kx_miss(r.ypj, ans22);
    if previous ~= 1e+15 && change > previous && nq6 > 2
        r.ytgt = r.ans11;
        beki5 = kx_single(beki5 * 0.8);
        simz = -simz;
        nq6 = 0;
    end
    previous = change;
end
if r.ans11 ~= 0
    agreement = kx_quotient(kx_checked(r.ans11 - r.ytgt), r.ans11);
else
    agreement = kx_quotient(kx_checked(r.ans11 - r.ytgt), r.ytgt);
end
% Only answers that agree within 1 % are one, converged or not.
agree = abs(agreement) <= 0.01;
if ~agree && r.flag == 0
    r.flag = 6;
end
ans33 = r.ytgt;
if kx_outside_x(r, t, r.xp1(r.nnpb - 1), r.nnpb - 1) + kx_outside_x(r, t, r.xp1(r.nnpb), r.nnpb) == 2 && r.flag == 0
    r.flag = 5;
end
if agree
    r.ans00 = kx_single(kx_single(r.ans11 + ans33) * 0.5);
else
    r.ans00 = r.ans11;
end
end

function [flag, y] = kx_family(r, t)
flag = 1;
y = 0;
r = kx_bracket(r, t);
if t.refuses_non_positive_x && r.xxpp <= 0
    for k = r.nnpb - 1:r.nnpb
        if t.range(k, 1) > 0 && t.range(k, 2) > 0
            return;
        end
    end
end
r.allowance = kx_allowance(t);
if kx_outside_x(r, t, r.xxpp, r.nnpb - 1) + kx_outside_x(r, t, r.xxpp, r.nnpb) == 2
    r.flag = 2;
end
% computed and stored, though nothing reads it
kx_single(kx_checked(kx_checked(t.parameter(t.lines) - t.parameter(1)) * t.share));
low = r.yypp < kx_parameter_limit(t, t.parameter(1), -1);
high = r.yypp > kx_parameter_limit(t, t.parameter(t.lines), 1);
if (low || high) && r.flag == 0
    r.flag = 3;
end
% Only the lines the interpolation uses; a bracketing line that cannot be
% computed leaves no answer, a third line the straight line.
computed = false(1, t.lines);
for k = 1:t.lines
    if kx_used(r, t, k)
        [r, computed(k)] = kx_evaluate(r, t, k);
    end
end
if ~computed(r.nnpb - 1) || ~computed(r.nnpb)
    kx_fail();
end
for k = 1:t.lines
    if kx_used(r, t, k) && ~computed(k)
        r.straight = true;
    end
end
r.ans11 = kx_interpolated(r, t, false);
r.ans00 = r.ans11;
if kx_outside_y(r, t, r.ans11, r.nnpb - 1) + kx_outside_y(r, t, r.ans11, r.nnpb) == 2 && r.flag == 0
    r.flag = 4;
end
% The inverse solution moves X and Y by ratios: it cannot start from 0.
if r.xxpp ~= 0 && r.ans11 ~= 0
    r = kx_inverse(r, t);
end
flag = r.flag;
y = r.ans00;
end
)M";

std::string Integer(int value) {
    return std::to_string(value);
}

constexpr ValueSyntax kSyntax{Integer, FloatSourcePython, DoubleSource};

void WriteTable(std::ostringstream& out, const SourceTable& table) {
    const bool singles = table.kind == TableKind::kSingle;
    out << "% " << table.meaning << "\nt." << table.name << " = "
        << (singles ? "double(single([" : "[");
    if (!table.perLine) {
        out << WrappedList(RowTexts(table, 0, kSyntax), 8, "    ", ", ...");
    } else {
        // A row a line: the rows of the matrix, or the entries of a column.
        out << "\n";
        for (std::size_t row = 0; row < table.rows.size(); ++row) {
            out << "    % " << table.rowNotes[row] << "\n    "
                << WrappedList(RowTexts(table, row, kSyntax), 4, "    ", ", ...") << "\n";
        }
        out << "    ";
    }
    out << (singles ? "]));\n" : "];\n");
}

}  // namespace

std::vector<std::string> CalcProgramInMatlab(const CalcFamily& family) {
    std::ostringstream out;
    out << "function [flag, y] = kx_calc(x, p)\n";
    for (const std::string& line : CalcSourceHeader(family, SourceLanguage::kMatlab))
        out << line << "\n";
    out << "\n" << kCalculation << "\nfunction t = kx_tables()\n% The family's numbers.\n";
    for (const SourceScalar& scalar : CalcScalarsOf(family))
        out << "t." << scalar.name << " = " << scalar.value << "; % " << scalar.meaning << "\n";
    out << "t.share = double(single(0.02)); % 2 %, as a Single\n"
        << "t.step = double(single(0.8));\n";
    for (const SourceTable& table : CalcTablesOf(family)) WriteTable(out, table);
    out << "end\n";
    return SourceLines(out.str());
}

}  // namespace kx::core

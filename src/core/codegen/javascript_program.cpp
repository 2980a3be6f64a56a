#include <sstream>

#include "core/codegen/calc_source_parts.h"
#include "core/codegen/calc_source_tables.h"
#include "core/codegen/calc_sources.h"

namespace kx::core {
namespace {

// The calculation itself, the same for every family: it follows the BASIC
// Calc step for step, as EvaluateCalc does.
constexpr const char* kCalculation = R"JS(
const FLT_MAX = 3.4028234663852886e38;
const SHARE = Math.fround(0.02); // 2 %, as a Single
const STEP = Math.fround(0.8);

// A run-time error of the calculation: kx_calc returns flag 7.
class Fault extends Error {}

// A value stored in, or computed as, a 32-bit float.
function single(v) {
    if (!(Math.abs(v) <= FLT_MAX)) throw new Fault();
    return Math.fround(v);
}

function checked(v) {
    if (!Number.isFinite(v)) throw new Fault();
    return v;
}

function quotient(a, b) {
    if (b === 0) throw new Fault();
    return checked(a / b);
}

function floatQuotient(a, b) {
    if (b === 0) throw new Fault();
    return single(a / b);
}

function power(base, exponent) {
    if (base < 0 && exponent !== Math.floor(exponent)) throw new Fault();
    if (base === 0 && exponent < 0) throw new Fault();
    return checked(Math.pow(base, exponent));
}

// A double result kept as a float: below the smallest normal float it is 0,
// beyond the largest it is that value.
function stored(v) {
    if (Math.abs(v) < 1.1754944e-38) return 0;
    if (Math.abs(v) > 3.402823e38) v = v > 0 ? 3.402823e38 : -3.402823e38;
    return single(v);
}

// The value of section s (0..2) of line k at x1.
function equation(k, s, x1) {
    const form = FORM[k - 1][s];
    const c = COEFFICIENT[k - 1].slice(4 * s, 4 * s + 4);
    if (form < 1 || form > 21) return 0;
    const system = Math.floor((form - 1) / 3) + 1;
    const degree = ((form - 1) % 3) + 1;
    let u = x1;
    if (system === 2 || system === 4) {
        if (!(x1 > 0)) throw new Fault();
        u = Math.log(x1);
    } else if (system === 5 || system === 7) {
        u = floatQuotient(1, x1);
    }
    let p;
    if (degree === 1) p = c[0] * u + c[1];
    else if (degree === 2) p = c[0] * Math.pow(u, 2) + c[1] * u + c[2];
    else p = c[0] * Math.pow(u, 3) + c[1] * Math.pow(u, 2) + c[2] * u + c[3];
    p = checked(p); // an overflow on the way leaves an infinity or a NaN
    if (system === 3 || system === 4) return checked(Math.exp(p));
    if (system === 6 || system === 7) return quotient(1, p);
    return p;
}

// The line's value at x1: the first section whose end x1 does not pass.
function lineValue(k, x1) {
    let s = 0;
    while (s < SECTIONS[k - 1] - 1 && x1 > ENDS[k - 1][s]) ++s;
    return stored(equation(k, s, x1));
}

function parameter(k) {
    return single(PARAMETER[k - 1]);
}

// Beyond a range widened below and above (both sides are computed).
function outside(v, min, below, max, above) {
    const low = v < single(min - below);
    const high = v > single(max + above);
    return low || high;
}

function outsideX(r, x, k) {
    const range = RANGE[k - 1];
    return outside(x, range[0], r.allowance[0], range[1], r.allowance[1]);
}

function outsideY(r, y, k) {
    const range = RANGE[k - 1];
    return outside(y, range[2], r.allowance[2], range[3], r.allowance[3]);
}

function setAllowance(r) {
    r.allowance = LIMITS.map((limit) => single(Math.abs(limit) * SHARE));
}

function singleLine(r) {
    if (REFUSES_NON_POSITIVE_X && r.xxpp <= 0 && LIMITS[0] > 0 && LIMITS[1] > 0) return [1, 0];
    setAllowance(r);
    const a = r.allowance;
    let flag = outside(r.xxpp, LIMITS[0], a[0], LIMITS[1], a[1]) ? 2 : 0;
    const value = lineValue(1, r.xxpp);
    if (outside(value, LIMITS[2], a[2], LIMITS[3], a[3]) && flag === 0) flag = 4;
    return [flag, value];
}

// The lines whose parameters bracket yypp: interpolation uses nnp - 1, nnp
// (and nnp + 1), the range checks nnpb - 1 and nnpb.
function bracket(r) {
    for (let k = 1; k <= LINES; ++k) {
        if (r.yypp < parameter(k)) {
            r.nnp = r.nnpb = k;
            break;
        }
    }
    if (r.nnp === 0 || r.nnp === LINES) {
        r.nnp = LINES - 1;
        r.nnpb = LINES;
    }
    if (r.nnp === 1) r.nnp = r.nnpb = 2;
}

function used(r, k) {
    if (r.straight) return k === r.nnpb - 1 || k === r.nnpb;
    return k >= r.nnp - 1 && k <= r.nnp + (LINES > 2 ? 1 : 0);
}

// The parameter limit 2 % beyond an end parameter, outward.
function parameterLimit(p, outward) {
    const share = single(((p > 0) - (p < 0)) * SHARE);
    const factor = outward < 0 ? single(1 - share) : single(1 + share);
    return single(checked(p * factor));
}

// The value of line k at x1; in the inverse solution x1 also moves toward
// the target Y by the ratio of the line's value to it.
function evaluateSteps(r, k) {
    let ratio = 1;
    r.y[k] = lineValue(k, r.x1);
    if (!r.inverse) return;
    r.ypj = r.y[k];
    if (r.ypj !== 0) {
        const above = single(r.ypj - r.ytgt) > 0;
        const up = r.sim === 1 ? above : !above;
        ratio = up ? quotient(r.ypj, r.ytgt) : quotient(r.ytgt, r.ypj);
    }
    r.x1 = stored(checked(r.x1 * power(Math.abs(ratio), r.beki)));
}

// The same, where a line that cannot be computed at x1 is no failure of the
// whole calculation: false for such a line.
function evaluate(r, k) {
    ++r.nq1;
    ++r.nq2;
    try {
        evaluateSteps(r, k);
    } catch (e) {
        if (e instanceof Fault) return false;
        throw e;
    }
    return true;
}

// The value at yypp of the curve through the neighbouring lines' values (or,
// solved, their X values): a straight line through two, a parabola through
// three.
function interpolated(r, solved) {
    const values = solved ? r.xp1 : r.y;
    const n = r.nnp;
    const xz1 = parameter(n - 1), xz2 = parameter(n);
    const yz1 = values[n - 1], yz2 = values[n];
    let yq;
    if (LINES === 2) {
        const slope = floatQuotient(single(yz2 - yz1), single(xz2 - xz1));
        yq = single(single(slope * single(r.yypp - xz2)) + yz2);
    } else {
        const xz3 = parameter(n + 1), yz3 = values[n + 1];
        const p1 = checked(r.yypp - xz1);
        const p2 = checked(r.yypp - xz2);
        const p3 = checked(r.yypp - xz3);
        let w1 = 0, w2 = 0, w3 = 0;
        if (r.straight && r.nnpb === n) {
            w1 = quotient(p2, checked(p2 - p1));
            w2 = quotient(p1, checked(p1 - p2));
        } else if (r.straight) {
            w2 = quotient(p3, checked(p3 - p2));
            w3 = quotient(p2, checked(p2 - p3));
        } else {
            w1 = quotient(checked(quotient(p2, checked(p2 - p1)) * p3), checked(p3 - p1));
            w2 = quotient(checked(quotient(p1, checked(p1 - p2)) * p3), checked(p3 - p2));
            w3 = quotient(checked(quotient(p1, checked(p1 - p3)) * p2), checked(p2 - p3));
        }
        yq = checked(checked(checked(w1 * yz1) + checked(w2 * yz2)) + checked(w3 * yz3));
    }
    return stored(yq);
}

function miss(value, target) {
    return Math.abs(quotient(checked(value - target), target));
}

// The X at which line k meets the target Y, by steps from x1 = xxpp.
function solve(r, k) {
    let previous = 1e15;
    r.nq1 = r.nq2 = 0;
    r.x1 = r.xxpp;
    r.sim = 1;
    r.beki = STEP;
    while (!(miss(r.ypj, r.ytgt) < 0.0001 && r.nq1 > 3)) {
        if (!evaluate(r, k) || r.nq1 > 200) break;
        const change = miss(r.ypj, r.ytgt);
        if (previous !== 1e15) {
            const below = r.x1 < checked(LIMITS[0] - checked(Math.abs(LIMITS[0]) * 0.5));
            const above = r.x1 > single(LIMITS[1] + Math.abs(LIMITS[1]));
            if (below || above) r.x1 = r.xxpp;
            if (change > previous && r.nq2 > 2) {
                r.x1 = r.xxpp;
                r.beki = single(r.beki * 0.8);
                r.sim = -r.sim;
                r.nq2 = 0;
            }
        }
        previous = change;
    }
    r.xp1[k] = r.x1;
    parameter(k);
}

// The inverse solution: the Y whose interpolated X is xxpp, by steps from the
// interpolated Y.
function inverse(r) {
    let ans22 = single(1e15), beki5 = STEP, previous = 1e15;
    let simz = 1, nq5 = 0, nq6 = 0;
    r.ytgt = r.ans11;
    r.x1 = r.xxpp;
    r.inverse = true;
    while (!(miss(r.xxpp, ans22) < 0.0001 && nq5 > 3)) {
        ++nq5;
        ++nq6;
        for (let k = 1; k <= LINES; ++k) if (used(r, k)) solve(r, k);
        ans22 = interpolated(r, true);
        if (ans22 === 0) break;
        r.ypj = r.xxpp;
        const above = single(r.ypj - ans22) > 0;
        const up = simz === 1 ? above : !above;
        const ratio = up ? quotient(r.xxpp, ans22) : quotient(ans22, r.xxpp);
        const yq = checked(r.ytgt * power(Math.abs(ratio), beki5));
        if (Math.abs(yq) < 1.1754944e-38 || Math.abs(yq) > 3.402823e38) break;
        r.ytgt = single(yq);
        if (nq5 > 300) break;
        const change = miss(r.ypj, ans22);
        if (previous !== 1e15 && change > previous && nq6 > 2) {
            r.ytgt = r.ans11;
            beki5 = single(beki5 * 0.8);
            simz = -simz;
            nq6 = 0;
        }
        previous = change;
    }
    const agreement = quotient(checked(r.ans11 - r.ytgt), r.ans11 !== 0 ? r.ans11 : r.ytgt);
    // Only answers that agree within 1 % are one, converged or not.
    const flgm = Math.abs(agreement) <= 0.01 ? 0 : 1;
    if (flgm !== 0 && r.flag === 0) r.flag = 6;
    const ans33 = r.ytgt;
    let out = 0;
    for (let k = r.nnpb - 1; k <= r.nnpb; ++k) if (outsideX(r, r.xp1[k], k)) ++out;
    if (out === 2 && r.flag === 0) r.flag = 5;
    r.ans00 = flgm === 0 ? single(single(r.ans11 + ans33) * 0.5) : r.ans11;
}

function family(r) {
    bracket(r);
    if (REFUSES_NON_POSITIVE_X && r.xxpp <= 0) {
        for (let k = r.nnpb - 1; k <= r.nnpb; ++k) {
            const range = RANGE[k - 1];
            if (range[0] > 0 && range[1] > 0) return [1, 0];
        }
    }
    setAllowance(r);
    let out = 0;
    for (let k = r.nnpb - 1; k <= r.nnpb; ++k) if (outsideX(r, r.xxpp, k)) ++out;
    if (out === 2) r.flag = 2;
    // computed and stored, though nothing reads it
    single(checked(checked(PARAMETER[LINES - 1] - PARAMETER[0]) * SHARE));
    const low = r.yypp < parameterLimit(PARAMETER[0], -1);
    const high = r.yypp > parameterLimit(PARAMETER[LINES - 1], 1);
    if ((low || high) && r.flag === 0) r.flag = 3;
    // Only the lines the interpolation uses; a bracketing line that cannot be
    // computed leaves no answer, a third line the straight line.
    const computed = new Array(LINES + 1).fill(false);
    for (let k = 1; k <= LINES; ++k) if (used(r, k)) computed[k] = evaluate(r, k);
    if (!computed[r.nnpb - 1] || !computed[r.nnpb]) throw new Fault();
    for (let k = 1; k <= LINES; ++k) if (used(r, k) && !computed[k]) r.straight = true;
    r.ans11 = r.ans00 = interpolated(r, false);
    out = 0;
    for (let k = r.nnpb - 1; k <= r.nnpb; ++k) if (outsideY(r, r.ans11, k)) ++out;
    if (out === 2 && r.flag === 0) r.flag = 4;
    // The inverse solution moves X and Y by ratios: it cannot start from 0.
    if (r.xxpp !== 0 && r.ans11 !== 0) inverse(r);
    return [r.flag, r.ans00];
}

// Returns [flag, value] of the family at X = x and the parameter p.
export function kx_calc(x, p) {
    try {
        const xf = single(Number(x));
        const r = {
            xxpp: xf, x1: xf, yypp: single(Number(p)), allowance: [0, 0, 0, 0],
            nnp: 0, nnpb: 0, flag: 0, inverse: false, straight: false,
            y: new Array(LINES + 1).fill(0), xp1: new Array(LINES + 1).fill(0),
            ans00: 0, ans11: 0, ytgt: 0, ypj: 0, beki: 0, sim: 1, nq1: 0, nq2: 0,
        };
        return LINES === 1 ? singleLine(r) : family(r);
    } catch (e) {
        return [7, 0];
    }
}
)JS";

std::string UpperName(const char* name) {
    std::string text(name);
    for (char& c : text) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    return text;
}

std::string Integer(int value) {
    return std::to_string(value);
}

constexpr ValueSyntax kSyntax{Integer, FloatSourcePython, DoubleSource};

void WriteTable(std::ostringstream& out, const SourceTable& table) {
    const bool singles = table.kind == TableKind::kSingle;
    out << "// " << table.meaning << "\nconst " << UpperName(table.name) << " = [";
    if (!table.perLine) {
        out << WrappedList(RowTexts(table, 0, kSyntax), 8, "    ", ",") << "]";
    } else {
        out << "\n";
        for (std::size_t row = 0; row < table.rows.size(); ++row) {
            const std::string values = WrappedList(RowTexts(table, row, kSyntax), 4, "     ", ",");
            out << "    // " << table.rowNotes[row] << "\n    "
                << (IsList(table) ? values : "[" + values + "]") << ",\n";
        }
        out << "]";
    }
    if (singles)
        out << (IsList(table) ? ".map(Math.fround)" : ".map((row) => row.map(Math.fround))");
    out << ";\n";
}

}  // namespace

std::vector<std::string> CalcProgramInJavaScript(const CalcFamily& family) {
    std::ostringstream out;
    for (const std::string& line : CalcSourceHeader(family, SourceLanguage::kJavaScript))
        out << line << "\n";
    out << "\n";
    for (const SourceScalar& scalar : CalcScalarsOf(family)) {
        out << "// " << scalar.meaning << "\nconst " << UpperName(scalar.name) << " = "
            << scalar.value << ";\n";
    }
    for (const SourceTable& table : CalcTablesOf(family)) WriteTable(out, table);
    out << kCalculation;
    return SourceLines(out.str());
}

}  // namespace kx::core

#include <sstream>

#include "core/codegen/calc_source_parts.h"
#include "core/codegen/calc_source_tables.h"
#include "core/codegen/calc_sources.h"

namespace kx::core {
namespace {

// The calculation itself, the same for every family: it follows the BASIC
// Calc step for step, as EvaluateCalc does. Every operation on Singles runs
// in double and is rounded by a cast, as the C program does, so that no
// runtime's choice of precision for float arithmetic can change a digit.
constexpr const char* kCalculation = R"CS(
    // A run-time error of the calculation: Calc returns flag 7.
    sealed class Fault : Exception
    {
    }

    // The state of one call, as the BASIC Calc keeps it in its variables.
    sealed class Run
    {
        public float Xxpp, Yypp, X1;
        public readonly float[] Allowance = new float[4]; // 2 % of the size of each limit
        public int Nnp, Nnpb, Flag;
        public bool Inverse, Straight; // Straight: the third line failed
        public readonly float[] Y = new float[Lines + 1], Xp1 = new float[Lines + 1];
        public float Ans00, Ans11, Ytgt, Ypj, Beki;
        public int Sim = 1, Nq1, Nq2;
    }

    const double FltMax = 3.4028234663852886e+38;
    static readonly float Share = (float)0.02; // 2 %, as a Single
    static readonly float Step = (float)0.8;

    static float[] Singles(params double[] values)
    {
        float[] singles = new float[values.Length];
        for (int i = 0; i < values.Length; ++i) singles[i] = (float)values[i];
        return singles;
    }

    // A value stored in, or computed as, a 32-bit float.
    static float Single(double v)
    {
        if (!(Math.Abs(v) <= FltMax)) throw new Fault();
        return (float)v;
    }

    static double Checked(double v)
    {
        if (double.IsNaN(v) || double.IsInfinity(v)) throw new Fault();
        return v;
    }

    static double Quotient(double a, double b)
    {
        if (b == 0.0) throw new Fault();
        return Checked(a / b);
    }

    static float FloatQuotient(float a, float b)
    {
        if (b == 0.0f) throw new Fault();
        return Single((double)a / b);
    }

    static double Power(double b, double exponent)
    {
        if (b < 0.0 && exponent != Math.Floor(exponent)) throw new Fault();
        if (b == 0.0 && exponent < 0.0) throw new Fault();
        return Checked(Math.Pow(b, exponent));
    }

    // A double result kept as a float: below the smallest normal float it is
    // 0, beyond the largest it is that value.
    static float Stored(double v)
    {
        if (Math.Abs(v) < 1.1754944e-38) return 0.0f;
        if (Math.Abs(v) > 3.402823e+38) v = v > 0.0 ? 3.402823e+38 : -3.402823e+38;
        return Single(v);
    }

    // The value of section s (0..2) of line k at x1.
    static double Equation(int k, int s, float x1)
    {
        int form = Form[k - 1][s];
        double[] c = Coefficient[k - 1];
        int o = 4 * s;
        if (form < 1 || form > 21) return 0.0;
        int system = (form - 1) / 3 + 1;
        int degree = (form - 1) % 3 + 1;
        double u = x1, p;
        if (system == 2 || system == 4)
        {
            if (!(x1 > 0.0f)) throw new Fault();
            u = Math.Log(x1);
        }
        else if (system == 5 || system == 7)
        {
            u = FloatQuotient(1.0f, x1);
        }
        if (degree == 1)
            p = c[o] * u + c[o + 1];
        else if (degree == 2)
            p = c[o] * Math.Pow(u, 2) + c[o + 1] * u + c[o + 2];
        else
            p = c[o] * Math.Pow(u, 3) + c[o + 1] * Math.Pow(u, 2) + c[o + 2] * u + c[o + 3];
        p = Checked(p); // an overflow on the way leaves an infinity or a NaN
        if (system == 3 || system == 4) return Checked(Math.Exp(p));
        if (system == 6 || system == 7) return Quotient(1.0, p);
        return p;
    }

    // The line's value at x1: the first section whose end x1 does not pass.
    static float LineValue(int k, float x1)
    {
        int s = 0;
        while (s < Sections[k - 1] - 1 && x1 > Ends[k - 1][s]) ++s;
        return Stored(Equation(k, s, x1));
    }

    static float ParameterOf(int k)
    {
        return Single(Parameter[k - 1]);
    }

    // Beyond a range widened below and above (both sides are computed).
    static bool Outside(float v, float min, float below, float max, float above)
    {
        bool low = v < Single((double)min - below);
        bool high = v > Single((double)max + above);
        return low || high;
    }

    static bool OutsideX(Run r, float x, int k)
    {
        float[] range = Range[k - 1];
        return Outside(x, range[0], r.Allowance[0], range[1], r.Allowance[1]);
    }

    static bool OutsideY(Run r, float y, int k)
    {
        float[] range = Range[k - 1];
        return Outside(y, range[2], r.Allowance[2], range[3], r.Allowance[3]);
    }

    static void SetAllowance(Run r)
    {
        for (int i = 0; i < 4; ++i) r.Allowance[i] = Single((double)Math.Abs(Limits[i]) * Share);
    }

    static int SingleLine(Run r, out double y)
    {
        y = 0.0;
        if (RefusesNonPositiveX != 0 && r.Xxpp <= 0.0f && Limits[0] > 0.0f && Limits[1] > 0.0f)
            return 1;
        SetAllowance(r);
        float[] a = r.Allowance;
        int flag = Outside(r.Xxpp, Limits[0], a[0], Limits[1], a[1]) ? 2 : 0;
        float value = LineValue(1, r.Xxpp);
        if (Outside(value, Limits[2], a[2], Limits[3], a[3]) && flag == 0) flag = 4;
        y = value;
        return flag;
    }

    // The lines whose parameters bracket yypp: interpolation uses nnp - 1, nnp
    // (and nnp + 1), the range checks nnpb - 1 and nnpb.
    static void Bracket(Run r)
    {
        for (int k = 1; k <= Lines; ++k)
        {
            if (r.Yypp < ParameterOf(k))
            {
                r.Nnp = r.Nnpb = k;
                break;
            }
        }
        if (r.Nnp == 0 || r.Nnp == Lines)
        {
            r.Nnp = Lines - 1;
            r.Nnpb = Lines;
        }
        if (r.Nnp == 1) r.Nnp = r.Nnpb = 2;
    }

    static bool Used(Run r, int k)
    {
        if (r.Straight) return k == r.Nnpb - 1 || k == r.Nnpb;
        return k >= r.Nnp - 1 && k <= r.Nnp + (Lines > 2 ? 1 : 0);
    }

    // The parameter limit 2 % beyond an end parameter, outward.
    static float ParameterLimit(double p, int outward)
    {
        float sign = p > 0.0 ? 1.0f : p < 0.0 ? -1.0f : 0.0f;
        float share = Single((double)sign * Share);
        float factor = outward < 0 ? Single(1.0 - share) : Single(1.0 + share);
        return Single(Checked(p * factor));
    }

    // The value of line k at x1; in the inverse solution x1 also moves toward
    // the target Y by the ratio of the line's value to it.
    static void EvaluateSteps(Run r, int k)
    {
        double ratio = 1.0;
        r.Y[k] = LineValue(k, r.X1);
        if (!r.Inverse) return;
        r.Ypj = r.Y[k];
        if (r.Ypj != 0.0f)
        {
            bool above = Single((double)r.Ypj - r.Ytgt) > 0.0f;
            bool up = r.Sim == 1 ? above : !above;
            ratio = up ? Quotient(r.Ypj, r.Ytgt) : Quotient(r.Ytgt, r.Ypj);
        }
        r.X1 = Stored(Checked(r.X1 * Power(Math.Abs(ratio), r.Beki)));
    }

    // The same, where a line that cannot be computed at x1 is no failure of
    // the whole calculation: false for such a line.
    static bool Evaluate(Run r, int k)
    {
        ++r.Nq1;
        ++r.Nq2;
        try
        {
            EvaluateSteps(r, k);
        }
        catch (Fault)
        {
            return false;
        }
        return true;
    }

    // The value at yypp of the curve through the neighbouring lines' values
    // (or, solved, their X values): a straight line through two, a parabola
    // through three.
    static float Interpolated(Run r, bool solved)
    {
        float[] values = solved ? r.Xp1 : r.Y;
        int n = r.Nnp;
        float xz1 = ParameterOf(n - 1), xz2 = ParameterOf(n);
        float yz1 = values[n - 1], yz2 = values[n];
        double yq;
        if (Lines == 2)
        {
            float slope = FloatQuotient(Single((double)yz2 - yz1), Single((double)xz2 - xz1));
            yq = Single((double)Single((double)slope * Single((double)r.Yypp - xz2)) + yz2);
        }
        else
        {
            float xz3 = ParameterOf(n + 1), yz3 = values[n + 1];
            double p1 = Checked((double)r.Yypp - xz1);
            double p2 = Checked((double)r.Yypp - xz2);
            double p3 = Checked((double)r.Yypp - xz3);
            double w1 = 0.0, w2 = 0.0, w3 = 0.0;
            if (r.Straight && r.Nnpb == n)
            {
                w1 = Quotient(p2, Checked(p2 - p1));
                w2 = Quotient(p1, Checked(p1 - p2));
            }
            else if (r.Straight)
            {
                w2 = Quotient(p3, Checked(p3 - p2));
                w3 = Quotient(p2, Checked(p2 - p3));
            }
            else
            {
                w1 = Quotient(Checked(Quotient(p2, Checked(p2 - p1)) * p3), Checked(p3 - p1));
                w2 = Quotient(Checked(Quotient(p1, Checked(p1 - p2)) * p3), Checked(p3 - p2));
                w3 = Quotient(Checked(Quotient(p1, Checked(p1 - p3)) * p2), Checked(p2 - p3));
            }
            yq = Checked(Checked(Checked(w1 * yz1) + Checked(w2 * yz2)) + Checked(w3 * yz3));
        }
        return Stored(yq);
    }

    static double Miss(float value, float target)
    {
        return Math.Abs(Quotient(Checked((double)value - target), target));
    }

    // The X at which line k meets the target Y, by steps from x1 = xxpp.
    static void Solve(Run r, int k)
    {
        double previous = 1e+15;
        r.Nq1 = r.Nq2 = 0;
        r.X1 = r.Xxpp;
        r.Sim = 1;
        r.Beki = Step;
        while (!(Miss(r.Ypj, r.Ytgt) < 0.0001 && r.Nq1 > 3))
        {
            if (!Evaluate(r, k) || r.Nq1 > 200) break;
            double change = Miss(r.Ypj, r.Ytgt);
            if (previous != 1e+15)
            {
                bool below = r.X1 < Checked(Limits[0] - Checked(Math.Abs(Limits[0]) * 0.5));
                bool above = r.X1 > Single((double)Limits[1] + Math.Abs(Limits[1]));
                if (below || above) r.X1 = r.Xxpp;
                if (change > previous && r.Nq2 > 2)
                {
                    r.X1 = r.Xxpp;
                    r.Beki = Single(r.Beki * 0.8);
                    r.Sim = -r.Sim;
                    r.Nq2 = 0;
                }
            }
            previous = change;
        }
        r.Xp1[k] = r.X1;
        ParameterOf(k);
    }

    // The inverse solution: the Y whose interpolated X is xxpp, by steps from
    // the interpolated Y.
    static void InverseSolution(Run r)
    {
        float ans22 = Single(1e+15), beki5 = Step;
        double previous = 1e+15;
        int simz = 1, nq5 = 0, nq6 = 0, outside = 0;
        r.Ytgt = r.Ans11;
        r.X1 = r.Xxpp;
        r.Inverse = true;
        while (!(Miss(r.Xxpp, ans22) < 0.0001 && nq5 > 3))
        {
            ++nq5;
            ++nq6;
            for (int k = 1; k <= Lines; ++k)
                if (Used(r, k)) Solve(r, k);
            ans22 = Interpolated(r, true);
            if (ans22 == 0.0f) break;
            r.Ypj = r.Xxpp;
            bool above = Single((double)r.Ypj - ans22) > 0.0f;
            bool up = simz == 1 ? above : !above;
            double ratio = up ? Quotient(r.Xxpp, ans22) : Quotient(ans22, r.Xxpp);
            double yq = Checked(r.Ytgt * Power(Math.Abs(ratio), beki5));
            if (Math.Abs(yq) < 1.1754944e-38 || Math.Abs(yq) > 3.402823e+38) break;
            r.Ytgt = Single(yq);
            if (nq5 > 300) break;
            double change = Miss(r.Ypj, ans22);
            if (previous != 1e+15 && change > previous && nq6 > 2)
            {
                r.Ytgt = r.Ans11;
                beki5 = Single(beki5 * 0.8);
                simz = -simz;
                nq6 = 0;
            }
            previous = change;
        }
        double agreement = Quotient(Checked((double)r.Ans11 - r.Ytgt),
                                    r.Ans11 != 0.0f ? r.Ans11 : r.Ytgt);
        // Only answers that agree within 1 % are one, converged or not.
        int flgm = Math.Abs(agreement) <= 0.01 ? 0 : 1;
        if (flgm != 0 && r.Flag == 0) r.Flag = 6;
        float ans33 = r.Ytgt;
        for (int k = r.Nnpb - 1; k <= r.Nnpb; ++k)
            if (OutsideX(r, r.Xp1[k], k)) ++outside;
        if (outside == 2 && r.Flag == 0) r.Flag = 5;
        r.Ans00 = flgm == 0 ? Single(Single((double)r.Ans11 + ans33) * 0.5) : r.Ans11;
    }

    static int Family(Run r, out double y)
    {
        int outside = 0;
        y = 0.0;
        Bracket(r);
        if (RefusesNonPositiveX != 0 && r.Xxpp <= 0.0f)
        {
            for (int k = r.Nnpb - 1; k <= r.Nnpb; ++k)
                if (Range[k - 1][0] > 0.0f && Range[k - 1][1] > 0.0f) return 1;
        }
        SetAllowance(r);
        for (int k = r.Nnpb - 1; k <= r.Nnpb; ++k)
            if (OutsideX(r, r.Xxpp, k)) ++outside;
        if (outside == 2) r.Flag = 2;
        // computed and stored, though nothing reads it
        Single(Checked(Checked(Parameter[Lines - 1] - Parameter[0]) * Share));
        bool low = r.Yypp < ParameterLimit(Parameter[0], -1);
        bool high = r.Yypp > ParameterLimit(Parameter[Lines - 1], 1);
        if ((low || high) && r.Flag == 0) r.Flag = 3;
        // Only the lines the interpolation uses; a bracketing line that cannot
        // be computed leaves no answer, a third line the straight line.
        bool[] computed = new bool[Lines + 1];
        for (int k = 1; k <= Lines; ++k)
            if (Used(r, k)) computed[k] = Evaluate(r, k);
        if (!computed[r.Nnpb - 1] || !computed[r.Nnpb]) throw new Fault();
        for (int k = 1; k <= Lines; ++k)
            if (Used(r, k) && !computed[k]) r.Straight = true;
        r.Ans11 = r.Ans00 = Interpolated(r, false);
        outside = 0;
        for (int k = r.Nnpb - 1; k <= r.Nnpb; ++k)
            if (OutsideY(r, r.Ans11, k)) ++outside;
        if (outside == 2 && r.Flag == 0) r.Flag = 4;
        // The inverse solution moves X and Y by ratios: it cannot start from 0.
        if (r.Xxpp != 0.0f && r.Ans11 != 0.0f) InverseSolution(r);
        y = r.Ans00;
        return r.Flag;
    }

    // The flag of the family at X = x and the parameter p; the value in y.
    public static int Calc(double x, double p, out double y)
    {
        y = 0.0;
        try
        {
            Run r = new Run();
            r.Xxpp = r.X1 = Single(x);
            r.Yypp = Single(p);
            double value;
            int flag = Lines == 1 ? SingleLine(r, out value) : Family(r, out value);
            y = value;
            return flag;
        }
        catch (Exception)
        {
            y = 0.0;
            return 7;
        }
    }
}
)CS";

// "refuses_non_positive_x" as "RefusesNonPositiveX".
std::string PascalName(const char* name) {
    std::string text;
    bool upper = true;
    for (const char* c = name; *c != '\0'; ++c) {
        if (*c == '_') {
            upper = true;
            continue;
        }
        text += upper && *c >= 'a' && *c <= 'z' ? static_cast<char>(*c - 'a' + 'A') : *c;
        upper = false;
    }
    return text;
}

std::string Integer(int value) {
    return std::to_string(value);
}

constexpr ValueSyntax kSyntax{Integer, FloatSourcePython, DoubleSource};

std::string TypeOf(const SourceTable& table) {
    switch (table.kind) {
        case TableKind::kInteger: return "int";
        case TableKind::kSingle: return "float";
        case TableKind::kDouble: return "double";
    }
    return "double";
}

// A row: the Singles through Singles(...), whose casts round them.
std::string Row(const SourceTable& table, std::size_t row, const std::string& indent) {
    const std::string values = WrappedList(RowTexts(table, row, kSyntax), 4, indent, ",");
    if (table.kind == TableKind::kSingle) return "Singles(" + values + ")";
    return "new " + TypeOf(table) + "[] { " + values + " }";
}

void WriteTable(std::ostringstream& out, const SourceTable& table) {
    const std::string type = TypeOf(table);
    const bool list = IsList(table);
    out << "    // " << table.meaning << "\n    static readonly " << type
        << (list ? "[] " : "[][] ") << PascalName(table.name) << " = ";
    if (!table.perLine) {
        out << Row(table, 0, "        ") << ";\n";
        return;
    }
    const bool singles = list && table.kind == TableKind::kSingle;
    out << (singles ? std::string("Singles(new double[] {\n")
                    : "new " + type + (list ? "[] {\n" : "[][] {\n"));
    for (std::size_t row = 0; row < table.rows.size(); ++row) {
        out << "        // " << table.rowNotes[row] << "\n        "
            << (list ? RowTexts(table, row, kSyntax)[0] : Row(table, row, "            "))
            << ",\n";
    }
    out << (singles ? "    });\n" : "    };\n");
}

}  // namespace

std::vector<std::string> CalcProgramInCSharp(const CalcFamily& family) {
    std::ostringstream out;
    for (const std::string& line : CalcSourceHeader(family, SourceLanguage::kCSharp))
        out << line << "\n";
    out << "\nusing System;\n\npublic static class KxCalc\n{\n";
    for (const SourceScalar& scalar : CalcScalarsOf(family)) {
        out << "    // " << scalar.meaning << "\n    static readonly int "
            << PascalName(scalar.name) << " = " << scalar.value << ";\n";
    }
    for (const SourceTable& table : CalcTablesOf(family)) WriteTable(out, table);
    out << kCalculation;
    return SourceLines(out.str());
}

}  // namespace kx::core

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "codegen_fixtures.h"
#include "core/codegen/c_program.h"
#include "core/codegen/calc_evaluation.h"
#include "core/codegen/calc_family.h"
#include "core/codegen/calc_sources.h"
#include "core/codegen/python_program.h"
#include "support/near.h"
#include "temp_folder.h"

// The generated programs, compiled and run with the tools of their languages
// (the C compiler, python3, Octave, Node.js, Mono, gfortran), answer as the
// core's evaluator does on the probes of every family: the same flags, the
// same values. A language whose tools are not installed is skipped.
namespace kx::core {
namespace {

using test::CalcProbes;
using test::FamilyOf;
using test::FitRun;
using test::Probe;

// Each driver reads "x p" lines and prints "flag value" for each.
constexpr const char* kDriverC = R"(#include <stdio.h>
int kx_calc(double x, double p, double *y);
int main(void)
{
    double x, p, y;
    while (scanf("%lf %lf", &x, &p) == 2) {
        int flag = kx_calc(x, p, &y);
        printf("%d %.9g\n", flag, y);
    }
    return 0;
}
)";

constexpr const char* kDriverPython = R"(import sys
from kx_calc import kx_calc
for line in sys.stdin:
    x, p = (float(v) for v in line.split())
    flag, y = kx_calc(x, p)
    print("%d %.9g" % (flag, y))
)";

constexpr const char* kDriverOctave = R"(probes = fscanf(stdin, '%f %f', [2, Inf]);
for i = 1:size(probes, 2)
    [flag, y] = kx_calc(probes(1, i), probes(2, i));
    printf('%d %.9g\n', flag, y);
end
)";

// The module is evaluated in a context of the language's own objects alone,
// with no import resolved: whatever it uses, a browser has as well.
constexpr const char* kDriverNode = R"(import { readFileSync } from "node:fs";
import vm from "node:vm";
const module = new vm.SourceTextModule(readFileSync("kx_calc.mjs", "utf8"),
                                       { context: vm.createContext({}) });
await module.link(() => {
    throw new Error("kx_calc.mjs imports a module");
});
await module.evaluate();
const { kx_calc } = module.namespace;
const lines = [];
for (const line of readFileSync(0, "utf8").split("\n")) {
    const v = line.trim().split(/\s+/);
    if (v.length < 2) continue;
    const [flag, y] = kx_calc(Number(v[0]), Number(v[1]));
    lines.push(flag + " " + y.toPrecision(9));
}
process.stdout.write(lines.join("\n") + "\n");
)";

constexpr const char* kDriverCSharp = R"(using System;
using System.Globalization;

public static class Driver
{
    public static void Main()
    {
        string line;
        while ((line = Console.ReadLine()) != null)
        {
            string[] v = line.Split(new char[] { ' ' }, StringSplitOptions.RemoveEmptyEntries);
            if (v.Length < 2) continue;
            double y;
            int flag = KxCalc.Calc(double.Parse(v[0], CultureInfo.InvariantCulture),
                                   double.Parse(v[1], CultureInfo.InvariantCulture), out y);
            Console.WriteLine(flag + " " + y.ToString("R", CultureInfo.InvariantCulture));
        }
    }
}
)";

constexpr const char* kDriverFortran = R"(program driver
    use kx_calc_mod
    implicit none
    real(8) :: x, p, y
    integer :: flag, status
    do
        read (*, *, iostat=status) x, p
        if (status /= 0) exit
        flag = kx_calc(x, p, y)
        write (*, '(i0, 1x, es17.9e3)') flag, y
    end do
end program driver
)";

void Write(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

std::string Text(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    return text;
}

std::string Quoted(const std::string& text) {
    return "'" + text + "'";
}

// Runs a shell command; its exit status, or -1 when it did not exit.
int Run(const std::string& command) {
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

struct Answer {
    int flag = -1;
    double value = 0.0;
};

// Writes the probes, runs `command` on them and reads its answers.
std::vector<Answer> AnswersOf(const kx::test::TempFolder& folder, const std::string& command,
                              const std::vector<Probe>& probes) {
    std::string input;
    char buffer[64];
    for (const Probe& probe : probes) {
        std::snprintf(buffer, sizeof buffer, "%.9g %.9g\n", probe.x, probe.p);
        input += buffer;
    }
    Write(folder.file("probes.txt"), input);
    const std::string output = folder.file("answers.txt");
    EXPECT_EQ(Run(command + " <" + Quoted(folder.file("probes.txt")) + " >" + Quoted(output)), 0)
        << command;
    std::vector<Answer> answers;
    std::istringstream in(kx::test::FileBytes(output));
    for (Answer a; in >> a.flag >> a.value;) answers.push_back(a);
    return answers;
}

void ExpectAnswersOfTheCore(const CalcFamily& family, const std::vector<Probe>& probes,
                            const std::vector<Answer>& answers, const char* language) {
    ASSERT_EQ(answers.size(), probes.size()) << language;
    for (std::size_t i = 0; i < probes.size(); ++i) {
        const CalcAnswer core = EvaluateCalc(family, probes[i].x, probes[i].p);
        EXPECT_EQ(answers[i].flag, core.flag) << language << " " << probes[i];
        EXPECT_REL_NEAR(answers[i].value, core.value, 1e-6) << language << " " << probes[i];
    }
}

// A tool the build found; CMake leaves "...-NOTFOUND" for one it did not.
bool Installed(const std::string& tool) {
    return !tool.empty() && tool.find("NOTFOUND") == std::string::npos;
}

// A language as the test takes its program: the generated file and the driver
// are written into a folder, `build` (where the language is compiled) and
// `run` are shell commands on that folder. Warnings are errors: the text must
// compile cleanly wherever it is taken.
struct SourceHost {
    const char* name;
    const char* fileName;
    std::vector<std::string> (*generate)(const CalcFamily&);
    const char* driverName;
    const char* driver;
    std::vector<std::string> tools;  // every one must be installed
    std::string (*build)(const kx::test::TempFolder& folder);
    std::string (*run)(const kx::test::TempFolder& folder);
};

std::string In(const kx::test::TempFolder& folder, const char* name) {
    return Quoted(folder.file(name));
}

const SourceHost kHosts[] = {
    {"C",
     "kx_calc.c",
     CalcProgramInC,
     "driver.c",
     kDriverC,
     {KX_C_COMPILER},
     [](const kx::test::TempFolder& f) {
         return Quoted(KX_C_COMPILER) +
                " -std=c99 -pedantic -Wall -Wextra -Werror -O2 -ffp-contract=off -o " +
                In(f, "calc") + " " + In(f, "kx_calc.c") + " " + In(f, "driver.c") + " -lm";
     },
     [](const kx::test::TempFolder& f) { return In(f, "calc"); }},
    {"Python",
     "kx_calc.py",
     CalcProgramInPython,
     "driver.py",
     kDriverPython,
     {KX_PYTHON},
     nullptr,
     [](const kx::test::TempFolder& f) {
         return Quoted(KX_PYTHON) + " -B " + In(f, "driver.py");
     }},
    {"Octave",
     "kx_calc.m",
     CalcProgramInMatlab,
     "driver.m",
     kDriverOctave,
     {KX_OCTAVE},
     nullptr,
     [](const kx::test::TempFolder& f) {
         return "cd " + Quoted(f.path().string()) + " && " + Quoted(KX_OCTAVE) +
                " --no-window-system --quiet --norc driver.m";
     }},
    {"Node",
     "kx_calc.mjs",
     CalcProgramInJavaScript,
     "driver.mjs",
     kDriverNode,
     {KX_NODE},
     nullptr,
     [](const kx::test::TempFolder& f) {
         return "cd " + Quoted(f.path().string()) + " && " + Quoted(KX_NODE) +
                " --experimental-vm-modules --no-warnings driver.mjs";
     }},
    {"Mono",
     "KxCalc.cs",
     CalcProgramInCSharp,
     "Driver.cs",
     kDriverCSharp,
     {KX_MCS, KX_MONO},
     [](const kx::test::TempFolder& f) {
         // C# 2 as its standard has it: what every later compiler takes.
         return Quoted(KX_MCS) +
                " -langversion:ISO-2 -warn:4 -warnaserror -out:" + In(f, "calc.exe") + " " +
                In(f, "KxCalc.cs") + " " + In(f, "Driver.cs");
     },
     [](const kx::test::TempFolder& f) { return Quoted(KX_MONO) + " " + In(f, "calc.exe"); }},
    {"Fortran",
     "kx_calc.f90",
     CalcProgramInFortran,
     "driver.f90",
     kDriverFortran,
     {KX_GFORTRAN},
     [](const kx::test::TempFolder& f) {
         return Quoted(KX_GFORTRAN) + " -std=f2008 -Wall -Werror -J " + Quoted(f.path().string()) +
                " -o " + In(f, "calc") + " " + In(f, "kx_calc.f90") + " " + In(f, "driver.f90");
     },
     [](const kx::test::TempFolder& f) { return In(f, "calc"); }},
};

// The names of the tools a host lacks, or "" when it has them all.
std::string Missing(const SourceHost& host) {
    std::string missing;
    for (const std::string& tool : host.tools) {
        if (!Installed(tool)) missing += (missing.empty() ? "" : ", ") + tool;
    }
    return missing;
}

void ExpectSourceAnswersAsTheCore(const SourceHost& host, const CalcFamily& family,
                                  const std::vector<Probe>& probes) {
    const kx::test::TempFolder folder;
    Write(folder.file(host.fileName), Text(host.generate(family)));
    Write(folder.file(host.driverName), host.driver);
    if (host.build != nullptr) {
        const std::string build = host.build(folder);
        ASSERT_EQ(Run(build), 0) << build;
    }
    ExpectAnswersOfTheCore(family, probes, AnswersOf(folder, host.run(folder), probes), host.name);
}

struct SourceCase {
    test::FitCase family;
    const SourceHost* host;
};
void PrintTo(const SourceCase& c, std::ostream* out) {
    *out << c.family.name << " in " << c.host->name;
}

std::vector<test::FitCase> FittedFamilies() {
    std::vector<test::FitCase> families = test::GridAndSampleCases();
    families.push_back({"OneLine", [] {
                            return test::FitAndGenerateFamily({test::GridFamilies()[0].lines[1]});
                        }});
    return families;
}

std::vector<SourceCase> Cases(const std::vector<test::FitCase>& families) {
    std::vector<SourceCase> cases;
    for (const test::FitCase& family : families) {
        for (const SourceHost& host : kHosts) {
            cases.push_back({family, &host});
        }
    }
    return cases;
}

// The fit of a family, once for all its languages.
const FitRun& Fitted(const test::FitCase& family) {
    static std::map<std::string, FitRun> runs;
    auto it = runs.find(family.name);
    if (it == runs.end()) it = runs.emplace(family.name, family.fit()).first;
    return it->second;
}

class CalcSources : public ::testing::TestWithParam<SourceCase> {};

TEST_P(CalcSources, AnswerAsTheCoreEvaluator) {
    const SourceHost& host = *GetParam().host;
    const std::string missing = Missing(host);
    if (!missing.empty()) GTEST_SKIP() << host.name << ": not installed: " << missing;
    const FitRun& fitted = Fitted(GetParam().family);
    ExpectSourceAnswersAsTheCore(host, FamilyOf(fitted.data, fitted.results),
                                 CalcProbes(fitted.data, fitted.results));
}

INSTANTIATE_TEST_SUITE_P(Families, CalcSources, ::testing::ValuesIn(Cases(FittedFamilies())),
                         [](const auto& test) {
                             return std::string(test.param.family.name) + "_" +
                                    test.param.host->name;
                         });

// Every form in a family of seven lines and in a line alone (quick where the
// family is slow), and the families whose values or parameters reach the
// edges of a Single.
std::vector<test::FitCase> EdgeFamilies() {
    auto family = [](std::vector<test::FormLine> ranks) {
        return [ranks] {
            FitRun run;
            test::MakeFormFamily(ranks, run.data, run.results);
            return run;
        };
    };
    const std::vector<test::FormLine> seven = test::SevenSystems();
    std::vector<test::FormLine> large = {seven[0], seven[0], seven[0]};
    large[0].parameter = "1E+38";
    large[1].parameter = "2E+38";
    large[2].parameter = "3.35E+38";
    std::vector<test::FitCase> families = {
        {"SevenSystems", family(seven)},
        {"Reciprocals", family({seven[4], seven[6]})},
        {"BeyondASingle", family({test::BeyondASingle("1"), test::BeyondASingle("2")})},
        {"LargeParameters", family(large)}};
    static const char* const kAlone[] = {"System1Alone", "System2Alone", "System3Alone",
                                         "System4Alone", "System5Alone", "System6Alone",
                                         "System7Alone"};
    for (std::size_t system = 0; system < seven.size(); ++system)
        families.push_back({kAlone[system], family({seven[system]})});
    return families;
}

INSTANTIATE_TEST_SUITE_P(Edges, CalcSources, ::testing::ValuesIn(Cases(EdgeFamilies())),
                         [](const auto& test) {
                             return std::string(test.param.family.name) + "_" +
                                    test.param.host->name;
                         });

// Octave takes what MATLAB refuses; the MATLAB program keeps to what both
// take: no "!", "!=", "#" comments, double-quoted strings, "+=", "++", "**",
// Octave's end keywords or its printf.
TEST(CalcSources, TheMatlabProgramKeepsToMatlabsSyntax) {
    const std::vector<test::FitCase> families = test::GridAndSampleCases();
    const auto sample = std::find_if(families.begin(), families.end(), [](const auto& family) {
        return std::string(family.name) == "SampleDiodes";
    });
    ASSERT_NE(sample, families.end());
    const FitRun& fitted = Fitted(*sample);
    const std::regex octaveOnly(
        R"([!#"]|\+\+|--|[-+*/]=|\*\*|\b(endif|endwhile|endfor|endfunction|end_try_catch|)"
        R"(unwind_protect|do|until|printf)\b)");
    int lineNumber = 0;
    for (const std::string& line : CalcProgramInMatlab(FamilyOf(fitted.data, fitted.results))) {
        ++lineNumber;
        const std::string code = line.substr(0, line.find('%'));
        EXPECT_FALSE(std::regex_search(code, octaveOnly)) << lineNumber << ": " << line;
    }
}

}  // namespace
}  // namespace kx::core

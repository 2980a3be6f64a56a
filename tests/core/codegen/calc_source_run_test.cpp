#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "codegen_fixtures.h"
#include "core/codegen/c_program.h"
#include "core/codegen/calc_evaluation.h"
#include "core/codegen/calc_family.h"
#include "core/codegen/python_program.h"
#include "support/near.h"
#include "temp_folder.h"

// The generated C and Python programs, compiled with the system's C compiler
// and run with python3, answer as the core's evaluator does on the probes of
// every family: the same flags, the same values.
namespace kx::core {
namespace {

using test::CalcProbes;
using test::FamilyOf;
using test::FitRun;
using test::Probe;

// Reads "x p" lines and prints "flag value" for each.
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

// Python takes about a hundred times longer than C on the probes where the
// inverse solution does not converge; it runs on the families that `python`
// names, C on all.
void ExpectSourcesAnswerAsTheCore(const CalcFamily& family, const std::vector<Probe>& probes,
                                  bool python = true) {
    const kx::test::TempFolder folder;
    Write(folder.file("kx_calc.c"), Text(CalcProgramInC(family)));
    Write(folder.file("driver.c"), kDriverC);
    // Warnings are errors: the text must compile cleanly wherever it is taken.
    const std::string compile =
        Quoted(KX_C_COMPILER) +
        " -std=c99 -pedantic -Wall -Wextra -Werror -O2 -ffp-contract=off -o " +
        Quoted(folder.file("calc")) + " " + Quoted(folder.file("kx_calc.c")) + " " +
        Quoted(folder.file("driver.c")) + " -lm";
    ASSERT_EQ(Run(compile), 0) << compile;
    ExpectAnswersOfTheCore(family, probes, AnswersOf(folder, Quoted(folder.file("calc")), probes),
                           "C");

    if (!python) return;
    Write(folder.file("kx_calc.py"), Text(CalcProgramInPython(family)));
    Write(folder.file("driver.py"), kDriverPython);
    ExpectAnswersOfTheCore(
        family, probes,
        AnswersOf(folder, Quoted(KX_PYTHON) + " -B " + Quoted(folder.file("driver.py")), probes),
        "Python");
}

std::vector<test::FitCase> Families() {
    std::vector<test::FitCase> cases = test::GridAndSampleCases();
    for (test::FitCase& c : cases) {
        const std::string name = c.name;
        c.python = name != "Thermistor" && name != "FallingThroughZero" && name != "SampleDiodes";
    }
    cases.push_back({"OneLine", [] {
                         return test::FitAndGenerateFamily({test::GridFamilies()[0].lines[1]});
                     }});
    return cases;
}

class CalcSources : public ::testing::TestWithParam<test::FitCase> {};

TEST_P(CalcSources, AnswerAsTheCoreEvaluator) {
    const FitRun fitted = GetParam().fit();
    ExpectSourcesAnswerAsTheCore(FamilyOf(fitted.data, fitted.results),
                                 CalcProbes(fitted.data, fitted.results), GetParam().python);
}

INSTANTIATE_TEST_SUITE_P(Families, CalcSources, ::testing::ValuesIn(Families()),
                         [](const auto& test) { return std::string(test.param.name); });

// Every form in a three-point family and alone, and the families whose
// values or parameters reach the edges of a Single.
TEST(CalcSources, EveryFormAndTheEdgesOfASingle) {
    const std::vector<test::FormLine> seven = test::SevenSystems();
    std::vector<test::FormLine> large = {seven[0], seven[0], seven[0]};
    large[0].parameter = "1E+38";
    large[1].parameter = "2E+38";
    large[2].parameter = "3.35E+38";
    const std::pair<std::vector<test::FormLine>, bool> families[] = {
        {seven, true},
        {{seven[1]}, true},
        {{seven[4], seven[6]}, false},
        {{test::BeyondASingle("1"), test::BeyondASingle("2")}, true},
        {large, true},
    };
    for (const auto& [ranks, python] : families) {
        DataSet data;
        FitResults results;
        test::MakeFormFamily(ranks, data, results);
        ExpectSourcesAnswerAsTheCore(FamilyOf(data, results), CalcProbes(data, results), python);
    }
}

}  // namespace
}  // namespace kx::core

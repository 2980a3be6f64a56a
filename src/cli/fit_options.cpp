#include "cli/fit_options.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "cli/exit_status.h"
#include "core/data/numeric_text.h"
#include "core/data/text_chars.h"

namespace kx::cli {
namespace {

// How each refusal ends the program. Whatever the command line gets wrong,
// an option or a value, is a malformed command line, answered with the usage
// text; the system's own message names a value its checks refuse. Refusals of
// the data file or of an output come later, from the run, with status 1.
constexpr bool kUsage = true;
constexpr RefusalRule kRefusals[] = {
    {Refusal::kUnknownOption, kMalformedCommandLine, kUsage, "unknown option"},
    {Refusal::kMissingValue, kMalformedCommandLine, kUsage, "a value is missing"},
    {Refusal::kUnknownLanguage, kMalformedCommandLine, kUsage, "unknown language"},
    {Refusal::kPlotNotBuilt, kMalformedCommandLine, kUsage, "not available in this build"},
    {Refusal::kShapesNoPlot, kMalformedCommandLine, kUsage,
     "shapes the plot, but no --plot FILE is given"},
    {Refusal::kNoDataFile, kMalformedCommandLine, kUsage, "no data file given"},
    {Refusal::kMoreThanOneDataFile, kMalformedCommandLine, kUsage,
     "more than one data file given"},
    {Refusal::kInputError, kMalformedCommandLine, kUsage, "入力ｴﾗｰ"},
    {Refusal::kNoSystemLeft, kMalformedCommandLine, kUsage, "計算座標系なし"},
    {Refusal::kBadPlotFileName, kMalformedCommandLine, kUsage,
     "ﾌｧｲﾙ名不正 (the name must end in .pdf, .svg or .png)"},
};

constexpr bool RowsInOrder() {
    for (std::size_t i = 0; i < std::size(kRefusals); ++i) {
        if (static_cast<std::size_t>(kRefusals[i].refusal) != i) return false;
    }
    return true;
}
static_assert(RowsInOrder(), "one row per refusal, in the order of the enum");

using Refused = std::optional<OptionError>;

Refused Refuse(std::string_view subject, Refusal refusal) {
    return OptionError{std::string(subject), refusal};
}

// An option as the command line gives it; a switch has no value.
struct Given {
    std::string_view name;
    std::string_view value;
    std::string Subject() const { return std::string(name) + " " + std::string(value); }
};

// What the options seen so far have set, and where the command line stands.
struct Parse {
    Parse(FitOptions& into, PlotNameCheck plotNameCheck)
        : options(into), plotName(plotNameCheck) {}
    FitOptions& options;
    PlotNameCheck plotName;
    std::vector<std::string_view> files;
    bool optionsEnded = false;      // after "--" every argument is a data file
    bool finished = false;          // --help: the rest is not looked at
    std::string_view plotShapedBy;  // the last option that shapes the plot
};

// A checked value stored where it belongs, or the option refused.
template <typename T, typename Field>
Refused Store(const Given& given, const std::optional<T>& checked, Field& field,
              Refusal refusal = Refusal::kInputError) {
    if (!checked) return Refuse(given.Subject(), refusal);
    field = *checked;
    return std::nullopt;
}

// The exclusion list: coordinate systems 1..7, separated by commas.
Refused ApplyExclusions(const Given& given, core::CalcSettings& settings) {
    const std::string_view list = given.value;
    settings.excludedSystem.fill(0);
    if (core::TrimBlanks(list).empty()) return std::nullopt;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = list.find(',', start);
        const std::string_view item = core::TrimBlanks(
            list.substr(start, comma == std::string_view::npos ? list.npos : comma - start));
        if (item.size() != 1 || item[0] < '1' || item[0] > '7') {
            return Refuse(given.Subject(), Refusal::kInputError);
        }
        settings.excludedSystem[static_cast<std::size_t>(item[0] - '0')] = 1;
        if (comma == std::string_view::npos) break;
        start = comma + 1;
    }
    for (int system = 1; system <= 7; ++system) {
        if (settings.excludedSystem[static_cast<std::size_t>(system)] == 0) return std::nullopt;
    }
    return Refuse(given.Subject(), Refusal::kNoSystemLeft);
}

// The conditions window's mode check, stricter than the window, which takes
// any text by its value ("abc" is 0).
std::optional<int16_t> CheckedModeOption(std::string_view text) {
    const std::string_view trimmed = core::TrimBlanks(text);
    if (trimmed.empty() || !core::IsNumericText(trimmed)) return std::nullopt;
    return core::CheckedErrorMode(trimmed);
}

std::optional<core::ProgramLanguage> LanguageOption(std::string_view text) {
    if (text == "basic") return core::ProgramLanguage::kBasic;
    if (text == "c") return core::ProgramLanguage::kC;
    if (text == "python") return core::ProgramLanguage::kPython;
    if (text == "matlab") return core::ProgramLanguage::kMatlab;
    if (text == "javascript") return core::ProgramLanguage::kJavaScript;
    if (text == "csharp") return core::ProgramLanguage::kCSharp;
    if (text == "fortran") return core::ProgramLanguage::kFortran;
    return std::nullopt;
}

// A deviation limit: a number of 0 or more.
std::optional<double> CheckLimitOption(std::string_view text) {
    const std::string_view trimmed = core::TrimBlanks(text);
    if (trimmed.empty() || !core::IsNumericText(trimmed)) return std::nullopt;
    const double limit = core::ValueOfText(trimmed);
    if (!(limit >= 0.0) || !std::isfinite(limit)) return std::nullopt;
    return limit;
}

// An X limit of the plot, as its box holds it: a number a Single holds; 0
// follows the data.
std::optional<std::string> PlotLimitOption(std::string_view text) {
    const std::string_view trimmed = core::TrimBlanks(text);
    if (trimmed.empty() || !core::IsNumericText(trimmed) ||
        !core::FitsSingle(core::ValueOfText(trimmed))) {
        return std::nullopt;
    }
    return std::string(trimmed);
}

Refused PlotFileOption(const Given& given, Parse& parse) {
    if (!parse.plotName) return Refuse(given.name, Refusal::kPlotNotBuilt);
    if (!parse.plotName(given.value)) return Refuse(given.value, Refusal::kBadPlotFileName);
    parse.options.plotFile = std::string(given.value);
    return std::nullopt;
}

// Any text: --out takes its folder as given.
std::optional<std::string> AnyText(std::string_view text) {
    return std::string(text);
}

// The switches an option turns on.
template <typename... Flags>
Refused TurnOn(Flags&... flags) {
    ((flags = true), ...);
    return std::nullopt;
}

// A switch, `--opt V` or `--opt=V`; an empty V of kNonEmptyValue is missing.
enum class Takes { kNothing, kValue, kNonEmptyValue };
// An option that shapes the plot is refused without --plot FILE.
enum class Needs { kNothing, kPlotFile };

struct Option {
    std::string_view name;
    Takes takes;
    Needs needs;
    Refused (*apply)(const Given& given, Parse& parse);
};

// Every option of the command line. A later option overrides an earlier one;
// the first refusal ends the parse.
constexpr Option kOptions[] = {
    {"--mode", Takes::kValue, Needs::kNothing,
     [](const Given& g, Parse& p) {
         return Store(g, CheckedModeOption(g.value), p.options.settings.errorMode);
     }},
    {"--cutoff", Takes::kValue, Needs::kNothing,
     [](const Given& g, Parse& p) {
         return Store(g, core::CheckedCutoffPrecision(g.value),
                      p.options.settings.cutoffPrecision);
     }},
    {"--exclude", Takes::kValue, Needs::kNothing,
     [](const Given& g, Parse& p) { return ApplyExclusions(g, p.options.settings); }},
    {"--min-section", Takes::kValue, Needs::kNothing,
     [](const Given& g, Parse& p) {
         return Store(g, core::CheckedMinSection(g.value), p.options.settings.minSectionPoints);
     }},
    {"--lang", Takes::kValue, Needs::kNothing,
     [](const Given& g, Parse& p) {
         return Store(g, LanguageOption(g.value), p.options.language, Refusal::kUnknownLanguage);
     }},
    {"--check", Takes::kNothing, Needs::kNothing,
     [](const Given&, Parse& p) { return TurnOn(p.options.check); }},
    {"--check-limit", Takes::kValue, Needs::kNothing,
     [](const Given& g, Parse& p) {
         TurnOn(p.options.check);
         return Store(g, CheckLimitOption(g.value), p.options.checkLimit);
     }},
    {"--out", Takes::kNonEmptyValue, Needs::kNothing,
     [](const Given& g, Parse& p) { return Store(g, AnyText(g.value), p.options.outFolder); }},
    {"--plot", Takes::kNonEmptyValue, Needs::kNothing, PlotFileOption},
    {"--log-x", Takes::kNothing, Needs::kPlotFile,
     [](const Given&, Parse& p) { return TurnOn(p.options.plot.logX); }},
    {"--log-y", Takes::kNothing, Needs::kPlotFile,
     [](const Given&, Parse& p) { return TurnOn(p.options.plot.logY); }},
    {"--xmin", Takes::kValue, Needs::kPlotFile,
     [](const Given& g, Parse& p) {
         return Store(g, PlotLimitOption(g.value), p.options.plot.xMinText);
     }},
    {"--xmax", Takes::kValue, Needs::kPlotFile,
     [](const Given& g, Parse& p) {
         return Store(g, PlotLimitOption(g.value), p.options.plot.xMaxText);
     }},
    {"--para", Takes::kNothing, Needs::kPlotFile,
     [](const Given&, Parse& p) { return TurnOn(p.options.plotLabels); }},
    {"--help", Takes::kNothing, Needs::kNothing,
     [](const Given&, Parse& p) { return TurnOn(p.options.help, p.finished); }},
    {"--", Takes::kNothing, Needs::kNothing,
     [](const Given&, Parse& p) { return TurnOn(p.optionsEnded); }},
};

const Option* OptionNamed(std::string_view name) {
    const auto* found = std::find_if(std::begin(kOptions), std::end(kOptions),
                                     [name](const Option& option) { return option.name == name; });
    return found == std::end(kOptions) ? nullptr : found;
}

// The option an argument names and the value it carries after "=", if any.
struct Spelled {
    std::string_view name;
    std::optional<std::string_view> value;
};

Spelled SpellingOf(std::string_view argument) {
    const std::size_t equals = argument.find('=');
    if (equals == std::string_view::npos) return {argument, std::nullopt};
    return {argument.substr(0, equals), argument.substr(equals + 1)};
}

// The option's value: after "=", or the next argument, which it consumes.
Refused TakeValue(const Option& option, const Spelled& spelled,
                  const std::vector<std::string_view>& arguments, std::size_t& i, Given& given) {
    if (spelled.value) {
        given.value = *spelled.value;
    } else if (i + 1 < arguments.size()) {
        given.value = arguments[++i];
    } else {
        return Refuse(spelled.name, Refusal::kMissingValue);
    }
    if (option.takes == Takes::kNonEmptyValue && given.value.empty()) {
        return Refuse(spelled.name, Refusal::kMissingValue);
    }
    return std::nullopt;
}

// Takes the argument at `i`, with its value; a data file unless it starts
// with "--".
Refused TakeArgument(const std::vector<std::string_view>& arguments, std::size_t& i,
                     Parse& parse) {
    const std::string_view argument = arguments[i];
    if (parse.optionsEnded || argument.substr(0, 2) != "--") {
        parse.files.push_back(argument);
        return std::nullopt;
    }
    const Spelled spelled = SpellingOf(argument);
    const Option* option = OptionNamed(spelled.name);
    if (!option || (option->takes == Takes::kNothing && spelled.value)) {
        return Refuse(argument, Refusal::kUnknownOption);
    }
    Given given{spelled.name, {}};
    if (option->takes != Takes::kNothing) {
        if (Refused missing = TakeValue(*option, spelled, arguments, i, given)) return missing;
    }
    if (Refused refused = option->apply(given, parse)) return refused;
    if (option->needs == Needs::kPlotFile) parse.plotShapedBy = option->name;
    return std::nullopt;
}

// The checks of the whole command line, once every option is taken.
Refused CheckComplete(Parse& parse) {
    if (!parse.plotShapedBy.empty() && !parse.options.plotFile) {
        return Refuse(parse.plotShapedBy, Refusal::kShapesNoPlot);
    }
    if (parse.files.empty()) return Refuse("FILE", Refusal::kNoDataFile);
    if (parse.files.size() > 1) return Refuse("FILE", Refusal::kMoreThanOneDataFile);
    parse.options.dataFile = std::string(parse.files.front());
    return std::nullopt;
}

}  // namespace

const RefusalRule& RuleOf(Refusal refusal) {
    return kRefusals[static_cast<std::size_t>(refusal)];
}

const char* const kUsageText =
    "Usage: kuvatelix-fit [--mode 0|1|2] [--cutoff VALUE] [--exclude LIST]\n"
    "                     [--min-section N]\n"
    "                     [--lang basic|c|python|matlab|javascript|csharp|fortran]\n"
    "                     [--check] [--check-limit VALUE]\n"
    "                     [--plot FILE [--log-x] [--log-y] [--xmin V] [--xmax V]\n"
    "                     [--para]] [--out DIR] FILE\n"
    "\n"
    "Fits every line of the data file FILE (blocks of \"parameter, 1 , count\" and\n"
    "\"X,Y\" records, CP932) piecewise with the best equation forms and generates the\n"
    "Calc subroutine of the family. FILE may also be a session file of the desktop\n"
    "program (told apart by its content, not by its name); its lines are fitted as\n"
    "the data file of the same lines would be, with the settings given here.\n"
    "\n"
    "  --mode 0|1|2    error evaluation: 0 the largest section error, 1 the mean of\n"
    "                  all section errors, 2 the mean of the two largest (default 2)\n"
    "  --cutoff VALUE  relative precision at which the section search stops,\n"
    "                  0 < VALUE < 0.75, D or E exponents allowed (default 0.00076)\n"
    "  --exclude LIST  coordinate systems not to fit, e.g. 5,6,7 (1 X,Y; 2 Ln X,Y;\n"
    "                  3 X,Ln Y; 4 Ln X,Ln Y; 5 1/X,Y; 6 X,1/Y; 7 1/X,1/Y); at least\n"
    "                  one system must be left (default none)\n"
    "  --min-section N the fewest points a section of a partition may have, 3 to\n"
    "                  10 (default 3: the section search's own bounds)\n"
    "  --lang LANGUAGE the language of the program: basic, the BASIC subroutine\n"
    "                  Calc(XXPP!, YYPP!, ANS00!, EFLG%) (default); c, a C99\n"
    "                  function int kx_calc(double x, double p, double *y); python,\n"
    "                  a Python 3 function kx_calc(x, p) returning (flag, y);\n"
    "                  matlab, a MATLAB/Octave function [flag, y] = kx_calc(x, p);\n"
    "                  javascript, an ES module exporting kx_calc(x, p) returning\n"
    "                  [flag, y]; csharp, a class KxCalc with static int\n"
    "                  Calc(double x, double p, out double y); fortran, a module\n"
    "                  kx_calc_mod with integer function kx_calc(x, p, y), real(8)\n"
    "                  arguments. Each gives the BASIC program's answers and flags\n"
    "  --check         print the check of the program against the points instead\n"
    "                  of the program (tab-separated, UTF-8): per line the number of\n"
    "                  points, the mean and largest relative deviation, the point of\n"
    "                  the largest, the largest deviation between points and where,\n"
    "                  and the flags (EFLG) met; then per point X, Y, the value Calc\n"
    "                  returns at X and the line's parameter, the relative deviation\n"
    "                  |Calc - Y| / |Y| (for a Y of 0 relative to the line's largest\n"
    "                  |Y|) and the flag; then between every two neighbouring points\n"
    "                  at the middle of their X the same against a monotone\n"
    "                  piecewise cubic through the line's points; with --out the\n"
    "                  files are written as well\n"
    "  --check-limit VALUE\n"
    "                  the largest deviation the check accepts (default 0.01);\n"
    "                  implies --check\n"
    "  --out DIR       write the program (program.txt, kx_calc.c, kx_calc.py,\n"
    "                  kx_calc.m, kx_calc.mjs, KxCalc.cs or kx_calc.f90 by --lang),\n"
    "                  equations.txt, results.txt and history.txt into DIR,\n"
    "                  created when missing; the listings are CP932 with CR LF, the\n"
    "                  sources ASCII with LF. Without it (and without\n"
    "                  --plot) the program, and with --check always the check, is\n"
    "                  printed to standard output in UTF-8\n"
    "  --plot FILE     write the analysis plot of the fitted family, data marks and\n"
    "                  fitted curves, into FILE, as the plot window draws it; the\n"
    "                  format by the name's extension: .pdf (a page as printed),\n"
    "                  .svg or .png. No display is needed\n"
    "  --log-x, --log-y\n"
    "                  a logarithmic X or Y axis on the plot\n"
    "  --xmin V, --xmax V\n"
    "                  the X range of the plot; 0 (the default) stands for the\n"
    "                  data's limit. Xmax must lie above Xmin, by more than a\n"
    "                  float resolves, and both above 0 with --log-x\n"
    "  --para          write each line's parameter value onto the plot\n"
    "  --help          show this text\n"
    "\n"
    "Exit status:\n"
    "  0  done.\n"
    "  1  the data file or an output was refused, or writing to standard output\n"
    "     failed: errors are reported with the system's own messages on standard\n"
    "     error, followed by the reason in brackets. Nothing is written, unless\n"
    "     the message names it (a listing already renamed into place that could\n"
    "     not be put back, a plot written before the listings failed, or what\n"
    "     standard output took before its write failed).\n"
    "  2  a malformed command line, an unknown option or a value its option\n"
    "     refuses; nothing written.\n"
    "  3  done, but the result falls short, and standard error says where: on a\n"
    "     section of a line no equation form deviates less than 1000000, so the\n"
    "     least-bad one was taken; or, with --check, a point or the middle\n"
    "     between two points deviates beyond the limit or Calc cannot compute it\n"
    "     (flag 7).\n";

ParsedOptions ParseFitOptions(const std::vector<std::string_view>& arguments,
                              PlotNameCheck plotName) {
    ParsedOptions parsed;
    Parse parse(parsed.options, plotName);
    for (std::size_t i = 0; i < arguments.size() && !parse.finished && !parsed.error; ++i) {
        parsed.error = TakeArgument(arguments, i, parse);
    }
    if (!parsed.error && !parse.finished) parsed.error = CheckComplete(parse);
    return parsed;
}

}  // namespace kx::cli

#include "cli/fit_options.h"

#include <cmath>

#include "cli/fit_messages.h"
#include "core/data/numeric_text.h"
#include "core/data/text_chars.h"
#ifdef KX_WITH_PLOT
#include "render/plot_export.h"
#endif

namespace kx::cli {
namespace {

constexpr const char* kInputError = "入力ｴﾗｰ";
constexpr const char* kNoSystemLeft = "計算座標系なし";
#ifdef KX_WITH_PLOT
constexpr const char* kBadFileName = "ﾌｧｲﾙ名不正";
#endif

// The exclusion list: coordinate systems 1..7, separated by commas.
std::optional<OptionError> ApplyExclusions(std::string_view list, core::CalcSettings& settings) {
    settings.excludedSystem.fill(0);
    if (core::TrimBlanks(list).empty()) return std::nullopt;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = list.find(',', start);
        const std::string_view item = core::TrimBlanks(
            list.substr(start, comma == std::string_view::npos ? list.npos : comma - start));
        if (item.size() != 1 || item[0] < '1' || item[0] > '7') {
            return OptionError{"--exclude " + std::string(list), kInputError};
        }
        settings.excludedSystem[static_cast<std::size_t>(item[0] - '0')] = 1;
        if (comma == std::string_view::npos) break;
        start = comma + 1;
    }
    for (int system = 1; system <= 7; ++system) {
        if (settings.excludedSystem[static_cast<std::size_t>(system)] == 0) return std::nullopt;
    }
    return OptionError{"--exclude " + std::string(list), kNoSystemLeft};
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

// An X limit of the plot: a number a Single holds; 0 follows the data.
bool IsPlotLimit(std::string_view text) {
    const std::string_view trimmed = core::TrimBlanks(text);
    return !trimmed.empty() && core::IsNumericText(trimmed) &&
           core::FitsSingle(core::ValueOfText(trimmed));
}

}  // namespace

const char* const kUsageText =
    "Usage: kuvatelix-fit [--mode 0|1|2] [--cutoff VALUE] [--exclude LIST]\n"
    "                     [--lang basic|c|python] [--check] [--check-limit VALUE]\n"
    "                     [--plot FILE [--log-x] [--log-y] [--xmin V] [--xmax V]\n"
    "                     [--para]] [--out DIR] FILE\n"
    "\n"
    "Fits every line of the data file FILE (blocks of \"parameter, 1 , count\" and\n"
    "\"X,Y\" records, CP932) piecewise with the best equation forms and generates the\n"
    "Calc subroutine of the family.\n"
    "\n"
    "  --mode 0|1|2    error evaluation: 0 the largest section error, 1 the mean of\n"
    "                  all section errors, 2 the mean of the two largest (default 2)\n"
    "  --cutoff VALUE  relative precision at which the section search stops,\n"
    "                  0 < VALUE < 0.75, D or E exponents allowed (default 0.00076)\n"
    "  --exclude LIST  coordinate systems not to fit, e.g. 5,6,7 (1 X,Y; 2 Ln X,Y;\n"
    "                  3 X,Ln Y; 4 Ln X,Ln Y; 5 1/X,Y; 6 X,1/Y; 7 1/X,1/Y); at least\n"
    "                  one system must be left (default none)\n"
    "  --lang LANGUAGE the language of the program: basic, the BASIC subroutine\n"
    "                  Calc(XXPP!, YYPP!, ANS00!, EFLG%) (default); c, a C99\n"
    "                  function int kx_calc(double x, double p, double *y); python,\n"
    "                  a Python 3 function kx_calc(x, p) returning (flag, y); C and\n"
    "                  Python give the BASIC program's answers and flags\n"
    "  --check         print the check of the program against the points instead\n"
    "                  of the program (tab-separated, UTF-8): per line the number of\n"
    "                  points, the mean and largest relative deviation, the point of\n"
    "                  the largest and the flags (EFLG) met; then per point X, Y, the\n"
    "                  value Calc returns at X and the line's parameter, the relative\n"
    "                  deviation |Calc - Y| / |Y| (for a Y of 0 relative to the\n"
    "                  line's largest |Y|) and the flag; with --out the files are\n"
    "                  written as well\n"
    "  --check-limit VALUE\n"
    "                  the largest deviation the check accepts (default 0.01);\n"
    "                  implies --check\n"
    "  --out DIR       write the program (program.txt, kx_calc.c or kx_calc.py by\n"
    "                  --lang), equations.txt, results.txt and history.txt into DIR,\n"
    "                  created when missing; the listings are CP932 with CR LF, the\n"
    "                  C and Python sources ASCII with LF. Without it (and without\n"
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
    "                  data's limit. Xmax must lie above Xmin, and both above 0\n"
    "                  with --log-x\n"
    "  --para          write each line's parameter value onto the plot\n"
    "  --help          show this text\n"
    "\n"
    "Exit status:\n"
    "  0  done.\n"
    "  1  nothing written: errors are reported with the system's own messages on\n"
    "     standard error, followed by the reason in brackets (should a listing\n"
    "     already renamed into place fail to be put back, or a plot written\n"
    "     before the listings failed, the message names it).\n"
    "  2  a malformed command line; nothing written.\n"
    "  3  done, but the result falls short, and standard error says where: on a\n"
    "     section of a line no equation form deviates less than 1000000, so the\n"
    "     least-bad one was taken; or, with --check, a point deviates beyond the\n"
    "     limit or Calc cannot compute it (flag 7).\n";

ParsedOptions ParseFitOptions(const std::vector<std::string_view>& arguments) {
    ParsedOptions parsed;
    FitOptions& options = parsed.options;
    std::vector<std::string_view> files;
    bool optionsEnded = false;
    std::string plotOptionGiven;  // an option that shapes the plot
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string_view argument = arguments[i];
        if (optionsEnded || argument.size() < 2 || argument.substr(0, 2) != "--") {
            files.push_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        if (argument == "--help") {
            options.help = true;
            return parsed;
        }
        if (argument == "--check") {
            options.check = true;
            continue;
        }
        if (argument == "--log-x" || argument == "--log-y" || argument == "--para") {
            if (argument == "--log-x") options.plot.logX = true;
            if (argument == "--log-y") options.plot.logY = true;
            if (argument == "--para") options.plotLabels = true;
            plotOptionGiven = std::string(argument);
            continue;
        }
        std::string_view name = argument;
        std::optional<std::string_view> value;
        if (const std::size_t equals = argument.find('='); equals != std::string_view::npos) {
            name = argument.substr(0, equals);
            value = argument.substr(equals + 1);
        }
        if (name != "--mode" && name != "--cutoff" && name != "--exclude" && name != "--out" &&
            name != "--lang" && name != "--check-limit" && name != "--plot" && name != "--xmin" &&
            name != "--xmax") {
            parsed.error = OptionError{std::string(argument), "unknown option", true};
            return parsed;
        }
        if (!value) {
            if (i + 1 >= arguments.size()) {
                parsed.error = OptionError{std::string(name), "a value is missing", true};
                return parsed;
            }
            value = arguments[++i];
        }
        const std::string subject = std::string(name) + " " + std::string(*value);
        if (name == "--mode") {
            const std::optional<int16_t> mode = CheckedModeOption(*value);
            if (!mode) {
                parsed.error = OptionError{subject, kInputError};
                return parsed;
            }
            options.settings.errorMode = *mode;
        } else if (name == "--cutoff") {
            const std::optional<float> cutoff = core::CheckedCutoffPrecision(*value);
            if (!cutoff) {
                parsed.error = OptionError{subject, kInputError};
                return parsed;
            }
            options.settings.cutoffPrecision = *cutoff;
        } else if (name == "--exclude") {
            if (auto error = ApplyExclusions(*value, options.settings)) {
                parsed.error = std::move(error);
                return parsed;
            }
        } else if (name == "--lang") {
            const std::optional<core::ProgramLanguage> language = LanguageOption(*value);
            if (!language) {
                parsed.error = OptionError{subject, "unknown language", true};
                return parsed;
            }
            options.language = *language;
        } else if (name == "--check-limit") {
            const std::optional<double> limit = CheckLimitOption(*value);
            if (!limit) {
                parsed.error = OptionError{subject, kInputError};
                return parsed;
            }
            options.check = true;
            options.checkLimit = *limit;
        } else if (name == "--xmin" || name == "--xmax") {
            if (!IsPlotLimit(*value)) {
                parsed.error = OptionError{subject, kInputError};
                return parsed;
            }
            (name == "--xmin" ? options.plot.xMinText : options.plot.xMaxText) =
                std::string(core::TrimBlanks(*value));
            plotOptionGiven = std::string(name);
        } else if (name == "--plot") {
            if (value->empty()) {
                parsed.error = OptionError{std::string(name), "a value is missing", true};
                return parsed;
            }
#ifdef KX_WITH_PLOT
            if (!render::PlotFileFormatOf(*value)) {
                parsed.error =
                    OptionError{std::string(*value),
                                kBadFileName + Because("the name must end in .pdf, .svg or .png")};
                return parsed;
            }
            options.plotFile = std::string(*value);
#else
            parsed.error = OptionError{std::string(name), "not available in this build", true};
            return parsed;
#endif
        } else {
            if (value->empty()) {
                parsed.error = OptionError{std::string(name), "a value is missing", true};
                return parsed;
            }
            options.outFolder = std::string(*value);
        }
    }
    if (!plotOptionGiven.empty() && !options.plotFile) {
        parsed.error =
            OptionError{plotOptionGiven, "shapes the plot, but no --plot FILE is given", true};
        return parsed;
    }
    if (files.size() != 1) {
        parsed.error = OptionError{
            "FILE", files.empty() ? "no data file given" : "more than one data file given", true};
        return parsed;
    }
    options.dataFile = std::string(files.front());
    return parsed;
}

}  // namespace kx::cli

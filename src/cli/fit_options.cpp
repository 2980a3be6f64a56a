#include "cli/fit_options.h"

#include "core/data/numeric_text.h"
#include "core/data/text_chars.h"

namespace kx::cli {
namespace {

constexpr const char* kInputError = "入力ｴﾗｰ";
constexpr const char* kNoSystemLeft = "計算座標系なし";

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

}  // namespace

const char* const kUsageText =
    "Usage: kuvatelix-fit [--mode 0|1|2] [--cutoff VALUE] [--exclude LIST] [--out DIR] FILE\n"
    "\n"
    "Fits every line of the data file FILE (blocks of \"parameter, 1 , count\" and\n"
    "\"X,Y\" records, CP932) piecewise with the best equation forms and generates the\n"
    "BASIC Calc subroutine of the family.\n"
    "\n"
    "  --mode 0|1|2    error evaluation: 0 the largest section error, 1 the mean of\n"
    "                  all section errors, 2 the mean of the two largest (default 2)\n"
    "  --cutoff VALUE  relative precision at which the section search stops,\n"
    "                  0 < VALUE < 0.75, D or E exponents allowed (default 0.00076)\n"
    "  --exclude LIST  coordinate systems not to fit, e.g. 5,6,7 (1 X,Y; 2 Ln X,Y;\n"
    "                  3 X,Ln Y; 4 Ln X,Ln Y; 5 1/X,Y; 6 X,1/Y; 7 1/X,1/Y); at least\n"
    "                  one system must be left (default none)\n"
    "  --out DIR       write program.txt, equations.txt, results.txt and history.txt\n"
    "                  (CP932, CR LF) into DIR, created when missing; without it the\n"
    "                  program is printed to standard output in UTF-8\n"
    "  --help          show this text\n"
    "\n"
    "Errors are reported with the system's own messages on standard error, followed\n"
    "by the reason in brackets; the exit status is then 1 (2 for a malformed command\n"
    "line) and no file is written (should a listing already renamed into place fail\n"
    "to be put back, the message names it). Exit status 3: the output was written,\n"
    "but on a section of a line no equation form deviates less than 1000000, so the\n"
    "least-bad one was taken; standard error names the line and the section.\n";

ParsedOptions ParseFitOptions(const std::vector<std::string_view>& arguments) {
    ParsedOptions parsed;
    FitOptions& options = parsed.options;
    std::vector<std::string_view> files;
    bool optionsEnded = false;
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
        std::string_view name = argument;
        std::optional<std::string_view> value;
        if (const std::size_t equals = argument.find('='); equals != std::string_view::npos) {
            name = argument.substr(0, equals);
            value = argument.substr(equals + 1);
        }
        if (name != "--mode" && name != "--cutoff" && name != "--exclude" && name != "--out") {
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
        } else {
            if (value->empty()) {
                parsed.error = OptionError{std::string(name), "a value is missing", true};
                return parsed;
            }
            options.outFolder = std::string(*value);
        }
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

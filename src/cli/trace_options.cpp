#include "cli/trace_options.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <iterator>

#include "core/data/data_set.h"
#include "core/data/numeric_text.h"
#include "core/data/text_chars.h"

namespace kx::cli {
namespace {

using Refused = std::optional<TraceOptionError>;

Refused Refuse(std::string_view subject, TraceRefusal refusal) {
    return TraceOptionError{std::string(subject), refusal};
}

struct Given {
    std::string_view name;
    std::string_view value;
    std::string Subject() const { return std::string(name) + " " + std::string(value); }
};

struct Parse {
    explicit Parse(TraceOptions& into) : options(into) {}
    TraceOptions& options;
    std::vector<std::string_view> pictures;
    bool xGiven = false, yGiven = false;
    bool optionsEnded = false;
    bool finished = false;
};

// A plain decimal number, fractions and exponents allowed, nothing after it.
std::optional<double> NumberOf(std::string_view text) {
    const std::string trimmed(core::TrimBlanks(text));
    if (trimmed.empty()) return std::nullopt;
    char* end = nullptr;
    const double value = std::strtod(trimmed.c_str(), &end);
    if (end != trimmed.c_str() + trimmed.size() || !std::isfinite(value)) return std::nullopt;
    return value;
}

// The fields of a comma-separated list; the last takes the rest when `fields`
// are reached.
std::vector<std::string_view> FieldsOf(std::string_view text, std::size_t fields) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (parts.size() + 1 < fields) {
        const std::size_t comma = text.find(',', start);
        if (comma == std::string_view::npos) break;
        parts.push_back(text.substr(start, comma - start));
        start = comma + 1;
    }
    parts.push_back(text.substr(start));
    return parts;
}

Refused AxisOf(const Given& given, AxisOption& axis, bool& given_) {
    const std::vector<std::string_view> parts = FieldsOf(given.value, 5);
    std::vector<double> numbers;
    for (std::string_view part : parts) {
        const std::optional<double> n = NumberOf(part);
        if (!n) break;
        numbers.push_back(*n);
    }
    if (parts.size() != 4 || numbers.size() != 4) {
        return Refuse(given.Subject(), TraceRefusal::kBadAxis);
    }
    axis = {numbers[0], numbers[1], numbers[2], numbers[3]};
    given_ = true;
    return std::nullopt;
}

// "PX,PY,PARAM": the parameter is a number text as a line's parameter box
// takes it, so that the data file reads back.
Refused CurveOf(const Given& given, Parse& parse) {
    const std::vector<std::string_view> parts = FieldsOf(given.value, 3);
    if (parts.size() != 3) return Refuse(given.Subject(), TraceRefusal::kBadCurve);
    const std::optional<double> px = NumberOf(parts[0]);
    const std::optional<double> py = NumberOf(parts[1]);
    const std::string_view parameter = core::TrimBlanks(parts[2]);
    if (!px || !py || parameter.empty() || !core::IsNumericText(parameter) ||
        !core::FitsSingle(core::ValueOfText(parameter))) {
        return Refuse(given.Subject(), TraceRefusal::kBadCurve);
    }
    if (parse.options.curves.size() >= static_cast<std::size_t>(core::kMaxLines)) {
        return Refuse(given.Subject(), TraceRefusal::kTooManyCurves);
    }
    parse.options.curves.push_back({{*px, *py}, std::string(parameter)});
    return std::nullopt;
}

Refused CountOf(const Given& given, Parse& parse) {
    const std::optional<double> n = NumberOf(given.value);
    if (!n || *n != std::floor(*n) || *n < 2 || *n > core::kMostTracePoints) {
        return Refuse(given.Subject(), TraceRefusal::kBadCount);
    }
    parse.options.settings.pointCount = static_cast<int>(*n);
    return std::nullopt;
}

Refused ToleranceOf(const Given& given, Parse& parse) {
    const std::optional<double> t = NumberOf(given.value);
    if (!t || !(*t > 0)) return Refuse(given.Subject(), TraceRefusal::kBadTolerance);
    parse.options.settings.tolerance = *t;
    return std::nullopt;
}

enum class Takes { kNothing, kValue };

struct Option {
    std::string_view name;
    Takes takes;
    Refused (*apply)(const Given& given, Parse& parse);
};

// Every option. A later --x, --y, --points or --tolerance overrides an
// earlier one; every --curve adds a line; the first refusal ends the parse.
constexpr Option kOptions[] = {
    {"--x", Takes::kValue,
     [](const Given& g, Parse& p) { return AxisOf(g, p.options.x, p.xGiven); }},
    {"--y", Takes::kValue,
     [](const Given& g, Parse& p) { return AxisOf(g, p.options.y, p.yGiven); }},
    {"--log-x", Takes::kNothing,
     [](const Given&, Parse& p) -> Refused {
         p.options.logX = true;
         return std::nullopt;
     }},
    {"--log-y", Takes::kNothing,
     [](const Given&, Parse& p) -> Refused {
         p.options.logY = true;
         return std::nullopt;
     }},
    {"--curve", Takes::kValue, CurveOf},
    {"--points", Takes::kValue, CountOf},
    {"--tolerance", Takes::kValue, ToleranceOf},
    {"--out", Takes::kValue,
     [](const Given& g, Parse& p) -> Refused {
         if (g.value.empty()) return Refuse(g.name, TraceRefusal::kMissingValue);
         p.options.outFile = std::string(g.value);
         return std::nullopt;
     }},
    {"--session", Takes::kValue,
     [](const Given& g, Parse& p) -> Refused {
         if (g.value.empty()) return Refuse(g.name, TraceRefusal::kMissingValue);
         p.options.sessionFile = std::string(g.value);
         return std::nullopt;
     }},
    {"--help", Takes::kNothing,
     [](const Given&, Parse& p) -> Refused {
         p.options.help = p.finished = true;
         return std::nullopt;
     }},
    {"--", Takes::kNothing,
     [](const Given&, Parse& p) -> Refused {
         p.optionsEnded = true;
         return std::nullopt;
     }},
};

const Option* OptionNamed(std::string_view name) {
    const auto* found = std::find_if(std::begin(kOptions), std::end(kOptions),
                                     [name](const Option& option) { return option.name == name; });
    return found == std::end(kOptions) ? nullptr : found;
}

// Takes the argument at `i` with its value (after "=" or the next argument);
// a picture unless it starts with "--".
Refused TakeArgument(const std::vector<std::string_view>& arguments, std::size_t& i,
                     Parse& parse) {
    const std::string_view argument = arguments[i];
    if (parse.optionsEnded || argument.substr(0, 2) != "--") {
        parse.pictures.push_back(argument);
        return std::nullopt;
    }
    const std::size_t equals = argument.find('=');
    const std::string_view name = argument.substr(0, equals);
    const Option* option = OptionNamed(name);
    if (!option || (option->takes == Takes::kNothing && equals != std::string_view::npos)) {
        return Refuse(argument, TraceRefusal::kUnknownOption);
    }
    Given given{name, {}};
    if (option->takes == Takes::kValue) {
        if (equals != std::string_view::npos) {
            given.value = argument.substr(equals + 1);
        } else if (i + 1 < arguments.size()) {
            given.value = arguments[++i];
        } else {
            return Refuse(name, TraceRefusal::kMissingValue);
        }
    }
    return option->apply(given, parse);
}

Refused CheckComplete(Parse& parse) {
    if (!parse.xGiven) return Refuse("--x", TraceRefusal::kMissingAxis);
    if (!parse.yGiven) return Refuse("--y", TraceRefusal::kMissingAxis);
    if (parse.options.curves.empty()) return Refuse("--curve", TraceRefusal::kNoCurve);
    if (parse.pictures.empty()) return Refuse("PICTURE", TraceRefusal::kNoPicture);
    if (parse.pictures.size() > 1) return Refuse("PICTURE", TraceRefusal::kMoreThanOnePicture);
    parse.options.picture = std::string(parse.pictures.front());
    return std::nullopt;
}

}  // namespace

const char* TraceRefusalText(TraceRefusal refusal) {
    switch (refusal) {
        case TraceRefusal::kUnknownOption: return "unknown option";
        case TraceRefusal::kMissingValue: return "a value is missing";
        case TraceRefusal::kBadAxis: return "not four numbers PIXEL0,PIXEL1,VALUE0,VALUE1";
        case TraceRefusal::kBadCurve: return "not PX,PY,PARAM with a number as PARAM";
        case TraceRefusal::kBadCount: return "not a whole number of points from 2 to 100";
        case TraceRefusal::kBadTolerance: return "not a colour difference above 0";
        case TraceRefusal::kMissingAxis: return "the calibration of this axis is missing";
        case TraceRefusal::kNoCurve: return "no curve given";
        case TraceRefusal::kTooManyCurves: return "more than 10 curves given";
        case TraceRefusal::kNoPicture: return "no picture given";
        case TraceRefusal::kMoreThanOnePicture: return "more than one picture given";
    }
    return "";
}

const char* const kTraceUsageText =
    "Usage: kuvatelix-trace PICTURE --x PX0,PX1,X0,X1 --y PY0,PY1,Y0,Y1 [--log-x]\n"
    "                       [--log-y] --curve PX,PY,PARAM [--curve PX,PY,PARAM ...]\n"
    "                       [--points N] [--tolerance T] [--out FILE]\n"
    "                       [--session FILE]\n"
    "\n"
    "Traces each curve of a graph picture (BMP, JPEG, PNG or TIFF) from one seed on\n"
    "it and writes the points as a data file (a block \"parameter, 1 , count\" and\n"
    "\"X,Y\" records per curve, in the order given, CP932 with CR LF) that\n"
    "kuvatelix-fit and the load window read.\n"
    "\n"
    "Pixel positions are picture pixels, fractions allowed: the centre of the\n"
    "top-left pixel is 0,0, x grows to the right and y downwards.\n"
    "\n"
    "  --x PX0,PX1,X0,X1  the columns PX0 and PX1 of the X values X0 and X1 (the\n"
    "                     origin and the X end of the panel's calibration)\n"
    "  --y PY0,PY1,Y0,Y1  the rows PY0 and PY1 of the Y values Y0 and Y1 (the\n"
    "                     origin and the Y end)\n"
    "  --log-x, --log-y   a logarithmic X or Y axis\n"
    "  --curve PX,PY,PARAM\n"
    "                     a seed on a curve and the parameter of its line; up to\n"
    "                     10 curves\n"
    "  --points N         points per curve, 2 to 100, both ends included, denser\n"
    "                     where the curve bends (default 40)\n"
    "  --tolerance T      how far (CIE76 colour difference) a pixel's colour may lie\n"
    "                     from the curve's, above 0 (default 30)\n"
    "  --out FILE         write the data file to FILE (replaced whole, or left as\n"
    "                     it was on a failure); without it (and without\n"
    "                     --session), to standard output\n"
    "  --session FILE     write a session file of the desktop program: the\n"
    "                     picture's bytes, the calibration, the traced lines with\n"
    "                     their seeds and settings, and their points as the data\n"
    "                     file has them; kuvatelix-fit and \"作業の呼込み\" read it.\n"
    "                     With --out as well, both files are written or neither\n"
    "  --help             show this text\n"
    "\n"
    "Exit status:\n"
    "  0  done.\n"
    "  1  nothing written; the reason on standard error: a picture that cannot be\n"
    "     read, a calibration the panel would refuse, a seed on no curve (the\n"
    "     curve is named), or a file that cannot be written.\n"
    "  2  a malformed command line; nothing written.\n";

ParsedTraceOptions ParseTraceOptions(const std::vector<std::string_view>& arguments) {
    ParsedTraceOptions parsed;
    Parse parse(parsed.options);
    for (std::size_t i = 0; i < arguments.size() && !parse.finished && !parsed.error; ++i) {
        parsed.error = TakeArgument(arguments, i, parse);
    }
    if (!parsed.error && !parse.finished) parsed.error = CheckComplete(parse);
    return parsed;
}

}  // namespace kx::cli

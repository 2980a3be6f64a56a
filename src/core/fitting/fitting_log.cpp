#include "core/fitting/fitting_log.h"

#include <bit>
#include <cassert>
#include <charconv>

#include "core/data/numeric_text.h"
#include "core/fitting/calc_settings.h"

namespace kx::core {

void AppendRightAligned(std::string& line, int value, std::size_t width) {
    char digits[16];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    const std::size_t count = static_cast<std::size_t>(end - digits);
    if (count < width) line.append(width - count, ' ');
    line.append(count > width ? end - width : digits, end);
}

namespace {

std::string CoefficientLine(const std::array<float, 5>& c) {
    static constexpr const char* kLabels[5] = {"", "C1=", "  C2=", "  C3=", "  C4="};
    std::string line;
    line.reserve(64);
    for (int k = 1; k <= 4; ++k) {
        line += kLabels[k];
        line += StrText(c[k]);
    }
    return line;
}

std::string PlacementLine(const FittingLog::Section& s, int last) {
    std::string line;
    line.reserve(64);
    line += "[Para:";
    AppendRightAligned(line, s.line, 2);
    line += "]  from ";
    AppendRightAligned(line, s.firstIndex, 3);
    line += " to ";
    AppendRightAligned(line, last, 3);
    line += "       EQ No=";
    AppendRightAligned(line, s.form, 2);
    line += "    誤差=";
    line += StrText(s.error);
    return line;
}

std::string ScoreLine(float e) {
    return "  Deviation <<< " + StrText(e) + "  Gr= " + StrText(LogGr(e)) + " >>>";
}

}  // namespace

std::string FittingLog::operator[](std::size_t index) const {
    assert(index < records_.size());
    const Record& r = records_[index];
    switch (r.kind) {
        case Kind::kText: return texts_[r.ref];
        case Kind::kCoefficients: return CoefficientLine(sections_[r.ref].c);
        case Kind::kPlacement: return PlacementLine(sections_[r.ref], r.last);
        case Kind::kRule: return std::string(78, '-');
        case Kind::kGap: return "  ";
        case Kind::kScore: return ScoreLine(std::bit_cast<float>(r.ref));
    }
    return {};
}

std::vector<std::string> FittingLog::Texts(std::size_t first) const {
    std::vector<std::string> texts;
    if (first >= size()) return texts;
    texts.reserve(size() - first);
    for (std::size_t i = first; i < size(); ++i) texts.push_back((*this)[i]);
    return texts;
}

void FittingLog::AddText(std::string line) {
    records_.push_back({Kind::kText, 0, static_cast<uint32_t>(texts_.size())});
    texts_.push_back(std::move(line));
}

std::size_t FittingLog::AddSection(const Section& section) {
    sections_.push_back(section);
    return sections_.size() - 1;
}

void FittingLog::AddCoefficients(std::size_t section) {
    assert(section < sections_.size());
    records_.push_back({Kind::kCoefficients, 0, static_cast<uint32_t>(section)});
}

void FittingLog::AddPlacement(std::size_t section, int last) {
    assert(section < sections_.size());
    records_.push_back(
        {Kind::kPlacement, static_cast<int16_t>(last), static_cast<uint32_t>(section)});
}

void FittingLog::AddRule() {
    records_.push_back({Kind::kRule, 0, 0});
}

void FittingLog::AddGap() {
    records_.push_back({Kind::kGap, 0, 0});
}

void FittingLog::AddScore(float deviation) {
    records_.push_back({Kind::kScore, 0, std::bit_cast<uint32_t>(deviation)});
}

}  // namespace kx::core

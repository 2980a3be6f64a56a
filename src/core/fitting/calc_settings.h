#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string_view>

// The three settings that steer every fitting run, and the grade Gr printed
// beside an error or a precision.
namespace kx::core {

inline constexpr int16_t kStandardErrorMode = 2;
inline constexpr float kStandardCutoffPrecision = 0.00076f;
// The fewest points a section of a partition may have: 3 leaves the section
// search its own bounds (a three-section partition may end in two points);
// up to 10 for users who prefer fewer, longer sections.
inline constexpr int16_t kStandardMinSection = 3;
inline constexpr int16_t kLargestMinSection = 10;

struct CalcSettings {
    // 0: the largest section error; 1: the point-weighted mean of all section
    // errors; 2: the point-weighted mean of the two largest.
    int16_t errorMode = kStandardErrorMode;
    // Mean relative error at or below which the section search of a line stops.
    float cutoffPrecision = kStandardCutoffPrecision;
    // Entries 1..7: 1 = coordinate system not fitted. 0 and 8..10 are unused.
    std::array<int16_t, 11> excludedSystem{};
    int16_t minSectionPoints = kStandardMinSection;
    bool operator==(const CalcSettings&) const = default;
};

// Every section of a partition holds the minimum of points. The standard
// minimum leaves the section search its own bounds.
inline bool SectionsLongEnough(int minSectionPoints, std::initializer_list<int> sectionPoints) {
    if (minSectionPoints <= kStandardMinSection) return true;
    for (int points : sectionPoints) {
        if (points < minSectionPoints) return false;
    }
    return true;
}

// The checks of the conditions window. A precision text is taken when it is a
// number text whose value, as a float, lies strictly between 0 and 0.75.
std::optional<float> CheckedCutoffPrecision(std::string_view text);
// A mode text is taken when its value is exactly 0, 1 or 2.
std::optional<int16_t> CheckedErrorMode(std::string_view text);
// A minimum section size is taken when its text is a whole number from 3 to 10.
std::optional<int16_t> CheckedMinSection(std::string_view text);

// Gr(e) = -12.3315 ln(e) - 13.5774, cut to two decimals. None for e <= 0 (or
// not a number), where the logarithm is undefined.
std::optional<float> Gr(float e);

// The grade as the fitting log prints it: an error of exactly 0 counts as
// 1E-10, and a grade that is not positive is 0.
float LogGr(float e);

}  // namespace kx::core

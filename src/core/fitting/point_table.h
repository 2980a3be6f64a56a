#pragma once

#include <array>
#include <cstdint>

#include "core/data/data_set.h"

namespace kx::core {

// The points of a line read once from their texts, with the transformed values
// that the coordinate systems use. A section is a run of consecutive entries.
struct PointTable {
    int count = 0;
    std::array<double, kMaxPoints + 1> x{};
    std::array<double, kMaxPoints + 1> y{};
    std::array<double, kMaxPoints + 1> lnX{};
    std::array<double, kMaxPoints + 1> lnY{};
    std::array<double, kMaxPoints + 1> invX{};
    std::array<double, kMaxPoints + 1> invY{};
    // Observed values in plain units as the log and reciprocal systems see
    // them: exp(Ln Y) and 1 / (1 / Y).
    std::array<double, kMaxPoints + 1> expLnY{};
    std::array<double, kMaxPoints + 1> invInvY{};
    // Changes, to a value no table had before, whenever an entry is set: a
    // fitter that keeps sums of a table knows them for this state only.
    std::uint64_t revision = 0;
};

// Sets entry `index` (1-based) from the values of its X and Y texts. Entries
// are written through this function only.
void SetTablePoint(PointTable& table, int index, double x, double y);

// Fills entries 1..count from texts, converted with ValueOfText.
void LoadPointTable(PointTable& table, const LineTexts& xTexts, const LineTexts& yTexts,
                    int count);

}  // namespace kx::core

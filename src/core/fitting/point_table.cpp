#include "core/fitting/point_table.h"

#include <atomic>
#include <cassert>
#include <cmath>

#include "core/data/numeric_text.h"
#include "core/fitting/elementary.h"

namespace kx::core {

void SetTablePoint(PointTable& t, int i, double x, double y) {
    static std::atomic<std::uint64_t> revisions{0};
    t.revision = ++revisions;
    t.x[i] = x;
    t.y[i] = y;
    t.lnX[i] = x > 0.0 ? Log(x) : 0.0;
    t.lnY[i] = y > 0.0 ? Log(y) : 0.0;
    t.invX[i] = x != 0.0 ? 1.0 / x : 0.0;
    t.invY[i] = y != 0.0 ? 1.0 / y : 0.0;
    t.expLnY[i] = y > 0.0 ? std::exp(t.lnY[i]) : 0.0;
    t.invInvY[i] = y != 0.0 ? 1.0 / t.invY[i] : 0.0;
}

void LoadPointTable(PointTable& table, const LineTexts& xTexts, const LineTexts& yTexts,
                    int count) {
    assert(count >= 0 && count <= kMaxPoints);
    table.count = count;
    for (int i = 1; i <= count; ++i) {
        SetTablePoint(table, i, ValueOfText(xTexts[i]), ValueOfText(yTexts[i]));
    }
}

}  // namespace kx::core

#include "core/data/sort_pairs.h"

#include <cassert>
#include <utility>

#include "core/data/numeric_text.h"

namespace kx::core {

void SortPairs(std::span<float> keys, std::span<float> companions, int n) {
    assert(n >= 0 && static_cast<std::size_t>(n) < keys.size() &&
           static_cast<std::size_t>(n) < companions.size());
    if (n < 2) return;

    // The smaller part is always worked on first, so the depth stays within
    // log2(n): 7 for the 100 points a line holds, 16 leaves room to spare.
    struct Range {
        int lo, hi;
    };
    Range stack[16];
    int depth = 0;
    stack[depth++] = {1, n};

    while (depth > 0) {
        auto [lo, hi] = stack[--depth];
        while (lo < hi) {
            const int mid = static_cast<int>(RoundHalfEven((lo + hi) / 2.0));
            const float pivot = keys[mid];
            int i = lo;
            int j = hi;
            do {
                while (keys[i] < pivot) ++i;
                while (pivot < keys[j]) --j;
                if (i <= j) {
                    std::swap(keys[i], keys[j]);
                    std::swap(companions[i], companions[j]);
                    ++i;
                    --j;
                }
            } while (i <= j);

            if ((hi - i) < (j - lo)) {
                if (lo < j) {
                    assert(depth < 16);
                    stack[depth++] = {lo, j};
                }
                lo = i;
            } else {
                if (i < hi) {
                    assert(depth < 16);
                    stack[depth++] = {i, hi};
                }
                hi = j;
            }
        }
    }
}

}  // namespace kx::core

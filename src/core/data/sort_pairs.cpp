#include "core/data/sort_pairs.h"

#include <cassert>
#include <utility>

#include "core/data/numeric_text.h"

namespace kx::core {
namespace {

struct Range {
    int lo, hi;
};

// The smaller part is always worked on first, so the depth stays within
// log2(n): 7 for the 100 points a line holds, 16 leaves room to spare.
class PendingRanges {
public:
    bool empty() const { return depth_ == 0; }
    void push(Range range) {
        assert(depth_ < 16);
        stack_[depth_++] = range;
    }
    Range pop() { return stack_[--depth_]; }

private:
    Range stack_[16];
    int depth_ = 0;
};

// Where a partition leaves its range lo..hi: the keys of lo..leftEnd are at
// most the pivot, those of rightStart..hi at least it.
struct Split {
    int leftEnd, rightStart;
};

// Partitions lo..hi around the key in its middle.
Split Partition(std::span<float> keys, std::span<float> companions, int lo, int hi) {
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
    return {j, i};
}

}  // namespace

void SortPairs(std::span<float> keys, std::span<float> companions, int n) {
    assert(n >= 0 && static_cast<std::size_t>(n) < keys.size() &&
           static_cast<std::size_t>(n) < companions.size());
    if (n < 2) return;

    PendingRanges pending;
    pending.push({1, n});
    while (!pending.empty()) {
        auto [lo, hi] = pending.pop();
        while (lo < hi) {
            const Split split = Partition(keys, companions, lo, hi);
            // The larger part waits; the smaller is sorted next.
            if ((hi - split.rightStart) < (split.leftEnd - lo)) {
                if (lo < split.leftEnd) pending.push({lo, split.leftEnd});
                lo = split.rightStart;
            } else {
                if (split.rightStart < hi) pending.push({split.rightStart, hi});
                hi = split.leftEnd;
            }
        }
    }
}

}  // namespace kx::core

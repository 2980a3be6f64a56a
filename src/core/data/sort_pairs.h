#pragma once

#include <span>

namespace kx::core {

// Sorts keys[1..n] ascending in place and moves companions[i] with keys[i].
// An iterative quicksort with an explicit stack of pending ranges that always
// continues with the smaller part; not stable (equal keys may change order).
// Both spans must hold at least n + 1 entries; index 0 is not touched.
void SortPairs(std::span<float> keys, std::span<float> companions, int n);

}  // namespace kx::core

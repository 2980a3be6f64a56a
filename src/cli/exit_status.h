#pragma once

// The exit statuses of kuvatelix-fit and kuvatelix-trace, as their usage texts
// list them (the trace writes or fails whole: it has no status 3).
namespace kx::cli {

inline constexpr int kDone = 0;
// Nothing written: the input, a value or the output was refused.
inline constexpr int kNothingWritten = 1;
inline constexpr int kMalformedCommandLine = 2;
// Written, but a section took the least-bad form or the check found a point
// beyond its limit.
inline constexpr int kFallsShort = 3;

}  // namespace kx::cli

#pragma once

#include <string_view>

#include "core/files/file_outcome.h"

// Standard output as the command-line programs write it: every byte checked,
// so that a full disk, a file-size limit or a closed stream ends in a failure
// the program reports instead of a truncated result taken for a whole one.
namespace kx::core {

// The name a failure of standard output carries as its path.
inline constexpr const char* kStandardOutputName = "standard output";

// To be called first in main(): a standard stream the caller closed gets
// /dev/null opened read-only on its number. No file the program opens later
// can then take that number (and receive what was meant for the stream), and
// a write to it still fails, with EBADF, told as kStreamClosed.
void HoldStandardStreams();

// Writes all of `bytes` to standard output, past short writes and signals.
// A write beyond the file-size limit fails with kFileSizeLimit instead of
// ending the process.
FileOutcome WriteStandardOutput(std::string_view bytes);

}  // namespace kx::core

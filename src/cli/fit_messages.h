#pragma once

#include <cstdint>
#include <string>

#include "core/data/data_set.h"
#include "core/files/data_file.h"
#include "core/files/file_outcome.h"

// The texts kuvatelix-fit prints: the system's own messages, and after them,
// in brackets, why (the windows show the message alone).
namespace kx::cli {

// The DataSet window's message for a preparation state.
const char* PreparationMessage(int16_t state);

// Why a preparation was refused, "" when the message says it all.
std::string PreparationReason(const core::DataSet& data, int16_t state);

// Why a file could not be opened, read or written: "no permission", "a named
// pipe, not a file", "larger than the limit of 4194304 bytes", ...
std::string FileReasonText(core::FileReason reason, int error, std::size_t limit);

// The message of an output that could not be written.
inline constexpr const char* kCannotWrite = "書込めません。";

// That message with why `outcome` failed: "書込めません。 (no permission)".
std::string CannotWriteText(const core::FileOutcome& outcome);

// Why a data file's content was refused.
std::string ContentFaultText(const core::DataFileRead& read);

// " (why)", or "" for an empty reason.
std::string Because(const std::string& reason);

}  // namespace kx::cli

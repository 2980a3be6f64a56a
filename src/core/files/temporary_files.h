#pragma once

#include <sys/types.h>
#include <optional>
#include <string>
#include <string_view>

// The temporary files of the atomic writer. Each is named
// ".NAME.PID.SEED.N.tmp" beside its target NAME: the writer's process id, a
// seed of that process and a counter, so that no two writers meet, and so that
// one killed while writing can be told by its name.
namespace kx::core {

// A fresh temporary name beside `path`.
std::string TemporaryName(const std::string& path);

// The process id a file name of that pattern carries; none for any other name.
std::optional<pid_t> WriterOfTemporary(std::string_view fileName);

// Removes from `folder` the temporary files (regular files of the pattern) of
// writers that no longer run, those a kill during a write left. Files of this
// process, of running processes and of any other name are left alone, and so
// is whatever cannot be removed.
void RemoveStaleTemporaries(const std::string& folder);

}  // namespace kx::core

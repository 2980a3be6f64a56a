#pragma once

#include <string>
#include <vector>

#include "core/files/file_outcome.h"

// The folders a write creates for its files. Exactly the folders made are
// recorded, so that a failed write removes those and nothing that was there
// before: a symbolic link on the path, dangling or looping, stays as it was.
namespace kx::core {

// Creates the missing folders of `folder`, outermost first, appending each one
// made to `made`. A part of the path that exists must be a folder (or a link
// to one). On failure returns the outcome naming the part at fault; the
// folders made so far stay in `made` for the caller to remove.
FileOutcome MakeFolders(const std::string& folder, std::vector<std::string>& made);

// Removes the folders made, innermost first, when they are empty; returns
// those that could not be removed.
std::vector<std::string> RemoveMadeFolders(const std::vector<std::string>& made);

}  // namespace kx::core

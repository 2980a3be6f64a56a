#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "core/files/atomic_file.h"

// Writing a text file of the system: the UTF-8 text is encoded to CP932 in
// full before anything touches the disk, then written atomically.
namespace kx::core {

enum class SaveStatus {
    kSaved = 0,
    kNotEncodable,  // a character of the text has no CP932 form; nothing written
    kCannotWrite,   // the file could not be written; an earlier file is unchanged
};

struct SaveOutcome {
    SaveStatus status = SaveStatus::kSaved;
    std::size_t offset = 0;  // byte offset in the UTF-8 text of the character CP932 lacks
    FileOutcome file;        // details of a failed write
};

SaveOutcome SaveText(const std::string& path, std::string_view utf8Text);

}  // namespace kx::core

#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Whole-file reads and writes. A write goes to a temporary file in the target's
// folder and is renamed over the target only when every byte is on disk, so a
// failed write leaves the earlier file as it was.
namespace kx::core {

enum class FileStatus {
    kOk = 0,
    kCannotOpen,   // the file (or the temporary file beside it) cannot be opened
    kCannotWrite,  // writing, flushing or renaming failed
    kCannotRead,   // reading an opened file failed
    kTooLarge,     // a read found more bytes than the caller accepts
};

struct FileOutcome {
    FileStatus status = FileStatus::kOk;
    int error = 0;  // errno of the failed call, 0 when none
};

FileOutcome WriteFileAtomically(const std::string& path, std::string_view bytes);

// Several files as one step: all are staged first, and only when every one is
// complete are they renamed into place. A failure while staging writes none.
struct FileToWrite {
    std::string path;
    std::string bytes;
};
FileOutcome WriteFilesAtomically(const std::vector<FileToWrite>& files);

struct FileRead {
    FileOutcome outcome;
    std::string bytes;
};

// Reads a whole regular file of at most maxBytes bytes.
FileRead ReadWholeFile(const std::string& path, std::size_t maxBytes);

}  // namespace kx::core

#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/files/file_outcome.h"

// Whole-file reads and writes. A write goes to a temporary file in the target's
// folder and is renamed over the target only when every byte is on disk, so a
// failed write leaves the earlier file as it was. A target the user may not
// open for writing is refused, not replaced; a symbolic link is written
// through, so the link stays and the file it names gets the bytes.
//
// A write beyond the process's file-size limit fails with kFileSizeLimit
// instead of ending the process by SIGXFSZ.
namespace kx::core {

FileOutcome WriteFileAtomically(const std::string& path, std::string_view bytes);

// Several files as one step: all are staged first, and only when every one is
// complete are they renamed into place. A failure while staging writes none; a
// rename that fails puts the files already renamed back as they were. Each
// write also removes, from the folders it writes into, the temporary files
// that writers killed while writing left there (temporary_files.h).
struct FileToWrite {
    std::string path;
    std::string bytes;
    // Where set, it makes the content in the staged temporary file itself, in
    // place of `bytes` (a database built where it is to stand, without a copy
    // in memory): it gets the temporary's open descriptor and its name, and
    // returns 0 or the errno of its failure. The writer then syncs the file
    // and renames it into place as any other.
    std::function<int(int fd, const std::string& temporary)> make = {};
};

struct WriteOptions {
    // Create the missing folders of the targets' paths. Only the folders this
    // write made are removed again after a failure; whatever existed before
    // (a symbolic link among them) is left alone.
    bool makeFolders = false;
};

struct WriteReport {
    FileOutcome outcome;  // kOk, or the failure that ended the write
    // The targets (as given) that hold their new bytes: every one after a
    // success; after a failure those that could not be put back as they were,
    // which a message must then name (normally none).
    std::vector<std::string> written;
    // Folders the write made and left: after a success every one it created;
    // after a failure those it could not remove again (normally none).
    std::vector<std::string> madeFolders;

    bool ok() const { return outcome.status == FileStatus::kOk; }
};

WriteReport WriteFilesAtomically(const std::vector<FileToWrite>& files,
                                 const WriteOptions& options = {});

// A regular file opened for reading, opened without waiting: a folder, a named
// pipe (never waited on) or a device is refused with kCannotOpen and its
// reason. The caller closes `fd`, which is -1 after a refusal.
struct OpenedFile {
    FileOutcome outcome;
    int fd = -1;
};

OpenedFile OpenRegularFile(const std::string& path);

struct FileRead {
    FileOutcome outcome;
    std::string bytes;
};

// Reads a whole regular file of at most maxBytes bytes. A folder, a named pipe
// (which is never waited on) or a device is refused with kCannotOpen and its
// reason; a larger file with kTooLarge and the limit.
FileRead ReadWholeFile(const std::string& path, std::size_t maxBytes);

// Reads the first bytes of a regular file, at most maxBytes of them, refusing
// what is no file as ReadWholeFile does.
FileRead ReadFileHead(const std::string& path, std::size_t maxBytes);

}  // namespace kx::core

#pragma once

#include <cstddef>
#include <string>

// How a file operation ended, as a value a window or the command line turns
// into its message: the status decides the message, the reason says why.
namespace kx::core {

enum class FileStatus {
    kOk = 0,
    kCannotOpen,   // the file (or the temporary file beside it) cannot be opened
    kCannotWrite,  // writing, flushing or renaming failed
    kCannotRead,   // reading an opened file failed
    kTooLarge,     // a read found more bytes than the caller accepts
};

enum class FileReason {
    kNone = 0,
    kNotFound,         // no such file or folder
    kNotAFolder,       // a part of the path that must be a folder is something else
    kIsAFolder,        // a folder where a file is meant
    kNamedPipe,        // a named pipe where a file is meant
    kNotARegularFile,  // a device or a socket where a file is meant
    kNoPermission,     // the user may not read or write it, or the file system is read-only
    kBrokenLink,       // a symbolic link that leads nowhere
    kLinkLoop,         // symbolic links that lead round in a circle
    kTooLarge,         // larger than the caller's limit (FileOutcome::limit bytes)
    kFileSizeLimit,    // the process's file-size limit was reached
    kDiskFull,         // no space left on the device, or the quota is used up
    kStreamClosed,     // a standard stream the program was started without
    kOther,            // FileOutcome::error tells
};

struct FileOutcome {
    FileStatus status = FileStatus::kOk;
    int error = 0;  // errno of the failed call, 0 when none
    FileReason reason = FileReason::kNone;
    std::string path;       // the file or folder the failure concerns
    std::size_t limit = 0;  // the byte limit of a kTooLarge read
};

// The reason an errno value gives.
FileReason ReasonOfError(int error);

// A failure of `status` on `path` for errno `error`. ENOENT on a name that is a
// symbolic link, and ELOOP, are told as the link's faults.
FileOutcome FailureOf(FileStatus status, int error, const std::string& path);

}  // namespace kx::core

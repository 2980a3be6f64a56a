#include "core/files/file_outcome.h"

#include <cerrno>

#include "core/files/system_calls.h"

namespace kx::core {

FileReason ReasonOfError(int error) {
    switch (error) {
        case ENOENT: return FileReason::kNotFound;
        case ENOTDIR: return FileReason::kNotAFolder;
        case EISDIR: return FileReason::kIsAFolder;
        case EACCES:
        case EPERM:
        case EROFS:
        case ETXTBSY: return FileReason::kNoPermission;
        case ELOOP: return FileReason::kLinkLoop;
        case EFBIG: return FileReason::kFileSizeLimit;
#ifdef EDQUOT  // no quotas in the Windows C runtime
        case EDQUOT:
#endif
        case ENOSPC: return FileReason::kDiskFull;
        case 0: return FileReason::kNone;
        default: return FileReason::kOther;
    }
}

FileOutcome FailureOf(FileStatus status, int error, const std::string& path) {
    FileOutcome outcome{status, error, ReasonOfError(error), path, 0};
    struct stat link {};
    if (error == ENOENT && ::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
        outcome.reason = FileReason::kBrokenLink;
    }
#ifdef _WIN32
    // Windows refuses to open a folder as a file with EACCES.
    struct stat info {};
    if (error == EACCES && ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
        outcome.reason = FileReason::kIsAFolder;
    }
#endif
    return outcome;
}

}  // namespace kx::core

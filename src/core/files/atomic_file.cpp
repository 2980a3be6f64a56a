#include "core/files/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <string>

#include "core/files/file_size_signal.h"
#include "core/files/made_folders.h"
#include "core/files/system_calls.h"
#include "core/files/temporary_files.h"

namespace kx::core {
namespace {

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of(kPathSeparators);
    if (slash == std::string::npos) return ".";
    if (slash < RootLength(path)) return path.substr(0, slash + 1);
    return path.substr(0, slash);
}

bool WriteAll(int fd, std::string_view bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

FileReason ReasonOfKind(mode_t mode) {
    if (S_ISDIR(mode)) return FileReason::kIsAFolder;
    if (S_ISFIFO(mode)) return FileReason::kNamedPipe;
    return FileReason::kNotARegularFile;
}

struct Staged {
    std::string given;      // the name the caller gave
    std::string target;     // the file renamed over: the name, or the file its link names
    std::string temporary;  // the new bytes until the rename
    std::string backup;     // a second name of the earlier file, to put it back
    bool existed = false;
};

// The file a name stands for. A symbolic link is followed to the file it
// names, as an ordinary write would, so the link itself stays.
FileOutcome ResolveTarget(const std::string& path, Staged& staged) {
    staged.given = path;
    staged.target = path;
    struct stat link {};
    if (::lstat(path.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) return {};
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved) == nullptr) {
        return FailureOf(FileStatus::kCannotOpen, errno, path);
    }
    staged.target = resolved;
    return {};
}

// Writes the bytes to a new temporary file beside the target and syncs it. An
// existing target must be a regular file the user may open for writing: the
// rename would replace a read-only file the user could not have written.
FileOutcome Stage(const FileToWrite& file, Staged& staged) {
    const std::string& path = file.path;
    if (FileOutcome resolved = ResolveTarget(path, staged); resolved.status != FileStatus::kOk) {
        return resolved;
    }
    struct stat existing {};
    staged.existed = ::stat(staged.target.c_str(), &existing) == 0;
    if (staged.existed && !S_ISREG(existing.st_mode)) {
        return {FileStatus::kCannotOpen, 0, ReasonOfKind(existing.st_mode), path, 0};
    }
    if (staged.existed) {
        const int probe =
            ::open(staged.target.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC | O_BINARY);
        if (probe < 0) return FailureOf(FileStatus::kCannotOpen, errno, path);
        ::close(probe);
    }

    int fd = -1;
    for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
        staged.temporary = TemporaryName(staged.target);
        // 0666 before the umask, as a plain open for output would create it.
        fd = ::open(staged.temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_BINARY,
                    0666);
        if (fd < 0 && errno != EEXIST) {
            const int error = errno;
            staged.temporary.clear();
            return FailureOf(FileStatus::kCannotOpen, error, path);
        }
    }
    if (fd < 0) {
        staged.temporary.clear();
        return FailureOf(FileStatus::kCannotOpen, EEXIST, path);
    }

    int error = 0;
    if (staged.existed && ::fchmod(fd, existing.st_mode & 07777) != 0) error = errno;
    if (error == 0 && file.make) {
        error = file.make(fd, staged.temporary);
    } else if (error == 0 && !WriteAll(fd, file.bytes)) {
        error = errno;
    }
    if (error == 0 && ::fsync(fd) != 0) error = errno;
    if (::close(fd) != 0 && error == 0) error = errno;
    if (error != 0) {
        ::unlink(staged.temporary.c_str());
        staged.temporary.clear();
        return FailureOf(FileStatus::kCannotWrite, error, path);
    }
    return {};
}

// Whether this process may take a name of `file` out of `folder` again: in a
// sticky folder only the owner of the file or of the folder (or root) may.
bool MayRemove(const std::string& folder, const std::string& file) {
    struct stat folderInfo {};
    struct stat fileInfo {};
    if (::stat(folder.c_str(), &folderInfo) != 0 || ::stat(file.c_str(), &fileInfo) != 0) {
        return false;
    }
#ifdef _WIN32
    return true;  // no sticky folders
#else
    if ((folderInfo.st_mode & S_ISVTX) == 0) return true;
    const uid_t user = ::geteuid();
    return user == 0 || fileInfo.st_uid == user || folderInfo.st_uid == user;
#endif
}

// A second name for the earlier file, so that it can be put back should a
// later file of the set fail. Where the file system has no hard links, or the
// second name could not be removed again (another user's file in a sticky
// folder, whose rename fails anyway), the file cannot be put back, and a
// failure then reports it as written.
void KeepEarlierFile(Staged& staged) {
    if (!staged.existed || !MayRemove(FolderOf(staged.target), staged.target)) return;
    for (int attempt = 0; attempt < 16; ++attempt) {
        const std::string name = TemporaryName(staged.target);
        if (::link(staged.target.c_str(), name.c_str()) == 0) {
            staged.backup = name;
            return;
        }
        if (errno != EEXIST) return;
    }
}

// Undoes the rename of one file; false when the new bytes stay.
bool PutBack(const Staged& staged) {
    if (!staged.backup.empty())
        return RenameOver(staged.backup.c_str(), staged.target.c_str()) == 0;
    if (!staged.existed) return ::unlink(staged.target.c_str()) == 0;
    return false;
}

void Discard(const std::string& name) {
    if (!name.empty()) ::unlink(name.c_str());
}

void SyncFolder(const std::string& path) {
    const int fd = ::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

// Reads up to maxBytes of a regular file; with `whole` a longer file is
// refused as too large, otherwise the bytes are cut there.
FileRead ReadRegularFile(const std::string& path, std::size_t maxBytes, bool whole) {
    FileRead read;
    const OpenedFile opened = OpenRegularFile(path);
    read.outcome = opened.outcome;
    if (opened.fd < 0) return read;
    const int fd = opened.fd;
    char buffer[65536];
    while (read.outcome.status == FileStatus::kOk) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            read.outcome = FailureOf(FileStatus::kCannotRead, errno, path);
            break;
        }
        if (n == 0) break;
        const std::size_t room = maxBytes - read.bytes.size();
        if (static_cast<std::size_t>(n) > room) {
            if (whole) {
                read.outcome = {FileStatus::kTooLarge, 0, FileReason::kTooLarge, path, maxBytes};
            } else {
                read.bytes.append(buffer, room);
            }
            break;
        }
        read.bytes.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    if (read.outcome.status != FileStatus::kOk) read.bytes.clear();
    return read;
}

WriteReport Failed(WriteReport report, FileOutcome outcome) {
    report.outcome = std::move(outcome);
    report.madeFolders = RemoveMadeFolders(report.madeFolders);
    return report;
}

// Creates the missing folders of every target, noting those it made.
FileOutcome MakeTargetFolders(const std::vector<FileToWrite>& files,
                              std::vector<std::string>& madeFolders) {
    for (const FileToWrite& file : files) {
        FileOutcome made = MakeFolders(FolderOf(file.path), madeFolders);
        if (made.status != FileStatus::kOk) return made;
    }
    return {};
}

// Stages every file; after a failure none of the temporary files is left.
FileOutcome StageAll(const std::vector<FileToWrite>& files, std::vector<Staged>& staged) {
    for (std::size_t i = 0; i < files.size(); ++i) {
        FileOutcome outcome = Stage(files[i], staged[i]);
        if (outcome.status != FileStatus::kOk) {
            for (const Staged& done : staged) Discard(done.temporary);
            return outcome;
        }
    }
    return {};
}

// What writers killed while writing left beside the targets goes, once per
// folder.
void RemoveStaleTemporariesBeside(const std::vector<Staged>& staged) {
    std::vector<std::string> swept;
    for (const Staged& file : staged) {
        const std::string folder = FolderOf(file.target);
        if (std::find(swept.begin(), swept.end(), folder) != swept.end()) continue;
        RemoveStaleTemporaries(folder);
        swept.push_back(folder);
    }
}

// After the rename of file `failed` failed: discards what is left staged and
// puts the files renamed before it back, last first. Those that cannot be put
// back are reported as written.
void UndoRenames(std::vector<Staged>& staged, std::size_t failed, WriteReport& report) {
    for (std::size_t k = failed; k < staged.size(); ++k) Discard(staged[k].temporary);
    Discard(staged[failed].backup);
    for (std::size_t k = failed; k-- > 0;) {
        if (!PutBack(staged[k])) report.written.insert(report.written.begin(), staged[k].given);
        Discard(staged[k].backup);
    }
}

}  // namespace

OpenedFile OpenRegularFile(const std::string& path) {
    // Non-blocking, so that a named pipe cannot hang the open; anything but a
    // regular file is then refused.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY | O_BINARY);
    if (fd < 0) return {FailureOf(FileStatus::kCannotOpen, errno, path), -1};
    struct stat info {};
    FileOutcome outcome;
    if (::fstat(fd, &info) != 0) {
        outcome = FailureOf(FileStatus::kCannotOpen, errno, path);
    } else if (!S_ISREG(info.st_mode)) {
        outcome = {FileStatus::kCannotOpen, 0, ReasonOfKind(info.st_mode), path, 0};
    } else if (::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
        outcome = FailureOf(FileStatus::kCannotOpen, errno, path);
    }
    if (outcome.status == FileStatus::kOk) return {outcome, fd};
    ::close(fd);
    return {outcome, -1};
}

WriteReport WriteFilesAtomically(const std::vector<FileToWrite>& files,
                                 const WriteOptions& options) {
    [[maybe_unused]] const FileSizeSignalHold hold;
    WriteReport report;
    if (options.makeFolders) {
        FileOutcome made = MakeTargetFolders(files, report.madeFolders);
        if (made.status != FileStatus::kOk) return Failed(std::move(report), std::move(made));
    }

    std::vector<Staged> staged(files.size());
    if (FileOutcome outcome = StageAll(files, staged); outcome.status != FileStatus::kOk) {
        return Failed(std::move(report), std::move(outcome));
    }
    RemoveStaleTemporariesBeside(staged);

    for (std::size_t i = 0; i < staged.size(); ++i) {
        // The last file needs no second name: nothing can fail after it.
        if (i + 1 < staged.size()) KeepEarlierFile(staged[i]);
        if (RenameOver(staged[i].temporary.c_str(), staged[i].target.c_str()) != 0) {
            FileOutcome outcome = FailureOf(FileStatus::kCannotWrite, errno, staged[i].given);
            UndoRenames(staged, i, report);
            return Failed(std::move(report), std::move(outcome));
        }
        staged[i].temporary.clear();
    }
    for (const Staged& done : staged) {
        Discard(done.backup);
        SyncFolder(done.target);
        report.written.push_back(done.given);
    }
    return report;
}

FileOutcome WriteFileAtomically(const std::string& path, std::string_view bytes) {
    // Written from the caller's bytes, not from a copy of them.
    FileToWrite file{
        path, {}, [bytes](int fd, const std::string&) { return WriteAll(fd, bytes) ? 0 : errno; }};
    return WriteFilesAtomically({std::move(file)}).outcome;
}

FileRead ReadWholeFile(const std::string& path, std::size_t maxBytes) {
    return ReadRegularFile(path, maxBytes, true);
}

FileRead ReadFileHead(const std::string& path, std::size_t maxBytes) {
    return ReadRegularFile(path, maxBytes, false);
}

}  // namespace kx::core

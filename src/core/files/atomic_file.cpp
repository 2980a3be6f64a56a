#include "core/files/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <random>
#include <string>

namespace kx::core {
namespace {

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string TemporaryName(const std::string& path) {
    static std::atomic<unsigned> counter{0};
    static const unsigned seed = std::random_device{}();
    const std::size_t slash = path.find_last_of('/');
    const std::string folder =
        slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    char suffix[48];
    std::snprintf(suffix, sizeof suffix, ".%ld.%u.%u.tmp", static_cast<long>(getpid()), seed,
                  counter.fetch_add(1));
    return folder + "." + name + suffix;
}

struct Staged {
    std::string temporary;
    std::string target;
};

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

// Writes the bytes to a new temporary file beside the target and syncs it.
FileOutcome Stage(const std::string& target, std::string_view bytes, Staged& staged) {
    struct stat existing {};
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    if (exists && !S_ISREG(existing.st_mode)) return {FileStatus::kCannotOpen, EISDIR};

    int fd = -1;
    for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
        staged.temporary = TemporaryName(target);
        // 0666 before the umask, as a plain open for output would create it.
        fd = ::open(staged.temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) return {FileStatus::kCannotOpen, errno};
    }
    if (fd < 0) return {FileStatus::kCannotOpen, EEXIST};
    staged.target = target;

    int error = 0;
    if (exists && ::fchmod(fd, existing.st_mode & 07777) != 0) error = errno;
    if (error == 0 && !WriteAll(fd, bytes)) error = errno;
    if (error == 0 && ::fsync(fd) != 0) error = errno;
    if (::close(fd) != 0 && error == 0) error = errno;
    if (error != 0) {
        ::unlink(staged.temporary.c_str());
        return {FileStatus::kCannotWrite, error};
    }
    return {};
}

void SyncFolder(const std::string& path) {
    const int fd = ::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

FileOutcome WriteFilesAtomically(const std::vector<FileToWrite>& files) {
    std::vector<Staged> staged;
    staged.reserve(files.size());
    for (const FileToWrite& file : files) {
        Staged one;
        const FileOutcome outcome = Stage(file.path, file.bytes, one);
        if (outcome.status != FileStatus::kOk) {
            for (const Staged& done : staged) ::unlink(done.temporary.c_str());
            return outcome;
        }
        staged.push_back(std::move(one));
    }
    for (std::size_t i = 0; i < staged.size(); ++i) {
        if (::rename(staged[i].temporary.c_str(), staged[i].target.c_str()) != 0) {
            const int error = errno;
            for (std::size_t k = i; k < staged.size(); ++k) ::unlink(staged[k].temporary.c_str());
            return {FileStatus::kCannotWrite, error};
        }
        SyncFolder(staged[i].target);
    }
    return {};
}

FileOutcome WriteFileAtomically(const std::string& path, std::string_view bytes) {
    return WriteFilesAtomically({FileToWrite{path, std::string(bytes)}});
}

FileRead ReadWholeFile(const std::string& path, std::size_t maxBytes) {
    FileRead read;
    // Non-blocking, so that a named pipe given as a data file cannot hang the
    // open; anything but a regular file is then refused.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        read.outcome = {FileStatus::kCannotOpen, errno};
        return read;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        read.outcome = {FileStatus::kCannotOpen, S_ISDIR(info.st_mode) ? EISDIR : errno};
        ::close(fd);
        return read;
    }
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            read.outcome = {FileStatus::kCannotRead, errno};
            break;
        }
        if (n == 0) break;
        if (read.bytes.size() + static_cast<std::size_t>(n) > maxBytes) {
            read.outcome = {FileStatus::kTooLarge, 0};
            break;
        }
        read.bytes.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    if (read.outcome.status != FileStatus::kOk) read.bytes.clear();
    return read;
}

}  // namespace kx::core

#include "core/files/temporary_files.h"

#ifndef _WIN32
#include <dirent.h>
#include <signal.h>
#endif

#include <atomic>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <random>

#include "core/files/system_calls.h"

namespace kx::core {
namespace {

constexpr std::string_view kSuffix = ".tmp";

// Takes the last ".DIGITS" off `name`; false when it does not end so.
bool TakeNumberField(std::string_view& name, std::string_view& digits) {
    const std::size_t dot = name.find_last_of('.');
    if (dot == std::string_view::npos) return false;
    digits = name.substr(dot + 1);
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string_view::npos) {
        return false;
    }
    name = name.substr(0, dot);
    return true;
}

#ifndef _WIN32
bool Running(pid_t pid) {
    // EPERM: it runs, as another user.
    return ::kill(pid, 0) == 0 || errno != ESRCH;
}
#endif

}  // namespace

std::string TemporaryName(const std::string& path) {
    static std::atomic<unsigned> counter{0};
    static const unsigned seed = std::random_device{}();
    const std::size_t slash = path.find_last_of(kPathSeparators);
    const std::string folder =
        slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    char suffix[48];
    std::snprintf(suffix, sizeof suffix, ".%ld.%u.%u.tmp", static_cast<long>(getpid()), seed,
                  counter.fetch_add(1));
    return folder + "." + name + suffix;
}

std::optional<pid_t> WriterOfTemporary(std::string_view fileName) {
    if (fileName.size() <= kSuffix.size() || fileName.front() != '.' ||
        fileName.substr(fileName.size() - kSuffix.size()) != kSuffix) {
        return std::nullopt;
    }
    std::string_view rest = fileName.substr(1, fileName.size() - 1 - kSuffix.size());
    std::string_view counter, seed, pid;
    if (!TakeNumberField(rest, counter) || !TakeNumberField(rest, seed) ||
        !TakeNumberField(rest, pid) || rest.empty()) {
        return std::nullopt;
    }
    pid_t value = 0;
    const auto [end, error] = std::from_chars(pid.data(), pid.data() + pid.size(), value);
    if (error != std::errc() || end != pid.data() + pid.size() || value <= 0) return std::nullopt;
    return value;
}

// Not made on Windows, where no process id is asked whether it still runs.
void RemoveStaleTemporaries([[maybe_unused]] const std::string& folder) {
#ifndef _WIN32
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) return;
    const int dirFd = ::dirfd(dir);
    while (const dirent* entry = ::readdir(dir)) {
        const std::optional<pid_t> writer = WriterOfTemporary(entry->d_name);
        if (!writer || *writer == ::getpid() || Running(*writer)) continue;
        struct stat info {};
        if (::fstatat(dirFd, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(info.st_mode)) {
            ::unlinkat(dirFd, entry->d_name, 0);
        }
    }
    ::closedir(dir);
#endif
}

}  // namespace kx::core

#pragma once

// The POSIX calls the file reader and the atomic writer are written with. On
// Windows the C runtime has most of them; the rest are made here from the
// Win32 API, with the meaning the writer relies on: a rename replaces its
// target, a file is opened in binary mode, and there are no symbolic links,
// signals of the file-size limit or folder syncs.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string_view>

#ifdef _WIN32
#include <direct.h>
#include <io.h>
#include <windows.h>

#include <climits>
#include <cstdlib>

#define O_CLOEXEC 0
#define O_NONBLOCK 0
#define O_NOCTTY 0
#define O_DIRECTORY 0
#define S_ISLNK(mode) false
#define F_GETFL 3
#define F_SETFL 4

// No open there blocks on a named pipe: there is no mode to take back.
inline int fcntl(int, int, int = 0) {
    return 0;
}

inline int lstat(const char* path, struct stat* info) {
    return stat(path, info);
}
inline char* realpath(const char* path, char* resolved) {
    return _fullpath(resolved, path, PATH_MAX);
}
inline int mkdir(const char* path, int) {
    return _mkdir(path);
}
inline int fchmod(int, int) {
    return 0;
}
inline int fsync(int fd) {
    return _commit(fd);
}
inline int link(const char* existing, const char* name) {
    if (CreateHardLinkA(name, existing, nullptr)) return 0;
    errno = GetLastError() == ERROR_ALREADY_EXISTS ? EEXIST : EPERM;
    return -1;
}
#endif

// Text in files is never translated: the bytes are the program's own.
#ifndef O_BINARY
#define O_BINARY 0
#endif

namespace kx::core {

// The separators of a path's parts: Windows takes the backslash as well.
#ifdef _WIN32
inline constexpr const char* kPathSeparators = "/\\";
#else
inline constexpr const char* kPathSeparators = "/";
#endif

// The length of a path's root ("/", or a drive "C:\" on Windows); 0 for a
// relative path.
inline std::size_t RootLength(std::string_view path) {
#ifdef _WIN32
    if (path.size() >= 3 && path[1] == ':' && (path[2] == '/' || path[2] == '\\')) return 3;
#endif
    return path.starts_with('/') ? 1 : 0;
}

// Renames `from` over `to`, replacing a file of that name as POSIX rename does.
inline int RenameOver(const char* from, const char* to) {
#ifdef _WIN32
    if (MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return 0;
    const DWORD error = GetLastError();
    errno = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? ENOENT
            : error == ERROR_DISK_FULL                                     ? ENOSPC
                                                                           : EACCES;
    return -1;
#else
    return std::rename(from, to);
#endif
}

}  // namespace kx::core

#include "core/files/made_folders.h"

#include <cerrno>

#include "core/files/system_calls.h"

namespace kx::core {

FileOutcome MakeFolders(const std::string& folder, std::vector<std::string>& made) {
    const std::size_t root = RootLength(folder);
    std::string path = folder.substr(0, root);
    std::size_t start = root;
    while (start <= folder.size()) {
        std::size_t end = folder.find_first_of(kPathSeparators, start);
        if (end == std::string::npos) end = folder.size();
        const std::string part = folder.substr(start, end - start);
        start = end + 1;
        if (part.empty() || part == ".") continue;
        if (path.size() > root) path += '/';
        path += part;

        if (::mkdir(path.c_str(), 0777) == 0) {
            made.push_back(path);
            continue;
        }
        if (errno != EEXIST) return FailureOf(FileStatus::kCannotOpen, errno, path);
        // mkdir does not follow a symbolic link: whether the name leads to a
        // folder is for stat to say.
        struct stat info {};
        if (::stat(path.c_str(), &info) != 0) {
            return FailureOf(FileStatus::kCannotOpen, errno, path);
        }
        if (!S_ISDIR(info.st_mode)) return FailureOf(FileStatus::kCannotOpen, ENOTDIR, path);
    }
    return {};
}

std::vector<std::string> RemoveMadeFolders(const std::vector<std::string>& made) {
    std::vector<std::string> left;
    for (auto folder = made.rbegin(); folder != made.rend(); ++folder) {
        if (::rmdir(folder->c_str()) != 0) left.insert(left.begin(), *folder);
    }
    return left;
}

}  // namespace kx::core

#pragma once

#include <stdlib.h>
#ifdef _WIN32
#include <process.h>
#endif

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

namespace kx::test {

// A fresh folder under the system's temporary folder, removed with its
// contents when the test ends.
class TempFolder {
public:
    TempFolder() {
#ifdef _WIN32
        // No mkdtemp there: a name of the process and a counter, made anew
        // until one is free.
        static int counter = 0;
        do {
            path_ = std::filesystem::temp_directory_path() /
                    ("kx-files-" + std::to_string(_getpid()) + "-" + std::to_string(++counter));
        } while (!std::filesystem::create_directory(path_));
#else
        std::string pattern =
            (std::filesystem::temp_directory_path() / "kx-files-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data());
#endif
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const {
        return path_;
    }
    std::string file(std::string_view name) const {
        return (path_ / name).string();
    }

private:
    std::filesystem::path path_;
};

inline std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void PutFile(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace kx::test

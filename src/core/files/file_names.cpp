#include "core/files/file_names.h"

#include <cctype>

#include "core/data/text_chars.h"

namespace kx::core {
namespace {

bool SameText(std::string_view a, std::string_view b, bool ignoreCase) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto x = static_cast<unsigned char>(a[i]);
        const auto y = static_cast<unsigned char>(b[i]);
        if (ignoreCase ? std::toupper(x) != std::toupper(y) : x != y) return false;
    }
    return true;
}

// "C:" at the start of a name (a drive letter and a colon).
bool StartsWithDriveLetter(std::string_view name) {
    return name.size() >= 2 && std::isalpha(static_cast<unsigned char>(name[0])) && name[1] == ':';
}

}  // namespace

std::string FullFileName(std::string_view folder, std::string_view file, char separator) {
    std::string full(folder);
    if (!full.empty() && full.back() != separator) full += separator;
    full += file;
    return full;
}

std::string FolderOfName(std::string_view name, char separator) {
    const std::size_t last = name.rfind(separator);
    if (last == std::string_view::npos) return {};
    // The separator of a root stays: "/" and "C:\" are folders, "" and "C:" are not.
    const bool root = last == 0 || (separator == '\\' && last == 2 && StartsWithDriveLetter(name));
    return std::string(name.substr(0, root ? last + 1 : last));
}

bool IsAbsoluteName(std::string_view name, char separator) {
    if (!name.empty() && name.front() == separator) return true;
    return separator == '\\' && StartsWithDriveLetter(name) && name.size() >= 3 &&
           name[2] == separator;
}

std::string ResolvedFileName(std::string_view folder, std::string_view typed, char separator) {
    const std::string_view name = TrimBlanks(typed);
    if (name.empty() || IsAbsoluteName(name, separator)) return std::string(name);
    return FullFileName(folder, name, separator);
}

std::string DriveOfFolder(std::string_view folder, const std::vector<std::string>& roots,
                          char separator) {
    const bool ignoreCase = separator == '\\';
    std::string best;
    for (const std::string& root : roots) {
        if (root.empty() || root.size() > folder.size() || root.size() <= best.size()) continue;
        if (!SameText(folder.substr(0, root.size()), root, ignoreCase)) continue;
        // "/mnt/usb" holds "/mnt/usb/a" but not "/mnt/usb2".
        const bool whole = root.size() == folder.size() || root.back() == separator ||
                           folder[root.size()] == separator;
        if (whole) best = root;
    }
    return best;
}

bool IsRememberedName(std::string_view text) {
    return text.find('.') != std::string_view::npos && CharCount(text) > 2;
}

}  // namespace kx::core

#pragma once

#include <string>
#include <string_view>
#include <vector>

// Full names of files and folders as the load and save windows build them. A
// full name uses the platform's separator; a root folder ("/", "C:\") already
// ends with it, every other folder does not.
namespace kx::core {

#ifdef _WIN32
inline constexpr char kNativeSeparator = '\\';
#else
inline constexpr char kNativeSeparator = '/';
#endif

// The full name of `file` in `folder`: the folder, the separator and the file;
// a root gives its separator only once ("C:\" + "data.da" is "C:\data.da",
// "/" + "data.da" is "/data.da").
std::string FullFileName(std::string_view folder, std::string_view file,
                         char separator = kNativeSeparator);

// The folder of a full name: the part before its last separator, or the root
// itself ("/data.da" gives "/", "C:\data.da" gives "C:\"). Empty for a name
// without a separator.
std::string FolderOfName(std::string_view name, char separator = kNativeSeparator);

// A name that starts at a root: "/..." or, with the backslash, "\..." and
// "C:\...".
bool IsAbsoluteName(std::string_view name, char separator = kNativeSeparator);

// A typed name as a full name: blank-trimmed, and taken in `folder` unless it
// is absolute.
std::string ResolvedFileName(std::string_view folder, std::string_view typed,
                             char separator = kNativeSeparator);

// The drive a folder lies on: the longest of `roots` that is the folder itself
// or one of its ancestors. Empty when none is. With the backslash, drive
// letters and folder names compare without regard to case.
std::string DriveOfFolder(std::string_view folder, const std::vector<std::string>& roots,
                          char separator = kNativeSeparator);

// A text the windows remember as the file name while it is typed: it holds a
// point and is longer than 2 characters.
bool IsRememberedName(std::string_view text);

}  // namespace kx::core

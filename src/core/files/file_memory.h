#pragma once

#include <string>
#include <string_view>

// What the load and save windows remember between openings for the whole run.
namespace kx::core {

inline constexpr std::string_view kDefaultDataFilter = "*.DA*;*.TX*;*.DO*;*.WR*";
// The pictures the canvas reads: BMP and JPEG, and PNG and TIFF besides.
inline constexpr std::string_view kDefaultPictureFilter = "*.BMP;*.JPG;*.JPEG;*.PNG;*.TIF*";

struct FileMemory {
    std::string fileName;    // full name of the last file chosen, typed or saved
    std::string folderName;  // the folder last shown
    std::string driveName;   // the drive last chosen
    std::string fileTitle;   // the file's name without its folder, for captions
    std::string dataFilter{kDefaultDataFilter};
    std::string pictureFilter{kDefaultPictureFilter};
};

// Cancel in the load or save window: the name, folder and title are dropped.
void ForgetFile(FileMemory& memory);

// The part of a full name after its last folder separator, blank-trimmed.
std::string FileTitleOf(std::string_view fullName);

// An empty filter is replaced by its default each time a window opens.
void RestoreEmptyFilters(FileMemory& memory);

}  // namespace kx::core

#include "core/files/file_memory.h"

#include "core/data/text_chars.h"

namespace kx::core {

void ForgetFile(FileMemory& memory) {
    memory.fileName.clear();
    memory.folderName.clear();
    memory.fileTitle.clear();
}

std::string FileTitleOf(std::string_view fullName) {
    const std::size_t separator = fullName.find_last_of("\\/");
    return Trimmed(separator == std::string_view::npos ? fullName
                                                       : fullName.substr(separator + 1));
}

void RestoreEmptyFilters(FileMemory& memory) {
    if (memory.dataFilter.empty()) memory.dataFilter = kDefaultDataFilter;
    if (memory.pictureFilter.empty()) memory.pictureFilter = kDefaultPictureFilter;
}

}  // namespace kx::core

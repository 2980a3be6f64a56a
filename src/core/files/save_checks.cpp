#include "core/files/save_checks.h"

#include "core/data/text_chars.h"
#include "core/files/atomic_file.h"
#include "core/files/data_file.h"
#include "core/files/listing.h"

namespace kx::core {

bool IsSaveableName(std::string_view fileName) {
    const std::size_t point = fileName.find('.');
    if (point == std::string_view::npos) return false;
    return CharCount(fileName.substr(point + 1)) >= 2 && CharCount(fileName) >= 4;
}

bool HasCapitalDataExtension(std::string_view fileName) {
    const std::size_t point = fileName.find('.');
    if (point == std::string_view::npos) return false;
    const std::string_view extension = fileName.substr(point + 1);
    if (CharCount(extension) != 3) return false;
    const std::string_view stem = extension.substr(0, 2);
    return stem == "TX" || stem == "DA" || stem == "DO";
}

bool TakesClickedFile(int saveKind, const std::string& fullName) {
    if (saveKind != kSaveAllLines && saveKind != kSaveSelectedLine) return true;
    const std::size_t separator = fullName.find_last_of("\\/");
    const std::string_view title = separator == std::string::npos
                                       ? std::string_view(fullName)
                                       : std::string_view(fullName).substr(separator + 1);
    if (!HasCapitalDataExtension(title)) return true;
    return ClassifyFirstRecord(fullName) != FirstRecordKind::kOtherRecord;
}

bool SaveTargetExists(const std::string& fullName) {
    const FileRead head = ReadFileHead(fullName, 1);
    if (head.outcome.status == FileStatus::kOk) return true;
    // Under a part that is no folder nothing can stand either.
    return head.outcome.reason != FileReason::kNotFound &&
           head.outcome.reason != FileReason::kNotAFolder;
}

}  // namespace kx::core

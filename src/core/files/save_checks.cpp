#include "core/files/save_checks.h"

#include "core/data/text_chars.h"
#include "core/files/atomic_file.h"
#include "core/files/data_file.h"
#include "core/files/listing.h"
#include "core/files/session.h"

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

namespace {

// The first bytes of the picture formats the canvas reads (and GIF).
bool LooksLikePicture(std::string_view head) {
    constexpr std::string_view kMagics[] = {"BM",
                                            "\xFF\xD8\xFF",
                                            "\x89PNG\r\n\x1A\n",
                                            std::string_view("II*\0", 4),
                                            std::string_view("MM\0*", 4),
                                            "GIF8"};
    for (std::string_view magic : kMagics) {
        if (head.substr(0, magic.size()) == magic) return true;
    }
    return false;
}

}  // namespace

FileContent ContentOf(const std::string& fullName) {
    // A data file is at most kMaxDataFileBytes; beyond that it is something else.
    const FileRead head = ReadFileHead(fullName, kMaxDataFileBytes + 1);
    if (head.outcome.status != FileStatus::kOk || head.bytes.empty()) return FileContent::kNone;
    if (LooksLikeSession(head.bytes)) return FileContent::kSession;
    if (LooksLikePicture(head.bytes)) return FileContent::kPicture;
    const DataFileRead read = ParseDataFile(head.bytes);
    if (read.outcome == DataFileOutcome::kLoaded && !read.lines.empty())
        return FileContent::kDataFile;
    return FileContent::kOther;
}

bool MayReplaceContent(int saveKind, const std::string& fullName) {
    const FileContent content = ContentOf(fullName);
    if (content == FileContent::kNone) return true;
    switch (saveKind) {
        case kSaveAllLines:
        case kSaveSelectedLine: return content == FileContent::kDataFile;
        case kSaveSession: return content == FileContent::kSession;
        case kSavePlot: return content == FileContent::kPicture || content == FileContent::kOther;
        default: return content == FileContent::kOther;
    }
}

bool SaveTargetExists(const std::string& fullName) {
    const FileRead head = ReadFileHead(fullName, 1);
    if (head.outcome.status == FileStatus::kOk) return true;
    // Under a part that is no folder nothing can stand either.
    return head.outcome.reason != FileReason::kNotFound &&
           head.outcome.reason != FileReason::kNotAFolder;
}

}  // namespace kx::core

#include "cli/fit_messages.h"

#include <cstring>

#include "core/data/preparation.h"

namespace kx::cli {

const char* PreparationMessage(int16_t state) {
    switch (state) {
        case core::kGapInLines: return "データが無いパラメータ存在";
        case core::kMissingXOrY: return "X,Yデータがどちらか欠損";
        case core::kNotNumeric: return "数値として判断されない";
        case core::kTooFewPoints: return "データが少ない";
        case core::kParameterNotNumeric: return "パラメータが数値でない";
        default: return "データが無い";
    }
}

std::string PreparationReason(const core::DataSet& data, int16_t state) {
    if (state == core::kParameterNotNumeric && data.refusal.sameParameterAs != 0) {
        return "the same value as the parameter of line " +
               std::to_string(data.refusal.sameParameterAs) + " once stored as a 32-bit float";
    }
    return "";
}

std::string FileReasonText(core::FileReason reason, int error, std::size_t limit) {
    using core::FileReason;
    switch (reason) {
        case FileReason::kNone: return "";
        case FileReason::kNotFound: return "no such file or folder";
        case FileReason::kNotAFolder: return "not a folder";
        case FileReason::kIsAFolder: return "a folder, not a file";
        case FileReason::kNamedPipe: return "a named pipe, not a file";
        case FileReason::kNotARegularFile: return "not a regular file";
        case FileReason::kNoPermission: return "no permission";
        case FileReason::kBrokenLink: return "a symbolic link that leads nowhere";
        case FileReason::kLinkLoop: return "symbolic links in a loop";
        case FileReason::kTooLarge:
            return "larger than the limit of " + std::to_string(limit) + " bytes";
        case FileReason::kFileSizeLimit: return "the file-size limit was reached";
        case FileReason::kDiskFull: return "no space left on the device";
        case FileReason::kStreamClosed: return "closed";
        case FileReason::kOther: break;
    }
    return error != 0 ? std::strerror(error) : "unknown reason";
}

std::string CannotWriteText(const core::FileOutcome& outcome) {
    return kCannotWrite + Because(FileReasonText(outcome.reason, outcome.error, 0));
}

std::string ContentFaultText(const core::DataFileRead& read) {
    using core::ContentFault;
    switch (read.fault) {
        case ContentFault::kNone: return "";
        case ContentFault::kHeaderNotNumbers: return "a header that is not three numbers";
        case ContentFault::kFirstPointNotOne: return "a first-point index other than 1";
        case ContentFault::kTooFewPoints: return "a count of 1 or less";
        case ContentFault::kTooManyPoints:
            return "a count above " + std::to_string(core::kMaxPoints);
        case ContentFault::kRecordWithoutComma: return "a point record without a comma";
        case ContentFault::kEndInsideBlock: return "the file ends inside a block";
        case ContentFault::kEleventhBlock:
            return "more than " + std::to_string(core::kMaxLines) + " lines";
        case ContentFault::kNotCp932: return "bytes that are not Shift-JIS text";
        case ContentFault::kFileTooLarge:
            return FileReasonText(core::FileReason::kTooLarge, 0, core::kMaxDataFileBytes);
        case ContentFault::kReadFailed:
            return "the file could not be read: " +
                   FileReasonText(read.reason, read.error, core::kMaxDataFileBytes);
    }
    return "";
}

std::string Because(const std::string& reason) {
    return reason.empty() ? "" : " (" + reason + ")";
}

}  // namespace kx::cli

#include "core/files/save_file.h"

#include "core/files/cp932.h"

namespace kx::core {

SaveOutcome SaveText(const std::string& path, std::string_view utf8Text) {
    SaveOutcome outcome;
    const CodecResult encoded = Utf8ToCp932(utf8Text);
    if (encoded.status != CodecStatus::kOk) {
        outcome.status = SaveStatus::kNotEncodable;
        outcome.offset = encoded.offset;
        return outcome;
    }
    outcome.file = WriteFileAtomically(path, encoded.text);
    if (outcome.file.status != FileStatus::kOk) outcome.status = SaveStatus::kCannotWrite;
    return outcome;
}

}  // namespace kx::core

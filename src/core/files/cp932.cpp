#include "core/files/cp932.h"

#include <iconv.h>

#include <cerrno>

namespace kx::core {
namespace {

// One iconv descriptor for one conversion; iconv descriptors keep shift state
// and are not shared between threads.
class Converter {
public:
    Converter(const char* to, const char* from) : handle_(iconv_open(to, from)) {}
    ~Converter() {
        if (ok()) iconv_close(handle_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool ok() const { return handle_ != reinterpret_cast<iconv_t>(-1); }

    CodecResult convert(std::string_view input) {
        CodecResult result;
        if (!ok()) {
            result.status = CodecStatus::kUnavailable;
            return result;
        }
        std::string out(input.size() * 2 + 16, '\0');
        // iconv takes a non-const input pointer but does not write through it.
        char* in = const_cast<char*>(input.data());
        std::size_t inLeft = input.size();
        std::size_t written = 0;
        for (;;) {
            char* outPtr = out.data() + written;
            std::size_t outLeft = out.size() - written;
            const std::size_t rc = inLeft == 0
                                       ? iconv(handle_, nullptr, nullptr, &outPtr, &outLeft)
                                       : iconv(handle_, &in, &inLeft, &outPtr, &outLeft);
            written = out.size() - outLeft;
            if (rc != static_cast<std::size_t>(-1)) {
                if (inLeft == 0) break;
                continue;
            }
            if (errno == E2BIG) {
                out.resize(out.size() * 2);
                continue;
            }
            result.offset = input.size() - inLeft;
            // EILSEQ: a sequence that is invalid or has no counterpart; EINVAL:
            // the input ends inside a multi-byte sequence.
            result.status = CodecStatus::kInvalidInput;
            return result;
        }
        out.resize(written);
        result.text = std::move(out);
        return result;
    }

private:
    iconv_t handle_;
};

bool IsValidUtf8(std::string_view text, std::size_t& badOffset) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        std::size_t length = c < 0x80           ? 1
                             : (c >> 5) == 0x6  ? 2
                             : (c >> 4) == 0xE  ? 3
                             : (c >> 3) == 0x1E ? 4
                                                : 0;
        if (length == 0 || i + length > text.size()) {
            badOffset = i;
            return false;
        }
        for (std::size_t k = 1; k < length; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) {
                badOffset = i;
                return false;
            }
        }
        i += length;
    }
    return true;
}

}  // namespace

CodecResult Utf8ToCp932(std::string_view utf8) {
    // iconv reports both malformed UTF-8 and characters CP932 lacks as EILSEQ;
    // telling them apart first gives the caller the right reason.
    std::size_t badOffset = 0;
    if (!IsValidUtf8(utf8, badOffset)) {
        return {CodecStatus::kInvalidInput, {}, badOffset};
    }
    Converter converter("CP932", "UTF-8");
    CodecResult result = converter.convert(utf8);
    if (result.status == CodecStatus::kInvalidInput) result.status = CodecStatus::kUnmappable;
    return result;
}

CodecResult Cp932ToUtf8(std::string_view cp932) {
    Converter converter("UTF-8", "CP932");
    return converter.convert(cp932);
}

}  // namespace kx::core

#include <iconv.h>

#include <cerrno>

#include "core/files/code_page.h"

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

    CodePageStatus convert(std::string_view input, std::string& result) {
        if (!ok()) return CodePageStatus::kUnavailable;
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
            if (errno != E2BIG) return CodePageStatus::kRefused;
            out.resize(out.size() * 2);
        }
        out.resize(written);
        result = std::move(out);
        return CodePageStatus::kOk;
    }

private:
    iconv_t handle_;
};

}  // namespace

// "CP932", not "SHIFT_JIS": only the former maps the wave dash and the other
// characters that Windows adds to Shift-JIS.
CodePageStatus CodePageFromUtf8(std::string_view utf8, std::string& out) {
    return Converter("CP932", "UTF-8").convert(utf8, out);
}

CodePageStatus CodePageToUtf8(std::string_view cp932, std::string& out) {
    return Converter("UTF-8", "CP932").convert(cp932, out);
}

}  // namespace kx::core

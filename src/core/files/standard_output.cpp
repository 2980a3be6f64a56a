#include "core/files/standard_output.h"

#include <cerrno>

#include "core/files/file_size_signal.h"
#include "core/files/system_calls.h"

namespace kx::core {

void HoldStandardStreams() {
#ifndef _WIN32
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
        // The lowest free number is the one just found closed.
        const int held = ::open("/dev/null", O_RDONLY);
        if (held >= 0 && held != fd) {
            ::dup2(held, fd);
            ::close(held);
        }
    }
#endif
}

FileOutcome WriteStandardOutput(std::string_view bytes) {
    [[maybe_unused]] const FileSizeSignalHold hold;
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(STDOUT_FILENO, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            const int error = n < 0 ? errno : EIO;
            FileOutcome failed{FileStatus::kCannotWrite, error, ReasonOfError(error),
                               kStandardOutputName, 0};
            if (error == EBADF) failed.reason = FileReason::kStreamClosed;
            return failed;
        }
        done += static_cast<std::size_t>(n);
    }
    return {};
}

}  // namespace kx::core

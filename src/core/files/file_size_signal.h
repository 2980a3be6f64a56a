#pragma once

#include <signal.h>

namespace kx::core {

// Holds SIGXFSZ back in this thread while files are written, so that a write
// beyond the file-size limit fails with EFBIG instead of ending the process
// (the signal's default action). A signal raised meanwhile is taken away
// before the mask is restored. Windows has no such signal: a write beyond a
// limit there fails as any other.
#ifdef _WIN32
struct FileSizeSignalHold {};
#else
class FileSizeSignalHold {
public:
    FileSizeSignalHold() {
        sigemptyset(&signal_);
        sigaddset(&signal_, SIGXFSZ);
        pthread_sigmask(SIG_BLOCK, &signal_, &saved_);
        wasPending_ = Pending();
    }
    ~FileSizeSignalHold() {
        if (!wasPending_ && Pending()) {
            const timespec now{};
            sigtimedwait(&signal_, nullptr, &now);
        }
        pthread_sigmask(SIG_SETMASK, &saved_, nullptr);
    }
    FileSizeSignalHold(const FileSizeSignalHold&) = delete;
    FileSizeSignalHold& operator=(const FileSizeSignalHold&) = delete;

private:
    static bool Pending() {
        sigset_t pending;
        sigemptyset(&pending);
        return sigpending(&pending) == 0 && sigismember(&pending, SIGXFSZ) == 1;
    }
    sigset_t signal_{};
    sigset_t saved_{};
    bool wasPending_ = false;
};
#endif

}  // namespace kx::core

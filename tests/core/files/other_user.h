#pragma once

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

// Permission faults cannot be shown as root, who may write any file. These
// helpers run a piece of a test as an ordinary user: in a child process that
// drops to "nobody" when the tests run as root.
namespace kx::test {

inline constexpr uid_t kNobody = 65534;

inline bool RunsAsRoot() {
    return ::geteuid() == 0;
}

// Runs `body` in a child process, as nobody when `asOrdinaryUser` is set and the
// tests run as root, and returns its result (0..255), or -1 when the child did
// not end normally (killed by a signal).
inline int InChild(const std::function<int()>& body, bool asOrdinaryUser) {
    const pid_t child = ::fork();
    if (child == 0) {
        if (asOrdinaryUser && RunsAsRoot() &&
            (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)) {
            ::_exit(125);
        }
        ::_exit(body() & 0xff);
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

inline int InChildAsOrdinaryUser(const std::function<int()>& body) {
    return InChild(body, true);
}

// The command prefix that runs a program as nobody when the tests run as root.
inline const char* OrdinaryUserPrefix() {
    return RunsAsRoot() ? "setpriv --reuid=65534 --regid=65534 --clear-groups " : "";
}

}  // namespace kx::test

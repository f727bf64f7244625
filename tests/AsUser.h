#pragma once

// system
#include <sys/wait.h>
#include <unistd.h>

// std
#include <functional>

namespace tonarika::test {

enum class Outcome { Held, Failed, CannotDropRoot };

// Runs `body` in a child process that, when the test runs as root, gives up root,
// so that permission bits bind it as they bind a user.
inline Outcome asUnprivilegedUser(const std::function<bool()>& body)
{
    const pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(2);
        ::_exit(body() ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 2)
        return Outcome::CannotDropRoot;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? Outcome::Held : Outcome::Failed;
}

}  // namespace tonarika::test

// Some containers forbid setuid even to root: the permission cases cannot run there.
#define EXPECT_HOLDS_AS_A_USER(body)                                                            \
    do {                                                                                        \
        const auto outcome = tonarika::test::asUnprivilegedUser(body);                          \
        if (outcome == tonarika::test::Outcome::CannotDropRoot)                                 \
            GTEST_SKIP() << "cannot give up root here, so permission bits do not bind the test"; \
        EXPECT_EQ(outcome, tonarika::test::Outcome::Held);                                      \
    } while (false)

#pragma once

// std
#include <string>

namespace tonarika::test {

// While one lives, a rename onto `target` fails with EIO, and nothing else does: the last
// step of replacing a file whole fails, after its new bytes were written in full beside it.
// The rename of this process is the test's own, which looks up the C library's for
// every other call.
class FailingRename {
public:
    explicit FailingRename(std::string target);
    ~FailingRename();
    FailingRename(const FailingRename&) = delete;
    FailingRename& operator=(const FailingRename&) = delete;

    // How many renames onto the target were refused.
    int refused() const;
};

}  // namespace tonarika::test

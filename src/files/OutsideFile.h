#pragma once

// system
#include <sys/stat.h>
#include <sys/types.h>

// std
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace tonarika {

// A file this program did not write in this run, opened as input from outside: without
// waiting (a FIFO or a device opens at once, and is refused), only a regular file, through
// a link only where that is asked for, and never read beyond a bound. What is checked is
// the file opened, not its name. Says why it refused.
class OutsideFile {
public:
    enum class Links { Refused, Followed };

    struct Refusal {
        enum class Kind {
            Missing,          // nothing under that name
            CannotOpen,       // the system refused it: `error` says why
            Link,             // a link, where links are refused
            NotARegularFile,  // a folder, a FIFO, a device, a socket
            TooLarge,         // more than the bound
            Unreadable,       // reading it failed: `error` says why
        };
        Kind kind = Kind::Missing;
        int error = 0;
        std::uint64_t bound = 0;  // for TooLarge
        // Why, in a few words for stderr: "not a regular file", "larger than 65536 bytes", or
        // what the system said.
        std::string text() const;
    };

    // Opens it to read.
    static OutsideFile toRead(const std::filesystem::path& path, Links links);
    // Opens it to append to, made with `mode` where it is missing and `mode` is given.
    static OutsideFile toAppend(const std::filesystem::path& path, Links links, std::optional<mode_t> mode = std::nullopt);

    OutsideFile(OutsideFile&& other) noexcept;
    OutsideFile& operator=(OutsideFile&& other) noexcept;
    OutsideFile(const OutsideFile&) = delete;
    OutsideFile& operator=(const OutsideFile&) = delete;
    ~OutsideFile();

    explicit operator bool() const { return m_fd >= 0; }
    // Why it was not opened, or a read refused; nothing while all is well.
    const std::optional<Refusal>& refusal() const { return m_refusal; }
    int fd() const { return m_fd; }
    // The file as it was when opened.
    const struct stat& status() const { return m_status; }

    // What it holds from `offset` to its end, where that is at most `bound` bytes; nothing,
    // and the refusal, otherwise. A file growing meanwhile is read to where its end is then.
    std::optional<std::string> bytes(std::uint64_t bound, std::uint64_t offset = 0);
    // Copies `length` bytes at `offset` to `out`; false where there are not that many.
    bool readAt(std::uint64_t offset, void* out, std::size_t length) const;
    // Closes it now: 0, or what the system said, which for a file written to may be the
    // first word of a write that failed.
    int close();

private:
    OutsideFile(const std::filesystem::path& path, int flags, Links links, mode_t mode);

    int m_fd = -1;
    struct stat m_status {};
    std::optional<Refusal> m_refusal;
};

}  // namespace tonarika

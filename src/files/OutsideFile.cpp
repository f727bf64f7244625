#include "OutsideFile.h"

// system
#include <fcntl.h>
#include <unistd.h>

// std
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

namespace tonarika {

std::string OutsideFile::Refusal::text() const
{
    switch (kind) {
    case Kind::Missing: return "there is no such file";
    case Kind::Link: return "it is a symbolic link";
    case Kind::NotARegularFile: return "not a regular file";
    case Kind::TooLarge: return "larger than " + std::to_string(bound) + " bytes";
    case Kind::CannotOpen:
    case Kind::Unreadable: break;
    }
    return std::strerror(error);
}

OutsideFile OutsideFile::toRead(const std::filesystem::path& path, Links links)
{
    return OutsideFile(path, O_RDONLY, links, 0);
}

OutsideFile OutsideFile::toAppend(const std::filesystem::path& path, Links links, std::optional<mode_t> mode)
{
    return OutsideFile(path, O_WRONLY | O_APPEND | (mode ? O_CREAT : 0), links, mode.value_or(0));
}

OutsideFile::OutsideFile(const std::filesystem::path& path, int flags, Links links, mode_t mode)
{
    // O_NONBLOCK: a FIFO planted under the name would keep the open waiting for good.
    const int all = flags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC | (links == Links::Refused ? O_NOFOLLOW : 0);
    m_fd = ::open(path.c_str(), all, mode);
    if (m_fd < 0) {
        const int error = errno;
        using Kind = Refusal::Kind;
        m_refusal = Refusal{error == ENOENT || error == ENOTDIR ? Kind::Missing
                            : error == ELOOP && links == Links::Refused ? Kind::Link
                                                                        : Kind::CannotOpen,
                            error};
        return;
    }
    if (::fstat(m_fd, &m_status) != 0 || !S_ISREG(m_status.st_mode)) {
        ::close(m_fd);
        m_fd = -1;
        m_refusal = Refusal{Refusal::Kind::NotARegularFile};
    }
}

OutsideFile::OutsideFile(OutsideFile&& other) noexcept
    : m_fd(std::exchange(other.m_fd, -1))
    , m_status(other.m_status)
    , m_refusal(std::move(other.m_refusal))
{
}

OutsideFile& OutsideFile::operator=(OutsideFile&& other) noexcept
{
    if (this != &other) {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = std::exchange(other.m_fd, -1);
        m_status = other.m_status;
        m_refusal = std::move(other.m_refusal);
    }
    return *this;
}

OutsideFile::~OutsideFile()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

std::optional<std::string> OutsideFile::bytes(std::uint64_t bound, std::uint64_t offset)
{
    if (m_fd < 0)
        return std::nullopt;
    const auto size = static_cast<std::uint64_t>(m_status.st_size);
    if (size > offset && size - offset > bound) {
        m_refusal = Refusal{Refusal::Kind::TooLarge, 0, bound};
        return std::nullopt;
    }
    // Read to its end, which a file growing meanwhile moves: past the bound, it is refused.
    std::string text(std::size_t(std::min<std::uint64_t>(bound + 1, 65536)), '\0');
    std::string got;
    got.reserve(std::size_t(size > offset ? size - offset : 0));
    for (;;) {
        const ssize_t n = ::pread(m_fd, text.data(), text.size(), off_t(offset + got.size()));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            m_refusal = Refusal{Refusal::Kind::Unreadable, errno};
            return std::nullopt;
        }
        if (n == 0)
            break;
        got.append(text.data(), std::size_t(n));
        if (got.size() > bound) {
            m_refusal = Refusal{Refusal::Kind::TooLarge, 0, bound};
            return std::nullopt;
        }
    }
    return got;
}

int OutsideFile::close()
{
    if (m_fd < 0)
        return 0;
    const int closed = ::close(std::exchange(m_fd, -1));
    return closed == 0 ? 0 : errno;
}

bool OutsideFile::readAt(std::uint64_t offset, void* out, std::size_t length) const
{
    return m_fd >= 0 && ::pread(m_fd, out, length, off_t(offset)) == ssize_t(length);
}

}  // namespace tonarika

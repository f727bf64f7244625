#include "PathWatcher.h"

// Qt
#include <QSocketNotifier>

// system
#include <sys/inotify.h>
#include <unistd.h>

// std
#include <array>
#include <cerrno>
#include <system_error>

namespace tonarika {

namespace {

constexpr std::uint32_t kFolderEvents = IN_CREATE | IN_MODIFY | IN_CLOSE_WRITE | IN_MOVED_TO | IN_MOVED_FROM | IN_DELETE
    | IN_ATTRIB | IN_DELETE_SELF | IN_MOVE_SELF;

bool isFolder(const std::filesystem::path& path)
{
    std::error_code error;
    return std::filesystem::is_directory(path, error);
}

}  // namespace

PathWatcher::PathWatcher(QObject* parent)
    : QObject(parent)
    , m_fd(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC))
{
    if (m_fd < 0)
        return;
    m_notifier = new QSocketNotifier(m_fd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &PathWatcher::readEvents);
}

PathWatcher::~PathWatcher()
{
    delete m_notifier;
    if (m_fd >= 0)
        ::close(m_fd);
}

void PathWatcher::watch(std::vector<std::filesystem::path> files)
{
    m_files = std::move(files);
    arm();
}

void PathWatcher::arm()
{
    if (m_fd < 0)
        return;
    // Adding a folder watched already gives its watch again: nothing is lost in between.
    m_names.clear();
    for (const auto& file : m_files) {
        std::filesystem::path folder = file.parent_path();
        bool own = true;
        while (!folder.empty() && !isFolder(folder) && folder != folder.root_path()) {
            folder = folder.parent_path();
            own = false;
        }
        const int descriptor = ::inotify_add_watch(m_fd, folder.empty() ? "." : folder.c_str(), kFolderEvents);
        if (descriptor < 0)
            continue;
        // The same folder may hold several of the files, and be above others.
        auto& names = m_names[descriptor];
        if (own)
            names.insert(file.filename().string());
        else
            names.insert(std::string());
    }
}

void PathWatcher::readEvents()
{
    alignas(inotify_event) std::array<char, 16384> buffer;
    bool relevant = false;
    bool rearm = false;
    for (;;) {
        const ssize_t length = ::read(m_fd, buffer.data(), buffer.size());
        if (length <= 0)
            break;
        for (ssize_t at = 0; at < length;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer.data() + at);
            at += ssize_t(sizeof(inotify_event) + event->len);
            const auto found = m_names.find(event->wd);
            if (found == m_names.end())
                continue;
            if (event->mask & (IN_DELETE_SELF | IN_MOVE_SELF | IN_IGNORED)) {
                rearm = relevant = true;
                continue;
            }
            const std::string name = event->len > 0 ? std::string(event->name) : std::string();
            if (found->second.count(std::string()) > 0) {
                // A folder above: anything created or moved here may be the missing folder.
                rearm = relevant = true;
            } else if (found->second.count(name) > 0) {
                relevant = true;
            }
        }
    }
    if (rearm)
        arm();
    if (relevant)
        emit changed();
}

}  // namespace tonarika

#pragma once

// Qt
#include <QObject>

// std
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

class QSocketNotifier;

namespace tonarika {

// Tells when some files may have changed: written, replaced, created or removed. Paths
// stay bytes, as the file system has them, so that a folder whose name is no UTF-8 is
// watched like any other. A file whose folder does not exist yet is caught through the
// nearest folder above it that does, and its own folder is watched once it appears.
class PathWatcher : public QObject {
    Q_OBJECT
public:
    explicit PathWatcher(QObject* parent = nullptr);
    ~PathWatcher() override;

    // Watches these files from now on, in place of those watched before.
    void watch(std::vector<std::filesystem::path> files);

signals:
    void changed();

private:
    void readEvents();
    void arm();

    int m_fd = -1;
    QSocketNotifier* m_notifier = nullptr;
    std::vector<std::filesystem::path> m_files;
    // For each watch, the names in its folder that matter; none: every name (a folder
    // above a file's own, where that folder may be created).
    std::map<int, std::set<std::string>> m_names;
};

}  // namespace tonarika

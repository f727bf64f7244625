#include "FailingRename.h"

// system
#include <dlfcn.h>
#include <limits.h>
#include <stdlib.h>

// std
#include <atomic>
#include <cerrno>
#include <mutex>

namespace {

std::mutex g_lock;
std::string g_target;  // the real path of the file, empty where none is refused
std::atomic<int> g_refused{0};

// The path as the file system resolves it, the file itself being allowed to be missing.
std::string resolved(const char* path)
{
    const std::string whole(path);
    const auto slash = whole.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : whole.substr(0, slash == 0 ? 1 : slash);
    char real[PATH_MAX];
    if (!::realpath(folder.c_str(), real))
        return whole;
    return std::string(real) + "/" + (slash == std::string::npos ? whole : whole.substr(slash + 1));
}

}  // namespace

extern "C" int rename(const char* from, const char* to)
{
    {
        const std::lock_guard lock(g_lock);
        if (!g_target.empty() && resolved(to) == g_target) {
            ++g_refused;
            errno = EIO;
            return -1;
        }
    }
    using Rename = int (*)(const char*, const char*);
    static const auto real = reinterpret_cast<Rename>(::dlsym(RTLD_NEXT, "rename"));
    return real(from, to);
}

namespace tonarika::test {

FailingRename::FailingRename(std::string target)
{
    const std::lock_guard lock(g_lock);
    g_target = resolved(target.c_str());
    g_refused = 0;
}

FailingRename::~FailingRename()
{
    const std::lock_guard lock(g_lock);
    g_target.clear();
}

int FailingRename::refused() const
{
    return g_refused;
}

}  // namespace tonarika::test

#include "ProgramFolder.h"

// system
#include <pwd.h>
#include <unistd.h>

// std
#include <cstdlib>
#include <system_error>

namespace tonarika {

namespace {

std::filesystem::path installedDataFolder(const std::filesystem::path& program)
{
    return program.parent_path() / "share" / "tonarika";
}

bool isFolder(const std::filesystem::path& path)
{
    std::error_code error;
    return std::filesystem::is_directory(path, error);
}

std::filesystem::path homeFolder()
{
    if (const char* home = std::getenv("HOME"); home && *home)
        return home;
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::geteuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found && found->pw_dir
        && *found->pw_dir)
        return found->pw_dir;
    return {};
}

}  // namespace

std::filesystem::path programFolder()
{
    std::error_code error;
    const auto exe = std::filesystem::canonical("/proc/self/exe", error);
    return error ? std::filesystem::path{} : exe.parent_path();
}

std::vector<std::filesystem::path> noteFolders(const std::filesystem::path& program)
{
    if (program.empty())
        return {{}};
    return {{}, program, installedDataFolder(program)};
}

std::filesystem::path scoreFolder(const std::filesystem::path& program)
{
    const bool installed = !isFolder(program / "wav") && isFolder(installedDataFolder(program) / "wav");
    return installed ? std::filesystem::path{} : program;
}

std::filesystem::path playerDataFolder()
{
    if (const char* data = std::getenv("XDG_DATA_HOME"); data && data[0] == '/')
        return std::filesystem::path(data) / "tonarika";
    const std::filesystem::path home = homeFolder();
    return home.empty() ? home : home / ".local" / "share" / "tonarika";
}

std::vector<std::filesystem::path> scoreLogs(const std::filesystem::path& program,
                                             const std::filesystem::path& dataFolder)
{
    std::vector<std::filesystem::path> logs;
    if (const auto beside = scoreFolder(program); !beside.empty())
        logs.push_back(beside / "Score.TXT");
    if (!dataFolder.empty())
        logs.push_back(dataFolder / "Score.TXT");
    return logs;
}

}  // namespace tonarika

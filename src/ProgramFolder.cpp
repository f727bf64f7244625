#include "ProgramFolder.h"

// std
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

}  // namespace tonarika

#include "ProgramFolder.h"

// std
#include <system_error>

namespace tonarika {

std::filesystem::path programFolder()
{
    std::error_code error;
    const auto exe = std::filesystem::canonical("/proc/self/exe", error);
    return error ? std::filesystem::path{} : exe.parent_path();
}

}  // namespace tonarika

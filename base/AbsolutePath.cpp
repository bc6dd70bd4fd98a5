#include "base/AbsolutePath.h"

#include <filesystem>
#include <system_error>

std::string absoluteOrAsGiven(const std::string& path)
{
    std::error_code error;
    const std::filesystem::path made = std::filesystem::absolute(path, error);
    return error ? path : made.string();
}

std::string pathInFolder(const std::string& folder, const std::string& name)
{
    return folder == "/" ? "/" + name : folder + "/" + name;
}

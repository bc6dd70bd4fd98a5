#include "platform/ResourceLocator.h"

#include <sys/stat.h>
#include <unistd.h>

#include <vector>

namespace platform {

std::optional<std::string> executableDirectory()
{
    std::vector<char> buffer(4096);
    for (;;) {
        ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0)
            return std::nullopt;
        if (static_cast<std::size_t>(length) < buffer.size()) {
            std::string path(buffer.data(), static_cast<std::size_t>(length));
            auto slash = path.rfind('/');
            if (slash == std::string::npos)
                return std::nullopt;
            return path.substr(0, slash == 0 ? 1 : slash);
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::optional<std::string> findResource(const std::string& name)
{
    auto directory = executableDirectory();
    if (!directory)
        return std::nullopt;
    std::string candidate = *directory + "/../" TELVARIN_DATA_SUBDIR "/" + name;
    struct stat status {};
    if (stat(candidate.c_str(), &status) != 0 || !S_ISREG(status.st_mode))
        return std::nullopt;
    return candidate;
}

} // namespace platform

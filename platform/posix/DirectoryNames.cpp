#include "platform/posix/DirectoryNames.h"

#include <dirent.h>

#include <cerrno>
#include <memory>

namespace platform {

std::optional<std::vector<std::string>> namesInDirectory(FileDescriptor directory, std::error_code& error)
{
    struct DirectoryCloser {
        void operator()(DIR* handle) const { closedir(handle); }
    };
    std::unique_ptr<DIR, DirectoryCloser> handle(fdopendir(directory.get()));
    if (!handle) {
        error = {errno, std::system_category()};
        return std::nullopt;
    }
    directory.release(); // closedir closes it now
    std::vector<std::string> names;
    errno = 0;
    while (const dirent* entry = readdir(handle.get())) {
        std::string name = entry->d_name;
        if (name != "." && name != "..")
            names.push_back(std::move(name));
        errno = 0;
    }
    // readdir tells an error from the end only through errno.
    if (errno != 0) {
        error = {errno, std::system_category()};
        return std::nullopt;
    }
    return names;
}

} // namespace platform

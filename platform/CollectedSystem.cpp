#include "CollectedSystem.h"

#include <dirent.h>
#include <fcntl.h>

#include <memory>
#include <utility>

namespace platform {

CollectedSystem::CollectedSystem(std::string root) : root_(std::move(root))
{
    // "/" is the running machine's own root.
    while (root_.size() > 1 && root_.back() == '/')
        root_.pop_back();
    if (root_ == "/")
        root_.clear();
}

std::string CollectedSystem::onThisMachine(const std::string& path) const
{
    if (root_.empty())
        return path;
    // The collected system's paths are absolute; a relative one is taken
    // from its root as well.
    if (!path.empty() && path.front() == '/')
        return root_ + path;
    return root_ + "/" + path;
}

bool CollectedSystem::status(const std::string& path, struct stat* status) const
{
    return ::stat(onThisMachine(path).c_str(), status) == 0;
}

FileDescriptor CollectedSystem::openForReading(const std::string& path) const
{
    return FileDescriptor(::open(onThisMachine(path).c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
}

std::optional<std::vector<std::string>> CollectedSystem::listDirectory(const std::string& path) const
{
    struct DirectoryCloser {
        void operator()(DIR* handle) const { closedir(handle); }
    };
    std::unique_ptr<DIR, DirectoryCloser> handle(opendir(onThisMachine(path).c_str()));
    if (!handle)
        return std::nullopt;
    std::vector<std::string> names;
    while (const dirent* entry = readdir(handle.get())) {
        std::string name = entry->d_name;
        if (name != "." && name != "..")
            names.push_back(std::move(name));
    }
    return names;
}

} // namespace platform

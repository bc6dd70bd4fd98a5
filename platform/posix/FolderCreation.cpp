#include "platform/posix/FolderCreation.h"

#include "platform/posix/FileDescriptor.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>

namespace platform {
namespace {

// O_PATH: a parent that may be searched but not listed (a home of mode 0711)
// still serves as the base of the next step.
constexpr int FOLDER_FLAGS = O_PATH | O_DIRECTORY | O_CLOEXEC;

// Enters `name` below `parent`, making it first when it is missing.
FileDescriptor enterOrMake(const FileDescriptor& parent, const std::string& name)
{
    const bool made = mkdirat(parent.get(), name.c_str(), 0755) == 0;
    if (!made && errno != EEXIST)
        return FileDescriptor();
    return FileDescriptor(openat(parent.get(), name.c_str(), FOLDER_FLAGS | (made ? O_NOFOLLOW : 0)));
}

} // namespace

bool makeFolderWithParents(const std::string& path)
{
    if (path.empty())
        return false;
    FileDescriptor current(open(path.front() == '/' ? "/" : ".", FOLDER_FLAGS));
    std::string::size_type start = 0;
    while (current && start < path.size()) {
        std::string::size_type end = path.find('/', start);
        if (end == std::string::npos)
            end = path.size();
        const std::string name = path.substr(start, end - start);
        if (!name.empty() && name != ".")
            current = enterOrMake(current, name);
        start = end + 1;
    }
    return current.isOpen();
}

} // namespace platform

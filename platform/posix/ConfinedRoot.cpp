#include "platform/posix/ConfinedRoot.h"

#include "platform/posix/DirectoryNames.h"

#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>

namespace platform {
namespace {

constexpr unsigned long long CONFINED_RESOLUTION = RESOLVE_IN_ROOT | RESOLVE_NO_MAGICLINKS;

// RESOLVE_IN_ROOT answers EAGAIN when a rename anywhere on the system races
// with a ".." on the way; a few retries get through any ordinary load.
constexpr int EAGAIN_RETRIES = 16;

// glibc 2.36 has no wrapper for openat2.
int openat2Once(int directory, const char* path, int flags, unsigned long long resolve)
{
    open_how how{};
    how.flags = static_cast<unsigned long long>(flags);
    how.resolve = resolve;
    return static_cast<int>(syscall(SYS_openat2, directory, path, &how, sizeof how));
}

int openat2Retrying(int directory, const char* path, int flags, unsigned long long resolve)
{
    int eagainLeft = EAGAIN_RETRIES;
    for (;;) {
        int descriptor = openat2Once(directory, path, flags, resolve);
        if (descriptor >= 0)
            return descriptor;
        if (errno == EINTR)
            continue;
        if (errno == EAGAIN && eagainLeft-- > 0)
            continue;
        return -1;
    }
}

std::error_code lastError()
{
    return {errno, std::system_category()};
}

} // namespace

bool ConfinedRoot::isSupported()
{
    // Any failure to open "/" counts as missing: ENOSYS from an old kernel,
    // or EPERM from a seccomp filter that does not know the call.
    static const bool supported = [] {
        FileDescriptor probe(openat2Retrying(AT_FDCWD, "/", O_PATH | O_CLOEXEC, CONFINED_RESOLUTION));
        return probe.isOpen();
    }();
    return supported;
}

std::optional<ConfinedRoot> ConfinedRoot::open(const std::string& directory, std::error_code& error)
{
    if (!isSupported()) {
        error = std::make_error_code(std::errc::function_not_supported);
        return std::nullopt;
    }
    // The root itself may be reached through links: it is the user's choice.
    FileDescriptor root(::open(directory.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (!root) {
        error = lastError();
        return std::nullopt;
    }
    error.clear();
    return ConfinedRoot(std::move(root));
}

FileDescriptor ConfinedRoot::resolve(const std::string& path, int flags, std::error_code& error) const
{
    // The kernel refuses an empty path; "." is the root itself.
    const char* relative = path.empty() ? "." : path.c_str();
    FileDescriptor descriptor(openat2Retrying(root_.get(), relative, flags | O_CLOEXEC, CONFINED_RESOLUTION));
    if (descriptor)
        error.clear();
    else
        error = lastError();
    return descriptor;
}

FileDescriptor ConfinedRoot::locate(const std::string& path, std::error_code& error) const
{
    // O_PATH opens anything without side effects: a FIFO, a device, a
    // file without read permission.
    return resolve(path, O_PATH, error);
}

std::optional<struct stat> ConfinedRoot::status(const std::string& path, std::error_code& error) const
{
    FileDescriptor object = locate(path, error);
    if (!object)
        return std::nullopt;
    struct stat result {};
    if (fstat(object.get(), &result) != 0) {
        error = lastError();
        return std::nullopt;
    }
    return result;
}

FileDescriptor ConfinedRoot::openForReading(const std::string& path, std::error_code& error) const
{
    return resolve(path, O_RDONLY | O_NONBLOCK | O_NOCTTY, error);
}

FileDescriptor ConfinedRoot::openDirectory(const std::string& path, std::error_code& error) const
{
    return resolve(path, O_RDONLY | O_DIRECTORY, error);
}

std::optional<std::vector<std::string>> ConfinedRoot::listDirectory(const std::string& path,
                                                                    std::error_code& error) const
{
    FileDescriptor directory = openDirectory(path, error);
    if (!directory)
        return std::nullopt;
    return namesInDirectory(std::move(directory), error);
}

} // namespace platform

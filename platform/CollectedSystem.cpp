#include "platform/CollectedSystem.h"

#include "platform/posix/DirectoryNames.h"

#include <fcntl.h>

#include <cerrno>
#include <string>
#include <utility>

namespace platform {
namespace {

std::error_code lastError()
{
    return {errno, std::system_category()};
}

} // namespace

FileKind fileKindOf(mode_t mode)
{
    switch (mode & S_IFMT) {
    case S_IFREG:
        return FileKind::regular;
    case S_IFDIR:
        return FileKind::directory;
    case S_IFIFO:
        return FileKind::fifo;
    case S_IFSOCK:
        return FileKind::socket;
    case S_IFCHR:
        return FileKind::characterDevice;
    case S_IFBLK:
        return FileKind::blockDevice;
    default:
        return FileKind::other;
    }
}

CollectedSystem::CollectedSystem(std::string root) : root_(std::move(root))
{
    // "/" is the running machine's own root.
    while (root_.size() > 1 && root_.back() == '/')
        root_.pop_back();
    if (root_ == "/")
        root_.clear();
    if (root_.empty())
        return;
    std::error_code error;
    if (auto opened = ConfinedRoot::open(root_, error))
        confined_ = std::make_shared<const ConfinedRoot>(std::move(*opened));
    else
        openError_ = error.value();
}

CollectedSystem::RegularFile CollectedSystem::openRegularFile(const std::string& path) const
{
    RegularFile result;
    FileDescriptor located;
    if (root_.empty()) {
        located = FileDescriptor(::open(path.c_str(), O_PATH | O_CLOEXEC));
    } else if (confined_) {
        std::error_code error;
        located = confined_->locate(path, error);
    }
    if (!located || fstat(located.get(), &result.status) != 0)
        return result;
    result.kind = fileKindOf(result.status.st_mode);
    if (result.kind != FileKind::regular)
        return result;
    result.found = true;
    const int flags = O_RDONLY | O_NOCTTY | O_CLOEXEC | (result.status.st_size > 0 ? 0 : O_NONBLOCK);
    result.file = FileDescriptor(::open(("/proc/self/fd/" + std::to_string(located.get())).c_str(), flags));
    if (result.file)
        return result;
    if (errno != ENOENT) {
        result.error = lastError();
        return result;
    }
    // Without /proc: the path once more, and what it names now.
    result.file = openForReading(path, result.error);
    if (!result.file) {
        // Removed since (a log rotated away).
        result.found =
            result.error != std::errc::no_such_file_or_directory && result.error != std::errc::not_a_directory;
        if (!result.found)
            result.kind = FileKind::none;
        return result;
    }
    if (fstat(result.file.get(), &result.status) != 0) {
        result.error = lastError();
        result.file.reset();
        return result;
    }
    result.kind = fileKindOf(result.status.st_mode);
    if (result.kind != FileKind::regular) {
        result.found = false;
        result.file.reset();
    } else if (result.status.st_size > 0) {
        fcntl(result.file.get(), F_SETFL, fcntl(result.file.get(), F_GETFL) & ~O_NONBLOCK);
    }
    return result;
}

std::optional<struct stat> CollectedSystem::status(const std::string& path, std::error_code& error) const
{
    if (!root_.empty()) {
        if (!confined_) {
            error = {openError_, std::system_category()};
            return std::nullopt;
        }
        return confined_->status(path, error);
    }
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        error = lastError();
        return std::nullopt;
    }
    return status;
}

FileDescriptor CollectedSystem::openForReading(const std::string& path, std::error_code& error) const
{
    if (!root_.empty()) {
        if (!confined_) {
            error = {openError_, std::system_category()};
            return FileDescriptor();
        }
        return confined_->openForReading(path, error);
    }
    FileDescriptor descriptor(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!descriptor)
        error = lastError();
    return descriptor;
}

std::optional<std::vector<std::string>> CollectedSystem::listDirectory(const std::string& path,
                                                                       std::error_code& error) const
{
    if (!root_.empty()) {
        if (!confined_) {
            error = {openError_, std::system_category()};
            return std::nullopt;
        }
        return confined_->listDirectory(path, error);
    }
    FileDescriptor directory(::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!directory) {
        error = lastError();
        return std::nullopt;
    }
    return namesInDirectory(std::move(directory), error);
}

} // namespace platform

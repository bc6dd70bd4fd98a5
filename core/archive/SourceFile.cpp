#include "SourceFile.h"

#include "CollectedSystem.h"
#include "ErrorCodes.h"
#include "Services.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <utility>

std::optional<SourceFile> SourceFile::open(const char* path)
{
    const platform::CollectedSystem& system = platform::collectedSystem();
    struct stat status {};
    if (!system.status(path, &status) || !S_ISREG(status.st_mode))
        return std::nullopt;
    // The open never waits: should the path have turned into a FIFO since
    // the check, it is passed over below.
    platform::FileDescriptor file = system.openForReading(path);
    // A file removed since the check (a log rotated away) is simply gone.
    if (!file && (errno == ENOENT || errno == ENOTDIR))
        return std::nullopt;
    if (!file || fstat(file.get(), &status) != 0)
        throw ERROR_FILE_READ;
    if (!S_ISREG(status.st_mode))
        return std::nullopt;
    // Back to blocking reads; for a regular file this changes nothing else.
    fcntl(file.get(), F_SETFL, fcntl(file.get(), F_GETFL) & ~O_NONBLOCK);
    return SourceFile(std::move(file), status);
}

SourceFile::SourceFile(platform::FileDescriptor file, const struct stat& status)
    : file_(std::move(file)),
      modificationTime_(status.st_mtime),
      size_(status.st_size),
      left_(status.st_size),
      device_(status.st_dev),
      inode_(status.st_ino)
{
}

std::size_t SourceFile::read(void* buffer, std::size_t capacity)
{
    const bool bounded = size_ > 0;
    if (bounded)
        capacity = static_cast<std::size_t>(std::min<off_t>(left_, static_cast<off_t>(capacity)));
    if (capacity == 0)
        return 0;
    for (;;) {
        ssize_t count = ::read(file_.get(), buffer, capacity);
        if (count >= 0) {
            if (bounded)
                left_ -= count;
            return static_cast<std::size_t>(count);
        }
        if (errno != EINTR)
            throw ERROR_FILE_READ;
    }
}

#include "FileReaderClass.h"

#include "ErrorCodes.h"
#include "Services.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <utility>

std::optional<SourceFile> SourceFile::open(const char* path)
{
    const std::string host = platform::hostPath(path);
    struct stat status {};
    if (stat(host.c_str(), &status) != 0 || !S_ISREG(status.st_mode))
        return std::nullopt;
    // O_NONBLOCK: should the path have turned into a FIFO since the check,
    // the open must not wait for a writer.
    int descriptor = ::open(host.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    // A file removed since the check (a log rotated away) is simply gone.
    if (descriptor < 0 && (errno == ENOENT || errno == ENOTDIR))
        return std::nullopt;
    if (descriptor < 0)
        throw ERROR_FILE_READ;
    if (fstat(descriptor, &status) != 0) {
        ::close(descriptor);
        throw ERROR_FILE_READ;
    }
    if (!S_ISREG(status.st_mode)) {
        ::close(descriptor);
        return std::nullopt;
    }
    // Back to blocking reads; for a regular file this changes nothing else.
    fcntl(descriptor, F_SETFL, fcntl(descriptor, F_GETFL) & ~O_NONBLOCK);
    return SourceFile(descriptor, status);
}

SourceFile::SourceFile(int descriptor, const struct stat& status)
    : descriptor_(descriptor),
      modificationTime_(status.st_mtime),
      size_(status.st_size),
      device_(status.st_dev),
      inode_(status.st_ino)
{
}

SourceFile::SourceFile(SourceFile&& other) noexcept
    : descriptor_(std::exchange(other.descriptor_, -1)),
      modificationTime_(other.modificationTime_),
      size_(other.size_),
      device_(other.device_),
      inode_(other.inode_)
{
}

SourceFile& SourceFile::operator=(SourceFile&& other) noexcept
{
    if (this != &other) {
        if (descriptor_ >= 0)
            ::close(descriptor_);
        descriptor_ = std::exchange(other.descriptor_, -1);
        modificationTime_ = other.modificationTime_;
        size_ = other.size_;
        device_ = other.device_;
        inode_ = other.inode_;
    }
    return *this;
}

SourceFile::~SourceFile()
{
    if (descriptor_ >= 0)
        ::close(descriptor_);
}

std::size_t SourceFile::read(void* buffer, std::size_t capacity)
{
    for (;;) {
        ssize_t count = ::read(descriptor_, buffer, capacity);
        if (count >= 0)
            return static_cast<std::size_t>(count);
        if (errno != EINTR)
            throw ERROR_FILE_READ;
    }
}

bool FileReaderClass::fileExists(const char* path)
{
    if (path == nullptr)
        return false;
    struct stat status {};
    return stat(platform::hostPath(path).c_str(), &status) == 0;
}

bool FileReaderClass::listDir(std::string directory, std::list<std::string>* names)
{
    struct DirectoryCloser {
        void operator()(DIR* handle) const { closedir(handle); }
    };
    std::unique_ptr<DIR, DirectoryCloser> handle(opendir(platform::hostPath(directory).c_str()));
    if (!handle)
        return false;
    std::list<std::string> found;
    while (const dirent* entry = readdir(handle.get())) {
        std::string name = entry->d_name;
        if (name == "." || name == ".." || name == ".DS_Store")
            continue;
        found.push_back(std::move(name));
    }
    names->splice(names->end(), found);
    return true;
}

std::string FileReaderClass::readFileData(const char* path)
{
    auto file = SourceFile::open(path);
    if (!file)
        throw ERROR_FILE_READ;
    std::string data;
    char chunk[65536];
    while (std::size_t count = file->read(chunk, sizeof chunk))
        data.append(chunk, count);
    return data;
}

#pragma once

#include "platform/CollectedSystem.h"
#include "platform/posix/FileDescriptor.h"

#include <sys/stat.h>
#include <sys/types.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <system_error>

struct SourceLookup;

// A regular file opened for reading, closed when the object goes.
class SourceFile {
public:
    // How much of a file that reported size 0 at open is read. Under /proc
    // and /sys the size says nothing: some such files are enormous
    // (/proc/self/pagemap) and some never end (tracing pipes, /proc/kmsg).
    struct UnknownSizeLimits {
        std::size_t bytes = std::size_t{16} << 20;
        std::chrono::milliseconds time{3000};
    };
    static UnknownSizeLimits unknownSizeLimits();
    // For tests: other limits from now on; the previous ones.
    static UnknownSizeLimits setUnknownSizeLimits(UnknownSizeLimits limits);

    // The file at a path of the collected system. Nothing when the path is
    // missing or names something other than a regular file (a directory, a
    // FIFO, a device): those are never read, so the run cannot hang on them.
    // Code 4, naming the file, when it is a regular file that cannot be opened.
    static std::optional<SourceFile> open(const char* path);
    // The same, telling what the path names when it is no regular file.
    static SourceLookup lookUp(const char* path);

    // The path it was opened by, as the collected system names it.
    const std::string& path() const { return path_; }
    std::time_t modificationTime() const { return modificationTime_; }
    // The size when the file was opened; the file may still grow or shrink.
    off_t sizeWhenOpened() const { return size_; }
    // Up to `capacity` bytes; 0 at the end of the file. Code 4, naming the
    // file, on a read error.
    // Only the size seen at open is read, so that a log appended to faster
    // than it is read still ends; one that ends sooner is read as far as it
    // goes. sizeChange() then says which it was. A file that reported 0 is
    // read to its end within the unknown-size limits, never waiting longer
    // than they allow for bytes that do not come; where a limit ends it,
    // cutShort() says so.
    std::size_t read(void* buffer, std::size_t capacity);
    bool cutShort() const { return cutShort_; }
    // How a file of a known size turned out once read to its end.
    enum class SizeChange {
        none,
        shrank, // it ended before the size seen at open
        grew,   // it went on past that size (what followed was not read)
    };
    SizeChange sizeChange() const { return sizeChange_; }
    // The bytes read so far.
    std::uint64_t bytesRead() const { return bytesRead_; }
    int descriptor() const { return file_.get(); }
    // Whether this is the file with that device and inode number.
    bool isFile(dev_t device, ino_t inode) const { return device_ == device && inode_ == inode; }

private:
    SourceFile(std::string path, platform::FileDescriptor file, const struct stat& status);
    std::size_t readUnknownSize(void* buffer, std::size_t capacity);
    std::size_t readSome(void* buffer, std::size_t capacity);
    [[noreturn]] void throwReadFailure(std::error_code error) const;
    std::string path_;
    platform::FileDescriptor file_;
    std::time_t modificationTime_ = 0;
    off_t size_ = 0;
    off_t left_ = 0;
    dev_t device_ = 0;
    ino_t inode_ = 0;
    std::uint64_t bytesRead_ = 0;
    bool cutShort_ = false;
    bool endSeen_ = false;
    SizeChange sizeChange_ = SizeChange::none;
    std::optional<std::chrono::steady_clock::time_point> deadline_;
};

// A path looked up for reading: the file when it names a regular file, and
// what it names.
struct SourceLookup {
    std::optional<SourceFile> file;
    platform::FileKind kind = platform::FileKind::none;
};

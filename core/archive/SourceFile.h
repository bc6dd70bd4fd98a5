#pragma once

#include "FileDescriptor.h"

#include <sys/stat.h>
#include <sys/types.h>

#include <cstddef>
#include <ctime>
#include <optional>

// A regular file opened for reading, closed when the object goes.
class SourceFile {
public:
    // The file at a path of the collected system. Nothing when the path is
    // missing or names something other than a regular file (a directory, a
    // FIFO, a device): those are never read, so the run cannot hang on them.
    // Code 4 when it is a regular file that cannot be opened.
    static std::optional<SourceFile> open(const char* path);

    std::time_t modificationTime() const { return modificationTime_; }
    // The size when the file was opened; the file may still grow or shrink.
    off_t sizeWhenOpened() const { return size_; }
    // Up to `capacity` bytes; 0 at the end of the file. Code 4 on a read error.
    // Only the size seen at open is read, so that a log appended to faster
    // than it is read still ends; a file that reported 0 (under /proc or
    // /sys the size says nothing) is read to its end.
    std::size_t read(void* buffer, std::size_t capacity);
    int descriptor() const { return file_.get(); }
    // Whether this is the file with that device and inode number.
    bool isFile(dev_t device, ino_t inode) const { return device_ == device && inode_ == inode; }

private:
    SourceFile(platform::FileDescriptor file, const struct stat& status);
    platform::FileDescriptor file_;
    std::time_t modificationTime_ = 0;
    off_t size_ = 0;
    off_t left_ = 0;
    dev_t device_ = 0;
    ino_t inode_ = 0;
};

#pragma once
// File-system access for the report. Every path is a path of the collected
// system; it is read under the file-system root when one is set.

#include <sys/stat.h>
#include <sys/types.h>

#include <cstddef>
#include <ctime>
#include <list>
#include <optional>
#include <string>

// A regular file opened for reading, closed when the object goes.
class SourceFile {
public:
    // The file at a path of the collected system. Nothing when the path is
    // missing or names something other than a regular file (a directory, a
    // FIFO, a device): those are never read, so the run cannot hang on them.
    // Code 4 when it is a regular file that cannot be opened.
    static std::optional<SourceFile> open(const char* path);

    SourceFile(SourceFile&& other) noexcept;
    SourceFile& operator=(SourceFile&& other) noexcept;
    SourceFile(const SourceFile&) = delete;
    SourceFile& operator=(const SourceFile&) = delete;
    ~SourceFile();

    std::time_t modificationTime() const { return modificationTime_; }
    // The size when the file was opened; the file may still grow or shrink.
    off_t sizeWhenOpened() const { return size_; }
    // Up to `capacity` bytes; 0 at the end of the file. Code 4 on a read error.
    std::size_t read(void* buffer, std::size_t capacity);
    // Whether this is the file with that device and inode number.
    bool isFile(dev_t device, ino_t inode) const { return device_ == device && inode_ == inode; }

private:
    SourceFile(int descriptor, const struct stat& status);
    int descriptor_ = -1;
    std::time_t modificationTime_ = 0;
    off_t size_ = 0;
    dev_t device_ = 0;
    ino_t inode_ = 0;
};

class FileReaderClass {
public:
    FileReaderClass() = delete;

    // True when the status of the path can be read, whatever it names.
    static bool fileExists(const char* path);
    // Appends the directory's entry names, in the system's order, without
    // ".", ".." and ".DS_Store". False, leaving the list alone, when the
    // directory cannot be opened.
    static bool listDir(std::string directory, std::list<std::string>* names);
    // The whole file, every byte it yields up to its end. Code 4 when it
    // cannot be opened or read, or is not a regular file.
    static std::string readFileData(const char* path);
};

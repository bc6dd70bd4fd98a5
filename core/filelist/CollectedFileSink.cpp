#include "core/filelist/CollectedFileSink.h"

#include "platform/Services.h"

#include <sys/stat.h>

void CollectedFileSink::progress(const std::string& line)
{
    platform::reporter().progress(line);
}

FileKindWords fileKindWords(platform::FileKind kind)
{
    using platform::FileKind;
    switch (kind) {
    case FileKind::directory:
        return {"directory", "a directory"};
    case FileKind::fifo:
        return {"fifo", "a FIFO"};
    case FileKind::socket:
        return {"socket", "a socket"};
    case FileKind::characterDevice:
        return {"character-device", "a character device"};
    case FileKind::blockDevice:
        return {"block-device", "a block device"};
    case FileKind::none:
    case FileKind::regular:
    case FileKind::other:
        break;
    }
    return {"other", "a special file"};
}

const char* fileKindWord(platform::FileKind kind)
{
    return fileKindWords(kind).token;
}

platform::FileKind FileListingSink::tryToAdd(const std::string& sourcePath, const std::string& /*entryName*/)
{
    // The same test the archive makes before it copies: a regular file, links
    // followed; directories and special files are passed over.
    std::error_code error;
    const auto status = platform::collectedSystem().status(sourcePath, error);
    if (!status)
        return platform::FileKind::none;
    const platform::FileKind kind = platform::fileKindOf(status->st_mode);
    if (kind == platform::FileKind::regular)
        paths_.push_back({sourcePath, true, static_cast<std::uint64_t>(status->st_size), kind});
    return kind;
}

void FileListingSink::noteMissing(const std::string& path)
{
    paths_.push_back({path, false, 0, platform::FileKind::none});
}

void FileListingSink::noteSkipped(const std::string& path, platform::FileKind kind)
{
    paths_.push_back({path, false, 0, kind});
}

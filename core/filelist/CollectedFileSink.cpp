#include "core/filelist/CollectedFileSink.h"

#include "platform/CollectedSystem.h"
#include "platform/Services.h"

#include <sys/stat.h>

void CollectedFileSink::progress(const std::string& line)
{
    platform::reporter().progress(line);
}

bool FileListingSink::tryToAdd(const std::string& sourcePath, const std::string& /*entryName*/)
{
    // The same test the archive makes before it copies: a regular file, links
    // followed; directories and special files are passed over.
    std::error_code error;
    const auto status = platform::collectedSystem().status(sourcePath, error);
    if (!status || !S_ISREG(status->st_mode))
        return false;
    paths_.push_back({sourcePath, true, static_cast<std::uint64_t>(status->st_size)});
    return true;
}

void FileListingSink::noteMissing(const std::string& path)
{
    paths_.push_back({path, false, 0});
}

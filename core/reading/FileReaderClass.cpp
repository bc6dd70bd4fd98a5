#include "core/reading/FileReaderClass.h"

#include "base/CodedFailure.h"
#include "base/ErrorCodes.h"
#include "core/reading/SourceFile.h"
#include "platform/CollectedSystem.h"
#include "platform/Services.h"
#include "platform/posix/BoundedRead.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <limits>
#include <utility>

bool FileReaderClass::fileExists(const char* path)
{
    if (path == nullptr)
        return false;
    std::error_code error;
    return platform::collectedSystem().status(path, error).has_value();
}

bool FileReaderClass::listDir(std::string directory, std::list<std::string>* names)
{
    std::error_code error;
    auto listing = platform::collectedSystem().listDirectory(directory, error);
    if (!listing)
        return false;
    for (std::string& name : *listing)
        if (name != ".DS_Store")
            names->push_back(std::move(name));
    return true;
}

std::string FileReaderClass::readFileData(const char* path)
{
    auto file = SourceFile::open(path);
    if (!file)
        throw CodedFailure{ERROR_FILE_READ, {FailedStep::readListedFile, path ? path : "", ENOENT}};
    // Lengths are 32-bit signed throughout; a larger file cannot be held.
    platform::BoundedRead data = platform::readAtMost(file->descriptor(), std::numeric_limits<std::int32_t>::max());
    if (data.outcome != platform::BoundedReadOutcome::complete)
        throw CodedFailure{ERROR_FILE_READ,
                           {FailedStep::readListedFile, file->path(),
                            data.outcome == platform::BoundedReadOutcome::tooLarge ? EFBIG : data.error.value()}};
    return std::move(data.data);
}

#include "ArchivingClass.h"

#include "ErrorCodes.h"
#include "FileReaderClass.h"

#include <sys/stat.h>
#include <zlib.h>

#include <algorithm>
#include <limits>
#include <map>
#include <mutex>
#include <vector>

namespace {

// Large enough that big files go by in few calls, small enough that a run's
// memory stays flat.
constexpr std::size_t COPY_CHUNK_SIZE = 1 << 20;

// Entries that may pass 4 GiB need the zip64 extension; a file that starts at
// 2 GiB or more gets it, leaving room for one that grows while it is read.
constexpr off_t ZIP64_THRESHOLD = off_t{1} << 31;

// The file behind each open archive, so that a wildcard that happens to
// match the archive itself (a listed Desktop/*.zip) never copies the archive
// into itself, growing it without end.
struct FileIdentity {
    dev_t device;
    ino_t inode;
};

std::mutex openArchivesMutex;
std::map<void*, FileIdentity>& openArchives()
{
    static std::map<void*, FileIdentity> archives;
    return archives;
}

void rememberArchive(void* archive, const char* path)
{
    struct stat status {};
    if (stat(path, &status) != 0)
        return;
    std::lock_guard lock(openArchivesMutex);
    openArchives()[archive] = {status.st_dev, status.st_ino};
}

void forgetArchive(void* archive)
{
    std::lock_guard lock(openArchivesMutex);
    openArchives().erase(archive);
}

bool isArchiveItself(const SourceFile& source, void* archive)
{
    std::lock_guard lock(openArchivesMutex);
    auto found = openArchives().find(archive);
    return found != openArchives().end() && source.isFile(found->second.device, found->second.inode);
}

void check(int result)
{
    if (result != ZIP_OK)
        throw ERROR_ARCHIVE_WRITE;
}

class OpenEntry {
public:
    OpenEntry(void* archive, const char* entryName, const zip_fileinfo* fileInfo, bool zip64)
        : archive_(archive)
    {
        check(zipOpenNewFileInZip64(archive, entryName, fileInfo, nullptr, 0, nullptr, 0, nullptr,
                                    Z_DEFLATED, Z_DEFAULT_COMPRESSION, zip64 ? 1 : 0));
    }
    // An entry that a failure leaves open is finished by the archive's close.
    OpenEntry(const OpenEntry&) = delete;
    OpenEntry& operator=(const OpenEntry&) = delete;

    void write(const void* data, std::size_t length)
    {
        const auto* bytes = static_cast<const char*>(data);
        while (length > 0) {
            auto part = static_cast<unsigned>(std::min<std::size_t>(length, std::numeric_limits<unsigned>::max() / 2));
            check(zipWriteInFileInZip(archive_, bytes, part));
            bytes += part;
            length -= part;
        }
    }

    void close() { check(zipCloseFileInZip(archive_)); }

private:
    void* archive_;
};

} // namespace

void ArchivingClass::copyToEntry(SourceFile& source, const char* entryName, void* archive)
{
    zip_fileinfo info = fileInfoForModificationTime(source.modificationTime());
    // The first chunk is read before the entry is opened, so that a file that
    // cannot be read leaves no empty entry behind.
    // Small files get a small buffer; the +1 lets a file read whole show its end.
    const auto expected = static_cast<std::size_t>(std::max<off_t>(source.sizeWhenOpened(), 0));
    std::vector<char> chunk(std::clamp<std::size_t>(expected + 1, 4096, COPY_CHUNK_SIZE));
    std::size_t count = source.read(chunk.data(), chunk.size());
    OpenEntry entry(archive, entryName, &info, source.sizeWhenOpened() >= ZIP64_THRESHOLD);
    while (count > 0) {
        entry.write(chunk.data(), count);
        count = source.read(chunk.data(), chunk.size());
    }
    entry.close();
}

zip_fileinfo ArchivingClass::fileInfoForModificationTime(std::time_t modificationTime)
{
    const std::tm earliest{0, 0, 0, 1, 0, 80, 0, 0, 0, 0, nullptr};
    const std::tm latest{58, 59, 23, 31, 11, 207, 0, 0, 0, 0, nullptr};
    std::tm utc{};
    // A zip date runs from 1980 to 2107; outside that the stored year would
    // wrap round to a wrong date. A moment whose year does not even fit the
    // broken-down time leaves half-filled fields, so only its sign counts.
    if (gmtime_r(&modificationTime, &utc) == nullptr)
        utc = modificationTime < 0 ? earliest : latest;
    else if (utc.tm_year < 80)
        utc = earliest;
    else if (utc.tm_year > 207)
        utc = latest;
    zip_fileinfo info{};
    info.tmz_date.tm_sec = static_cast<uInt>(utc.tm_sec);
    info.tmz_date.tm_min = static_cast<uInt>(utc.tm_min);
    info.tmz_date.tm_hour = static_cast<uInt>(utc.tm_hour);
    info.tmz_date.tm_mday = static_cast<uInt>(utc.tm_mday);
    info.tmz_date.tm_mon = static_cast<uInt>(utc.tm_mon);
    info.tmz_date.tm_year = static_cast<uInt>(utc.tm_year);
    info.dosDate = 0;
    info.internal_fa = 0;
    info.external_fa = 0;
    return info;
}

void* ArchivingClass::createNewZipFile(const char* path)
{
    zipFile archive = zipOpen64(path, APPEND_STATUS_CREATE);
    if (archive == nullptr)
        throw ERROR_ARCHIVE_WRITE;
    rememberArchive(archive, path);
    return archive;
}

void ArchivingClass::addEntryToZipFile(const char* entryName, const void* data, unsigned int length,
                                       zip_fileinfo* fileInfo, void* archive)
{
    OpenEntry entry(archive, entryName, fileInfo, false);
    entry.write(data, length);
    entry.close();
}

void ArchivingClass::addEntryToZipFile(const char* entryName, std::string data, void* archive)
{
    OpenEntry entry(archive, entryName, nullptr, data.size() >= static_cast<std::size_t>(ZIP64_THRESHOLD));
    entry.write(data.data(), data.size());
    entry.close();
}

void ArchivingClass::copyFileToZipFileEntry(const char* sourcePath, const char* entryName, void* archive)
{
    auto source = SourceFile::open(sourcePath);
    if (!source)
        throw ERROR_FILE_READ;
    copyToEntry(*source, entryName, archive);
}

bool ArchivingClass::tryToCopyFileToZipFileEntry(const char* sourcePath, const char* entryName, void* archive)
{
    if (!FileReaderClass::fileExists(sourcePath))
        return false;
    auto source = SourceFile::open(sourcePath);
    if (!source || isArchiveItself(*source, archive))
        return false;
    copyToEntry(*source, entryName, archive);
    return true;
}

void ArchivingClass::closeZipFile(void* archive)
{
    forgetArchive(archive);
    check(zipClose(archive, nullptr));
}

void ArchivingClass::closeZipFileAfterFailure(void* archive) noexcept
{
    forgetArchive(archive);
    zipClose(archive, nullptr);
}

#include "ZipArchive.h"

#include "EntryNameEncoding.h"
#include "ErrorCodes.h"
#include "SourceFile.h"

#include <sys/stat.h>
#include <zlib.h>

#include <algorithm>
#include <limits>
#include <utility>
#include <vector>

namespace {

// Large enough that big files go by in few calls, small enough that a run's
// memory stays flat.
constexpr std::size_t COPY_CHUNK_SIZE = 1 << 20;

// Entries that may pass 4 GiB need the zip64 extension; a file that starts at
// 2 GiB or more gets it, leaving room for one that grows while it is read.
constexpr off_t ZIP64_THRESHOLD = off_t{1} << 31;

void check(int result)
{
    if (result != ZIP_OK)
        throw ERROR_ARCHIVE_WRITE;
}

class OpenEntry {
public:
    OpenEntry(zipFile archive, const char* entryName, const zip_fileinfo* fileInfo, bool zip64)
        : archive_(archive)
    {
        // zipOpenNewFileInZip64's own settings, with the name's flags added.
        check(zipOpenNewFileInZip4_64(archive, entryName, fileInfo, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED,
                                      Z_DEFAULT_COMPRESSION, 0, -MAX_WBITS, DEF_MEM_LEVEL, Z_DEFAULT_STRATEGY, nullptr,
                                      0, 0, entryName ? generalPurposeFlagsForEntryName(entryName) : 0, zip64 ? 1 : 0));
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
    zipFile archive_;
};

} // namespace

std::unique_ptr<ZipArchive> ZipArchive::create(const std::string& path)
{
    zipFile handle = zipOpen64(path.c_str(), APPEND_STATUS_CREATE);
    if (handle == nullptr)
        throw ERROR_ARCHIVE_WRITE;
    auto archive = std::make_unique<ZipArchive>(Handle{handle});
    struct stat status {};
    if (stat(path.c_str(), &status) == 0) {
        archive->device_ = status.st_dev;
        archive->inode_ = status.st_ino;
        archive->identityKnown_ = true;
    }
    return archive;
}

ZipArchive::~ZipArchive()
{
    if (handle_)
        zipClose(handle_, nullptr);
}

void ZipArchive::addEntry(const char* entryName, const void* data, std::size_t length, const zip_fileinfo* fileInfo)
{
    OpenEntry entry(handle_, entryName, fileInfo, length >= static_cast<std::size_t>(ZIP64_THRESHOLD));
    entry.write(data, length);
    entry.close();
}

void ZipArchive::addFile(SourceFile& source, const char* entryName, const zip_fileinfo& fileInfo)
{
    // The first chunk is read before the entry is opened, so that a file that
    // cannot be read leaves no empty entry behind.
    // Small files get a small buffer; the +1 lets a file read whole show its end.
    const auto expected = static_cast<std::size_t>(std::max<off_t>(source.sizeWhenOpened(), 0));
    std::vector<char> chunk(std::clamp<std::size_t>(expected + 1, 4096, COPY_CHUNK_SIZE));
    std::size_t count = source.read(chunk.data(), chunk.size());
    OpenEntry entry(handle_, entryName, &fileInfo, source.sizeWhenOpened() >= ZIP64_THRESHOLD);
    while (count > 0) {
        entry.write(chunk.data(), count);
        count = source.read(chunk.data(), chunk.size());
    }
    entry.close();
}

bool ZipArchive::isArchiveItself(const SourceFile& source) const
{
    return identityKnown_ && source.isFile(device_, inode_);
}

void ZipArchive::close()
{
    zipFile handle = std::exchange(handle_, nullptr);
    check(zipClose(handle, nullptr));
}

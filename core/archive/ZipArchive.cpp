#include "ZipArchive.h"

#include "ArchiveFile.h"
#include "EntryNameEncoding.h"
#include "ErrorCodes.h"
#include "FileSystemIdentity.h"
#include "SourceFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <zlib.h>

#include <algorithm>
#include <limits>
#include <optional>
#include <system_error>
#include <utility>
#include <vector>

namespace {

// "Made by" Unix (3), zip format version 2.0.
constexpr uLong UNIX_MADE_BY = (3u << 8) | 20u;

// Large enough that big files go by in few calls, small enough that a run's
// memory stays flat.
constexpr std::size_t COPY_CHUNK_SIZE = 1 << 20;

// Entries that may pass 4 GiB need the zip64 extension. Only the size seen at
// open is copied; from 2 GiB on an entry gets it, leaving room for deflate's
// growth of incompressible data.
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
        const unsigned long flags = entryName ? generalPurposeFlagsForEntryName(entryName) : 0;
        // Info-ZIP's unzip converts the names of entries made on MS-DOS (the
        // default) from code page 437 whatever the flag says: a UTF-8 name
        // says it was made on Unix, as an ordinary rw-r--r-- file, so that
        // it extracts as written and readable. Other entries are as before.
        zip_fileinfo unixInfo{};
        uLong versionMadeBy = 0;
        if ((flags & UTF8_NAME_FLAG) != 0 && fileInfo != nullptr) {
            unixInfo = *fileInfo;
            unixInfo.external_fa = static_cast<uLong>(S_IFREG | 0644) << 16;
            fileInfo = &unixInfo;
            versionMadeBy = UNIX_MADE_BY;
        }
        check(zipOpenNewFileInZip4_64(archive, entryName, fileInfo, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED,
                                      Z_DEFAULT_COMPRESSION, 0, -MAX_WBITS, DEF_MEM_LEVEL, Z_DEFAULT_STRATEGY, nullptr,
                                      0, versionMadeBy, flags, zip64 ? 1 : 0));
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
    const auto slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    std::string finalName = slash == std::string::npos ? path : path.substr(slash + 1);
    try {
        // Work in a folder the running user does not own (root in a user's
        // home) is done with the owner's rights: no write through a link the
        // owner planted, and what is made there is the owner's.
        const platform::ScopedFolderOwnerIdentity owner(folder);
        auto file = std::make_unique<ArchiveFile>(folder);
        // A folder at the report's name would only fail the naming at the end.
        struct stat existing {};
        if (fstatat(file->folderDescriptor(), finalName.c_str(), &existing, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISDIR(existing.st_mode))
            throw ERROR_ARCHIVE_WRITE;
        zlib_filefunc64_def functions = file->fileFunctions();
        zipFile handle = zipOpen2_64(finalName.c_str(), APPEND_STATUS_CREATE, nullptr, &functions);
        if (handle == nullptr)
            throw ERROR_ARCHIVE_WRITE;
        return std::make_unique<ZipArchive>(Handle{std::move(file), std::move(finalName), handle});
    } catch (const std::system_error&) {
        throw ERROR_ARCHIVE_WRITE;
    }
}

ZipArchive::ZipArchive(Handle handle)
    : file_(std::move(handle.file)), finalName_(std::move(handle.finalName)), handle_(handle.zip)
{
}

ZipArchive::~ZipArchive()
{
    if (!handle_)
        return; // closed, or failed in close(): nothing to keep
    const bool written = zipClose(handle_, nullptr) == ZIP_OK;
    if (!written || entries_ == 0)
        return;
    try {
        const platform::ScopedFolderOwnerIdentity owner(file_->folderDescriptor());
        file_->nameIfFree(finalName_);
    } catch (const std::system_error&) {
        // Left unnamed, the file goes with ArchiveFile.
    }
}

void ZipArchive::addEntry(const char* entryName, const void* data, std::size_t length, const zip_fileinfo* fileInfo)
{
    OpenEntry entry(handle_, entryName, fileInfo, length >= static_cast<std::size_t>(ZIP64_THRESHOLD));
    entry.write(data, length);
    entry.close();
    ++entries_;
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
    ++entries_;
}

bool ZipArchive::isArchiveItself(const SourceFile& source) const
{
    // The descriptor, not a name: the archive has none until it is closed.
    struct stat status {};
    return fstat(file_->descriptor(), &status) == 0 && source.isFile(status.st_dev, status.st_ino);
}

void ZipArchive::close()
{
    zipFile handle = std::exchange(handle_, nullptr);
    check(zipClose(handle, nullptr));
    try {
        const platform::ScopedFolderOwnerIdentity owner(file_->folderDescriptor());
        file_->replaceName(finalName_);
    } catch (const std::system_error&) {
        // A folder removed during the run, a full disk: no report was placed.
        throw ERROR_ARCHIVE_WRITE;
    }
}

#include "ZipArchive.h"

#include "ArchiveFile.h"
#include "ErrorCodes.h"
#include "FileSystemIdentity.h"
#include "ParallelZipWriter.h"
#include "SourceFile.h"
#include "Zip64EndRecords.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <optional>
#include <system_error>
#include <utility>

namespace {

// Entries that may pass 4 GiB need the zip64 extension. Only the size seen at
// open is copied; from 2 GiB on an entry gets it, leaving room for deflate's
// growth of incompressible data.
constexpr off_t ZIP64_THRESHOLD = off_t{1} << 31;

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
        std::unique_ptr<ParallelZipWriter> writer;
        try {
            writer = std::make_unique<ParallelZipWriter>(handle, DeflateWorkerPool::threadsForThisMachine());
        } catch (...) {
            zipClose(handle, nullptr);
            throw;
        }
        return std::make_unique<ZipArchive>(Handle{std::move(file), std::move(finalName), handle, std::move(writer)});
    } catch (const std::system_error&) {
        throw ERROR_ARCHIVE_WRITE;
    }
}

ZipArchive::ZipArchive(Handle handle)
    : file_(std::move(handle.file)), finalName_(std::move(handle.finalName)), handle_(handle.zip),
      writer_(std::move(handle.writer))
{
}

ZipArchive::~ZipArchive()
{
    if (!handle_)
        return; // closed, or failed in close(): nothing to keep
    // The entries handed over before the failure are written first.
    writer_->flushAfterFailure();
    const std::size_t entries = writer_->entriesWritten();
    writer_.reset();
    const bool written = zipClose(handle_, nullptr) == ZIP_OK && addMissingZip64EndRecords(file_->descriptor());
    if (!written || entries == 0)
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
    ZipEntryHeader header{entryName, std::nullopt, length >= static_cast<std::size_t>(ZIP64_THRESHOLD)};
    if (fileInfo != nullptr)
        header.fileInfo = *fileInfo;
    writer_->addEntryFromMemory(header, {static_cast<const unsigned char*>(data), length});
}

void ZipArchive::addFile(SourceFile& source, const char* entryName, const zip_fileinfo& fileInfo)
{
    // Read here, in order, so that a file that cannot be read fails this call
    // (what was read of it stays a shorter entry; nothing read, no entry).
    // Only the compression runs on the writer's threads.
    const auto expected = static_cast<std::size_t>(std::max<off_t>(source.sizeWhenOpened(), 0));
    writer_->addEntry({entryName, fileInfo, source.sizeWhenOpened() >= ZIP64_THRESHOLD}, expected,
                      [&source](void* buffer, std::size_t capacity) { return source.read(buffer, capacity); });
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
    try {
        writer_->flush();
    } catch (...) {
        writer_.reset();
        zipClose(handle, nullptr);
        throw;
    }
    writer_.reset();
    if (zipClose(handle, nullptr) != ZIP_OK || !addMissingZip64EndRecords(file_->descriptor()))
        throw ERROR_ARCHIVE_WRITE;
    try {
        const platform::ScopedFolderOwnerIdentity owner(file_->folderDescriptor());
        file_->replaceName(finalName_);
    } catch (const std::system_error&) {
        // A folder removed during the run, a full disk: no report was placed.
        throw ERROR_ARCHIVE_WRITE;
    }
}

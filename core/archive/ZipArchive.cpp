#include "core/archive/ZipArchive.h"

#include "base/AbsolutePath.h"
#include "base/CodedFailure.h"
#include "base/ErrorCodes.h"
#include "base/RunProgress.h"
#include "core/archive/ArchiveFile.h"
#include "core/archive/ChecksumFile.h"
#include "core/archive/ParallelZipWriter.h"
#include "core/archive/Sha256.h"
#include "core/archive/Zip64EndRecords.h"
#include "core/reading/SourceFile.h"
#include "platform/posix/DescriptorLock.h"
#include "platform/posix/FileSystemIdentity.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <optional>
#include <utility>

namespace {

// Entries that may pass 4 GiB need the zip64 extension. Only the size seen at
// open is copied; from 2 GiB on an entry gets it, leaving room for deflate's
// growth of incompressible data.
constexpr off_t ZIP64_THRESHOLD = off_t{1} << 31;

} // namespace

namespace {

// Acts with the rights of `owner` for the lifetime of the object, where one
// is known. Where the switch does not take, code 15 for `step` and `path`:
// the work would otherwise be done with more rights than the owner's.
class OwnersRights {
public:
    OwnersRights(const std::optional<platform::FileOwner>& owner, FailedStep step, const std::string& path)
    {
        if (!owner)
            return;
        std::error_code error;
        identity_.emplace(*owner, error);
        if (error)
            throw CodedFailure{ERROR_ARCHIVE_WRITE, {step, path, error.value()}};
    }

private:
    std::optional<platform::ScopedFileSystemIdentity> identity_;
};

// Where the open folder is now, from the kernel; `named` (made absolute)
// where it cannot tell.
std::string currentPathOfFolder(int folder, const std::string& named)
{
    std::error_code error;
    const auto current = std::filesystem::read_symlink("/proc/self/fd/" + std::to_string(folder), error);
    if (error || current.empty() || current.native().front() != '/')
        return absoluteOrAsGiven(named);
    return current.string();
}

} // namespace

std::unique_ptr<ZipArchive> ZipArchive::create(const std::string& path, const ArchivePlacing& requested)
{
    const std::string folder = folderOf(path);
    std::string finalName = fileNameOf(path);
    ArchivePlacing placing = requested;
    // Work in a folder the running user does not own (root in a user's
    // home) is done with the owner's rights: no write through a link the
    // owner planted, and what is made there is the owner's.
    if (!placing.owner) {
        std::error_code ownerUnknown;
        placing.owner = platform::ownerOfDirectory(folder, ownerUnknown);
    }
    std::unique_ptr<ArchiveFile> file;
    {
        const OwnersRights owner(placing.owner, FailedStep::writeInArchiveFolder, absoluteOrAsGiven(folder));
        file = std::make_unique<ArchiveFile>(folder);
    }
    // A folder at the report's name would only fail the naming at the end.
    struct stat existing {};
    if (fstatat(file->folderDescriptor(), finalName.c_str(), &existing, AT_SYMLINK_NOFOLLOW) == 0 &&
        S_ISDIR(existing.st_mode))
        throw CodedFailure{ERROR_ARCHIVE_WRITE,
                           {FailedStep::nameArchive, pathInFolder(absoluteOrAsGiven(folder), finalName), EISDIR}};
    zlib_filefunc64_def functions = file->fileFunctions();
    ZipHandle handle(zipOpen2_64(finalName.c_str(), APPEND_STATUS_CREATE, nullptr, &functions));
    if (!handle)
        throw CodedFailure{ERROR_ARCHIVE_WRITE,
                           {FailedStep::writeArchive, absoluteOrAsGiven(folder), file->writeError().value()}};
    auto writer = std::make_unique<ParallelZipWriter>(handle.get(), DeflateWorkerPool::threadsForThisMachine());
    return std::make_unique<ZipArchive>(Handle{std::move(file), folder, std::move(finalName), std::move(handle),
                                               std::move(writer), std::move(placing)});
}

template <typename Step>
void ZipArchive::writing(Step step)
{
    try {
        step();
    } catch (const CodedFailure& failure) {
        if (failure.code == ERROR_ARCHIVE_WRITE && !failure.hasDetail())
            throw writeFailure(file_->writeError());
        throw;
    }
}

CodedFailure ZipArchive::writeFailure(std::error_code reason) const
{
    return CodedFailure{ERROR_ARCHIVE_WRITE, {FailedStep::writeArchive, absoluteOrAsGiven(folder_), reason.value()}};
}

std::error_code ZipArchive::closeHandle()
{
    if (!handle_.close())
        return file_->writeError();
    return addMissingZip64EndRecords(file_->descriptor());
}

ZipArchive::ZipArchive(Handle handle)
    : file_(std::move(handle.file)),
      folder_(std::move(handle.folder)),
      finalName_(std::move(handle.finalName)),
      handle_(std::move(handle.zip)),
      writer_(std::move(handle.writer)),
      placing_(std::move(handle.placing))
{
}

ZipArchive::~ZipArchive()
{
    keepPartial();
}

void ZipArchive::discard() noexcept
{
    if (!handle_)
        return;
    writer_.reset();
    // Frees minizip's state; what it writes goes with the unnamed file.
    (void)handle_.close();
    file_.reset();
}

ArchiveOutcome ZipArchive::keepPartial() noexcept
{
    if (!handle_)
        return {}; // closed, or failed in close(): nothing to keep
    // The entries handed over before the failure are written first.
    writer_->flushAfterFailure();
    std::vector<WrittenEntry> entries = writer_->writtenEntries();
    writer_.reset();
    if (closeHandle() || entries.empty())
        return {};
    try {
        return place(ArchiveOutcome::State::partial, std::move(entries));
    } catch (...) {
        // Left unnamed, the file goes with ArchiveFile.
        return {};
    }
}

void ZipArchive::addEntry(const char* entryName, const void* data, std::size_t length, const zip_fileinfo* fileInfo)
{
    ZipEntryHeader header{entryName, std::nullopt, length >= static_cast<std::size_t>(ZIP64_THRESHOLD)};
    if (fileInfo != nullptr)
        header.fileInfo = *fileInfo;
    writing([&] { writer_->addEntryFromMemory(header, {static_cast<const unsigned char*>(data), length}); });
}

void ZipArchive::addFile(SourceFile& source, const char* entryName, const zip_fileinfo& fileInfo)
{
    // Read here, in order, so that a file that cannot be read fails this call
    // (what was read of it stays a shorter entry; nothing read, no entry).
    // Only the compression runs on the writer's threads.
    const auto expected = static_cast<std::size_t>(std::max<off_t>(source.sizeWhenOpened(), 0));
    RunMonitor* monitor = monitor_;
    if (monitor)
        monitor->stepStarted(RunStep::copyingFiles, source.path());
    writing([&] {
        writer_->addEntry({entryName, fileInfo, source.sizeWhenOpened() >= ZIP64_THRESHOLD}, expected,
                          [&source, monitor](void* buffer, std::size_t capacity) {
                              const std::size_t count = source.read(buffer, capacity);
                              if (monitor)
                                  monitor->bytesCopied(count);
                              return count;
                          });
    });
}

bool ZipArchive::isArchiveItself(const SourceFile& source) const
{
    // The descriptor, not a name: the archive has none until it is closed.
    // Its device and inode stay, so they are asked for once.
    if (!identity_) {
        struct stat status {};
        if (fstat(file_->descriptor(), &status) != 0)
            return false;
        identity_ = {status.st_dev, status.st_ino};
    }
    return source.isFile(identity_->first, identity_->second);
}

ArchiveOutcome ZipArchive::close()
{
    try {
        writing([&] { writer_->flush(); });
    } catch (...) {
        writer_.reset();
        (void)handle_.close();
        throw;
    }
    std::vector<WrittenEntry> entries = writer_->writtenEntries();
    writer_.reset();
    if (const std::error_code error = closeHandle())
        throw writeFailure(error);
    // A folder removed during the run, a full disk: naming fails, and no
    // report was placed.
    return place(ArchiveOutcome::State::placed, std::move(entries));
}

// Names the finished file (a report replaces one of its name, a partial
// archive takes only a free name) and writes its checksum file, in turn
// with other runs into the folder.
ArchiveOutcome ZipArchive::place(ArchiveOutcome::State state, std::vector<WrittenEntry> entries)
{
    const std::string namedPath = pathInFolder(absoluteOrAsGiven(folder_), finalName_);
    ArchiveOutcome outcome;
    if (placing_.computeSha256 || placing_.writeChecksumFile) {
        // Before the name exists: no other run can have replaced the file.
        std::error_code unreadable;
        outcome.sha256 = sha256OfDescriptor(file_->descriptor(), unreadable);
        if (!outcome.sha256)
            throw CodedFailure{ERROR_ARCHIVE_WRITE, {FailedStep::nameArchive, namedPath, unreadable.value()}};
    }
    const OwnersRights owner(placing_.owner, FailedStep::nameArchive, namedPath);
    const int folder = file_->folderDescriptor();
    const platform::DescriptorLock lock(folder);
    if (state == ArchiveOutcome::State::placed)
        file_->replaceName(finalName_);
    else if (!file_->nameIfFree(finalName_))
        return {};
    outcome.state = state;
    outcome.entries = std::move(entries);
    const std::string folderPath = currentPathOfFolder(folder, folder_);
    outcome.path = pathInFolder(folderPath, finalName_);
    // The checksum file beside the name is this archive's, or there is none:
    // an earlier archive's would call this one damaged.
    std::error_code checksumError;
    if (state == ArchiveOutcome::State::placed && placing_.writeChecksumFile) {
        checksumError = writeChecksumFileIn(folder, finalName_, *outcome.sha256);
        if (!checksumError)
            outcome.checksumFilePath = pathInFolder(folderPath, checksumFileName(finalName_));
        else
            (void)removeChecksumFileIn(folder, finalName_);
    } else {
        checksumError = removeChecksumFileIn(folder, finalName_);
    }
    if (state == ArchiveOutcome::State::placed)
        outcome.checksumFileError = checksumError;
    return outcome;
}

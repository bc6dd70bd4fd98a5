#include "core/reading/SourceFile.h"

#include "base/CodedFailure.h"
#include "base/ErrorCodes.h"
#include "platform/CollectedSystem.h"
#include "platform/Services.h"
#include "platform/posix/FullIo.h"

#include <algorithm>
#include <cerrno>
#include <utility>

std::optional<SourceFile> SourceFile::open(const char* path)
{
    return lookUp(path).file;
}

SourceLookup SourceFile::lookUp(const char* path)
{
    if (path == nullptr)
        return {};
    // One resolution gives the status and the bytes. A file of a known size
    // reads as any file does; one without keeps its reads from waiting (a
    // tracing pipe, /proc/kmsg), and read() waits for it only as long as
    // the limits allow.
    platform::CollectedSystem::RegularFile opened = platform::collectedSystem().openRegularFile(path);
    if (!opened.found)
        return {std::nullopt, opened.kind};
    if (!opened.file)
        throw CodedFailure{ERROR_FILE_READ, {FailedStep::readListedFile, path, opened.error.value()}};
    return {SourceFile(path, std::move(opened.file), opened.status), platform::FileKind::regular};
}

namespace {

SourceFile::UnknownSizeLimits currentLimits;

} // namespace

SourceFile::UnknownSizeLimits SourceFile::unknownSizeLimits()
{
    return currentLimits;
}

SourceFile::UnknownSizeLimits SourceFile::setUnknownSizeLimits(UnknownSizeLimits limits)
{
    return std::exchange(currentLimits, limits);
}

SourceFile::SourceFile(std::string path, platform::FileDescriptor file, const struct stat& status)
    : path_(std::move(path)),
      file_(std::move(file)),
      modificationTime_(status.st_mtime),
      size_(status.st_size),
      left_(status.st_size),
      device_(status.st_dev),
      inode_(status.st_ino)
{
}

std::size_t SourceFile::read(void* buffer, std::size_t capacity)
{
    if (size_ <= 0)
        return readUnknownSize(buffer, capacity);
    if (capacity == 0 || endSeen_)
        return 0;
    // The last read asks for one byte more than is left: a file that ended
    // where it should gives less, one that grew gives that byte, which is
    // not stored. Either way no read of its own is spent on the question.
    const bool last = static_cast<off_t>(capacity) > left_;
    const std::size_t wanted = last ? static_cast<std::size_t>(left_) + 1 : capacity;
    const std::size_t count = readSome(buffer, wanted);
    if (count == 0) {
        endSeen_ = true;
        if (left_ > 0)
            sizeChange_ = SizeChange::shrank;
        return 0;
    }
    const auto stored = static_cast<std::size_t>(std::min<off_t>(static_cast<off_t>(count), left_));
    if (stored < count)
        sizeChange_ = SizeChange::grew;
    if (last && stored == static_cast<std::size_t>(left_))
        endSeen_ = true;
    left_ -= static_cast<off_t>(stored);
    bytesRead_ += stored;
    return stored;
}

std::size_t SourceFile::readUnknownSize(void* buffer, std::size_t capacity)
{
    using Clock = std::chrono::steady_clock;
    const UnknownSizeLimits limits = unknownSizeLimits();
    if (!deadline_)
        deadline_ = Clock::now() + limits.time;
    if (cutShort_ || capacity == 0)
        return 0;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(*deadline_ - Clock::now());
        if (bytesRead_ >= limits.bytes || left.count() <= 0) {
            // Whether anything is left is not worth a wait: a file that
            // stops exactly at the limit counts as cut short too.
            cutShort_ = true;
            return 0;
        }
        const std::size_t wanted = std::min<std::uint64_t>(capacity, limits.bytes - bytesRead_);
        std::size_t count = 0;
        const std::error_code error = platform::readSome(file_.get(), buffer, wanted, &count);
        if (!error) {
            bytesRead_ += count;
            return count;
        }
        if (error != std::errc::resource_unavailable_try_again)
            throwReadFailure(error);
        // Looked at again at least once a second, so that the deadline holds.
        if (const std::error_code waited =
                platform::waitForInput(file_.get(), std::min(left, std::chrono::milliseconds(1000))))
            throwReadFailure(waited);
    }
}

std::size_t SourceFile::readSome(void* buffer, std::size_t capacity)
{
    std::size_t count = 0;
    if (const std::error_code error = platform::readSome(file_.get(), buffer, capacity, &count))
        throwReadFailure(error);
    return count;
}

void SourceFile::throwReadFailure(std::error_code error) const
{
    throw CodedFailure{ERROR_FILE_READ, {FailedStep::readListedFile, path_, error.value()}};
}

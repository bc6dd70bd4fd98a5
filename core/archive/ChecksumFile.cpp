#include "core/archive/ChecksumFile.h"

#include "core/archive/SignalCleanup.h"
#include "platform/posix/FileDescriptor.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <random>

namespace {

constexpr const char* CHECKSUM_FILE_SUFFIX = ".sha256";

bool writeAll(int descriptor, const std::string& text)
{
    std::size_t written = 0;
    while (written < text.size()) {
        const ssize_t count = ::write(descriptor, text.data() + written, text.size() - written);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0) {
            if (count == 0)
                errno = EIO;
            return false;
        }
        written += static_cast<std::size_t>(count);
    }
    return true;
}

// A new file of that directory under an unused hidden name.
platform::FileDescriptor createTemporaryFile(int directory, const std::string& baseName, std::string* name)
{
    std::random_device seed;
    std::mt19937_64 random(seed());
    const char digits[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string candidate = "." + baseName + ".";
        for (int i = 0; i < 8; ++i)
            candidate += digits[random() % (sizeof digits - 1)];
        platform::FileDescriptor file(::openat(directory, candidate.c_str(),
                                               O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC, 0666));
        if (file) {
            *name = std::move(candidate);
            return file;
        }
        if (errno != EEXIST)
            return {};
    }
    errno = EEXIST;
    return {};
}

} // namespace

std::string checksumFileLine(const std::string& sha256, const std::string& archiveName)
{
    return sha256 + "  " + archiveName + "\n";
}

std::optional<std::string> writeChecksumFileIn(int folder, const std::string& archiveName, const std::string& sha256)
{
    const std::string checksumName = archiveName + CHECKSUM_FILE_SUFFIX;
    std::string temporaryName;
    platform::FileDescriptor file = createTemporaryFile(folder, checksumName, &temporaryName);
    if (!file)
        return std::nullopt;
    int cleanupSlot = registerForRemovalOnSignal(folder, temporaryName);

    auto giveUp = [&] {
        const int reason = errno;
        ::unlinkat(folder, temporaryName.c_str(), 0);
        unregisterFromRemovalOnSignal(cleanupSlot);
        errno = reason;
        return std::nullopt;
    };
    // On disk before it is named, so that a crash never leaves a short file
    // under the real name.
    if (!writeAll(file.get(), checksumFileLine(sha256, archiveName)) || ::fsync(file.get()) != 0)
        return giveUp();
    if (::close(file.release()) != 0)
        return giveUp();
    if (::renameat(folder, temporaryName.c_str(), folder, checksumName.c_str()) != 0)
        return giveUp();
    unregisterFromRemovalOnSignal(cleanupSlot);
    return checksumName;
}

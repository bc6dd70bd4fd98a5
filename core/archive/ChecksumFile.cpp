#include "core/archive/ChecksumFile.h"

#include "core/archive/SignalCleanup.h"
#include "platform/posix/FileDescriptor.h"
#include "platform/posix/FullIo.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <random>

namespace {

constexpr const char* CHECKSUM_FILE_SUFFIX = ".sha256";

std::error_code lastError()
{
    return {errno, std::system_category()};
}

// A new file of that directory under an unused hidden name.
platform::FileDescriptor createTemporaryFile(int directory, const std::string& baseName, std::string* name,
                                             std::error_code& error)
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
        if (errno != EEXIST) {
            error = lastError();
            return {};
        }
    }
    error = std::make_error_code(std::errc::file_exists);
    return {};
}

} // namespace

std::string checksumFileLine(const std::string& sha256, const std::string& archiveName)
{
    return sha256 + "  " + archiveName + "\n";
}

std::string checksumFileName(const std::string& archiveName)
{
    return archiveName + CHECKSUM_FILE_SUFFIX;
}

std::error_code writeChecksumFileIn(int folder, const std::string& archiveName, const std::string& sha256)
{
    std::error_code error;
    std::string temporaryName;
    platform::FileDescriptor file = createTemporaryFile(folder, checksumFileName(archiveName), &temporaryName, error);
    if (!file)
        return error;
    int cleanupSlot = registerForRemovalOnSignal(folder, temporaryName);
    // On disk before it is named, so that a crash never leaves a short file
    // under the real name.
    error = platform::writeFully(file.get(), checksumFileLine(sha256, archiveName));
    if (!error && ::fsync(file.get()) != 0)
        error = lastError();
    if (!error && ::close(file.release()) != 0)
        error = lastError();
    if (!error && ::renameat(folder, temporaryName.c_str(), folder, checksumFileName(archiveName).c_str()) != 0)
        error = lastError();
    if (error)
        ::unlinkat(folder, temporaryName.c_str(), 0);
    unregisterFromRemovalOnSignal(cleanupSlot);
    return error;
}

std::error_code removeChecksumFileIn(int folder, const std::string& archiveName)
{
    if (::unlinkat(folder, checksumFileName(archiveName).c_str(), 0) == 0 || errno == ENOENT || errno == EISDIR)
        return {};
    return lastError();
}

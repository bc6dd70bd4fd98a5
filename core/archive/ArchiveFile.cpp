#include "core/archive/ArchiveFile.h"

#include "base/AbsolutePath.h"
#include "base/ErrorCodes.h"
#include "core/archive/DescriptorZipStream.h"
#include "core/archive/SignalCleanup.h"
#include "platform/posix/FileDescriptor.h"
#include "platform/posix/SignalsBlocked.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <ctime>
#include <optional>

namespace {

using platform::FileDescriptor;

std::error_code lastError()
{
    return {errno, std::system_category()};
}

// Hidden, and not ending in ".zip", so that no listed "*.zip" matches it.
std::string randomHiddenName()
{
    static constexpr char LETTERS[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    unsigned char bytes[6] = {};
    if (getrandom(bytes, sizeof bytes, GRND_NONBLOCK) != static_cast<ssize_t>(sizeof bytes)) {
        // Uniqueness only: O_EXCL keeps the name safe whatever it is.
        auto seed = static_cast<unsigned long>(std::time(nullptr)) ^ static_cast<unsigned long>(getpid());
        for (auto& byte : bytes)
            byte = static_cast<unsigned char>(seed = seed * 6364136223846793005ul + 1442695040888963407ul);
    }
    std::string name = ".Telvarin_";
    for (unsigned char byte : bytes)
        name += LETTERS[byte % (sizeof LETTERS - 1)];
    return name + ".zip.part";
}

constexpr int HIDDEN_NAME_ATTEMPTS = 100;

// Holds back the signals sent from outside in this thread while a name is
// made or moved, so that no step is cut off half-way with a stray name left.
struct InterruptsHeld : platform::SignalsBlocked {
    InterruptsHeld() : SignalsBlocked(signalsFromOutside()) {}
};

// The unnamed file can only be given a name through its /proc link (or with
// AT_EMPTY_PATH, which needs a capability): without /proc, use a hidden name.
std::string procPathOf(int descriptor)
{
    return "/proc/self/fd/" + std::to_string(descriptor);
}

bool isValidName(const std::string& name)
{
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos;
}

} // namespace

struct ArchiveFile::State {
    // As the caller named it, for the failures.
    std::string folderPath;
    FileDescriptor folder;
    FileDescriptor file;
    std::optional<DescriptorZipStream> stream;
    std::string hiddenName; // empty for an unnamed (O_TMPFILE) file
    int cleanupSlot = -1;
    bool named = false;

    // Creates the file under a fresh hidden name and registers that name
    // for removal on a signal, both at once as far as signals can tell.
    std::error_code createUnderHiddenName()
    {
        InterruptsHeld held;
        for (int attempt = 0; attempt < HIDDEN_NAME_ATTEMPTS; ++attempt) {
            std::string name = randomHiddenName();
            file.reset(openat(folder.get(), name.c_str(), O_CREAT | O_EXCL | O_NOFOLLOW | O_RDWR | O_CLOEXEC, 0644));
            if (file) {
                hiddenName = name;
                cleanupSlot = registerForRemovalOnSignal(folder.get(), hiddenName);
                return {};
            }
            if (errno != EEXIST)
                return lastError();
        }
        return std::make_error_code(std::errc::file_exists);
    }

    // Gives the unnamed file a fresh hidden name, registered for cleanup.
    std::error_code linkUnderHiddenName(std::string* linkedName)
    {
        const std::string source = procPathOf(file.get());
        for (int attempt = 0; attempt < HIDDEN_NAME_ATTEMPTS; ++attempt) {
            std::string name = randomHiddenName();
            if (linkat(AT_FDCWD, source.c_str(), folder.get(), name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
                cleanupSlot = registerForRemovalOnSignal(folder.get(), name);
                *linkedName = std::move(name);
                return {};
            }
            if (errno != EEXIST)
                return lastError();
        }
        return std::make_error_code(std::errc::file_exists);
    }

    // Code 15: the folder could not take the file.
    [[noreturn]] void failCreating(std::error_code error) const
    {
        throw CodedFailure{ERROR_ARCHIVE_WRITE,
                           {FailedStep::writeInArchiveFolder, absoluteOrAsGiven(folderPath), error.value()}};
    }

    // Code 15: the file could not take `finalName`.
    [[noreturn]] void failNaming(const std::string& finalName, std::error_code error) const
    {
        throw CodedFailure{
            ERROR_ARCHIVE_WRITE,
            {FailedStep::nameArchive, pathInFolder(absoluteOrAsGiven(folderPath), finalName), error.value()}};
    }

    void forgetHiddenName(const std::string& name) noexcept
    {
        unlinkat(folder.get(), name.c_str(), 0);
        unregisterFromRemovalOnSignal(cleanupSlot);
    }
};

ArchiveFile::ArchiveFile(const std::string& folder, Creation creation) : state_(std::make_unique<State>())
{
    state_->folderPath = folder;
    state_->folder.reset(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!state_->folder)
        state_->failCreating(lastError());
    if (creation == Creation::unnamedWhereSupported) {
        state_->file.reset(openat(state_->folder.get(), ".", O_TMPFILE | O_RDWR | O_CLOEXEC, 0644));
        // EISDIR: a kernel that knows no O_TMPFILE sees only its O_DIRECTORY.
        if (!state_->file && errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
            state_->failCreating(lastError());
        if (state_->file && faccessat(AT_FDCWD, procPathOf(state_->file.get()).c_str(), F_OK, AT_SYMLINK_NOFOLLOW) != 0)
            state_->file.reset();
    }
    if (!state_->file) {
        if (const std::error_code error = state_->createUnderHiddenName())
            state_->failCreating(error);
    }
    state_->stream.emplace(state_->file.get());
}

ArchiveFile::~ArchiveFile()
{
    if (state_ && !state_->named && !state_->hiddenName.empty())
        state_->forgetHiddenName(state_->hiddenName);
}

ArchiveFile::ArchiveFile(ArchiveFile&&) noexcept = default;

ArchiveFile& ArchiveFile::operator=(ArchiveFile&& other) noexcept
{
    if (this != &other) {
        ArchiveFile discarded(std::move(*this));
        state_ = std::move(other.state_);
    }
    return *this;
}

zlib_filefunc64_def ArchiveFile::fileFunctions()
{
    return state_->stream->fileFunctions();
}

std::error_code ArchiveFile::writeError() const
{
    return state_->stream->error();
}

void ArchiveFile::checkNameable(const std::string& finalName)
{
    if (!isValidName(finalName))
        state_->failNaming(finalName, std::make_error_code(std::errc::invalid_argument));
    if (state_->named)
        state_->failNaming(finalName, {EALREADY, std::system_category()});
    // What could not be written, whole, must not carry a report's name.
    if (!state_->stream->flush())
        state_->failNaming(finalName, state_->stream->error());
    if (fsync(state_->file.get()) != 0)
        state_->failNaming(finalName, lastError());
}

void ArchiveFile::markNamed()
{
    state_->named = true;
    state_->hiddenName.clear();
    // Makes the name itself last; the data is on disk already, so a failure
    // here loses nothing that a crash could turn into a broken report.
    fsync(state_->folder.get());
}

void ArchiveFile::replaceName(const std::string& finalName)
{
    checkNameable(finalName);
    State& state = *state_;
    InterruptsHeld held;
    if (!state.hiddenName.empty()) {
        if (renameat(state.folder.get(), state.hiddenName.c_str(), state.folder.get(), finalName.c_str()) != 0)
            state.failNaming(finalName, lastError());
        unregisterFromRemovalOnSignal(state.cleanupSlot);
    } else {
        // An unnamed file can only be linked, and a link never replaces: so
        // it gets a hidden name first, which is then renamed over the name.
        std::string temporary;
        if (const std::error_code error = state.linkUnderHiddenName(&temporary))
            state.failNaming(finalName, error);
        if (renameat(state.folder.get(), temporary.c_str(), state.folder.get(), finalName.c_str()) != 0) {
            const std::error_code error = lastError();
            state.forgetHiddenName(temporary);
            state.failNaming(finalName, error);
        }
        unregisterFromRemovalOnSignal(state.cleanupSlot);
    }
    markNamed();
}

bool ArchiveFile::nameIfFree(const std::string& finalName)
{
    checkNameable(finalName);
    State& state = *state_;
    InterruptsHeld held;
    int result;
    if (!state.hiddenName.empty()) {
        result = renameat2(state.folder.get(), state.hiddenName.c_str(), state.folder.get(), finalName.c_str(),
                           RENAME_NOREPLACE);
        // A file system without the flag: a link fails on an existing name too.
        if (result != 0 && errno == EINVAL) {
            result = linkat(state.folder.get(), state.hiddenName.c_str(), state.folder.get(), finalName.c_str(), 0);
            if (result == 0)
                unlinkat(state.folder.get(), state.hiddenName.c_str(), 0);
        }
    } else {
        result = linkat(AT_FDCWD, procPathOf(state.file.get()).c_str(), state.folder.get(), finalName.c_str(),
                        AT_SYMLINK_FOLLOW);
    }
    if (result != 0) {
        if (errno == EEXIST)
            return false;
        state.failNaming(finalName, lastError());
    }
    unregisterFromRemovalOnSignal(state.cleanupSlot);
    markNamed();
    return true;
}

bool ArchiveFile::isNamed() const
{
    return state_->named;
}

bool ArchiveFile::hasHiddenName() const
{
    return !state_->hiddenName.empty();
}

int ArchiveFile::descriptor() const
{
    return state_->file.get();
}

int ArchiveFile::folderDescriptor() const
{
    return state_->folder.get();
}

void ArchiveFile::installInterruptCleanup()
{
    installSignalCleanup();
}

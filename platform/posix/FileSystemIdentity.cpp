#include "platform/posix/FileSystemIdentity.h"

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/fsuid.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

namespace platform {
namespace {

// -1 is no valid id: setfsuid and setfsgid then change nothing and only
// answer the current value.
constexpr uid_t QUERY_UID = static_cast<uid_t>(-1);
constexpr gid_t QUERY_GID = static_cast<gid_t>(-1);

// glibc's setgroups() changes the groups of every thread in the process; the
// system call itself changes only the calling thread's.
int setThreadGroups(const std::vector<gid_t>& groups)
{
#ifdef SYS_setgroups32
    const long call = SYS_setgroups32; // the call with 32-bit ids on 32-bit x86 and ARM
#else
    const long call = SYS_setgroups;
#endif
    return static_cast<int>(syscall(call, groups.size(), groups.data()));
}

std::optional<std::vector<gid_t>> threadGroups()
{
    std::vector<gid_t> groups;
    for (;;) {
        int count = getgroups(0, nullptr);
        if (count < 0)
            return std::nullopt;
        groups.resize(static_cast<std::size_t>(count));
        count = getgroups(count, groups.data());
        if (count >= 0) {
            groups.resize(static_cast<std::size_t>(count));
            return groups;
        }
        if (errno != EINVAL) // EINVAL: the groups changed in between
            return std::nullopt;
    }
}

std::optional<std::string> accountNameOf(uid_t uid)
{
    std::vector<char> buffer(4096);
    for (;;) {
        passwd entry{};
        passwd* found = nullptr;
        int result = getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &found);
        if (result == ERANGE && buffer.size() < (1u << 20)) {
            buffer.resize(buffer.size() * 2);
            continue;
        }
        if (result != 0 || found == nullptr)
            return std::nullopt;
        return std::string(found->pw_name);
    }
}

std::optional<FileOwner> ownerFromStatus(int result, const struct stat& status, std::error_code& error)
{
    if (result != 0) {
        error = {errno, std::system_category()};
        return std::nullopt;
    }
    if (!S_ISDIR(status.st_mode)) {
        error = std::make_error_code(std::errc::not_a_directory);
        return std::nullopt;
    }
    error.clear();
    return FileOwner{status.st_uid, status.st_gid};
}

} // namespace

std::optional<FileOwner> ownerOfDirectory(const std::string& path, std::error_code& error)
{
    struct stat status {};
    int result = stat(path.c_str(), &status);
    return ownerFromStatus(result, status, error);
}

std::optional<FileOwner> ownerOfDirectory(int directoryDescriptor, std::error_code& error)
{
    struct stat status {};
    int result = fstat(directoryDescriptor, &status);
    return ownerFromStatus(result, status, error);
}

std::vector<gid_t> supplementaryGroupsOf(const FileOwner& owner)
{
    auto name = accountNameOf(owner.uid);
    if (!name)
        return {owner.gid};
    std::vector<gid_t> groups(32);
    for (;;) {
        int count = static_cast<int>(groups.size());
        if (getgrouplist(name->c_str(), owner.gid, groups.data(), &count) >= 0) {
            groups.resize(static_cast<std::size_t>(count));
            return groups;
        }
        // -1: too small, and count now says how many there are.
        if (static_cast<std::size_t>(count) <= groups.size())
            return {owner.gid};
        groups.resize(static_cast<std::size_t>(count));
    }
}

ScopedFileSystemIdentity::ScopedFileSystemIdentity(const FileOwner& owner)
{
    const char* failedCall = nullptr;
    if (const std::error_code error = take(owner, &failedCall))
        throw std::system_error(error, failedCall);
}

ScopedFileSystemIdentity::ScopedFileSystemIdentity(const FileOwner& owner, std::error_code& error)
{
    const char* failedCall = nullptr;
    error = take(owner, &failedCall);
}

std::error_code ScopedFileSystemIdentity::take(const FileOwner& owner, const char** failedCall)
{
    if (geteuid() != 0 || owner.uid == 0)
        return {};
    // Looked up while still root: the databases may be root-only.
    const std::vector<gid_t> groups = supplementaryGroupsOf(owner);
    auto current = threadGroups();
    if (!current) {
        *failedCall = "getgroups";
        return {errno, std::system_category()};
    }
    previousGroups_ = std::move(*current);
    previousGid_ = static_cast<gid_t>(setfsgid(QUERY_GID));
    previousUid_ = static_cast<uid_t>(setfsuid(QUERY_UID));
    if (setThreadGroups(groups) != 0) {
        *failedCall = "setgroups";
        return {errno, std::system_category()};
    }
    switched_ = true; // from here on, a failure restores what was changed
    // setfsuid and setfsgid report no failure: read the value back instead.
    setfsgid(owner.gid);
    bool took = static_cast<gid_t>(setfsgid(QUERY_GID)) == owner.gid;
    if (took) {
        setfsuid(owner.uid);
        took = static_cast<uid_t>(setfsuid(QUERY_UID)) == owner.uid;
    }
    if (!took) {
        restore();
        *failedCall = "setfsuid/setfsgid";
        return std::make_error_code(std::errc::operation_not_permitted);
    }
    return {};
}

ScopedFileSystemIdentity::~ScopedFileSystemIdentity()
{
    restore();
}

void ScopedFileSystemIdentity::restore() noexcept
{
    if (!switched_)
        return;
    switched_ = false;
    // Nothing to report from a destructor: a restore that failed leaves the
    // thread with the owner's lesser rights, never with more.
    setfsuid(previousUid_);
    setfsgid(previousGid_);
    setThreadGroups(previousGroups_);
}

ScopedFolderOwnerIdentity::ScopedFolderOwnerIdentity(const std::string& folder)
{
    std::error_code error;
    take(ownerOfDirectory(folder, error));
}

ScopedFolderOwnerIdentity::ScopedFolderOwnerIdentity(int folderDescriptor)
{
    std::error_code error;
    take(ownerOfDirectory(folderDescriptor, error));
}

void ScopedFolderOwnerIdentity::take(const std::optional<FileOwner>& owner)
{
    if (owner)
        identity_.emplace(*owner);
}

} // namespace platform

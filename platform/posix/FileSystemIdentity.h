#pragma once
// Acting on a folder with its owner's rights. A run as root in a user's home
// must neither read there what the user could not read (a link planted to a
// root-only file) nor write there what the user could not write (through a
// link planted at the archive's name), and what it creates there must be the
// user's. So around that work the calling thread takes the folder owner's
// file-system identity: its uid, gid and groups for permission checks and for
// the ownership of new files. Other running threads, and the process's real
// and effective ids, keep theirs (a thread started inside the scope inherits
// the owner's).

#include <sys/types.h>

#include <optional>
#include <string>
#include <system_error>
#include <vector>

namespace platform {

struct FileOwner {
    uid_t uid = 0;
    gid_t gid = 0;
};

// The owner of the directory itself, from its status (links followed): not
// whoever the password database says lives there.
std::optional<FileOwner> ownerOfDirectory(const std::string& path, std::error_code& error);
std::optional<FileOwner> ownerOfDirectory(int directoryDescriptor, std::error_code& error);

// The owner's groups: those of the account of that uid, when the password
// database has one; otherwise just the owner's gid.
std::vector<gid_t> supplementaryGroupsOf(const FileOwner& owner);

// Switches the calling thread's file-system identity to `owner` for the
// lifetime of the object and restores the previous one afterwards. Only a
// process running as root switches, and only to an owner other than root;
// anywhere else this does nothing (a user acts with their own rights anyway).
class ScopedFileSystemIdentity {
public:
    // Throws std::system_error when the switch does not take.
    explicit ScopedFileSystemIdentity(const FileOwner& owner);
    // The same, saying why in `error` instead, and then switching nothing.
    ScopedFileSystemIdentity(const FileOwner& owner, std::error_code& error);
    ~ScopedFileSystemIdentity();
    ScopedFileSystemIdentity(const ScopedFileSystemIdentity&) = delete;
    ScopedFileSystemIdentity& operator=(const ScopedFileSystemIdentity&) = delete;

    bool isSwitched() const { return switched_; }

private:
    // The switch; the call that refused it in `*failedCall`.
    std::error_code take(const FileOwner& owner, const char** failedCall);
    void restore() noexcept;

    bool switched_ = false;
    uid_t previousUid_ = 0;
    gid_t previousGid_ = 0;
    std::vector<gid_t> previousGroups_;
};

// The identity of the owner of a folder for the lifetime of the object, as
// ScopedFileSystemIdentity; the running user's own when the folder's owner
// cannot be told (the work that follows then fails on its own).
class ScopedFolderOwnerIdentity {
public:
    explicit ScopedFolderOwnerIdentity(const std::string& folder);
    explicit ScopedFolderOwnerIdentity(int folderDescriptor);

private:
    void take(const std::optional<FileOwner>& owner);

    std::optional<ScopedFileSystemIdentity> identity_;
};

} // namespace platform

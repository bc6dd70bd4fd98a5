#pragma once
// The system whose files the report collects: the running machine itself, or
// a system mounted somewhere on it (a customer's disk, a container's root).
// Every read of the collected system goes through this object: the status of
// a path, opening a file, listing a directory. Paths are the collected
// system's own absolute paths. A mounted system is read confined to its root
// (ConfinedRoot), so that none of its links or ".." leads to this machine.

#include "platform/posix/ConfinedRoot.h"
#include "platform/posix/FileDescriptor.h"

#include <sys/stat.h>

#include <memory>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

namespace platform {

// What a path names, links followed.
enum class FileKind { none, regular, directory, fifo, socket, characterDevice, blockDevice, other };

FileKind fileKindOf(mode_t mode);

class CollectedSystem {
public:
    // The running machine, read as it is.
    CollectedSystem() = default;
    // The system whose root directory is `root` on this machine. When the
    // root cannot be opened confined, every read fails with that errno.
    explicit CollectedSystem(std::string root);
    virtual ~CollectedSystem() = default;
    CollectedSystem(const CollectedSystem&) = default;
    CollectedSystem& operator=(const CollectedSystem&) = default;
    CollectedSystem(CollectedSystem&&) = default;
    CollectedSystem& operator=(CollectedSystem&&) = default;

    // The root on this machine; empty for the running machine.
    const std::string& root() const { return root_; }

    // Failures carry the errno of the failing call in `error`.

    // The status of what the path names, links followed.
    std::optional<struct stat> status(const std::string& path, std::error_code& error) const;
    // The path opened for reading. Never waits: a FIFO opens at once, and the
    // caller decides what to do with what it got.
    FileDescriptor openForReading(const std::string& path, std::error_code& error) const;

    // A regular file for reading, its path resolved once: status and bytes
    // come from the same file, and anything else (a directory, a FIFO, a
    // device) is never opened. `found` is false when the path cannot be
    // resolved or names no regular file, and `kind` says what it names;
    // `file` is not open, with `error` set, when a regular file cannot be
    // opened. One that reports size 0 is opened non-blocking (a tracing
    // pipe, /proc/kmsg).
    struct RegularFile {
        bool found = false;
        FileKind kind = FileKind::none;
        FileDescriptor file;
        struct stat status {};
        std::error_code error;
    };
    RegularFile openRegularFile(const std::string& path) const;
    // The directory's entry names in the system's order, "." and ".." left
    // out; nothing when the directory cannot be opened. Virtual so that a
    // test can fix the order, which otherwise differs between file systems.
    virtual std::optional<std::vector<std::string>> listDirectory(const std::string& path,
                                                                  std::error_code& error) const;

private:
    std::string root_;
    // Shared so that copies read through the same open root.
    std::shared_ptr<const ConfinedRoot> confined_;
    int openError_ = 0;
};

} // namespace platform

#pragma once
// A collected system (a customer's disk, a container's root) read so that no
// path of it can lead outside it. The kernel resolves every path inside the
// root directory (openat2 with RESOLVE_IN_ROOT): an absolute link points into
// the root, as it did on the machine it came from, and ".." (in the path or
// in a link) stops at the root. Links through /proc ("magic" links) are
// refused, since they could name any file of the running machine.

#include "platform/posix/FileDescriptor.h"

#include <sys/stat.h>

#include <optional>
#include <string>
#include <system_error>
#include <vector>

namespace platform {

class ConfinedRoot {
public:
    // Whether the kernel offers openat2 (Linux 5.6 and later). Probed once.
    static bool isSupported();

    // The directory as the root of a collected system. Nothing, with `error`
    // set, when it cannot be opened as a directory (or openat2 is missing).
    static std::optional<ConfinedRoot> open(const std::string& directory, std::error_code& error);

    // Paths below are paths of the collected system: "/var/log/x.log" (a
    // relative path means the same). Every link on the way is followed
    // inside the root. Failures carry the errno of the resolution or open.

    // The status of what the path names, links followed.
    std::optional<struct stat> status(const std::string& path, std::error_code& error) const;
    // What the path names, opened without side effects (O_PATH): for its
    // status, and to be opened again through the descriptor.
    FileDescriptor locate(const std::string& path, std::error_code& error) const;
    // Open for reading, never blocking on a FIFO and never taking a
    // terminal; the caller checks what kind of file it got.
    FileDescriptor openForReading(const std::string& path, std::error_code& error) const;
    FileDescriptor openDirectory(const std::string& path, std::error_code& error) const;
    // The directory's entry names in the system's order, without "." and "..".
    std::optional<std::vector<std::string>> listDirectory(const std::string& path, std::error_code& error) const;

    int descriptor() const { return root_.get(); }

private:
    explicit ConfinedRoot(FileDescriptor root) : root_(std::move(root)) {}
    FileDescriptor resolve(const std::string& path, int flags, std::error_code& error) const;

    FileDescriptor root_;
};

} // namespace platform

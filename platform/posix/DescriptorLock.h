#pragma once
// An exclusive advisory lock (flock) on an open file or folder, held for the
// object's lifetime. A file system without such locks (some network ones)
// goes without: the lock is then simply not held.

#include <sys/file.h>

#include <cerrno>

namespace platform {

class DescriptorLock {
public:
    explicit DescriptorLock(int descriptor) : descriptor_(descriptor)
    {
        // Waits for the holder, however many signals arrive meanwhile.
        while (flock(descriptor_, LOCK_EX) != 0) {
            if (errno != EINTR) {
                descriptor_ = -1;
                return;
            }
        }
    }
    ~DescriptorLock()
    {
        if (descriptor_ >= 0)
            flock(descriptor_, LOCK_UN);
    }
    DescriptorLock(const DescriptorLock&) = delete;
    DescriptorLock& operator=(const DescriptorLock&) = delete;

private:
    int descriptor_;
};

} // namespace platform

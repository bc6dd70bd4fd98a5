#pragma once
// An open file descriptor, closed when the object goes.

#include <unistd.h>

#include <utility>

namespace platform {

class FileDescriptor {
public:
    FileDescriptor() noexcept = default;
    explicit FileDescriptor(int descriptor) noexcept : descriptor_(descriptor) {}
    FileDescriptor(FileDescriptor&& other) noexcept : descriptor_(other.release()) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept
    {
        if (this != &other)
            reset(other.release());
        return *this;
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() { reset(); }

    int get() const noexcept { return descriptor_; }
    bool isOpen() const noexcept { return descriptor_ >= 0; }
    explicit operator bool() const noexcept { return isOpen(); }

    // Hands the descriptor over (to fdopendir, for example) without closing it.
    int release() noexcept { return std::exchange(descriptor_, -1); }

    void reset(int descriptor = -1) noexcept
    {
        // Never retried on EINTR: Linux has released the descriptor either way.
        if (descriptor_ >= 0)
            ::close(descriptor_);
        descriptor_ = descriptor;
    }

private:
    int descriptor_ = -1;
};

} // namespace platform

#include "platform/posix/FullIo.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <limits>

namespace platform {
namespace {

std::error_code lastError()
{
    return {errno, std::system_category()};
}

// Calls `transfer(bytes moved so far)` until `size` bytes are moved; a
// call that moves nothing ends it, leaving `*done` short.
template <typename Transfer>
std::error_code repeated(std::size_t size, std::size_t* done, Transfer transfer)
{
    *done = 0;
    while (*done < size) {
        const ssize_t count = transfer(*done);
        if (count < 0) {
            if (errno == EINTR)
                continue;
            return lastError();
        }
        if (count == 0)
            break;
        *done += static_cast<std::size_t>(count);
    }
    return {};
}

std::error_code wholeWrite(std::size_t size, std::size_t written)
{
    return written == size ? std::error_code() : std::make_error_code(std::errc::no_space_on_device);
}

} // namespace

std::error_code readSome(int descriptor, void* buffer, std::size_t size, std::size_t* count)
{
    for (;;) {
        const ssize_t read = ::read(descriptor, buffer, size);
        if (read >= 0) {
            *count = static_cast<std::size_t>(read);
            return {};
        }
        if (errno != EINTR) {
            *count = 0;
            return lastError();
        }
    }
}

std::error_code readFully(int descriptor, void* buffer, std::size_t size, std::size_t* count)
{
    auto* bytes = static_cast<unsigned char*>(buffer);
    return repeated(size, count, [&](std::size_t done) { return ::read(descriptor, bytes + done, size - done); });
}

std::error_code preadFully(int descriptor, void* buffer, std::size_t size, off_t offset, std::size_t* count)
{
    auto* bytes = static_cast<unsigned char*>(buffer);
    return repeated(size, count, [&](std::size_t done) {
        return ::pread(descriptor, bytes + done, size - done, offset + static_cast<off_t>(done));
    });
}

std::error_code writeFully(int descriptor, const void* bytes, std::size_t size)
{
    const auto* data = static_cast<const unsigned char*>(bytes);
    std::size_t written = 0;
    if (auto error =
            repeated(size, &written, [&](std::size_t done) { return ::write(descriptor, data + done, size - done); }))
        return error;
    return wholeWrite(size, written);
}

std::error_code writeFully(int descriptor, std::string_view text)
{
    return writeFully(descriptor, text.data(), text.size());
}

std::error_code pwriteFully(int descriptor, const void* bytes, std::size_t size, off_t offset)
{
    const auto* data = static_cast<const unsigned char*>(bytes);
    std::size_t written = 0;
    if (auto error = repeated(size, &written, [&](std::size_t done) {
            return ::pwrite(descriptor, data + done, size - done, offset + static_cast<off_t>(done));
        }))
        return error;
    return wholeWrite(size, written);
}

std::error_code waitForInput(int descriptor, std::chrono::milliseconds limit)
{
    // Never a negative time, which would wait for ever.
    const auto milliseconds = std::clamp<long long>(limit.count(), 0, std::numeric_limits<int>::max());
    pollfd readable{descriptor, POLLIN, 0};
    if (::poll(&readable, 1, static_cast<int>(milliseconds)) < 0 && errno != EINTR)
        return lastError();
    return {};
}

} // namespace platform

#pragma once
// Reading and writing whole buffers. A read or write may move only part of
// what was asked, or be interrupted by a signal before it moved anything;
// these go on until the whole is moved, the file ends or the system refuses,
// and return the system's reason then. A write that takes nothing means no
// room (ENOSPC), as a full disk says it.

#include <sys/types.h>

#include <chrono>
#include <cstddef>
#include <string_view>
#include <system_error>

namespace platform {

// One read of up to `size` bytes, tried again when a signal interrupts it;
// `*count` is what it read, fewer than asked when that was all there was
// (0 at the end of the file).
std::error_code readSome(int descriptor, void* buffer, std::size_t size, std::size_t* count);
// Reads until `size` bytes are in `buffer` or the file ends; `*count` is
// what was read, fewer than `size` only at the end of the file.
std::error_code readFully(int descriptor, void* buffer, std::size_t size, std::size_t* count);
// The same from `offset` on, leaving the descriptor's position alone.
std::error_code preadFully(int descriptor, void* buffer, std::size_t size, off_t offset, std::size_t* count);

// Writes every byte.
std::error_code writeFully(int descriptor, const void* bytes, std::size_t size);
std::error_code writeFully(int descriptor, std::string_view text);
// The same at `offset`, leaving the descriptor's position alone.
std::error_code pwriteFully(int descriptor, const void* bytes, std::size_t size, off_t offset);

// Waits until `descriptor` has something to read, at most `limit`; a signal
// that ends the wait early is no failure: the caller looks again.
std::error_code waitForInput(int descriptor, std::chrono::milliseconds limit);

} // namespace platform

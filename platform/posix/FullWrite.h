#pragma once
// Writing a whole text to a descriptor: a write may take only part of it, or
// be interrupted by a signal before it took anything.

#include <string_view>
#include <system_error>

namespace platform {

// Writes every byte of `text`; the system's reason when it could not (a full
// disk, a reader that went away). A write that takes nothing counts as EIO.
std::error_code writeFully(int descriptor, std::string_view text);

} // namespace platform

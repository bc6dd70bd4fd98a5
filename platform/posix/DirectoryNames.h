#pragma once
// The names in a directory, read from a descriptor already opened on it.

#include "platform/posix/FileDescriptor.h"

#include <optional>
#include <string>
#include <system_error>
#include <vector>

namespace platform {

// Every name but "." and "..", in the order the file system gives them.
// Takes the descriptor over. A failure part way (readdir's own error) is a
// failure, never a shorter list.
std::optional<std::vector<std::string>> namesInDirectory(FileDescriptor directory, std::error_code& error);

} // namespace platform

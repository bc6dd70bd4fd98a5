#pragma once

#include <optional>
#include <string>

// The SHA-256 of the file's bytes as 64 lowercase hexadecimal digits; nothing
// when it cannot be opened or read. The last element of the path is never
// followed when it is a symbolic link.
std::optional<std::string> sha256OfFile(const std::string& path);

#pragma once

#include <optional>
#include <string>
#include <system_error>

// The SHA-256 of every byte of the open file, read from its start whatever
// its position, as 64 lowercase hexadecimal digits; nothing, with the
// system's reason in `error`, when it cannot be read. Taken through the
// descriptor, never by name, so that it is the digest of the very file the
// run wrote.
std::optional<std::string> sha256OfDescriptor(int descriptor, std::error_code& error);

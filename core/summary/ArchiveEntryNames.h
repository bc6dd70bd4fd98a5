#pragma once

#include <optional>
#include <string>
#include <vector>

// The entry names of the zip archive at `path`, in the order of its central
// directory, as the bytes the archive stores; nothing when it cannot be read
// as a zip archive.
std::optional<std::vector<std::string>> readArchiveEntryNames(const std::string& path);

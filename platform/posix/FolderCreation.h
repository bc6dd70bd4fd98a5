#pragma once
// Making a folder with its missing parents, as the archive's place needs.

#include <string>

namespace platform {

// Makes `path` and every missing parent with mode 0755 (less the umask).
// Folders that already exist are taken as they are, links included; a folder
// made here is entered without following links, so that a link planted in
// its place between making and entering is never followed. True when `path`
// names a folder at the end.
bool makeFolderWithParents(const std::string& path);

} // namespace platform

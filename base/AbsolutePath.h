#pragma once

#include <string>

// The path made absolute against the working directory, without resolving
// anything; the path as given when the working directory is unknown.
std::string absoluteOrAsGiven(const std::string& path);

// `name` in `folder`, with one slash between ("/" + name in the root).
std::string pathInFolder(const std::string& folder, const std::string& name);
// The two halves pathInFolder joins: what follows the last slash, and what
// comes before it ("/" for a file in the root, "." for a bare name).
std::string fileNameOf(const std::string& path);
std::string folderOf(const std::string& path);

#pragma once
// Helpers for the suites that run telvarin-report as a child process: the
// build tree, snapshots of directory trees, and a small system to collect from.

#include "tests/doubles/TestFiles.h"

#include <map>
#include <string>
#include <vector>

namespace testing_support {

// The top of the build tree (the executables live in its bin/).
std::string buildDirectory();

// Every file and directory below `root`, by relative path, with its kind,
// size and modification time: equal snapshots mean nothing was written.
std::map<std::string, std::string> snapshotTree(const std::string& root);

// Names of the Telvarin_*.zip archives directly in `directory`.
std::vector<std::string> archivesIn(const std::string& directory);

std::vector<std::string> splitLines(const std::string& text);

// The canonical absolute form of an existing path (symbolic links resolved),
// as telvarin-report prints it.
std::string canonicalPath(const std::string& path);

// Whether a program of that name is found on PATH.
bool isOnPath(const std::string& program);

// The files of a small system to collect from, written below `base` (the
// system's root, or where a copy of it sits); `home` is the user's home below
// it. Every file's contents start with `marker`, so that a test can tell two
// copies apart.
void writeSampleFiles(const std::string& base, const std::string& home, const std::string& marker);

// The maker's driver directory and the applications directory below `root`,
// which a run that ends well needs on the system it collects from.
void writeSystemDirectories(const std::string& root);

// A data.xml for the sample system at `prefix`: one plain path, a wildcard,
// a destination folder and a missing file among the absolute paths, a plain
// path and a destination folder among the home paths.
std::string sampleFileList(const std::string& prefix);

// The configured-file entries a run over the sample system stores, in order:
// the names of the collected system, without the reportData/ entries.
std::vector<std::string> sampleEntryNames(const std::string& prefix, const std::string& home);

// The entries of an archive other than the reportData/ ones, in order.
std::vector<std::string> configuredEntries(const std::string& archive);

} // namespace testing_support

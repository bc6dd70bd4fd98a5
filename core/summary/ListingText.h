#pragma once
// The text of --list: one line per listed path and a total.
//
//   SIZE<TAB>PATH       a file a report would collect, its size in bytes
//   missing<TAB>PATH    a path not found, or a wildcard that matched no file
//   TYPE<TAB>PATH       a plain path that names no regular file, TYPE saying
//                       what it names (fileKindWord: directory, fifo, ...)
//   SIZE<TAB>total      the last line: the bytes of all files listed

#include "core/filelist/CollectedFileSink.h"

#include <string>
#include <vector>

// With `forTerminal`, every path is escaped as escapedForTerminal does.
std::string listingText(const std::vector<ListedPath>& paths, bool forTerminal);

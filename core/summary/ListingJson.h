#pragma once
// The listing of --list --json: one JSON object on one line, ended by a line
// feed, for a script that plans a report.
//
//   {"files": [{"path": PATH, "size": SIZE}, ...], "missing": [PATH, ...],
//    "total": SIZE}
//
// The same paths in the same order as the listing's text; bytes of a path
// that are not UTF-8 become U+FFFD.

#include "core/filelist/CollectedFileSink.h"

#include <string>
#include <vector>

std::string listingJson(const std::vector<ListedPath>& paths);

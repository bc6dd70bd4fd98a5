#pragma once
// The listing of --list --json: one JSON object on one line, ended by a line
// feed, for a script that plans a report.
//
//   {"files": [{"path": PATH, "size": SIZE}, ...], "missing": [PATH, ...],
//    "skipped": [{"path": PATH, "type": TYPE}, ...], "total": SIZE}
//
// The same paths in the same order as the listing's text; a path that is not
// UTF-8 is {"hex": BYTES} (nameJson), and TYPE is fileKindWord's.

#include "core/filelist/CollectedFileSink.h"

#include <string>
#include <vector>

std::string listingJson(const std::vector<ListedPath>& paths);

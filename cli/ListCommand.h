#pragma once
// telvarin-report --list: what a report would collect, without making one.

#include "cli/Options.h"

namespace cli {

// Prints the listing, as text or with --json as one JSON object, and returns
// the exit status: 0 when it was printed, 1 when the file list is faulty (the
// message is on standard error).
int runListCommand(const Options& options);

} // namespace cli

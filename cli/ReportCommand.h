#pragma once
// One report run of telvarin-report, as the command line set it up.

#include "Options.h"

namespace cli {

// Runs the report and returns the exit status: 0 when the archive was placed
// (its absolute path is then printed as the last line of standard output),
// 1 when the run failed (the message is on standard error).
int runReportCommand(const Options& options);

} // namespace cli

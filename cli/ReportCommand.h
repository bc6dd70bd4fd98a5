#pragma once
// One report run of telvarin-report, as the command line set it up.

#include "cli/Options.h"

namespace cli {

// Runs the report and returns the exit status: 0 when the archive was placed
// (its absolute path is then printed as the last line of standard output,
// or the run's JSON summary is all it prints), 1 when the run failed, the
// checksum file could not be written (the message is on standard error,
// with what it concerns on the line after it) or standard output could not
// take what was written to it (standard error then says where the archive
// is), 130 when a first SIGINT or SIGTERM stopped the run, leaving no
// archive.
int runReportCommand(const Options& options);

} // namespace cli

#pragma once
// telvarin-report's command line, from the words to the exit status.

#include <string>
#include <vector>

namespace cli {

// Runs what the arguments after the program name ask for and returns the
// exit status; 2 for a command line that cannot be run, with the error and
// the hint on standard error.
int runCommandLine(const std::vector<std::string>& arguments);

} // namespace cli

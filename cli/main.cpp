// telvarin-report: the report of one press of the Telvarin Generator's button,
// without a window. What the window's message boxes would show is printed,
// errors on standard error; the exit status is 0 only when a report was placed.

#include "cli/CommandDispatch.h"
#include "core/report/RunInterrupts.h"
#include "platform/posix/StandardDescriptors.h"

#include <csignal>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    // Before anything opens a file: a closed standard descriptor would be
    // taken by the archive, and the progress written into it.
    if (!platform::openClosedStandardDescriptors())
        return 1;
    // Progress goes to standard output; a reader that goes away (`| head`)
    // must not kill the run halfway through the archive.
    std::signal(SIGPIPE, SIG_IGN);
    installInterruptCleanup();
    return cli::runCommandLine(std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc));
}

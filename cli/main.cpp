// telvarin-report: the report of one press of the Telvarin Generator's button,
// without a window. What the window's message boxes would show is printed,
// errors on standard error; the exit status is 0 only when a report was placed.

#include "ArchiveFile.h"
#include "CommandServices.h"
#include "ListCommand.h"
#include "Options.h"
#include "ReportCommand.h"
#include "StandardDescriptors.h"
#include "TerminalText.h"

#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <string>
#include <variant>
#include <vector>

namespace {

constexpr int EXIT_USAGE = 2;

int usageError(const cli::UsageError& error)
{
    std::fprintf(stderr, "telvarin-report: %s\n%s", shownOn(STDERR_FILENO, error.message).c_str(), cli::USAGE_HINT);
    return EXIT_USAGE;
}

} // namespace

int main(int argc, char** argv)
{
    // Before anything opens a file: a closed standard descriptor would be
    // taken by the archive, and the progress written into it.
    if (!platform::openClosedStandardDescriptors())
        return 1;
    // Progress goes to standard output; a reader that goes away (`| head`)
    // must not kill the run halfway through the archive.
    std::signal(SIGPIPE, SIG_IGN);
    ArchiveFile::installInterruptCleanup();
    const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    auto parsed = cli::parseOptions(arguments);
    if (const auto* error = std::get_if<cli::UsageError>(&parsed))
        return usageError(*error);

    const cli::Options& options = std::get<cli::Options>(parsed);
    switch (options.action) {
    case cli::Action::ShowHelp:
        return cli::writeToStandardOutput(cli::HELP_TEXT) ? 0 : 1;
    case cli::Action::ShowVersion:
        return cli::writeToStandardOutput(cli::VERSION_TEXT) ? 0 : 1;
    case cli::Action::RunReport:
    case cli::Action::ListFiles:
        break;
    }

    auto resolved = cli::resolvePaths(options);
    if (const auto* error = std::get_if<cli::UsageError>(&resolved))
        return usageError(*error);
    const cli::Options& runnable = std::get<cli::Options>(resolved);
    if (runnable.action == cli::Action::ListFiles)
        return cli::runListCommand(runnable);
    return cli::runReportCommand(runnable);
}

#include "cli/CommandDispatch.h"

#include "base/TerminalText.h"
#include "cli/ListCommand.h"
#include "cli/Options.h"
#include "cli/ReportCommand.h"
#include "cli/StandardOutput.h"

#include <unistd.h>

#include <variant>

namespace cli {
namespace {

constexpr int EXIT_USAGE = 2;

int usageError(const UsageError& error)
{
    writeLineToStandardError("telvarin-report: " + shownOn(STDERR_FILENO, error.message) + "\n" + USAGE_HINT);
    return EXIT_USAGE;
}

int showHelp(const Options&)
{
    writeToStandardOutput(helpText());
    return standardOutputDelivered() ? 0 : 1;
}

int showVersion(const Options&)
{
    writeToStandardOutput(VERSION_TEXT);
    return standardOutputDelivered() ? 0 : 1;
}

// What each action runs, and whether it needs the named paths checked first.
struct ActionHandler {
    Action action;
    bool readsPaths;
    int (*run)(const Options&);
};

constexpr ActionHandler ACTION_HANDLERS[] = {
    {Action::ShowHelp, false, showHelp},
    {Action::ShowVersion, false, showVersion},
    {Action::ListFiles, true, runListCommand},
    {Action::RunReport, true, runReportCommand},
};

int runAction(const Options& options)
{
    for (const ActionHandler& handler : ACTION_HANDLERS) {
        if (handler.action != options.action)
            continue;
        if (!handler.readsPaths)
            return handler.run(options);
        auto resolved = resolvePaths(options);
        if (const auto* error = std::get_if<UsageError>(&resolved))
            return usageError(*error);
        return handler.run(std::get<Options>(resolved));
    }
    return 1;
}

} // namespace

int runCommandLine(const std::vector<std::string>& arguments)
{
    auto parsed = parseOptions(arguments);
    if (const auto* error = std::get_if<UsageError>(&parsed))
        return usageError(*error);
    const int status = runAction(std::get<Options>(parsed));
    // Whatever the action left buffered, also where it did not wait to
    // learn whether it got there (a cancelled run).
    flushStandardOutput();
    return status;
}

} // namespace cli

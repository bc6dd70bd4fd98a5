#include "cli/CommandDispatch.h"

#include "base/TerminalText.h"
#include "cli/CommandServices.h"
#include "cli/ListCommand.h"
#include "cli/Options.h"
#include "cli/ReportCommand.h"

#include <unistd.h>

#include <cstdio>
#include <variant>

namespace cli {
namespace {

constexpr int EXIT_USAGE = 2;

int usageError(const UsageError& error)
{
    std::fprintf(stderr, "telvarin-report: %s\n%s", shownOn(STDERR_FILENO, error.message).c_str(), USAGE_HINT);
    return EXIT_USAGE;
}

int showHelp(const Options&)
{
    writeToStandardOutput(HELP_TEXT);
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

} // namespace

int runCommandLine(const std::vector<std::string>& arguments)
{
    auto parsed = parseOptions(arguments);
    if (const auto* error = std::get_if<UsageError>(&parsed))
        return usageError(*error);
    const Options& options = std::get<Options>(parsed);
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

} // namespace cli

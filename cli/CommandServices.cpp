#include "cli/CommandServices.h"

#include "base/TerminalText.h"
#include "core/summary/FailureText.h"
#include "platform/posix/FullWrite.h"
#include "platform/ResourceLocator.h"

#include <unistd.h>

#include <cstdio>
#include <system_error>

namespace cli {

CommandServices::CommandServices(const Options& options, Progress progress)
    : collected_(options.sysroot ? platform::CollectedSystem(*options.sysroot) : platform::CollectedSystem()),
      reporter_(progress)
{
    platform::Services services = platform::currentServices();
    services.collectedSystem = &collected_;
    services.reporter = &reporter_;
    installed_.emplace(services);
}

namespace {

// The first failure to write to standard output.
std::error_code& standardOutputFailure()
{
    static std::error_code failure;
    return failure;
}

// Asked once: what standard output is does not change while the command
// writes to it, and a run writes many lines.
bool standardOutputIsTerminal()
{
    static const bool terminal = isatty(STDOUT_FILENO) == 1;
    return terminal;
}

void writeLineToStandardOutput(const std::string& line)
{
    writeToStandardOutput((standardOutputIsTerminal() ? escapedForTerminal(line) : line) + "\n");
}

} // namespace

void CommandServices::CommandReporter::progress(const std::string& line)
{
    if (progress_ == Progress::Shown)
        writeLineToStandardOutput(line);
}

void CommandServices::CommandReporter::showInformation(const platform::Message& message)
{
    if (progress_ == Progress::Shown) {
        writeLineToStandardOutput(message.text);
        return;
    }
    std::fprintf(stderr, "%s\n", shownOn(STDERR_FILENO, message.text).c_str());
    std::fflush(stderr);
}

void CommandServices::CommandReporter::showError(const platform::Message& message)
{
    platform::consoleReporter().showError(message);
    const std::string text = message.detail ? failureDetailText(*message.detail) : std::string();
    if (text.empty())
        return;
    std::fprintf(stderr, "%s\n", shownOn(STDERR_FILENO, text).c_str());
    std::fflush(stderr);
}

std::optional<std::string> fileListPath(const Options& options)
{
    // The file list belongs to the tool, so it is read on this machine even
    // when the report collects from another root.
    return options.dataXml ? options.dataXml : platform::findResource("data.xml");
}

void writeToStandardOutput(std::string_view text)
{
    const std::error_code failure = platform::writeFully(STDOUT_FILENO, text);
    if (failure && !standardOutputFailure())
        standardOutputFailure() = failure;
}

bool standardOutputDelivered()
{
    const std::error_code& failure = standardOutputFailure();
    if (!failure)
        return true;
    std::fprintf(stderr, "telvarin-report: cannot write to standard output: %s\n", failure.message().c_str());
    std::fflush(stderr);
    return false;
}

} // namespace cli

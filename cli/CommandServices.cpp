#include "cli/CommandServices.h"

#include "base/TerminalText.h"
#include "cli/StandardOutput.h"
#include "core/summary/FailureText.h"
#include "platform/ResourceLocator.h"

#include <unistd.h>

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

void CommandServices::CommandReporter::showInformation(const UserMessage& message)
{
    if (progress_ == Progress::Shown) {
        writeLineToStandardOutput(message.text);
        return;
    }
    writeLineToStandardError(shownOn(STDERR_FILENO, message.text));
}

void CommandServices::CommandReporter::showError(const UserMessage& message)
{
    flushStandardOutput();
    platform::consoleReporter().showError(message);
    const std::string text = message.detail ? failureDetailText(*message.detail) : std::string();
    if (text.empty())
        return;
    writeLineToStandardError(shownOn(STDERR_FILENO, text));
}

std::optional<std::string> fileListPath(const Options& options)
{
    // The file list belongs to the tool, so it is read on this machine even
    // when the report collects from another root.
    return options.dataXml ? options.dataXml : platform::findResource("data.xml");
}

} // namespace cli

#include "cli/CommandServices.h"

#include "base/TerminalText.h"
#include "core/summary/FailureText.h"
#include "platform/ResourceLocator.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

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

void CommandServices::CommandReporter::progress(const std::string& line)
{
    if (progress_ == Progress::Shown)
        platform::consoleReporter().progress(line);
}

void CommandServices::CommandReporter::showInformation(const platform::Message& message)
{
    if (progress_ == Progress::Shown) {
        platform::consoleReporter().showInformation(message);
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

bool writeToStandardOutput(const std::string& text)
{
    errno = 0;
    const bool written = std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
    if (std::fflush(stdout) == 0 && written)
        return true;
    std::fprintf(stderr, "telvarin-report: cannot write to standard output: %s\n",
                 std::strerror(errno != 0 ? errno : EIO));
    return false;
}

} // namespace cli

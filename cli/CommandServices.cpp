#include "CommandServices.h"

#include "ResourceLocator.h"
#include "TerminalText.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace cli {

CommandServices::CommandServices(const Options& options, Progress progress)
    : collected_(options.sysroot ? platform::CollectedSystem(*options.sysroot) : platform::CollectedSystem())
{
    platform::Services services = platform::currentServices();
    services.collectedSystem = &collected_;
    if (progress == Progress::Dropped)
        services.reporter = &messages_;
    installed_.emplace(services);
}

void CommandServices::MessagesOnStandardError::showInformation(const platform::Message& message)
{
    std::fprintf(stderr, "%s\n", shownOn(STDERR_FILENO, message.text).c_str());
    std::fflush(stderr);
}

void CommandServices::MessagesOnStandardError::showError(const platform::Message& message)
{
    std::fprintf(stderr, "%s\n", shownOn(STDERR_FILENO, message.text).c_str());
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

#pragma once
// What every command of telvarin-report sets up before it runs: the collected
// system that --sysroot names, and a reporter that prints the messages on
// standard error, a failure's detail on the line after its sentence, and
// the progress lines on standard output unless that carries data (a
// listing, one JSON object). On a terminal, names are escaped.

#include "cli/Options.h"

#include "platform/CollectedSystem.h"
#include "platform/Services.h"

#include <optional>
#include <string>

namespace cli {

enum class Progress { Shown, Dropped };

// Installed for the lifetime of the object.
class CommandServices {
public:
    CommandServices(const Options& options, Progress progress);
    CommandServices(const CommandServices&) = delete;
    CommandServices& operator=(const CommandServices&) = delete;

private:
    class CommandReporter final : public platform::Reporter {
    public:
        explicit CommandReporter(Progress progress) : progress_(progress) {}
        void progress(const std::string& line) override;
        void showInformation(const UserMessage& message) override;
        // The sentence, and what the failure concerns on the line after it.
        void showError(const UserMessage& message) override;

    private:
        Progress progress_;
    };

    platform::CollectedSystem collected_;
    CommandReporter reporter_;
    std::optional<platform::ScopedServices> installed_;
};

// The file list the options name, or the one installed with the tool.
std::optional<std::string> fileListPath(const Options& options);

} // namespace cli

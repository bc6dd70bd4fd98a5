#pragma once
// What every command of telvarin-report sets up before it runs: the collected
// system that --sysroot names, and, for a command whose standard output is
// data (a listing, one JSON object), a reporter that keeps the progress
// lines off it.

#include "Options.h"

#include "CollectedSystem.h"
#include "Services.h"

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
    // Progress dropped; the message boxes' texts on standard error.
    class MessagesOnStandardError final : public platform::Reporter {
    public:
        void progress(const std::string&) override {}
        void showInformation(const platform::Message& message) override;
        void showError(const platform::Message& message) override;
    };

    platform::CollectedSystem collected_;
    MessagesOnStandardError messages_;
    std::optional<platform::ScopedServices> installed_;
};

// The file list the options name, or the one installed with the tool.
std::optional<std::string> fileListPath(const Options& options);

// Writes the text and flushes; on failure (a full disk, a closed pipe) says
// so on standard error and returns false, so that the data is not taken as
// delivered.
bool writeToStandardOutput(const std::string& text);

} // namespace cli

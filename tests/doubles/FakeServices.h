#pragma once
// Stand-ins for the machine, so that tests set the clock and the time zone,
// never sleep and capture what the report shows and logs.

#include "platform/CollectedSystem.h"
#include "platform/Services.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace testing_support {

// A clock fixed at a moment, in a time zone of a fixed offset from UTC.
class FakeClock final : public platform::Clock {
public:
    explicit FakeClock(std::time_t moment = 0, long utcOffsetSeconds = 0) : moment_(moment), offset_(utcOffsetSeconds)
    {
    }
    std::time_t now() const override { return moment_; }
    std::tm localTime(std::time_t moment) const override;
    void set(std::time_t moment) { moment_ = moment; }
    void advance(std::time_t seconds) { moment_ += seconds; }

private:
    std::time_t moment_;
    long offset_;
};

// Seconds since the epoch of a UTC calendar time.
std::time_t utcTime(int year, int month, int day, int hour, int minute, int second = 0);

class FakeSleeper final : public platform::Sleeper {
public:
    void sleepSeconds(unsigned seconds) override { sleeps.push_back(seconds); }
    std::vector<unsigned> sleeps;
};

class FakeEnvironment final : public platform::Environment {
public:
    std::optional<std::string> variable(const std::string& name) const override;
    std::string accountHomeDirectory() const override { return accountHome; }
    std::map<std::string, std::string> variables;
    std::string accountHome;
};

class RecordingSystemLog final : public platform::SystemLog {
public:
    void write(const std::string& line) override { lines.push_back(line); }
    std::vector<std::string> lines;
};

class RecordingReporter final : public platform::Reporter {
public:
    struct Shown {
        bool error;
        std::string text;
        std::optional<FailureDetail> detail;
        UserMessage message;
    };
    void progress(const std::string& line) override { progressLines.push_back(line); }
    void showInformation(const UserMessage& message) override
    {
        shown.push_back({false, message.text, message.detail, message});
    }
    void showError(const UserMessage& message) override
    {
        shown.push_back({true, message.text, message.detail, message});
    }
    std::vector<std::string> progressLines;
    std::vector<Shown> shown;
};

// Services with only the system facts set, for FakeMachine::install.
inline platform::Services withSystemFacts(platform::SystemFacts* facts)
{
    platform::Services services;
    services.systemFacts = facts;
    return services;
}

// A complete set of fakes, installed for the lifetime of the object. Tests
// change the members before they run the code under test.
class FakeMachine {
public:
    FakeMachine();
    FakeClock clock;
    FakeSleeper sleeper;
    FakeEnvironment environment;
    RecordingSystemLog systemLog;
    RecordingReporter reporter;

    // The collected system is the tree at `root` (a test directory) from
    // the next install on, instead of this machine.
    void collectFrom(const std::string& root);

    // Installs the fakes plus any further services (USB, system facts, ...)
    // set in `extra`; returns the guard that restores the previous ones.
    platform::ScopedServices install(platform::Services extra = {});
    // The same, collecting from the tree at `root`.
    platform::ScopedServices installCollectingFrom(const std::string& root, platform::Services extra = {});

private:
    std::optional<platform::CollectedSystem> collected_;
};

} // namespace testing_support

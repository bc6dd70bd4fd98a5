// The real clock, sleep, environment, system log and console reporter, and
// the one set of real implementations.
#include "platform/Services.h"

#include "base/TerminalText.h"
#include "platform/BundleReader.h"
#include "platform/CollectedSystem.h"
#include "platform/SystemFacts.h"
#include "platform/UsbStack.h"

#include <pwd.h>
#include <syslog.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace platform {
namespace {

class SystemClock final : public Clock {
public:
    std::time_t now() const override { return std::time(nullptr); }
    std::tm localTime(std::time_t moment) const override
    {
        std::tm local{};
        localtime_r(&moment, &local);
        return local;
    }
};

class SystemSleeper final : public Sleeper {
public:
    void sleepSeconds(unsigned seconds) override
    {
        // sleep() may return early on a signal; finish the pause.
        while (seconds > 0)
            seconds = ::sleep(seconds);
    }
};

class ProcessEnvironment final : public Environment {
public:
    std::optional<std::string> variable(const std::string& name) const override
    {
        if (const char* value = std::getenv(name.c_str()))
            return std::string(value);
        return std::nullopt;
    }

    std::string accountHomeDirectory() const override
    {
        long suggested = sysconf(_SC_GETPW_R_SIZE_MAX);
        std::vector<char> buffer(suggested > 0 ? static_cast<std::size_t>(suggested) : 16384);
        passwd entry{};
        passwd* found = nullptr;
        while (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == ERANGE)
            buffer.resize(buffer.size() * 2);
        if (found && found->pw_dir)
            return found->pw_dir;
        return {};
    }
};

class Syslog final : public SystemLog {
public:
    void write(const std::string& line) override
    {
        openlog("telvarin-generator", LOG_PID, LOG_USER);
        syslog(LOG_NOTICE, "%s", line.c_str());
        closelog();
    }
};

class ConsoleReporter final : public Reporter {
public:
    void progress(const std::string& line) override
    {
        // Read live by whoever runs the report from a terminal or a pipe,
        // and never lost to a buffer should the run end. Collected names
        // may hold control characters: a terminal gets them escaped, a pipe
        // or file the bytes as they are.
        std::fprintf(stdout, "%s\n", (outputIsTerminal() ? escapedForTerminal(line) : line).c_str());
        std::fflush(stdout);
    }
    // Messages name files and folders too.
    void showInformation(const UserMessage& message) override
    {
        std::fprintf(stdout, "%s\n", shownOn(STDOUT_FILENO, message.text).c_str());
        std::fflush(stdout);
    }
    void showError(const UserMessage& message) override
    {
        std::fflush(stdout);
        std::fprintf(stderr, "%s\n", shownOn(STDERR_FILENO, message.text).c_str());
        std::fflush(stderr);
    }

private:
    // Asked at the first line, not for each of a run's many: what the
    // output is does not change while the run writes to it.
    bool outputIsTerminal()
    {
        int known = outputIsTerminal_.load(std::memory_order_relaxed);
        if (known < 0) {
            known = isatty(STDOUT_FILENO) == 1 ? 1 : 0;
            outputIsTerminal_.store(known, std::memory_order_relaxed);
        }
        return known == 1;
    }
    std::atomic<int> outputIsTerminal_{-1};
};

} // namespace

Clock& realClock()
{
    static SystemClock instance;
    return instance;
}

Sleeper& realSleeper()
{
    static SystemSleeper instance;
    return instance;
}

Environment& realEnvironment()
{
    static ProcessEnvironment instance;
    return instance;
}

SystemLog& realSystemLog()
{
    static Syslog instance;
    return instance;
}

Reporter& consoleReporter()
{
    static ConsoleReporter instance;
    return instance;
}

Services realServices()
{
    // The running machine's own files, read as they are.
    static const CollectedSystem runningMachine;
    Services services;
    services.clock = &realClock();
    services.sleeper = &realSleeper();
    services.environment = &realEnvironment();
    services.systemLog = &realSystemLog();
    services.reporter = &consoleReporter();
    services.usb = &realUsb();
    services.systemFacts = &realSystemFacts();
    services.bundles = &realBundleReader();
    services.collectedSystem = &runningMachine;
    return services;
}

} // namespace platform

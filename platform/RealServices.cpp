// The real clock, sleep, environment, system log and console message boxes.
#include "Services.h"

#include <pwd.h>
#include <syslog.h>
#include <unistd.h>

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

class ConsoleMessages final : public MessageBoxes {
public:
    void showInformation(const std::string& message) override
    {
        std::fprintf(stdout, "%s\n", message.c_str());
        std::fflush(stdout);
    }
    void showError(const std::string& message) override
    {
        std::fflush(stdout);
        std::fprintf(stderr, "%s\n", message.c_str());
        std::fflush(stderr);
    }
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

MessageBoxes& consoleMessageBoxes()
{
    static ConsoleMessages instance;
    return instance;
}

} // namespace platform

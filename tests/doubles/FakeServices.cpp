#include "tests/doubles/FakeServices.h"

#include "tests/doubles/TestFiles.h"

namespace testing_support {

std::tm FakeClock::localTime(std::time_t moment) const
{
    std::time_t shifted = moment + offset_;
    std::tm local{};
    gmtime_r(&shifted, &local);
    local.tm_gmtoff = offset_;
    return local;
}

std::time_t utcTime(int year, int month, int day, int hour, int minute, int second)
{
    std::tm broken{};
    broken.tm_year = year - 1900;
    broken.tm_mon = month - 1;
    broken.tm_mday = day;
    broken.tm_hour = hour;
    broken.tm_min = minute;
    broken.tm_sec = second;
    return timegm(&broken);
}

std::optional<std::string> FakeEnvironment::variable(const std::string& name) const
{
    auto found = variables.find(name);
    if (found == variables.end())
        return std::nullopt;
    return found->second;
}

FakeMachine::FakeMachine() = default;

void FakeMachine::collectFrom(const std::string& root)
{
    // The collected system holds its root open from the start, so the root
    // has to exist before the suite fills it.
    makeDirectories(root);
    collected_.emplace(root);
}

platform::ScopedServices FakeMachine::install(platform::Services extra)
{
    extra.clock = &clock;
    extra.sleeper = &sleeper;
    extra.environment = &environment;
    extra.systemLog = &systemLog;
    extra.reporter = &reporter;
    if (collected_ && !extra.collectedSystem)
        extra.collectedSystem = &*collected_;
    return platform::ScopedServices(std::move(extra));
}

platform::ScopedServices FakeMachine::installCollectingFrom(const std::string& root, platform::Services extra)
{
    collectFrom(root);
    return install(std::move(extra));
}

} // namespace testing_support

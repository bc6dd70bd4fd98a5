#include "Services.h"

#include <utility>

namespace platform {
namespace {

Services& installed()
{
    static Services services;
    return services;
}

} // namespace

ScopedServices::ScopedServices(Services replacement)
    : previous_(std::exchange(installed(), std::move(replacement)))
{
}

ScopedServices::~ScopedServices()
{
    installed() = std::move(previous_);
}

const Services& currentServices()
{
    return installed();
}

Clock& clock()
{
    return installed().clock ? *installed().clock : realClock();
}

Sleeper& sleeper()
{
    return installed().sleeper ? *installed().sleeper : realSleeper();
}

Environment& environment()
{
    return installed().environment ? *installed().environment : realEnvironment();
}

SystemLog& systemLog()
{
    return installed().systemLog ? *installed().systemLog : realSystemLog();
}

MessageBoxes& messageBoxes()
{
    return installed().messageBoxes ? *installed().messageBoxes : consoleMessageBoxes();
}

std::string hostPath(const std::string& path)
{
    const std::string& root = installed().fileSystemRoot;
    if (root.empty())
        return path;
    // The collected system's paths are absolute; a relative one is taken
    // from its root as well.
    if (!path.empty() && path.front() == '/')
        return root + path;
    return root + "/" + path;
}

std::string homeDirectory()
{
    if (auto home = environment().variable("HOME"); home && !home->empty())
        return *home;
    return environment().accountHomeDirectory();
}

} // namespace platform

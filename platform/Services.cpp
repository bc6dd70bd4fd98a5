#include "platform/Services.h"

#include <utility>

namespace platform {
namespace {

// The one place where an unset slot becomes the real implementation.
Services resolved(Services services)
{
    const Services real = realServices();
    auto fill = [](auto*& slot, auto* realOne) {
        if (!slot)
            slot = realOne;
    };
    fill(services.clock, real.clock);
    fill(services.sleeper, real.sleeper);
    fill(services.environment, real.environment);
    fill(services.systemLog, real.systemLog);
    fill(services.reporter, real.reporter);
    fill(services.usb, real.usb);
    fill(services.systemFacts, real.systemFacts);
    fill(services.bundles, real.bundles);
    fill(services.collectedSystem, real.collectedSystem);
    return services;
}

Services& installed()
{
    static Services services = realServices();
    return services;
}

} // namespace

ScopedServices::ScopedServices(Services replacement)
    : previous_(std::exchange(installed(), resolved(std::move(replacement))))
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
    return *installed().clock;
}
Sleeper& sleeper()
{
    return *installed().sleeper;
}
Environment& environment()
{
    return *installed().environment;
}
SystemLog& systemLog()
{
    return *installed().systemLog;
}
Reporter& reporter()
{
    return *installed().reporter;
}
UsbStack& usb()
{
    return *installed().usb;
}
SystemFacts& systemFacts()
{
    return *installed().systemFacts;
}
BundleReader& bundles()
{
    return *installed().bundles;
}
const CollectedSystem& collectedSystem()
{
    return *installed().collectedSystem;
}

std::string homeDirectory()
{
    if (auto home = environment().variable("HOME"); home && !home->empty())
        return *home;
    return environment().accountHomeDirectory();
}

} // namespace platform

#pragma once
// The seam between the report and the machine it runs on. The report reaches
// the clock, sleeping, the environment, the system log, the person running
// it, the USB stack, the system facts, bundle dictionaries and the collected
// system's files only through the accessors below. Front ends and tests swap
// implementations in with ScopedServices; the real ones fill whatever they
// leave unset, once, when the set is installed.

#include "base/UserMessage.h"

#include <ctime>
#include <optional>
#include <string>

namespace platform {

class Clock {
public:
    virtual ~Clock() = default;
    // Calendar time in whole seconds since the epoch.
    virtual std::time_t now() const = 0;
    // The local broken-down time of a moment, in the user's time zone.
    virtual std::tm localTime(std::time_t moment) const = 0;
};

class Sleeper {
public:
    virtual ~Sleeper() = default;
    virtual void sleepSeconds(unsigned seconds) = 0;
};

class Environment {
public:
    virtual ~Environment() = default;
    virtual std::optional<std::string> variable(const std::string& name) const = 0;
    // The account's home directory from the password database; empty when unknown.
    virtual std::string accountHomeDirectory() const = 0;
};

class SystemLog {
public:
    virtual ~SystemLog() = default;
    virtual void write(const std::string& line) = 0;
};

// What the report tells the person running it: progress lines as it goes
// (standard output, not part of the report) and the modal messages.
class Reporter {
public:
    virtual ~Reporter() = default;
    // One line, without its line end.
    virtual void progress(const std::string& line) = 0;
    // Both are modal: they return once the user has dismissed the message.
    virtual void showInformation(const UserMessage& message) = 0;
    virtual void showError(const UserMessage& message) = 0;
};

// Declared in their own headers.
class UsbStack;
class SystemFacts;
class BundleReader;
class CollectedSystem;

// One set of implementations; a null slot is filled with the real one when
// the set is installed.
struct Services {
    Clock* clock = nullptr;
    Sleeper* sleeper = nullptr;
    Environment* environment = nullptr;
    SystemLog* systemLog = nullptr;
    Reporter* reporter = nullptr;
    UsbStack* usb = nullptr;
    SystemFacts* systemFacts = nullptr;
    BundleReader* bundles = nullptr;
    const CollectedSystem* collectedSystem = nullptr;
};

// The real implementations, every slot set.
Services realServices();

// Installs a set for the lifetime of the object and restores the previous
// one afterwards. Not thread-safe: set up before a run starts.
class ScopedServices {
public:
    explicit ScopedServices(Services replacement);
    ~ScopedServices();
    ScopedServices(const ScopedServices&) = delete;
    ScopedServices& operator=(const ScopedServices&) = delete;

private:
    Services previous_;
};

// The real implementations one by one, for decorators and front ends.
Clock& realClock();
Sleeper& realSleeper();
Environment& realEnvironment();
SystemLog& realSystemLog();
Reporter& consoleReporter();

// The installed set, every slot set.
const Services& currentServices();

Clock& clock();
Sleeper& sleeper();
Environment& environment();
SystemLog& systemLog();
Reporter& reporter();
UsbStack& usb();
SystemFacts& systemFacts();
BundleReader& bundles();
const CollectedSystem& collectedSystem();

// HOME, or the account's home directory when HOME is unset or empty.
std::string homeDirectory();

} // namespace platform

#pragma once
// The seam between the report and the machine it runs on. The report reaches
// the clock, sleeping, the environment, the system log, the message boxes, the
// USB stack, the system facts and bundle dictionaries only through the
// accessors below. Front ends and tests swap implementations in with
// ScopedServices; anything left unset falls back to the real implementation.

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

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // Both are modal: they return once the user has dismissed the message.
    virtual void showInformation(const std::string& message) = 0;
    virtual void showError(const std::string& message) = 0;
};

// Declared in their own headers.
class UsbStack;
class SystemFacts;
class BundleReader;

// The current implementations. A null pointer means "the real one".
struct Services {
    Clock* clock = nullptr;
    Sleeper* sleeper = nullptr;
    Environment* environment = nullptr;
    SystemLog* systemLog = nullptr;
    MessageBoxes* messageBoxes = nullptr;
    UsbStack* usb = nullptr;
    SystemFacts* systemFacts = nullptr;
    BundleReader* bundles = nullptr;
    // Every path the report reads from the file system is taken under this
    // directory (empty: the running system's root).
    std::string fileSystemRoot;
};

// Replaces the current services for the lifetime of the object and restores
// the previous ones afterwards. Not thread-safe: set up before a run starts.
class ScopedServices {
public:
    explicit ScopedServices(Services replacement);
    ~ScopedServices();
    ScopedServices(const ScopedServices&) = delete;
    ScopedServices& operator=(const ScopedServices&) = delete;

private:
    Services previous_;
};

const Services& currentServices();

Clock& clock();
Sleeper& sleeper();
Environment& environment();
SystemLog& systemLog();
MessageBoxes& messageBoxes();

// The real implementations, for decorators and front ends.
Clock& realClock();
Sleeper& realSleeper();
Environment& realEnvironment();
SystemLog& realSystemLog();
MessageBoxes& consoleMessageBoxes();

// A path of the collected system as a path on this machine (under the
// file-system root, when one is set).
std::string hostPath(const std::string& path);

// HOME, or the account's home directory when HOME is unset or empty.
std::string homeDirectory();

} // namespace platform

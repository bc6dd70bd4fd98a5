#pragma once
// The seam between the report and the machine it runs on. The report reaches
// the clock, sleeping, the environment, the system log, the person running
// it, the USB stack, the system facts, bundle dictionaries and the collected
// system's files only through the accessors below. Front ends and tests swap
// implementations in with ScopedServices; the real ones fill whatever they
// leave unset, once, when the set is installed.

#include "base/CodedFailure.h"

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

// One of the report's messages to the person running it. `text` is the
// message in the report's own words, the one support knows and a command
// line prints; the rest says which message it is, so that a window can word
// it in its user's language.
struct Message {
    enum class Kind {
        reportPlaced,
        noRecognizedPrinter,
        // A run ended by one of the report's codes.
        failure,
        // A run ended by anything else (memory exhaustion, a library fault).
        unexpectedFailure,
    };
    Kind kind = Kind::failure;
    int code = 0;
    // What a failure concerns, where it said: the step, the file or folder
    // and the system's reason. Not in `text`: each front end words it.
    std::optional<FailureDetail> detail{};
    // An unexpected failure's own words (a library's), which `text` quotes
    // after the sentence; empty for none.
    std::string quoted{};
    std::string text{};
    // The archive the run left, absolute, for a message that ends a run: the
    // placed report, or after a failure the valid archive of the entries
    // written before it; empty when it left none.
    std::string archivePath{};
};

// What the report tells the person running it: progress lines as it goes
// (standard output, not part of the report) and the modal messages.
class Reporter {
public:
    virtual ~Reporter() = default;
    // One line, without its line end.
    virtual void progress(const std::string& line) = 0;
    // Both are modal: they return once the user has dismissed the message.
    virtual void showInformation(const Message& message) = 0;
    virtual void showError(const Message& message) = 0;
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

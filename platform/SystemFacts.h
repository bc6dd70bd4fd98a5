#pragma once
// The facts about the running computer that the general report shows: the
// operating system version, the processor, the model, the memory and the
// start-up volume. Each answer is nothing when the system does not tell; the
// report decides what that means for its line. The facts it cannot go
// without also say where they were read from and why they could not be.

#include <cstdint>
#include <optional>
#include <string>
#include <system_error>

namespace platform {

struct OperatingSystemVersion {
    int majorNumber = 0;
    int minorNumber = 0;
    int updateNumber = 0;
};

// The space of a mounted volume, in blocks of `blockSize` bytes.
struct VolumeSpace {
    std::uint64_t blockSize = 0;
    std::uint64_t totalBlocks = 0;
    // Blocks an unprivileged user may still fill.
    std::uint64_t availableBlocks = 0;
};

// A fact the report cannot go without, as it was read: the value, or nothing
// when it could not be read; where it was read from (where it was looked for
// last, when it could not be); and the system's reason, when it gave one.
template <typename Value>
struct FactReading {
    std::optional<Value> value;
    std::string source;
    std::error_code error;
};

class SystemFacts {
public:
    virtual ~SystemFacts() = default;

    virtual std::optional<OperatingSystemVersion> operatingSystemVersion() const = 0;
    // The processor's nominal clock in hertz.
    virtual std::optional<std::uint64_t> processorClockHertz() const = 0;
    // What kind of processor this is, in a word or two.
    virtual std::optional<std::string> architectureDescription() const = 0;
    virtual FactReading<int> logicalProcessorCount() const = 0;
    // The model the firmware names; an empty text when it names none;
    // nothing when the model cannot be read at all.
    virtual FactReading<std::string> hardwareModel() const = 0;
    virtual FactReading<std::uint64_t> physicalMemoryBytes() const = 0;
    // The device mounted as the root directory, as the mount table names it.
    virtual std::optional<std::string> startupVolumeDeviceName() const = 0;
    virtual std::optional<VolumeSpace> startupVolumeSpace() const = 0;
};

// The facts of the machine this program runs on.
SystemFacts& realSystemFacts();

} // namespace platform

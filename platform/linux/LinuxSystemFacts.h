#pragma once
// The system facts of a Linux machine, read from the kernel's /proc and /sys
// files, uname and statvfs. Where those files are looked for can be moved, so
// that the readings can be tried on prepared directory trees.

#include "platform/SystemFacts.h"

#include <functional>
#include <optional>
#include <string>

namespace platform {

// The two fields of uname that the facts use.
struct KernelIdentity {
    std::string release; // for example 6.1.0-18-amd64
    std::string machine; // for example x86_64
};

struct LinuxFactSources {
    std::string procDirectory = "/proc";
    std::string sysDirectory = "/sys";
    // The volume whose space is reported: the one holding this path.
    std::string startupVolumePath = "/";
    // Where the kernel's release and machine come from; unset means uname.
    std::function<std::optional<KernelIdentity>()> kernelIdentity;
};

class LinuxSystemFacts final : public SystemFacts {
public:
    explicit LinuxSystemFacts(LinuxFactSources sources = {});

    // The first three numbers of the kernel release. A release that names
    // only two counts as update 0, as the kernel's own version code counts
    // it; fewer than two numbers cannot be read.
    std::optional<OperatingSystemVersion> operatingSystemVersion() const override;
    // cpu0's maximum cpufreq frequency, else the first "cpu MHz" of cpuinfo.
    std::optional<std::uint64_t> processorClockHertz() const override;
    std::optional<std::string> architectureDescription() const override;
    // The online processors, else the processors that cpuinfo lists.
    FactReading<int> logicalProcessorCount() const override;
    // The firmware's product name, else the device tree's model.
    FactReading<std::string> hardwareModel() const override;
    // MemTotal of meminfo.
    FactReading<std::uint64_t> physicalMemoryBytes() const override;
    // The last mount-table entry mounted at "/".
    std::optional<std::string> startupVolumeDeviceName() const override;
    std::optional<VolumeSpace> startupVolumeSpace() const override;

private:
    std::optional<KernelIdentity> kernel() const;
    std::string proc(const std::string& relative) const;
    std::string sys(const std::string& relative) const;

    LinuxFactSources sources_;
};

} // namespace platform

#pragma once
// System facts set by the test, and Info.plist files written with libplist.

#include "platform/SystemFacts.h"

#include <plist/plist.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace testing_support {

// A machine whose every fact is a member; nothing means "the system does
// not tell". The defaults describe an ordinary machine.
class FakeSystemFacts final : public platform::SystemFacts {
public:
    std::optional<platform::OperatingSystemVersion> version = platform::OperatingSystemVersion{6, 1, 0};
    std::optional<std::uint64_t> clockHertz = 1830000000;
    std::optional<std::string> architecture = std::string("x86_64");
    std::optional<int> processors = 2;
    std::optional<std::string> model = std::string("Standard PC (Q35 + ICH9, 2009)");
    std::optional<std::uint64_t> memoryBytes = 8ULL << 30;
    std::optional<std::string> deviceName = std::string("/dev/sda1");
    std::optional<platform::VolumeSpace> volume = platform::VolumeSpace{4096, 121846784, 30000000};

    std::optional<platform::OperatingSystemVersion> operatingSystemVersion() const override { return version; }
    std::optional<std::uint64_t> processorClockHertz() const override { return clockHertz; }
    std::optional<std::string> architectureDescription() const override { return architecture; }
    // Where the facts are said to come from, and why one that is nothing
    // could not be read.
    std::string source = "/proc/fake";
    std::error_code unreadable = std::make_error_code(std::errc::no_such_file_or_directory);

    platform::FactReading<int> logicalProcessorCount() const override { return {processors, source, unreadable}; }
    platform::FactReading<std::string> hardwareModel() const override { return {model, source, unreadable}; }
    platform::FactReading<std::uint64_t> physicalMemoryBytes() const override
    {
        return {memoryBytes, source, unreadable};
    }
    std::optional<std::string> startupVolumeDeviceName() const override { return deviceName; }
    std::optional<platform::VolumeSpace> startupVolumeSpace() const override { return volume; }
};

enum class PlistFormat { xml, binary };

// The bytes of a property list whose top is a dictionary of the given items;
// takes ownership of the item nodes (made with plist_new_string and friends).
std::string dictionaryPropertyList(std::initializer_list<std::pair<std::string, plist_t>> items, PlistFormat format);
// An information dictionary with a CFBundleVersion text (and a name beside it).
std::string versionPropertyList(const std::string& version, PlistFormat format);
// A binary property list made by hand, for shapes no writer produces: the
// objects in order, object 0 at the top, with 2-byte references and 4-byte
// offsets.
std::string handMadeBinaryPlist(const std::vector<std::string>& objects);
// A binary array object holding the given object references.
std::string binaryArrayOf(std::initializer_list<std::uint16_t> references);
// A bundle directory with the given Contents/Info.plist.
void writeBundle(const std::string& bundleDirectory, const std::string& infoPlist);

} // namespace testing_support

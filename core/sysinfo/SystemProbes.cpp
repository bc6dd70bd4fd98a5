#include "core/sysinfo/SystemProbes.h"

#include "core/strings/BasicStringAlgorithmsClass.h"
#include "core/sysinfo/SysctlReadingClass.h"
#include "platform/Services.h"
#include "platform/SystemFacts.h"

#include <cstdint>

namespace {

const char* const NOT_AVAILABLE = "n/a";

constexpr std::uint64_t HERTZ_PER_HUNDREDTH_GHZ = 10000000;
constexpr unsigned GIBIBYTE_SHIFT = 30;

// floor(blockSize * blocks * 100 / 2^30), without the product ever
// overflowing; nothing for a size beyond 64 bits of hundredths.
std::optional<unsigned long long> hundredthsOfGibibytes(std::uint64_t blockSize, std::uint64_t blocks)
{
    __extension__ using Wide = unsigned __int128;
    const Wide bytes = static_cast<Wide>(blockSize) * blocks;
    const Wide belowOneGibibyte = (Wide{1} << GIBIBYTE_SHIFT) - 1;
    const Wide hundredths = (bytes >> GIBIBYTE_SHIFT) * 100 + (((bytes & belowOneGibibyte) * 100) >> GIBIBYTE_SHIFT);
    if (hundredths > static_cast<Wide>(~0ULL))
        return std::nullopt;
    return static_cast<unsigned long long>(hundredths);
}

std::string gibibyteText(std::optional<unsigned long long> hundredths)
{
    if (!hundredths)
        return NOT_AVAILABLE;
    return SystemProbes::times100NumberStringToDecimalString(BasicStringAlgorithmsClass::convertToString(*hundredths));
}

} // namespace

std::string SystemProbes::osVersionString()
{
    // A version the system does not tell is shown as unknown, never guessed.
    auto version = platform::systemFacts().operatingSystemVersion();
    if (!version)
        return NOT_AVAILABLE;
    return BasicStringAlgorithmsClass::convertToString(version->majorNumber) + "." +
           BasicStringAlgorithmsClass::convertToString(version->minorNumber) + "." +
           BasicStringAlgorithmsClass::convertToString(version->updateNumber);
}

std::string SystemProbes::processorSpeedInGhz()
{
    auto hertz = platform::systemFacts().processorClockHertz();
    if (!hertz)
        return NOT_AVAILABLE;
    // 64 bits: clocks above 2.147 GHz overflow a signed 32-bit count of hertz.
    unsigned long long hundredths = *hertz / HERTZ_PER_HUNDREDTH_GHZ;
    return times100NumberStringToDecimalString(BasicStringAlgorithmsClass::convertToString(hundredths));
}

std::string SystemProbes::times100NumberStringToDecimalString(std::string digits)
{
    if (digits.size() <= 2)
        digits.insert(0, 3 - digits.size(), '0');
    const std::size_t whole = digits.size() - 2;
    return digits.substr(0, whole) + "." + digits.substr(whole);
}

std::string SystemProbes::processorDescription()
{
    auto architecture = platform::systemFacts().architectureDescription();
    std::string clock = processorSpeedInGhz();
    int processors = SysctlReadingClass::getSysctlInt(CTL_HW, HW_NCPU);
    return clock + " GHz " + architecture.value_or(NOT_AVAILABLE) + " " +
           BasicStringAlgorithmsClass::convertToString(processors) + " cores";
}

std::string SystemProbes::harddriveData()
{
    const platform::SystemFacts& facts = platform::systemFacts();
    std::string device = facts.startupVolumeDeviceName().value_or(NOT_AVAILABLE);
    std::optional<unsigned long long> free;
    std::optional<unsigned long long> total;
    // An unreadable volume shows "n/a" figures rather than whatever was in memory.
    if (auto space = facts.startupVolumeSpace()) {
        free = hundredthsOfGibibytes(space->blockSize, space->availableBlocks);
        total = hundredthsOfGibibytes(space->blockSize, space->totalBlocks);
    }
    return device + " " + gibibyteText(free) + " GBs free out of " + gibibyteText(total) + " GBs";
}

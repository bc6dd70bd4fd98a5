#include "core/sysinfo/GeneralInformation.h"

#include "base/TimeTicks.h"
#include "base/WindowsNewline.h"
#include "core/strings/BasicStringAlgorithmsClass.h"
#include "core/sysinfo/SysctlReadingClass.h"
#include "platform/Services.h"

#include <cstdint>
#include <utility>

const char* const VERSION_ID = "tvk47mbsa6d";

namespace {

std::string withoutLineBreaks(std::string value)
{
    for (char& c : value)
        if (c == '\r' || c == '\n')
            c = ' ';
    return value;
}

constexpr std::uint64_t BYTES_PER_MEGABYTE = 1048576;

} // namespace

void GeneralInformation::addLine(const char* label, std::string value)
{
    addLastLine(label, std::move(value));
    text_ += WINDOWS_NEWLINE;
}

void GeneralInformation::addLastLine(const char* label, std::string value)
{
    text_ += label;
    text_ += withoutLineBreaks(std::move(value));
}

std::string GeneralInformation::model()
{
    std::string model = SysctlReadingClass::getSysctlString(CTL_HW, HW_MODEL);
    return model.empty() ? "n/a" : model;
}

std::string GeneralInformation::totalRam()
{
    // The true size in 64 bits; a 4-byte reading fails from 2 GiB on.
    const std::uint64_t memory = SysctlReadingClass::getSysctlUInt64(CTL_HW, HW_PHYSMEM);
    return BasicStringAlgorithmsClass::convertToString(static_cast<unsigned long long>(memory / BYTES_PER_MEGABYTE)) +
           " MB";
}

std::string GeneralInformation::timeStamp()
{
    return BasicStringAlgorithmsClass::convertToString(
        static_cast<unsigned long long>(ticksSinceYearOne(platform::clock().now())));
}

#include "core/sysinfo/GeneralInformation.h"

#include "base/TimeTicks.h"
#include "base/WindowsNewline.h"
#include "core/strings/BasicStringAlgorithmsClass.h"
#include "core/sysinfo/InstalledVersionScan.h"
#include "core/sysinfo/SysctlReadingClass.h"
#include "core/sysinfo/SystemProbes.h"
#include "platform/Services.h"

const char* const VERSION_ID = "tvk47mbsa6d";

namespace {

// A line break inside a value (a file name may hold one) would split its
// line and shift every line after it.
std::string withoutLineBreaks(std::string value)
{
    for (char& c : value)
        if (c == '\r' || c == '\n')
            c = ' ';
    return value;
}

void appendLine(std::string* text, const char* label, std::string value)
{
    *text += label;
    *text += withoutLineBreaks(std::move(value));
    *text += WINDOWS_NEWLINE;
}

constexpr std::uint64_t BYTES_PER_MEGABYTE = 1048576;

} // namespace

std::string GeneralInformation::text(RunLog& log)
{
    // Each value is read when its line is built, so the driver bundle scan
    // logs before the application scan.
    std::string text;
    appendLine(&text, "OS:Mac OS X Version ", SystemProbes::osVersionString());
    appendLine(&text, "Processor:", SystemProbes::processorDescription());
    std::string model = SysctlReadingClass::getSysctlString(CTL_HW, HW_MODEL);
    appendLine(&text, "Model:", model.empty() ? "n/a" : model);
    // The true size in 64 bits; a 4-byte reading fails from 2 GiB on.
    std::uint64_t memory = SysctlReadingClass::getSysctlUInt64(CTL_HW, HW_PHYSMEM);
    appendLine(&text, "Total RAM:",
               BasicStringAlgorithmsClass::convertToString(
                   static_cast<unsigned long long>(memory / BYTES_PER_MEGABYTE)) + " MB");
    appendLine(&text, "Harddrives data:", SystemProbes::harddriveData());
    appendLine(&text, "TimeStamp:",
               BasicStringAlgorithmsClass::convertToString(
                   static_cast<unsigned long long>(ticksSinceYearOne(platform::clock().now()))));
    appendLine(&text, "VersionID:", VERSION_ID);
    appendLine(&text, "Driver Bundles Data:", InstalledVersionScan::driverBundleVersions(log));
    text += "Application Data:";
    text += withoutLineBreaks(InstalledVersionScan::applicationVersionData(log));
    return text;
}

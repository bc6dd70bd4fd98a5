#include "core/sysinfo/InstalledVersionScan.h"

#include "base/CodedFailure.h"
#include "base/ErrorCodes.h"
#include "base/RunLog.h"
#include "core/reading/FileReaderClass.h"
#include "core/strings/BasicStringAlgorithmsClass.h"
#include "platform/BundleReader.h"
#include "platform/Services.h"

#include <cerrno>

const char* const DRIVER_DIRECTORY_PATH = "/Library/Printers/Quorvel/";
const char* const APPLICATION_DIRECTORY_PATH = "/Applications/";

namespace {

const char* const kCFBundleVersionKey = "CFBundleVersion";

struct VersionScan {
    const char* directory;
    const char* nameEnding;
    int unlistableDirectoryCode;
    FailedStep unlistableDirectoryStep;
    const char* missingVersionMessageHead;
};

const VersionScan DRIVER_BUNDLE_SCAN{DRIVER_DIRECTORY_PATH, ".bundle", ERROR_DRIVER_DIRECTORY,
                                     FailedStep::listDriverDirectory, "Could not get driver bundle version for "};
const VersionScan APPLICATION_SCAN{APPLICATION_DIRECTORY_PATH, ".app", ERROR_APPLICATION_DIRECTORY,
                                   FailedStep::listApplicationDirectory, "Could not get application version for "};

std::string scanVersions(const VersionScan& scan, RunLog& log)
{
    std::list<std::string> names;
    if (!FileReaderClass::listDir(scan.directory, &names))
        throw CodedFailure{scan.unlistableDirectoryCode, {scan.unlistableDirectoryStep, scan.directory, errno}};
    std::list<std::string> entries;
    for (const std::string& name : names) {
        if (!BasicStringAlgorithmsClass::doesStringEndWithTestString(name, scan.nameEnding))
            continue;
        std::string version = InstalledVersionScan::bundleVersion(scan.directory + name);
        if (version.empty())
            log.addLine(std::string(scan.missingVersionMessageHead) + "\"" + name + "\"");
        else
            entries.push_back(name + "," + version);
    }
    return BasicStringAlgorithmsClass::joinList(entries, ";");
}

} // namespace

std::string InstalledVersionScan::bundleVersion(const std::string& path)
{
    if (!FileReaderClass::fileExists(path.c_str()))
        return {};
    std::optional<std::string> version = platform::bundles().infoDictionaryString(path, kCFBundleVersionKey);
    if (!version)
        return {};
    const PlatformString value{*version};
    return BasicStringAlgorithmsClass::getStringFromCFStringRef(&value, kCFStringEncodingMacRoman);
}

std::string InstalledVersionScan::driverBundleVersions(RunLog& log)
{
    return scanVersions(DRIVER_BUNDLE_SCAN, log);
}

std::string InstalledVersionScan::applicationVersionData(RunLog& log)
{
    return scanVersions(APPLICATION_SCAN, log);
}

// The versions of the maker's driver bundles and of the installed
// applications, for lines 8 and 9 of the general report.
#include "core/TelvarinGenerator.h"

#include "core/BasicStringAlgorithmsClass.h"
#include "core/ErrorCodes.h"
#include "core/FileReaderClass.h"
#include "platform/BundleReader.h"

const char* const DRIVER_DIRECTORY_PATH = "/Library/Printers/Quorvel/";
const char* const APPLICATION_DIRECTORY_PATH = "/Applications/";

namespace {

const char* const kCFBundleVersionKey = "CFBundleVersion";

struct VersionScan {
    const char* directory;
    const char* nameEnding;
    int unlistableDirectoryCode;
    const char* missingVersionMessageHead;
};

const VersionScan DRIVER_BUNDLE_SCAN{DRIVER_DIRECTORY_PATH, ".bundle", ERROR_DRIVER_DIRECTORY,
                                     "Could not get driver bundle version for "};
const VersionScan APPLICATION_SCAN{APPLICATION_DIRECTORY_PATH, ".app", ERROR_APPLICATION_DIRECTORY,
                                   "Could not get application version for "};

std::string scanVersions(const VersionScan& scan, TelvarinGenerator& generator)
{
    std::list<std::string> names;
    if (!FileReaderClass::listDir(scan.directory, &names))
        throw scan.unlistableDirectoryCode;
    std::list<std::string> entries;
    for (const std::string& name : names) {
        if (!BasicStringAlgorithmsClass::doesStringEndWithTestString(name, scan.nameEnding))
            continue;
        std::string version = TelvarinGenerator::getBundleVersion(scan.directory + name);
        if (version.empty())
            generator.addToLog(std::string(scan.missingVersionMessageHead) + "\"" + name + "\"");
        else
            entries.push_back(name + "," + version);
    }
    return BasicStringAlgorithmsClass::joinList(entries, ";");
}

} // namespace

std::string TelvarinGenerator::getBundleVersion(std::string path)
{
    if (!FileReaderClass::fileExists(path.c_str()))
        return {};
    std::optional<std::string> version = platform::bundles().infoDictionaryString(path, kCFBundleVersionKey);
    if (!version)
        return {};
    const PlatformString value{*version};
    return BasicStringAlgorithmsClass::getStringFromCFStringRef(&value, kCFStringEncodingMacRoman);
}

std::string TelvarinGenerator::getDriverBundleVersions()
{
    return scanVersions(DRIVER_BUNDLE_SCAN, *this);
}

std::string TelvarinGenerator::getApplicationVersionData()
{
    return scanVersions(APPLICATION_SCAN, *this);
}

#pragma once
// The versions of the maker's driver bundles and of the installed
// applications, for lines 8 and 9 of the general report: "name,version"
// entries joined by ";", in the order the directory lists them. An entry
// without a readable version is left out and named in the run's log.

#include <string>

class RunLog;

extern const char* const DRIVER_DIRECTORY_PATH;
extern const char* const APPLICATION_DIRECTORY_PATH;

class InstalledVersionScan {
public:
    InstalledVersionScan() = delete;

    // The CFBundleVersion of the bundle directory at `path`; empty when there
    // is none. Code 3 when it has no Mac Roman form.
    static std::string bundleVersion(const std::string& path);
    // Code 14 when the driver directory cannot be listed.
    static std::string driverBundleVersions(RunLog& log);
    // Code 11 when the applications directory cannot be listed.
    static std::string applicationVersionData(RunLog& log);
};

#pragma once
// The general report on the computer (reportData/generalInformation.dat):
// nine labelled lines, every one but the last ended by WINDOWS_NEWLINE.

#include <string>

class RunLog;

// The tool's own version identifier, line 7 of the report.
extern const char* const VERSION_ID;

class GeneralInformation {
public:
    GeneralInformation() = delete;

    // The whole text; the version scans add their misses to `log`.
    static std::string text(RunLog& log);
};

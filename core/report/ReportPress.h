#pragma once
// One press of the button, whatever the front end: the system-log line, the
// busy indicator, one report run, and the one message that ends it.

#include <optional>
#include <string>

class BusyIndicator {
public:
    virtual ~BusyIndicator() = default;
    virtual void startAnimation() = 0;
    virtual void stopAnimation() = 0;
};

struct ReportRequest {
    // The file list; nothing when the tool ships none (the run ends with code 5).
    std::optional<std::string> dataXmlPath;
    // Where to put the archive; nothing for the dated name on the desktop.
    std::optional<std::string> archivePath;
};

struct PressResult {
    bool reportPlaced = false;
    // The code that ended the run; 0 after success or a failure of another kind.
    int errorCode = 0;
    std::string message;
    std::string archivePath;
    // The run's log as it stood when the run ended, placed or not.
    std::string log;
};

// The first line a press writes to the system log.
std::string currentDateLogLine();

PressResult runReportPress(BusyIndicator& indicator, const ReportRequest& request);

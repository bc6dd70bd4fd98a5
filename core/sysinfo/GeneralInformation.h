#pragma once
// The general report on the computer (reportData/generalInformation.dat):
// nine labelled lines, every one but the last ended by WINDOWS_NEWLINE. The
// run reads each value when its line is added (TelvarinGenerator::
// getGeneralData), so that the probes run, and log, in the lines' order.

#include <string>

// The tool's own version identifier, line 7 of the report.
extern const char* const VERSION_ID;

class GeneralInformation {
public:
    // One line: the label, then the value, in which a line break (a file
    // name may hold one) becomes a blank so that it cannot add a line.
    void addLine(const char* label, std::string value);
    // The last line, the same without a line end.
    void addLastLine(const char* label, std::string value);
    const std::string& text() const { return text_; }

    // The values that no other probe gives: the hardware model ("n/a" when
    // the system names none), the memory in megabytes with " MB", and the
    // time stamp of this moment.
    static std::string model();
    static std::string totalRam();
    static std::string timeStamp();

private:
    std::string text_;
};

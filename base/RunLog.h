#pragma once
// The run's own log: one line for each thing the report could not find or
// read, each ended by WINDOWS_NEWLINE, with no time stamp or prefix. It is
// stored as the archive's last entry.

#include <string>

class RunLog {
public:
    void addLine(std::string line);
    const std::string& text() const { return text_; }

private:
    std::string text_;
};

#pragma once
// The printer side of the report: finds the maker's printers on USB and
// builds the device report of the first recognised one.

#include <cstdint>
#include <list>
#include <string>

class PrinterCommunicationClass {
public:
    PrinterCommunicationClass() = delete;

    // False, after telling the user, when no recognised printer is connected.
    static bool getReportData(std::string* report);
    // 100-nanosecond ticks since 0001-01-01 00:00:00 UTC, from whole seconds.
    static std::uint64_t getCurrentTimeStamp();
};

#pragma once
// The probes behind lines 1 to 5 of the general report: the operating system
// version, the processor, and the start-up volume's space. A fact the system
// does not tell is shown as "n/a", never guessed.

#include <string>

class SystemProbes {
public:
    SystemProbes() = delete;

    // "major.minor.update"
    static std::string osVersionString();
    // The clock in GHz with two decimals, such as "2.40".
    static std::string processorSpeedInGhz();
    // "1234" hundredths as "12.34"; "5" as "0.05".
    static std::string times100NumberStringToDecimalString(std::string digits);
    // "<GHz> GHz <architecture> <count> cores"; code 10 when the count cannot be read.
    static std::string processorDescription();
    // "<device> <free> GBs free out of <total> GBs"
    static std::string harddriveData();
};

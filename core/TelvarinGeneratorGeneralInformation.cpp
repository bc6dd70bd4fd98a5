// Placeholder until the general information is gathered.
#include "core/TelvarinGenerator.h"

const char* const VERSION_ID = "tvk47mbsa6d";
const char* const DRIVER_DIRECTORY_PATH = "/Library/Printers/Quorvel/";
const char* const APPLICATION_DIRECTORY_PATH = "/Applications/";

std::string TelvarinGenerator::getGeneralData() { return {}; }
std::string TelvarinGenerator::getOsVersionString() { return {}; }
std::string TelvarinGenerator::getProcessorSpeedInGhz() { return "n/a"; }
std::string TelvarinGenerator::convertTimes100NumberStringToDecimalString(std::string digits) { return digits; }
std::string TelvarinGenerator::getProcessorDescription() { return {}; }
std::string TelvarinGenerator::getHarddriveData() { return {}; }
std::string TelvarinGenerator::getBundleVersion(std::string) { return {}; }
std::string TelvarinGenerator::getDriverBundleVersions() { return {}; }
std::string TelvarinGenerator::getApplicationVersionData() { return {}; }

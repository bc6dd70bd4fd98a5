// Placeholder until the printer report is built: no printer is ever found.
#include "core/PrinterCommunicationClass.h"

#include "platform/Services.h"

bool PrinterCommunicationClass::getReportData(std::string*)
{
    platform::messageBoxes().showError("No recognized printer found, the report will only contain log files.");
    return false;
}

std::uint64_t PrinterCommunicationClass::getCurrentTimeStamp()
{
    return static_cast<std::uint64_t>(platform::clock().now()) * 10000000ULL + 621355968000000000ULL;
}

// Discovery of the maker's printers and the device report of the first
// recognised one.
#include "core/printer/PrinterCommunicationClass.h"

#include "base/CodedFailure.h"
#include "base/ErrorCodes.h"
#include "base/TimeTicks.h"
#include "base/WindowsNewline.h"
#include "core/printer/QuorvelVendorId.h"
#include "core/strings/BasicStringAlgorithmsClass.h"
#include "platform/Services.h"

#include <algorithm>
#include <iterator>
#include <vector>

const std::string currentPrinterReportVersionID = "h3m82c5j9w1t4x7a6pzrybnk";
const char* const NO_RECOGNIZED_PRINTER_MESSAGE =
    "No recognized printer found, the report will only contain log files.";

namespace {

// The registry's own result code is what the user sees; the detail says
// that the USB devices could not be listed, and the system's reason.
[[noreturn]] void throwRegistryFailure(platform::UsbStatus result)
{
    throw CodedFailure{result.stackCode(), {FailedStep::listUsbDevices, {}, result.systemError().value()}};
}

bool isFullDataPrinter(int pid)
{
    return std::ranges::find(FULL_DATA_PRINTER_PIDS, pid) != std::end(FULL_DATA_PRINTER_PIDS);
}

bool isRecognisedPrinter(int pid)
{
    return isFullDataPrinter(pid) ||
           std::ranges::find(BASIC_STATUS_PRINTER_PIDS, pid) != std::end(BASIC_STATUS_PRINTER_PIDS);
}

// The discovery's session with the USB stack, given back on every path.
class DiscoverySession {
public:
    DiscoverySession()
    {
        platform::UsbStatus result = platform::usb().openSession(&session_);
        if (!result.succeeded())
            throwRegistryFailure(result);
    }
    ~DiscoverySession() { platform::usb().closeSession(session_); }
    DiscoverySession(const DiscoverySession&) = delete;
    DiscoverySession& operator=(const DiscoverySession&) = delete;
    platform::UsbSession get() const { return session_; }

private:
    platform::UsbSession session_ = platform::UsbSession::none;
};

// Closes the printer when the report is done or a code leaves it.
class PrinterConnection {
public:
    explicit PrinterConnection(Robot* robot) : robot_(robot) {}
    ~PrinterConnection() { PtrInfo_CloseUSBInterface(robot_); }
    PrinterConnection(const PrinterConnection&) = delete;
    PrinterConnection& operator=(const PrinterConnection&) = delete;

private:
    Robot* robot_;
};

} // namespace

std::list<int> PrinterCommunicationClass::getListOfConnectedQuorvelDevicePids()
{
    std::list<int> pids;
    DiscoverySession session;
    std::vector<platform::UsbDeviceEntry> devices;
    platform::UsbStatus result = platform::usb().listDevices(session.get(), &devices);
    if (!result.succeeded())
        throwRegistryFailure(result);
    for (const auto& device : devices) {
        int vendorId = 0;
        int productId = 0;
        if (!getVidAndPid(device, &vendorId, &productId))
            continue;
        if (BasicStringAlgorithmsClass::convertIntToTwoByteHexString(vendorId) == QUORVEL_VID)
            pids.push_back(productId);
    }
    return pids;
}

bool PrinterCommunicationClass::getVidAndPid(const platform::UsbDeviceEntry& entry, int* vendorId, int* productId)
{
    if (!entry.vendorId)
        return false;
    *vendorId = *entry.vendorId;
    if (!entry.productId)
        return false;
    *productId = *entry.productId;
    return true;
}

std::list<int> PrinterCommunicationClass::getPidListWithUnknownPidsFiltered(std::list<int> pids)
{
    std::list<int> recognised;
    std::ranges::copy_if(pids, std::back_inserter(recognised), isRecognisedPrinter);
    return recognised;
}

bool PrinterCommunicationClass::getReportData(std::string* report)
{
    std::list<int> pids = getPidListWithUnknownPidsFiltered(getListOfConnectedQuorvelDevicePids());
    if (pids.empty()) {
        platform::reporter().showError(
            {.kind = UserMessage::Kind::noRecognizedPrinter, .text = NO_RECOGNIZED_PRINTER_MESSAGE});
        return false;
    }
    // Only the first printer is reported; the others are passed over.
    *report = getDataFromPid(pids.front());
    return true;
}

std::string PrinterCommunicationClass::getDataFromPid(int pid)
{
    std::list<std::string> lines;
    lines.push_back(currentPrinterReportVersionID);
    lines.push_back("VID: " + std::string(QUORVEL_VID) +
                    " PID: " + BasicStringAlgorithmsClass::convertIntToTwoByteHexString(pid));
    lines.push_back(
        BasicStringAlgorithmsClass::convertToString(static_cast<unsigned long long>(getCurrentTimeStamp())));

    Robot robot;
    robot.pid = pid;
    PrinterConnection connection(&robot);
    // A failed open needs no check of its own: every transfer on the record
    // then fails, and the first exchange or status read throws 13. Whether
    // it opened only tells the user what to look at.
    const bool opened = PtrInfo_OpenUSBInterface(&robot);
    try {
        if (isFullDataPrinter(pid)) {
            tryToClearDeviceOutputBuffer(&robot);
            addFlashPageData(&robot, &lines);
            addStatusData(&robot, &lines);
            addOtherCommandData(&robot, &lines);
        } else {
            lines.push_back(readBasicStatusFromPrinter(&robot));
        }
    } catch (const CodedFailure& failure) {
        if (failure.code != ERROR_PRINTER_COMMUNICATION || failure.hasDetail())
            throw;
        throw CodedFailure{failure.code, {opened ? FailedStep::talkToPrinter : FailedStep::openPrinter, {}, 0}};
    }
    return BasicStringAlgorithmsClass::joinList(lines, WINDOWS_NEWLINE);
}

std::uint64_t PrinterCommunicationClass::getCurrentTimeStamp()
{
    return ticksSinceYearOne(platform::clock().now());
}

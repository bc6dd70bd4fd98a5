// The printer report on real libusb: discovery, the open with its claim and
// kernel-driver hand-over, the full-data report, time-outs and the close, all
// against printers emulated at the usbfs level.
#include "core/ErrorCodes.h"
#include "core/PrinterCommunicationClass.h"
#include "core/QuorvelVendorId.h"
#include "tests/doubles/FakeServices.h"
#include "tests/usb/EmulatedUsbPrinter.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace testing_support;

namespace {

const std::string STATUS_COMMAND = bytesOf("A5 00 04 40 20 00 00");

std::vector<std::string> splitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    lines.push_back(text.substr(start));
    return lines;
}

class PrinterOverUsbfs : public ::testing::Test {
protected:
    // The testbed exists before any libusb context of the test.
    EmulatedUsbBus bus;
    FakeMachine machine;
    platform::ScopedServices services = machine.install(); // the real USB stack

    void SetUp() override
    {
        ASSERT_TRUE(inEmulatedUsbEnvironment()) << "needs the umockdev preload library (ctest sets it)";
        machine.clock.set(utcTime(2020, 1, 1, 0, 0, 0));
    }

    int reportFailure(std::string* report)
    {
        try {
            PrinterCommunicationClass::getReportData(report);
        } catch (int code) {
            return code;
        }
        return 0;
    }

    static int count(const std::vector<std::string>& events, const std::string& event)
    {
        return static_cast<int>(std::count(events.begin(), events.end(), event));
    }
};

} // namespace

TEST_F(PrinterOverUsbfs, AnEmptyBusHasNoPrinter)
{
    EXPECT_TRUE(PrinterCommunicationClass::getListOfConnectedQuorvelDevicePids().empty());
    std::string report;
    EXPECT_FALSE(PrinterCommunicationClass::getReportData(&report));
    ASSERT_EQ(machine.messageBoxes.shown.size(), 1u);
    EXPECT_EQ(machine.messageBoxes.shown[0].text,
              "No recognized printer found, the report will only contain log files.");
}

TEST_F(PrinterOverUsbfs, DiscoveryListsOnlyTheMakersDevices)
{
    SimulatedDevice otherVendor = simulatedPrinterDevice(0x26);
    otherVendor.vendorId = QUORVEL_VENDOR_ID ^ 0x0100;
    bus.plugIn(otherVendor);
    bus.plugIn(simulatedPrinterDevice(0x10));
    bus.plugIn(simulatedPrinterDevice(0x26));
    std::list<int> pids = PrinterCommunicationClass::getListOfConnectedQuorvelDevicePids();
    pids.sort();
    EXPECT_EQ(pids, (std::list<int>{0x10, 0x26}));
}

TEST_F(PrinterOverUsbfs, FullDataReportClaimsReportsAndGivesThePrinterBack)
{
    EmulatedUsbPrinter& printer = bus.plugIn(simulatedPrinterDevice(0x26));
    printer.printer.queueOutput(bytesOf("77 77")); // left over from an earlier connection
    printer.printer.answer(STATUS_COMMAND, bytesOf("0A FF"));

    std::string report;
    ASSERT_TRUE(PrinterCommunicationClass::getReportData(&report));
    std::vector<std::string> lines = splitLines(report);
    ASSERT_EQ(lines.size(), 172u);
    EXPECT_EQ(lines[1], "VID: " + std::string(QUORVEL_VID) + " PID: 0026");
    EXPECT_EQ(lines[2], "637134336000000000");
    EXPECT_EQ(lines[3], "flash page 1,2,06 01");
    EXPECT_EQ(lines[10], "status data,2,0A FF");
    EXPECT_EQ(lines[171], "0x0576,2,06 76");

    std::vector<std::string> events = printer.events();
    ASSERT_FALSE(events.empty());
    // Claimed with the kernel's driver set aside, but never from another program.
    EXPECT_EQ(events.front(), "claim 0 except usbfs");
    EXPECT_EQ(printer.eventCount("write "), 169);
    EXPECT_EQ(count(events, "write 1b 2a 6d 06 94 07"), 1);
    EXPECT_EQ(count(events, "write a5 00 07 50 e0 81 00 02 04 15"), 2);
    // The drain: the stale answer, then a read that times out.
    EXPECT_EQ(events[1], "read 300");
    EXPECT_EQ(events[2], "read done 2");
    EXPECT_EQ(events[4], "read timed out");
    EXPECT_EQ(printer.eventCount("read timed out"), 1);
    // Released, and the kernel's printer driver bound again.
    EXPECT_EQ(std::vector<std::string>(events.end() - 2, events.end()),
              (std::vector<std::string>{"release 0", "driver bound 0"}));
}

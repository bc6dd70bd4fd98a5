// The printer report on real libusb: discovery, the open with its claim and
// kernel-driver hand-over, the full-data report, time-outs and the close, all
// against printers emulated at the usbfs level.
#include "base/ErrorCodes.h"
#include "core/printer/PrinterCommunicationClass.h"
#include "core/printer/QuorvelVendorId.h"
#include "tests/doubles/FakeServices.h"
#include "tests/usb/EmulatedUsbPrinter.h"

#include "tests/doubles/Expectations.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace testing_support;

namespace {

const std::string STATUS_COMMAND = bytesOf("A5 00 04 40 20 00 00");

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
        return codeThrownBy([&] { PrinterCommunicationClass::getReportData(report); });
    }

    static int count(const std::vector<std::string>& events, const std::string& event)
    {
        return static_cast<int>(std::count(events.begin(), events.end(), event));
    }
};

} // namespace

TEST_F(PrinterOverUsbfs, WithoutAnyUsbSubsystemThereIsNoPrinterAndNoFailure)
{
    // The empty testbed has neither /dev/bus/usb nor a USB bus in /sys, like
    // a container: libusb starts and lists nothing.
    EXPECT_TRUE(PrinterCommunicationClass::getListOfConnectedQuorvelDevicePids().empty());
    std::string report;
    EXPECT_FALSE(PrinterCommunicationClass::getReportData(&report));
    ASSERT_EQ(machine.reporter.shown.size(), 1u);
    EXPECT_EQ(machine.reporter.shown[0].text, "No recognized printer found, the report will only contain log files.");
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
    std::vector<std::string> lines = splitReportLines(report);
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

TEST_F(PrinterOverUsbfs, AMissedReadIsAnsweredAfterTheRewriteAndSilenceTimesOut)
{
    EmulatedUsbPrinter& printer = bus.plugIn(simulatedPrinterDevice(0x26));
    printer.printer.ignoreFirstWrites(bytesOf("1B 2A 6D 06 94 03"), 1);
    std::string report;
    ASSERT_TRUE(PrinterCommunicationClass::getReportData(&report));
    EXPECT_EQ(splitReportLines(report)[5], "flash page 3,2,06 03");
    EXPECT_EQ(count(printer.events(), "write 1b 2a 6d 06 94 03"), 2);

    // A printer that never answers the status command: two writes, four
    // reads that each time out, code 13, and the printer is given back.
    EmulatedUsbPrinter& silent = bus.plugIn(simulatedPrinterDevice(0x22));
    silent.printer.neverAnswer(STATUS_COMMAND);
    Robot robot;
    robot.pid = 0x22;
    ASSERT_TRUE(PtrInfo_OpenUSBInterface(&robot));
    EXPECT_THROW(PrinterCommunicationClass::writeCommandToRobotAndGetOutput(&robot, "A5000440200000"), CodedFailure);
    PtrInfo_CloseUSBInterface(&robot);
    std::vector<std::string> events = silent.events();
    EXPECT_EQ(silent.eventCount("write "), 2);
    EXPECT_EQ(silent.eventCount("read 300"), 4);
    EXPECT_EQ(silent.eventCount("read timed out"), 4);
    EXPECT_EQ(std::vector<std::string>(events.end() - 2, events.end()),
              (std::vector<std::string>{"release 0", "driver bound 0"}));
}

TEST_F(PrinterOverUsbfs, ABusyInterfaceIsWaitedForAndNeverTakenFromItsHolder)
{
    EmulatedUsbPrinter& printer = bus.plugIn(simulatedPrinterDevice(0x26));
    printer.setBusyClaims(3);
    std::string report;
    ASSERT_TRUE(PrinterCommunicationClass::getReportData(&report));
    EXPECT_EQ(splitReportLines(report).size(), 172u);
    EXPECT_EQ(machine.sleeper.sleeps, (std::vector<unsigned>{1, 1, 1}));
    EXPECT_EQ(printer.eventCount("claim 0 except usbfs busy"), 3);

    machine.sleeper.sleeps.clear();
    printer.setBusyClaims(6);
    EXPECT_EQ(reportFailure(&report), ERROR_PRINTER_COMMUNICATION);
    EXPECT_EQ(machine.sleeper.sleeps, (std::vector<unsigned>(5, 1)));
    EXPECT_EQ(printer.eventCount("claim 0 except usbfs busy"), 3 + 5);
    // Nothing was claimed, so nothing is released and no driver is touched.
    EXPECT_EQ(printer.eventCount("release"), 1);
    EXPECT_EQ(printer.eventCount("driver bound"), 1);
}

TEST_F(PrinterOverUsbfs, AnUnpluggedPrinterEndsTheReportWithThirteen)
{
    EmulatedUsbPrinter& printer = bus.plugIn(simulatedPrinterDevice(0x26));
    printer.setDisconnectAfterWrites(100);
    std::string report = "untouched";
    EXPECT_EQ(reportFailure(&report), ERROR_PRINTER_COMMUNICATION);
    EXPECT_EQ(report, "untouched");
    EXPECT_EQ(printer.eventCount("write "), 100);
    EXPECT_EQ(printer.eventCount("release 0"), 1);
}

TEST_F(PrinterOverUsbfs, BasicStatusPrinterAndTheAlternateSettingFallback)
{
    SimulatedDevice device = simulatedPrinterDevice(0x08);
    device.interfaces[0].alternateSettings = {{},
                                              {{0x81, platform::USB_TRANSFER_INTERRUPT},
                                               {0x02, platform::USB_TRANSFER_BULK},
                                               {0x83, platform::USB_TRANSFER_BULK}}};
    EmulatedUsbPrinter& printer = bus.plugIn(device);
    printer.printer.queueOutput(bytesOf("01 00 3F"));
    std::string report;
    ASSERT_TRUE(PrinterCommunicationClass::getReportData(&report));
    std::vector<std::string> lines = splitReportLines(report);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[3], "01 00 3F");
    EXPECT_EQ(printer.eventCount("alternate setting 0 1"), 1);
    EXPECT_EQ(printer.eventCount("write "), 0);
}

TEST_F(PrinterOverUsbfs, OnlyTheFirstRecognisedPrinterInTheSystemsOrderIsOpened)
{
    EmulatedUsbPrinter& first = bus.plugIn(simulatedPrinterDevice(0x16));
    EmulatedUsbPrinter& second = bus.plugIn(simulatedPrinterDevice(0x26));
    first.printer.queueOutput(bytesOf("01"));
    second.printer.queueOutput(bytesOf("02"));
    int firstListed = PrinterCommunicationClass::getListOfConnectedQuorvelDevicePids().front();
    std::string report;
    ASSERT_TRUE(PrinterCommunicationClass::getReportData(&report));
    EmulatedUsbPrinter& opened = firstListed == 0x16 ? first : second;
    EmulatedUsbPrinter& passedOver = firstListed == 0x16 ? second : first;
    EXPECT_EQ(splitReportLines(report).size(), firstListed == 0x16 ? 4u : 172u);
    EXPECT_EQ(opened.eventCount("claim"), 1);
    EXPECT_TRUE(passedOver.events().empty());
}

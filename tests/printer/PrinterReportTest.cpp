// Discovery, the data sets and the device report on the simulated bus, and
// the report run that carries it into the archive.
#include "base/ErrorCodes.h"
#include "core/printer/PrinterCommunicationClass.h"
#include "core/printer/QuorvelVendorId.h"
#include "core/report/ErrorMessages.h"
#include "core/report/ReportPress.h"
#include "tests/doubles/Expectations.h"
#include "tests/doubles/FakeServices.h"
#include "tests/doubles/SimulatedPrinter.h"
#include "tests/doubles/TestFiles.h"

#include <gtest/gtest.h>

#include <functional>
#include <sstream>

using namespace testing_support;

namespace {

const std::string NO_PRINTER_MESSAGE = "No recognized printer found, the report will only contain log files.";

std::string labelOf(const std::string& line)
{
    return line.substr(0, line.find(','));
}

class PrinterReport : public ::testing::Test {
protected:
    FakeMachine machine;
    SimulatedPrinter usb;
    platform::ScopedServices services = machine.install(usbServices(&usb));

    PrinterReport() { machine.clock.set(utcTime(2020, 1, 1, 0, 0, 0)); }

    int reportFailure(std::string* report)
    {
        return codeThrownBy([&] { PrinterCommunicationClass::getReportData(report); });
    }
};

class QuietIndicator : public BusyIndicator {
public:
    void startAnimation() override {}
    void stopAnimation() override {}
};

} // namespace

TEST(PrinterDataSetTable, HoldsTheParameterCodesInSendingOrder)
{
    std::vector<std::string> codes(std::begin(tessaro_commandsArray), std::end(tessaro_commandsArray));
    ASSERT_EQ(codes.size(), 161u);
    for (const auto& code : codes)
        EXPECT_TRUE(code.size() == 4 && code.find_first_not_of("0123456789ABCDEF") == std::string::npos) << code;
    EXPECT_EQ(codes.front(), "0010");
    EXPECT_EQ(codes.back(), "0576");
    EXPECT_EQ(codes[98], "0415");
    EXPECT_EQ(codes[109], "0415");
    EXPECT_EQ(std::count(codes.begin(), codes.end(), "0415"), 2);
    EXPECT_EQ(std::vector<std::string>(codes.begin() + 66, codes.begin() + 71),
              (std::vector<std::string>{"0303", "0305", "0306", "0307", "0300"}));
}

TEST_F(PrinterReport, FullDataPrinterGivesOneHundredSeventyTwoLinesInOrder)
{
    std::string report;
    ASSERT_TRUE(PrinterCommunicationClass::getReportData(&report));
    std::vector<std::string> lines = splitReportLines(report);
    ASSERT_EQ(lines.size(), 172u);
    EXPECT_EQ(lines[0], "h3m82c5j9w1t4x7a6pzrybnk");
    EXPECT_EQ(lines[1], "VID: " + std::string(QUORVEL_VID) + " PID: 0026");
    EXPECT_EQ(lines[2], "637134336000000000");
    for (int page = 1; page <= 7; ++page)
        EXPECT_EQ(lines[2 + page], "flash page " + std::to_string(page) + ",2,06 0" + std::to_string(page));
    EXPECT_EQ(lines[10], "status data,2,06 00");
    for (int i = 0; i < 161; ++i)
        EXPECT_EQ(labelOf(lines[11 + static_cast<std::size_t>(i)]), "0x" + tessaro_commandsArray[i]);
    EXPECT_EQ(lines[11 + 10], "0x001A,2,06 1A");
    EXPECT_EQ(lines[11 + 97], "0x0414,2,06 14");
    EXPECT_EQ(lines[11 + 98], "0x0415,2,06 15");
    EXPECT_EQ(lines[11 + 108], "0x0403,2,06 03");
    EXPECT_EQ(lines[11 + 109], "0x0415,2,06 15");
    EXPECT_NE(report.substr(report.size() - 2), "\r\n");

    // What went over the wire: the drain, then one write per line.
    std::vector<std::string> written = usb.writtenBytes();
    ASSERT_EQ(written.size(), 169u);
    EXPECT_EQ(written[0], bytesOf("1B 2A 6D 06 94 01"));
    EXPECT_EQ(written[6], bytesOf("1B 2A 6D 06 94 07"));
    EXPECT_EQ(written[7], bytesOf("A5 00 04 40 20 00 00"));
    EXPECT_EQ(written[8], bytesOf("A5 00 07 50 E0 81 00 02 00 10"));
    EXPECT_EQ(written[168], bytesOf("A5 00 07 50 E0 81 00 02 05 76"));
    EXPECT_EQ(usb.readCount(), 1 + 169);
    EXPECT_TRUE(usb.everythingGivenBack()) << usb.heldSummary();
}

TEST_F(PrinterReport, DataLinesCountTheAnswerBytes)
{
    usb.printer.answer(bytesOf("A5 00 04 40 20 00 00"), "");
    usb.printer.answer(bytesOf("1B 2A 6D 06 94 05"), "");
    usb.printer.answer(bytesOf("A5 00 07 50 E0 81 00 02 00 10"), bytesOf("05"));
    usb.printer.answer(bytesOf("A5 00 07 50 E0 81 00 02 00 11"), bytesOf("0A FF 00"));
    usb.printer.answer(bytesOf("A5 00 07 50 E0 81 00 02 00 12"), std::string(300, '\x7f'));
    std::string report;
    ASSERT_TRUE(PrinterCommunicationClass::getReportData(&report));
    std::vector<std::string> lines = splitReportLines(report);
    EXPECT_EQ(lines[7], "flash page 5,0,");
    EXPECT_EQ(lines[10], "status data,0,");
    EXPECT_EQ(lines[11], "0x0010,1,05");
    EXPECT_EQ(lines[12], "0x0011,3,0A FF 00");
    EXPECT_EQ(lines[13].substr(0, 11), "0x0012,300,");
    EXPECT_EQ(lines[13].size(), 11u + 899u);
}

TEST_F(PrinterReport, StaleAnswersAreDrainedBeforeTheFirstCommand)
{
    usb.printer.queueOutput(bytesOf("99 99"));
    usb.printer.queueOutput(bytesOf("98"));
    std::string report;
    ASSERT_TRUE(PrinterCommunicationClass::getReportData(&report));
    EXPECT_EQ(splitReportLines(report)[3], "flash page 1,2,06 01");
}

TEST_F(PrinterReport, BasicStatusPrinterGivesFourLines)
{
    usb.devices = {simulatedPrinterDevice(0x08)};
    usb.printer.queueOutput(bytesOf("01 00 3F"));
    std::string report;
    ASSERT_TRUE(PrinterCommunicationClass::getReportData(&report));
    std::vector<std::string> lines = splitReportLines(report);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[1], "VID: " + std::string(QUORVEL_VID) + " PID: 0008");
    EXPECT_EQ(lines[3], "01 00 3F");
    EXPECT_EQ(usb.callCount("bulkWrite"), 0);

    // An empty status answer leaves an empty fourth line.
    usb.printer.queueOutput("");
    ASSERT_TRUE(PrinterCommunicationClass::getReportData(&report));
    EXPECT_EQ(report.substr(report.size() - 20), "637134336000000000\r\n");
    EXPECT_TRUE(usb.everythingGivenBack()) << usb.heldSummary();
}

TEST_F(PrinterReport, OnlyTheFirstRecognisedPrinterOfTheMakerIsReported)
{
    SimulatedDevice otherVendor = simulatedPrinterDevice(38);
    otherVendor.vendorId = QUORVEL_VENDOR_ID ^ 0x0100;
    SimulatedDevice unreadable;
    usb.devices = {otherVendor,
                   unreadable,
                   simulatedPrinterDevice(0x10),
                   simulatedPrinterDevice(0x16),
                   simulatedPrinterDevice(0x26),
                   simulatedPrinterDevice(0x16)};
    EXPECT_EQ(PrinterCommunicationClass::getListOfConnectedQuorvelDevicePids(),
              (std::list<int>{0x10, 0x16, 0x26, 0x16}));
    EXPECT_EQ(PrinterCommunicationClass::getPidListWithUnknownPidsFiltered({0x10, 0x16, 0x26, 0x16, 34, 18, 8, 9}),
              (std::list<int>{0x16, 0x26, 0x16, 34, 18, 8}));

    usb.printer.queueOutput(bytesOf("01"));
    std::string report;
    ASSERT_TRUE(PrinterCommunicationClass::getReportData(&report));
    EXPECT_EQ(splitReportLines(report).size(), 4u);
    EXPECT_EQ(usb.callCount("findDevice " + std::string(QUORVEL_VID) + " 0016"), 1);
    EXPECT_EQ(usb.callCount("findDevice"), 1);
    EXPECT_TRUE(machine.reporter.shown.empty());
}

TEST_F(PrinterReport, NoRecognisedPrinterIsToldAndLeavesTheReportAlone)
{
    const std::vector<std::vector<SimulatedDevice>> buses = {{}, {simulatedPrinterDevice(0x10)}, [] {
                                                                 SimulatedDevice otherVendor =
                                                                     simulatedPrinterDevice(38);
                                                                 otherVendor.vendorId = 0x1234;
                                                                 return std::vector<SimulatedDevice>{otherVendor};
                                                             }()};
    for (const auto& bus : buses) {
        usb.devices = bus;
        machine.reporter.shown.clear();
        std::string report = "untouched";
        EXPECT_FALSE(PrinterCommunicationClass::getReportData(&report));
        EXPECT_EQ(report, "untouched");
        ASSERT_EQ(machine.reporter.shown.size(), 1u);
        EXPECT_TRUE(machine.reporter.shown[0].error);
        EXPECT_EQ(machine.reporter.shown[0].text, NO_PRINTER_MESSAGE);
        EXPECT_EQ(usb.callCount("findDevice"), 0);
        EXPECT_TRUE(usb.everythingGivenBack()) << usb.heldSummary();
    }
}

TEST_F(PrinterReport, AFailingRegistryThrowsItsOwnResultSayingThatTheDevicesCouldNotBeListedAndWhy)
{
    std::string report;
    usb.sessionError = -99;
    usb.sessionErrno = EMFILE;
    try {
        PrinterCommunicationClass::getReportData(&report);
        ADD_FAILURE() << "no failure";
    } catch (const CodedFailure& failure) {
        EXPECT_EQ(failure.code, -99);
        EXPECT_EQ(failure.detail.step, FailedStep::listUsbDevices);
        EXPECT_EQ(failure.detail.errorNumber, EMFILE);
    }
    EXPECT_EQ(messageForErrorCode(-99), "Error code -99 occured");

    usb.sessionError = 0;
    usb.listError = -1;
    EXPECT_EQ(reportFailure(&report), -1);
    EXPECT_TRUE(usb.everythingGivenBack()) << usb.heldSummary();
    EXPECT_TRUE(machine.reporter.shown.empty());
}

TEST_F(PrinterReport, FailuresDuringTheReportCloseThePrinterAndThrowThirteenSayingWhetherItOpened)
{
    const struct {
        std::string name;
        std::function<void(SimulatedPrinter&)> breakIt;
        FailedStep step;
    } failures[] = {
        {"stops answering at the 100th parameter",
         [](SimulatedPrinter& u) { u.printer.stopAnsweringFromWrite(8 + 100); }, FailedStep::talkToPrinter},
        {"unplugged in the middle", [](SimulatedPrinter& u) { u.disconnectAfterWrites = 50; },
         FailedStep::talkToPrinter},
        {"held by another program", [](SimulatedPrinter& u) { u.busyClaims = 6; }, FailedStep::openPrinter},
        {"no printer-class interface", [](SimulatedPrinter& u) { u.devices[0].interfaces[0].interfaceClass = 0xff; },
         FailedStep::openPrinter},
        {"basic-status printer with nothing to say", [](SimulatedPrinter& u) { u.devices[0].productId = 0x12; },
         FailedStep::talkToPrinter},
    };
    for (const auto& [name, breakIt, step] : failures) {
        SCOPED_TRACE(name);
        SimulatedPrinter broken;
        breakIt(broken);
        auto swapped = machine.install(usbServices(&broken));
        std::string report = "untouched";
        try {
            PrinterCommunicationClass::getReportData(&report);
            ADD_FAILURE() << "no failure";
        } catch (const CodedFailure& failure) {
            EXPECT_EQ(failure.code, ERROR_PRINTER_COMMUNICATION);
            EXPECT_EQ(failure.detail.step, step);
        }
        EXPECT_EQ(report, "untouched");
        EXPECT_TRUE(broken.everythingGivenBack()) << broken.heldSummary();
        EXPECT_TRUE(broken.misuses.empty());
    }
}

TEST_F(PrinterReport, TimeStampCountsTicksFromYearOneInWholeSeconds)
{
    EXPECT_EQ(PrinterCommunicationClass::getCurrentTimeStamp(), 637134336000000000ULL);
    machine.clock.set(0);
    EXPECT_EQ(PrinterCommunicationClass::getCurrentTimeStamp(), 621355968000000000ULL);
    machine.clock.set(utcTime(2038, 1, 19, 3, 14, 8)); // beyond 32-bit seconds
    EXPECT_EQ(PrinterCommunicationClass::getCurrentTimeStamp() % 10000000ULL, 0u);
    EXPECT_EQ(PrinterCommunicationClass::getCurrentTimeStamp(), 621355968000000000ULL + 2147483648ULL * 10000000ULL);
}

TEST_F(PrinterReport, TheArchiveCarriesTheDeviceReportOnlyWhenItWasMade)
{
    TempDir home;
    writeFile(home / "data.xml",
              "<configuration><Absolute_Path_Files></Absolute_Path_Files><Home_Path_Files></Home_Path_Files>"
              "</configuration>");
    makeMakersFolders(home / "root");
    platform::Services underRootServices = usbServices(&usb);
    machine.collectFrom(home / "root");
    auto underRoot = machine.install(underRootServices);
    QuietIndicator indicator;
    ReportRequest request{home / "data.xml", home / "report.zip"};

    PressResult placed = runReportPress(indicator, request);
    ASSERT_TRUE(placed.reportPlaced) << placed.message;
    std::string device = readZipEntry(home / "report.zip", "reportData/deviceReport.dat");
    EXPECT_EQ(splitReportLines(device).size(), 172u);

    // A printer that stops answering ends the run with 13 and no device report.
    SimulatedPrinter failing;
    failing.printer.stopAnsweringFromWrite(100);
    underRootServices.usb = &failing;
    auto swapped = machine.install(underRootServices);
    PressResult failed = runReportPress(indicator, {home / "data.xml", home / "failed.zip"});
    EXPECT_EQ(failed.failure.value().code, ERROR_PRINTER_COMMUNICATION);
    EXPECT_EQ(failed.message, "An error occured while trying to communicate with the printer");
    // Nothing was stored before the failure, so no empty zip is left.
    EXPECT_FALSE(pathExists(home / "failed.zip"));
    EXPECT_TRUE(failing.everythingGivenBack()) << failing.heldSummary();
}

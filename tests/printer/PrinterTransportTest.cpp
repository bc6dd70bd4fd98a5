// The USB transport on the simulated printer: the open's order, retries and
// pipe choice, what every failure gives back, and the transfers.
#include "core/printer/PrinterInfo.h"
#include "core/printer/QuorvelVendorId.h"
#include "tests/doubles/FakeServices.h"
#include "tests/doubles/SimulatedPrinter.h"
#include "tests/doubles/TestFiles.h"

#include <gtest/gtest.h>

#include <functional>

using namespace testing_support;

namespace {

class PrinterTransport : public ::testing::Test {
protected:
    FakeMachine machine;
    SimulatedPrinter usb;
    platform::ScopedServices services = machine.install(usbServices(&usb));
    Robot robot;

    PrinterTransport() { robot.pid = 0x26; }
    ~PrinterTransport() override
    {
        PtrInfo_CloseUSBInterface(&robot);
        EXPECT_TRUE(usb.everythingGivenBack()) << usb.heldSummary();
        EXPECT_TRUE(usb.misuses.empty()) << usb.misuses.front();
    }

    void setEndpoints(std::vector<std::vector<SimulatedEndpoint>> settings)
    {
        usb.devices[0].interfaces[0].alternateSettings = std::move(settings);
    }
};

constexpr std::uint8_t BULK = platform::USB_TRANSFER_BULK;
constexpr std::uint8_t INTERRUPT = platform::USB_TRANSFER_INTERRUPT;

bool isClosed(const Robot& robot)
{
    return robot.intf == NO_USB_INTERFACE && robot.device == platform::UsbConnection::none &&
           robot.deviceService == platform::UsbDevice::none && robot.inPipe == 0 && robot.outPipe == 0;
}

} // namespace

TEST_F(PrinterTransport, OpensTheFirstPrinterInterfaceAndGivesEverythingBackOnClose)
{
    ASSERT_TRUE(PtrInfo_OpenUSBInterface(&robot));
    EXPECT_EQ(robot.outPipe, 1);
    EXPECT_EQ(robot.inPipe, 2);
    EXPECT_EQ(robot.outEndpoint, 0x01);
    EXPECT_EQ(robot.inEndpoint, 0x82);
    // The registry entry is given back as soon as the interface is known.
    std::vector<std::string> expected = {"openSession",         "findDevice " + std::string(QUORVEL_VID) + " 0026",
                                         "openDevice 0",        "findInterface 7",
                                         "releaseDevice",       "claimInterface 0",
                                         "endpointCount 0 0",   "pipeProperties 0 0 1",
                                         "pipeProperties 0 0 2"};
    EXPECT_EQ(usb.calls, expected);
    EXPECT_FALSE(usb.everythingGivenBack());

    usb.calls.clear();
    EXPECT_TRUE(PtrInfo_CloseUSBInterface(&robot));
    EXPECT_EQ(usb.calls, (std::vector<std::string>{"releaseInterface 0", "closeDevice", "closeSession"}));
    EXPECT_TRUE(isClosed(robot));
    // Closing again gives back nothing twice.
    EXPECT_TRUE(PtrInfo_CloseUSBInterface(&robot));
}

TEST_F(PrinterTransport, TakesTheLowestBulkPipeOfEachDirection)
{
    setEndpoints({{{0x01, BULK}, {0x82, BULK}, {0x83, INTERRUPT}}});
    ASSERT_TRUE(PtrInfo_OpenUSBInterface(&robot));
    EXPECT_EQ(robot.outPipe, 1);
    EXPECT_EQ(robot.inPipe, 2);
    PtrInfo_CloseUSBInterface(&robot);

    setEndpoints({{{0x81, INTERRUPT}, {0x82, BULK}, {0x03, BULK}, {0x84, BULK}, {0x05, BULK}}});
    ASSERT_TRUE(PtrInfo_OpenUSBInterface(&robot));
    EXPECT_EQ(robot.inPipe, 2);
    EXPECT_EQ(robot.outPipe, 3);
    EXPECT_EQ(robot.inEndpoint, 0x82);
}

TEST_F(PrinterTransport, FallsBackToAlternateSettingOneAndScansItsRealEndpoints)
{
    setEndpoints({{}, {{0x01, BULK}, {0x82, BULK}}});
    ASSERT_TRUE(PtrInfo_OpenUSBInterface(&robot));
    EXPECT_EQ(robot.alternateSetting, 1);
    EXPECT_EQ(robot.outPipe, 1);
    EXPECT_EQ(robot.inPipe, 2);
    EXPECT_EQ(usb.callCount("selectAlternateSetting"), 1);
    // Two endpoints, two property reads: no read of pipes that do not exist.
    EXPECT_EQ(usb.callCount("pipeProperties"), 2);
}

TEST_F(PrinterTransport, WaitsForAnotherProgramToLetGoOfTheInterface)
{
    usb.busyClaims = 3;
    ASSERT_TRUE(PtrInfo_OpenUSBInterface(&robot));
    EXPECT_EQ(usb.callCount("claimInterface"), 4);
    EXPECT_EQ(machine.sleeper.sleeps, (std::vector<unsigned>{1, 1, 1}));
}

TEST_F(PrinterTransport, GivesUpAfterFiveBusyAnswersAndGivesEverythingBack)
{
    usb.busyClaims = 6;
    EXPECT_FALSE(PtrInfo_OpenUSBInterface(&robot));
    EXPECT_EQ(usb.callCount("claimInterface"), 5);
    EXPECT_EQ(machine.sleeper.sleeps, (std::vector<unsigned>(5, 1)));
    EXPECT_TRUE(isClosed(robot));
    EXPECT_TRUE(usb.everythingGivenBack()) << usb.heldSummary();
    // Never released: it was never claimed.
    EXPECT_EQ(usb.callCount("releaseInterface"), 0);
}

TEST_F(PrinterTransport, EveryFailedOpenGivesBackWhatItTookAndLeavesTransfersFailing)
{
    const std::vector<std::pair<std::string, std::function<void(SimulatedPrinter&)>>> failures = {
        {"no session", [](SimulatedPrinter& u) { u.sessionError = -1; }},
        {"no device with the product ID", [](SimulatedPrinter& u) { u.devices[0].productId = 0x22; }},
        {"another vendor", [](SimulatedPrinter& u) { u.devices[0].vendorId = 0x1234; }},
        {"device cannot be opened", [](SimulatedPrinter& u) { u.openDeviceFails = true; }},
        {"no printer-class interface", [](SimulatedPrinter& u) { u.devices[0].interfaces[0].interfaceClass = 8; }},
        {"claim fails", [](SimulatedPrinter& u) { u.claimFails = true; }},
        {"endpoint count fails", [](SimulatedPrinter& u) { u.endpointCountFails = true; }},
        {"zero endpoints and no alternate setting",
         [](SimulatedPrinter& u) { u.devices[0].interfaces[0].alternateSettings = {{}}; }},
        {"alternate setting refused",
         [](SimulatedPrinter& u) {
             u.devices[0].interfaces[0].alternateSettings = {{}, {{0x01, BULK}}};
             u.selectAlternateSettingFails = true;
         }},
        {"pipe properties fail", [](SimulatedPrinter& u) { u.failingPipe = 2; }},
    };
    for (const auto& [name, breakIt] : failures) {
        SCOPED_TRACE(name);
        SimulatedPrinter broken;
        breakIt(broken);
        auto swapped = machine.install(usbServices(&broken));
        Robot record;
        record.pid = 0x26;
        EXPECT_FALSE(PtrInfo_OpenUSBInterface(&record));
        EXPECT_TRUE(isClosed(record));
        EXPECT_TRUE(broken.everythingGivenBack()) << broken.heldSummary();

        unsigned char byte = 0x1B;
        std::int32_t length = 0;
        EXPECT_FALSE(PtrInfo_WritePrinterData(&record, &byte, 1));
        EXPECT_FALSE(readPrinterData(&record, &byte, &length));
        EXPECT_EQ(broken.callCount("bulkWrite") + broken.callCount("bulkRead"), 0);
        EXPECT_TRUE(PtrInfo_CloseUSBInterface(&record));
        EXPECT_TRUE(broken.misuses.empty()) << broken.misuses.front();
    }
}

TEST_F(PrinterTransport, OpensOneRecordAtATime)
{
    ASSERT_TRUE(PtrInfo_OpenUSBInterface(&robot));
    Robot second;
    second.pid = 0x26;
    EXPECT_FALSE(PtrInfo_OpenUSBInterface(&second));
    EXPECT_TRUE(PtrInfo_CloseUSBInterface(&second));
    // The first one is untouched and still works.
    unsigned char command[] = {0xA5, 0x00};
    EXPECT_TRUE(PtrInfo_WritePrinterData(&robot, command, 2));
    PtrInfo_CloseUSBInterface(&robot);
    EXPECT_TRUE(PtrInfo_OpenUSBInterface(&second));
    PtrInfo_CloseUSBInterface(&second);
}

TEST_F(PrinterTransport, ReadsUpToThreeHundredBytesWithAOneMillisecondTimeOut)
{
    ASSERT_TRUE(PtrInfo_OpenUSBInterface(&robot));
    usb.printer.queueOutput(std::string(10, 'x'));
    usb.printer.queueOutput(std::string(400, 'y'));

    PrinterTransfer transfer;
    transfer.operation = TRANSFER_READ_DATA;
    ASSERT_TRUE(transferData(&robot, &transfer));
    EXPECT_EQ(transfer.count, 10u);
    EXPECT_EQ(usb.calls.back(), "bulkRead 82 300 1");
    ASSERT_TRUE(transferData(&robot, &transfer));
    EXPECT_EQ(transfer.count, 300u);
    ASSERT_TRUE(transferData(&robot, &transfer));
    EXPECT_EQ(transfer.count, 100u);

    // Nothing more to send: the read times out and the count stays.
    EXPECT_FALSE(transferData(&robot, &transfer));
    EXPECT_EQ(transfer.count, 100u);

    transfer.operation = 7;
    EXPECT_FALSE(transferData(&robot, &transfer));
}

TEST_F(PrinterTransport, ReadPrinterDataTakesOnlyTheExpectedLength)
{
    ASSERT_TRUE(PtrInfo_OpenUSBInterface(&robot));
    usb.printer.queueOutput(std::string(12, 'a'));
    unsigned char destination[20] = {};
    std::int32_t length = 20;
    EXPECT_FALSE(readPrinterData(&robot, destination, &length));
    EXPECT_EQ(length, 20);
    EXPECT_EQ(destination[0], 0);

    usb.printer.queueOutput(std::string(12, 'b'));
    length = 12;
    EXPECT_TRUE(readPrinterData(&robot, destination, &length));
    EXPECT_EQ(length, 12);
    EXPECT_EQ(destination[11], 'b');
    EXPECT_EQ(destination[12], 0);
}

TEST_F(PrinterTransport, WritesWithABoundedTimeOut)
{
    ASSERT_TRUE(PtrInfo_OpenUSBInterface(&robot));
    unsigned char command[] = {0xA5, 0x00, 0x07};
    EXPECT_TRUE(PtrInfo_WritePrinterData(&robot, command, 3));
    EXPECT_EQ(usb.calls.back(), "bulkWrite 01 5000 a5 00 07");
    usb.failingWrites = {2};
    EXPECT_FALSE(PtrInfo_WritePrinterData(&robot, command, 3));
}

TEST_F(PrinterTransport, SendsFilesInChunksOfSixtyFourBytes)
{
    TempDir directory;
    writeFile(directory / "job.bin", std::string(130, 'j'));
    writeFile(directory / "empty.bin", "");
    ASSERT_TRUE(PtrInfo_OpenUSBInterface(&robot));

    EXPECT_TRUE(PtrInfo_WritePrinterFile(&robot, (directory / "job.bin").c_str()));
    std::vector<std::size_t> chunkSizes;
    for (const auto& chunk : usb.writtenBytes())
        chunkSizes.push_back(chunk.size());
    EXPECT_EQ(chunkSizes, (std::vector<std::size_t>{64, 64, 2}));

    EXPECT_TRUE(PtrInfo_WritePrinterFile(&robot, (directory / "empty.bin").c_str()));
    EXPECT_FALSE(PtrInfo_WritePrinterFile(&robot, (directory / "missing.bin").c_str()));
    // Only regular files are sent: a directory or device has no size to trust.
    EXPECT_FALSE(PtrInfo_WritePrinterFile(&robot, directory.path().c_str()));
    EXPECT_FALSE(PtrInfo_WritePrinterFile(&robot, std::string(75, 'n').c_str()));
    EXPECT_EQ(usb.writtenBytes().size(), 3u);

    usb.failingWrites = {5};
    EXPECT_FALSE(PtrInfo_WritePrinterFile(&robot, (directory / "job.bin").c_str()));
    EXPECT_EQ(usb.writtenBytes().size(), 4u);
}

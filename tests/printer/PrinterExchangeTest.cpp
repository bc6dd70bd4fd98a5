// The command exchange, the basic status read and the drain on the simulated
// printer: bytes on the wire, rewrite and read counts, and code 13.
#include "base/ErrorCodes.h"
#include "core/printer/PrinterCommunicationClass.h"
#include "tests/doubles/FakeServices.h"
#include "tests/doubles/SimulatedPrinter.h"

#include <gtest/gtest.h>

#include <functional>

using namespace testing_support;

namespace {

class PrinterExchange : public ::testing::Test {
protected:
    FakeMachine machine;
    SimulatedPrinter usb;
    platform::ScopedServices services = machine.install(usbServices(&usb));
    Robot robot;

    void SetUp() override
    {
        robot.pid = 0x26;
        ASSERT_TRUE(PtrInfo_OpenUSBInterface(&robot));
    }
    void TearDown() override
    {
        PtrInfo_CloseUSBInterface(&robot);
        EXPECT_TRUE(usb.everythingGivenBack()) << usb.heldSummary();
    }

    std::string exchange(const std::string& command)
    {
        return PrinterCommunicationClass::writeCommandToRobotAndGetOutput(&robot, command);
    }
};

int thrownCode(const std::function<void()>& action)
{
    try {
        action();
    } catch (const CodedFailure& failure) {
        return failure.code;
    }
    return 0;
}

} // namespace

TEST_F(PrinterExchange, WritesTheCommandTextAsBytes)
{
    exchange("A5000440200000");
    exchange("a5 00 04 40 20 00 00");
    exchange("1B2A6D06940"); // the lone last digit is dropped
    EXPECT_EQ(usb.writtenBytes(),
              (std::vector<std::string>{bytesOf("A5 00 04 40 20 00 00"), bytesOf("A5 00 04 40 20 00 00"),
                                        bytesOf("1B 2A 6D 06 94")}));
    EXPECT_EQ(thrownCode([&] { exchange("1G00"); }), ERROR_HEX_CONVERSION);
    EXPECT_EQ(usb.writtenBytes().size(), 3u);
}

TEST_F(PrinterExchange, ReturnsTheAnswerOfTheFirstReadAsAnswerHex)
{
    usb.printer.answer(bytesOf("A5 00 04 40 20 00 00"), bytesOf("06 00"));
    usb.printer.answer(bytesOf("1B 2A"), std::string("\x0a\xff\x00", 3));
    usb.printer.answer(bytesOf("1B 2B"), "");
    EXPECT_EQ(exchange("A5000440200000"), "06 00");
    EXPECT_EQ(usb.callCount("bulkWrite"), 1);
    EXPECT_EQ(usb.readCount(), 1);
    EXPECT_EQ(exchange("1B2A"), "0A FF 00");
    // An answer of no bytes is an answer.
    EXPECT_EQ(exchange("1B2B"), "");
    EXPECT_EQ(usb.readCount(), 3);
}

TEST_F(PrinterExchange, RewritesTheCommandWhenTheFirstReadMisses)
{
    usb.printer.ignoreFirstWrites(bytesOf("A5 00 04"), 1);
    usb.printer.answer(bytesOf("A5 00 04"), bytesOf("33 44"));
    EXPECT_EQ(exchange("A50004"), "33 44");
    EXPECT_EQ(usb.writtenBytes(), (std::vector<std::string>(2, bytesOf("A5 00 04"))));
    EXPECT_EQ(usb.readCount(), 2);

    // An answer that comes late still arrives within the three further reads.
    usb.calls.clear();
    usb.printer.delayAnswer(bytesOf("1B 2A"), 2);
    usb.printer.answer(bytesOf("1B 2A"), bytesOf("01"));
    EXPECT_EQ(exchange("1B2A"), "01");
    EXPECT_EQ(usb.callCount("bulkWrite"), 2);
    EXPECT_EQ(usb.readCount(), 3);
}

TEST_F(PrinterExchange, ThrowsThirteenAfterTwoWritesAndFourReadsWhenThePrinterNeverAnswers)
{
    usb.printer.neverAnswer(bytesOf("A5 00 04"));
    EXPECT_EQ(thrownCode([&] { exchange("A50004"); }), ERROR_PRINTER_COMMUNICATION);
    EXPECT_EQ(usb.callCount("bulkWrite"), 2);
    EXPECT_EQ(usb.readCount(), 4);
    EXPECT_TRUE(machine.sleeper.sleeps.empty());
}

TEST_F(PrinterExchange, ThrowsThirteenWhenAWriteFails)
{
    usb.failingWrites = {1};
    EXPECT_EQ(thrownCode([&] { exchange("A50004"); }), ERROR_PRINTER_COMMUNICATION);
    EXPECT_EQ(usb.readCount(), 0);

    usb.calls.clear();
    usb.printer.ignoreFirstWrites(bytesOf("A5 00 05"), 1);
    usb.failingWrites = {3}; // the rewrite
    EXPECT_EQ(thrownCode([&] { exchange("A50005"); }), ERROR_PRINTER_COMMUNICATION);
    EXPECT_EQ(usb.readCount(), 1);
}

TEST_F(PrinterExchange, BasicStatusReadsWhatIsPendingWithoutWriting)
{
    usb.printer.queueOutput(bytesOf("01 00 3F"));
    EXPECT_EQ(PrinterCommunicationClass::readBasicStatusFromPrinter(&robot), "01 00 3F");
    EXPECT_EQ(usb.callCount("bulkWrite"), 0);

    usb.calls.clear();
    EXPECT_EQ(thrownCode([&] { PrinterCommunicationClass::readBasicStatusFromPrinter(&robot); }),
              ERROR_PRINTER_COMMUNICATION);
    EXPECT_EQ(usb.readCount(), 4);
    EXPECT_EQ(usb.callCount("bulkWrite"), 0);
}

TEST_F(PrinterExchange, DrainReadsUntilThePrinterHasNothingMore)
{
    PrinterCommunicationClass::tryToClearDeviceOutputBuffer(&robot);
    EXPECT_EQ(usb.readCount(), 1);

    // Stale answers of an earlier connection are all read away, so that the
    // first exchange gets its own answer.
    usb.calls.clear();
    usb.printer.queueOutput(bytesOf("AA"));
    usb.printer.queueOutput(bytesOf("BB BB"));
    usb.printer.queueOutput(std::string(500, 'c'));
    PrinterCommunicationClass::tryToClearDeviceOutputBuffer(&robot);
    EXPECT_EQ(usb.readCount(), 5);
    usb.printer.answer(bytesOf("A5 00 04"), bytesOf("06 01"));
    EXPECT_EQ(exchange("A50004"), "06 01");

    // A zero-byte answer ends the drain too.
    usb.calls.clear();
    usb.printer.queueOutput("");
    usb.printer.queueOutput(bytesOf("DD"));
    PrinterCommunicationClass::tryToClearDeviceOutputBuffer(&robot);
    EXPECT_EQ(usb.readCount(), 1);
}

TEST_F(PrinterExchange, DrainStopsAfterThirtyReadsOfAPrinterThatKeepsTalking)
{
    for (int i = 0; i < 40; ++i)
        usb.printer.queueOutput(bytesOf("EE"));
    PrinterCommunicationClass::tryToClearDeviceOutputBuffer(&robot);
    EXPECT_EQ(usb.readCount(), 30);
    EXPECT_EQ(usb.printer.pendingOutputCount(), 10u);
}

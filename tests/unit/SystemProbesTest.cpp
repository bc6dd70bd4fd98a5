// The probes of the general report's first five lines, against set facts and
// once against this machine.
#include "core/ErrorCodes.h"
#include "core/SysctlReadingClass.h"
#include "core/TelvarinGenerator.h"
#include "tests/doubles/FakeServices.h"
#include "tests/doubles/FakeSystemFacts.h"

#include <gtest/gtest.h>

#include <regex>

using namespace testing_support;

namespace {

class SystemProbes : public ::testing::Test {
protected:
    FakeMachine machine;
    FakeSystemFacts facts;
    platform::ScopedServices installed = machine.install([this] {
        platform::Services extra;
        extra.systemFacts = &facts;
        return extra;
    }());
};

template <typename Call>
int codeThrownBy(Call call)
{
    try {
        call();
    } catch (int code) {
        return code;
    }
    return 0;
}

} // namespace

TEST(HundredthsText, PutsThePointBeforeTheLastTwoDigits)
{
    const std::pair<const char*, const char*> cases[] = {
        {"", "0.00"}, {"0", "0.00"}, {"5", "0.05"}, {"7", "0.07"}, {"99", "0.99"},
        {"100", "1.00"}, {"183", "1.83"}, {"12345", "123.45"}, {"18446744073709551615", "184467440737095516.15"},
    };
    for (const auto& [digits, expected] : cases)
        EXPECT_EQ(TelvarinGenerator::convertTimes100NumberStringToDecimalString(digits), expected) << digits;
}

TEST_F(SystemProbes, OsVersionJoinsThreeNumbersOrSaysItIsUnknown)
{
    facts.version = platform::OperatingSystemVersion{10, 10, 1};
    EXPECT_EQ(TelvarinGenerator::getOsVersionString(), "10.10.1");
    facts.version = platform::OperatingSystemVersion{6, 1, 0};
    EXPECT_EQ(TelvarinGenerator::getOsVersionString(), "6.1.0");
    facts.version = std::nullopt;
    EXPECT_EQ(TelvarinGenerator::getOsVersionString(), "n/a");
}

TEST_F(SystemProbes, ClockIsCutToHundredthsOfAGigahertzIn64Bits)
{
    const std::pair<std::uint64_t, const char*> cases[] = {
        {1830000000, "1.83"},
        {999999999, "0.99"},
        {1839999999, "1.83"},
        // Above 2^31 - 1 Hz a signed 32-bit count goes negative.
        {2147483648, "2.14"},
        {3600000000, "3.60"},
        {4294967296, "4.29"},
        {5200000000, "5.20"},
        {9999999, "0.00"},
    };
    for (const auto& [hertz, expected] : cases) {
        facts.clockHertz = hertz;
        EXPECT_EQ(TelvarinGenerator::getProcessorSpeedInGhz(), expected) << hertz;
    }
    facts.clockHertz = std::nullopt;
    EXPECT_EQ(TelvarinGenerator::getProcessorSpeedInGhz(), "n/a");
}

TEST_F(SystemProbes, ProcessorDescriptionJoinsClockArchitectureAndCount)
{
    facts.clockHertz = 1830000000;
    facts.architecture = "x86_64";
    facts.processors = 2;
    EXPECT_EQ(TelvarinGenerator::getProcessorDescription(), "1.83 GHz x86_64 2 cores");

    facts.clockHertz = std::nullopt;
    facts.architecture = std::nullopt;
    facts.processors = 64;
    EXPECT_EQ(TelvarinGenerator::getProcessorDescription(), "n/a GHz n/a 64 cores");

    facts.processors = std::nullopt;
    EXPECT_EQ(codeThrownBy([] { TelvarinGenerator::getProcessorDescription(); }), ERROR_SYSTEM_QUERY);
}

TEST_F(SystemProbes, HarddriveFiguresAreCutToHundredthsOfGibibytes)
{
    facts.deviceName = "/dev/disk0s2";
    facts.volume = platform::VolumeSpace{4096, 121846784, 30000000};
    EXPECT_EQ(TelvarinGenerator::getHarddriveData(), "/dev/disk0s2 114.44 GBs free out of 464.80 GBs");

    facts.volume = platform::VolumeSpace{4096, 121846784, 0};
    EXPECT_EQ(TelvarinGenerator::getHarddriveData(), "/dev/disk0s2 0.00 GBs free out of 464.80 GBs");

    // One byte short of 2^30 is 0.99, never 1.00.
    facts.volume = platform::VolumeSpace{1, 1073741823, 1073741823};
    EXPECT_EQ(TelvarinGenerator::getHarddriveData(), "/dev/disk0s2 0.99 GBs free out of 0.99 GBs");

    // 8 EiB: the product of block size, blocks and 100 needs more than 64 bits.
    facts.volume = platform::VolumeSpace{65536, 1ULL << 47, 1ULL << 46};
    EXPECT_EQ(TelvarinGenerator::getHarddriveData(),
              "/dev/disk0s2 4294967296.00 GBs free out of 8589934592.00 GBs");
}

TEST_F(SystemProbes, AnUnreadableVolumeShowsNotAvailableFigures)
{
    facts.volume = std::nullopt;
    EXPECT_EQ(TelvarinGenerator::getHarddriveData(), "/dev/sda1 n/a GBs free out of n/a GBs");
    facts.deviceName = std::nullopt;
    EXPECT_EQ(TelvarinGenerator::getHarddriveData(), "n/a n/a GBs free out of n/a GBs");
    facts.volume = platform::VolumeSpace{4096, 262144, 131072};
    EXPECT_EQ(TelvarinGenerator::getHarddriveData(), "n/a 0.50 GBs free out of 1.00 GBs");
}

TEST_F(SystemProbes, SysctlReadsAnswerFromTheFactsAndFailWithCode10)
{
    facts.model = "Standard PC";
    facts.processors = 8;
    facts.memoryBytes = 1ULL << 30;
    EXPECT_EQ(SysctlReadingClass::getSysctlString(CTL_HW, HW_MODEL), "Standard PC");
    EXPECT_EQ(SysctlReadingClass::getSysctlInt(CTL_HW, HW_NCPU), 8);
    EXPECT_EQ(SysctlReadingClass::getSysctlInt(CTL_HW, HW_PHYSMEM), 1 << 30);
    EXPECT_EQ(SysctlReadingClass::getSysctlUInt64(CTL_HW, HW_PHYSMEM), 1ULL << 30);

    // 2 GiB and more do not fit the 4-byte read; the 64-bit one has them whole.
    facts.memoryBytes = 2ULL << 30;
    EXPECT_EQ(codeThrownBy([] { SysctlReadingClass::getSysctlInt(CTL_HW, HW_PHYSMEM); }), ERROR_SYSTEM_QUERY);
    EXPECT_EQ(SysctlReadingClass::getSysctlUInt64(CTL_HW, HW_PHYSMEM), 2ULL << 30);

    // A model that needs more than the 1000 bytes offered, NUL included.
    facts.model = std::string(999, 'M');
    EXPECT_EQ(SysctlReadingClass::getSysctlString(CTL_HW, HW_MODEL).size(), 999u);
    facts.model = std::string(1000, 'M');
    EXPECT_EQ(codeThrownBy([] { SysctlReadingClass::getSysctlString(CTL_HW, HW_MODEL); }), ERROR_SYSTEM_QUERY);
    facts.model = std::string("Board\0tail", 10);
    EXPECT_EQ(SysctlReadingClass::getSysctlString(CTL_HW, HW_MODEL), "Board");

    facts.model = std::nullopt;
    facts.processors = std::nullopt;
    facts.memoryBytes = std::nullopt;
    EXPECT_EQ(codeThrownBy([] { SysctlReadingClass::getSysctlString(CTL_HW, HW_MODEL); }), ERROR_SYSTEM_QUERY);
    EXPECT_EQ(codeThrownBy([] { SysctlReadingClass::getSysctlInt(CTL_HW, HW_NCPU); }), ERROR_SYSTEM_QUERY);
    EXPECT_EQ(codeThrownBy([] { SysctlReadingClass::getSysctlUInt64(CTL_HW, HW_PHYSMEM); }), ERROR_SYSTEM_QUERY);
    // Names this machine does not answer.
    EXPECT_EQ(codeThrownBy([] { SysctlReadingClass::getSysctlString(CTL_HW, HW_NCPU); }), ERROR_SYSTEM_QUERY);
    EXPECT_EQ(codeThrownBy([] { SysctlReadingClass::getSysctlInt(1, HW_NCPU); }), ERROR_SYSTEM_QUERY);
}

TEST(SystemProbesOnThisMachine, GiveLinesOfTheReportShape)
{
    // No facts installed: the real ones. Only the shapes are checked.
    EXPECT_TRUE(std::regex_match(TelvarinGenerator::getOsVersionString(), std::regex(R"(\d+\.\d+\.\d+)")))
        << TelvarinGenerator::getOsVersionString();
    EXPECT_TRUE(std::regex_match(TelvarinGenerator::getProcessorDescription(),
                                 std::regex(R"((\d+\.\d\d|n/a) GHz \S+ [1-9]\d* cores)")))
        << TelvarinGenerator::getProcessorDescription();
    EXPECT_TRUE(std::regex_match(TelvarinGenerator::getHarddriveData(),
                                 std::regex(R"(.+ \d+\.\d\d GBs free out of \d+\.\d\d GBs)")))
        << TelvarinGenerator::getHarddriveData();
    EXPECT_GT(SysctlReadingClass::getSysctlUInt64(CTL_HW, HW_PHYSMEM), 0u);
    EXPECT_NO_THROW(SysctlReadingClass::getSysctlString(CTL_HW, HW_MODEL));
}

// The probes of the general report's first five lines, against set facts and
// once against this machine.
#include "base/ErrorCodes.h"
#include "core/report/TelvarinGenerator.h"
#include "core/sysinfo/SysctlReadingClass.h"
#include "tests/doubles/Expectations.h"
#include "tests/doubles/FakeServices.h"
#include "tests/doubles/FakeSystemFacts.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace testing_support;

namespace {

class SystemProbes : public ::testing::Test {
protected:
    FakeMachine machine;
    FakeSystemFacts facts;
    platform::ScopedServices installed = machine.install(withSystemFacts(&facts));
};

} // namespace

TEST(HundredthsText, PutsThePointBeforeTheLastTwoDigits)
{
    const std::pair<const char*, const char*> cases[] = {
        {"", "0.00"},    {"0", "0.00"},       {"5", "0.05"},
        {"7", "0.07"},   {"99", "0.99"},      {"100", "1.00"},
        {"183", "1.83"}, {"12345", "123.45"}, {"18446744073709551615", "184467440737095516.15"},
    };
    for (const auto& [digits, expected] : cases)
        EXPECT_EQ(TelvarinGenerator::convertTimes100NumberStringToDecimalString(digits), expected) << digits;
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
    EXPECT_EQ(TelvarinGenerator::getHarddriveData(), "/dev/disk0s2 4294967296.00 GBs free out of 8589934592.00 GBs");

    // An unreadable volume shows "n/a" figures, never whatever was in memory.
    facts.volume = std::nullopt;
    EXPECT_EQ(TelvarinGenerator::getHarddriveData(), "/dev/disk0s2 n/a GBs free out of n/a GBs");
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

    // Names this machine does not answer.
    EXPECT_EQ(codeThrownBy([] { SysctlReadingClass::getSysctlString(CTL_HW, HW_NCPU); }), ERROR_SYSTEM_QUERY);
    EXPECT_EQ(codeThrownBy([] { SysctlReadingClass::getSysctlInt(1, HW_NCPU); }), ERROR_SYSTEM_QUERY);
}

namespace {

// Digits, a point, two digits.
bool isHundredthsFigure(const std::string& text)
{
    auto digits = [](const std::string& part) {
        return !part.empty() && std::all_of(part.begin(), part.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    return text.size() >= 4 && text[text.size() - 3] == '.' && digits(text.substr(0, text.size() - 3)) &&
           digits(text.substr(text.size() - 2));
}

} // namespace

TEST(SystemProbesOnThisMachine, GiveLinesOfTheReportShape)
{
    // No facts installed: the real ones. Only the shapes are checked.
    const std::string version = TelvarinGenerator::getOsVersionString();
    EXPECT_EQ(std::count(version.begin(), version.end(), '.'), 2) << version;
    EXPECT_NE(version, "n/a");

    const std::string processor = TelvarinGenerator::getProcessorDescription();
    const std::size_t unit = processor.find(" GHz ");
    ASSERT_NE(unit, std::string::npos) << processor;
    EXPECT_TRUE(processor.substr(0, unit) == "n/a" || isHundredthsFigure(processor.substr(0, unit))) << processor;
    EXPECT_EQ(processor.substr(processor.size() - 6), " cores") << processor;

    const std::string disk = TelvarinGenerator::getHarddriveData();
    const std::string middle = " GBs free out of ";
    const std::size_t split = disk.find(middle);
    const std::size_t freeStart = disk.rfind(' ', split - 1) + 1;
    ASSERT_NE(split, std::string::npos) << disk;
    EXPECT_TRUE(isHundredthsFigure(disk.substr(freeStart, split - freeStart))) << disk;
    EXPECT_TRUE(isHundredthsFigure(disk.substr(split + middle.size(), disk.size() - 4 - split - middle.size())))
        << disk;
    EXPECT_EQ(disk.substr(disk.size() - 4), " GBs") << disk;

    EXPECT_GT(SysctlReadingClass::getSysctlUInt64(CTL_HW, HW_PHYSMEM), 0u);
    EXPECT_NO_THROW(SysctlReadingClass::getSysctlString(CTL_HW, HW_MODEL));
}

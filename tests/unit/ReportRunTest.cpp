// The report run end to end: archive name and place, entry order, the log,
// and what a failure leaves behind.
#include "core/ErrorCodes.h"
#include "core/ReportPress.h"
#include "core/TelvarinGenerator.h"
#include "tests/doubles/FakeServices.h"
#include "tests/doubles/TestFiles.h"

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

class QuietIndicator : public BusyIndicator {
public:
    void startAnimation() override { events.push_back("start"); }
    void stopAnimation() override { events.push_back("stop"); }
    std::vector<std::string> events;
};

} // namespace

TEST(ReportRun, NamesTheArchiveAfterTheLocalTimeInTwelveHourForm)
{
    FakeMachine machine;
    auto installed = machine.install();
    machine.clock = FakeClock(utcTime(2011, 3, 7, 14, 5), 0);
    EXPECT_EQ(TelvarinGenerator::getNewReportFileName(), "Telvarin_03_07_2011__02_05_PM.zip");
    machine.clock = FakeClock(utcTime(2011, 3, 7, 0, 30), 0);
    EXPECT_EQ(TelvarinGenerator::getNewReportFileName(), "Telvarin_03_07_2011__12_30_AM.zip");
}

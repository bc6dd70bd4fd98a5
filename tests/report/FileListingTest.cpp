// The listing of what a report would collect, on the fake machine: what it
// finds and misses, that it reaches neither printer nor system facts, and
// that its misses are the ones a run notes.
#include "core/report/FileListing.h"
#include "core/filelist/ConfiguredFileCollection.h"
#include "core/report/ErrorMessages.h"
#include "core/report/ReportPress.h"
#include "platform/SystemFacts.h"
#include "tests/doubles/CommandLineSupport.h"
#include "tests/doubles/FakeServices.h"
#include "tests/doubles/FakeSystemFacts.h"
#include "tests/doubles/SimulatedPrinter.h"
#include "tests/doubles/TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace testing_support;

namespace {

// Facts that fail the test when anything asks for them.
class UntouchableSystemFacts final : public platform::SystemFacts {
public:
    template <typename Answer>
    static Answer refuse()
    {
        ADD_FAILURE() << "the listing read a fact about the computer";
        return {};
    }
    std::optional<platform::OperatingSystemVersion> operatingSystemVersion() const override
    {
        return refuse<std::optional<platform::OperatingSystemVersion>>();
    }
    std::optional<std::uint64_t> processorClockHertz() const override { return refuse<std::optional<std::uint64_t>>(); }
    std::optional<std::string> architectureDescription() const override { return refuse<std::optional<std::string>>(); }
    platform::FactReading<int> logicalProcessorCount() const override { return refuse<platform::FactReading<int>>(); }
    platform::FactReading<std::string> hardwareModel() const override
    {
        return refuse<platform::FactReading<std::string>>();
    }
    platform::FactReading<std::uint64_t> physicalMemoryBytes() const override
    {
        return refuse<platform::FactReading<std::uint64_t>>();
    }
    std::optional<std::string> startupVolumeDeviceName() const override { return refuse<std::optional<std::string>>(); }
    std::optional<platform::VolumeSpace> startupVolumeSpace() const override
    {
        return refuse<std::optional<platform::VolumeSpace>>();
    }
};

class FileListing : public ::testing::Test {
protected:
    TempDir temp;
    FakeMachine machine;
    SimulatedPrinter printer;
    UntouchableSystemFacts facts;
    std::string root = temp / "root";
    std::string dataXml = temp / "data.xml";

    void SetUp() override
    {
        writeFile(root + "/var/log/quorvel/a.log", "aaaa");
        writeFile(root + "/var/log/quorvel/b.log", "bb");
        makeDirectories(root + "/var/log/quorvel/dir.log");
        writeFile(root + "/etc/quorvel/q.conf", "123456");
        writeFile(root + "/home/u/.config/settings.ini", "s");
        makeMakersFolders(root);
        writeFile(dataXml, "<c><Absolute_Path_Files>"
                           "<f>var/log/quorvel/*.log</f>"
                           "<f>etc/quorvel/missing.conf</f>"
                           "<f>etc/quorvel/q.conf,Settings</f>"
                           "<f>var/crash/*.txt</f>"
                           "</Absolute_Path_Files><Home_Path_Files>"
                           "<f>.config/settings.ini</f>"
                           "</Home_Path_Files></c>");
        machine.environment.variables["HOME"] = "/home/u";
        machine.collectFrom(root);
    }

    platform::ScopedServices install()
    {
        platform::Services extra;
        extra.usb = &printer;
        extra.systemFacts = &facts;
        return machine.install(extra);
    }
};

std::vector<std::string> missingPaths(const std::vector<ListedPath>& paths)
{
    std::vector<std::string> missing;
    for (const auto& listed : paths)
        if (!listed.found)
            missing.push_back(listed.path);
    return missing;
}

} // namespace

TEST_F(FileListing, ListsFilesWithTheirSizesAndTheMissesInCollectionOrderTouchingNothingElse)
{
    const auto before = snapshotTree(temp.path());
    auto installed = install();
    const ListingResult listing = listConfiguredFiles(dataXml);

    ASSERT_TRUE(listing.listed) << (listing.failure ? listing.failure->text : "");
    std::vector<std::string> lines;
    for (const auto& listed : listing.paths)
        lines.push_back(listed.path + " " + (listed.found ? std::to_string(listed.size) : "missing"));
    // The wildcard's files come in directory order.
    std::sort(lines.begin(), lines.begin() + 2);
    EXPECT_EQ(lines, (std::vector<std::string>{"/var/log/quorvel/a.log 4", "/var/log/quorvel/b.log 2",
                                               "/etc/quorvel/missing.conf missing", "/etc/quorvel/q.conf 6",
                                               "/var/crash/*.txt missing", "/home/u/.config/settings.ini 1"}));
    EXPECT_TRUE(printer.calls.empty());
    EXPECT_TRUE(machine.systemLog.lines.empty());
    EXPECT_TRUE(machine.reporter.shown.empty());
    EXPECT_EQ(snapshotTree(temp.path()), before);
}

TEST_F(FileListing, MissesTheSamePathsAsTheLogOfARun)
{
    ListingResult listing;
    {
        auto installed = install();
        listing = listConfiguredFiles(dataXml);
    }
    // The run itself, with facts to report and no printer on the bus.
    FakeSystemFacts runFacts;
    printer.devices.clear();
    platform::Services extra;
    extra.usb = &printer;
    extra.systemFacts = &runFacts;
    auto installed = machine.install(extra);
    struct : BusyIndicator {
        void startAnimation() override {}
        void stopAnimation() override {}
    } indicator;
    makeDirectories(temp / "out");
    const PressResult run = runReportPress(indicator, {dataXml, temp / "out/report.zip"});

    ASSERT_TRUE(run.reportPlaced) << run.message;
    EXPECT_EQ(run.missing, missingPaths(listing.paths));
}

TEST_F(FileListing, AFaultyFileListEndsItWithTheCodeAndMessageOfARun)
{
    const std::pair<int, const char*> faults[] = {
        {5, "<c><Absolute_Path_Files>"},
        {6, "<c><Home_Path_Files/><Home_Path_Files/></c>"},
        {7, "<c><Absolute_Path_Files/></c>"},
        {8, "<c><Absolute_Path_Files><f>etc/quorvel/*</f></Absolute_Path_Files><Home_Path_Files/></c>"},
        {9, "<c><Absolute_Path_Files><f>etc/*/q.conf</f></Absolute_Path_Files><Home_Path_Files/></c>"},
    };
    auto installed = install();
    for (const auto& [code, document] : faults) {
        SCOPED_TRACE(code);
        writeFile(dataXml, document);
        machine.reporter.shown.clear();

        const ListingResult listing = listConfiguredFiles(dataXml);

        EXPECT_FALSE(listing.listed);
        EXPECT_EQ(listing.failure.value().code, code);
        EXPECT_TRUE(listing.paths.empty());
        ASSERT_EQ(machine.reporter.shown.size(), 1u);
        EXPECT_TRUE(machine.reporter.shown[0].error);
        EXPECT_EQ(machine.reporter.shown[0].text, messageForErrorCode(code));
    }
    EXPECT_EQ(listConfiguredFiles(std::nullopt).failure.value().code, 5);
}

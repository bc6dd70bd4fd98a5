// The whole general report: its nine lines, and its place in a report run.
#include "base/ErrorCodes.h"
#include "core/report/TelvarinGenerator.h"
#include "tests/doubles/Expectations.h"
#include "tests/doubles/FakeServices.h"
#include "tests/doubles/FakeSystemFacts.h"
#include "tests/doubles/TestFiles.h"

#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

using namespace testing_support;

namespace {

const char* const DATA_XML = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                             "<configuration>\n"
                             "  <Absolute_Path_Files>\n  </Absolute_Path_Files>\n"
                             "  <Home_Path_Files>\n  </Home_Path_Files>\n"
                             "</configuration>\n";

class GeneralInformation : public ::testing::Test {
protected:
    TempDir root;
    FakeMachine machine;
    FakeSystemFacts facts;
    platform::ScopedServices installed = machine.installCollectingFrom(root.path(), withSystemFacts(&facts));
    TelvarinGenerator generator;
    const std::string drivers = root / "Library/Printers/Quorvel";
    const std::string applications = root / "Applications";

    void SetUp() override
    {
        machine.clock.set(utcTime(2020, 1, 1, 0, 0, 0));
        makeDirectories(drivers);
        makeDirectories(applications);
    }
};

} // namespace

TEST_F(GeneralInformation, HasNineLabelledLinesWithBareListLabelsWhenNothingIsInstalled)
{
    EXPECT_EQ(generator.getGeneralData(), "OS:Mac OS X Version 6.1.0\r\n"
                                          "Processor:1.83 GHz x86_64 2 cores\r\n"
                                          "Model:Standard PC (Q35 + ICH9, 2009)\r\n"
                                          "Total RAM:8192 MB\r\n"
                                          "Harddrives data:/dev/sda1 114.44 GBs free out of 464.80 GBs\r\n"
                                          "TimeStamp:637134336000000000\r\n"
                                          "VersionID:tvk47mbsa6d\r\n"
                                          "Driver Bundles Data:\r\n"
                                          "Application Data:");
    EXPECT_EQ(generator.log(), "");
}

TEST_F(GeneralInformation, ListsTheBundlesAndLogsDriverMessagesBeforeApplicationMessages)
{
    writeBundle(drivers + "/A.bundle", versionPropertyList("2.1", PlistFormat::binary));
    writeBundle(drivers + "/Broken.bundle", "not a list");
    writeBundle(applications + "/Editor.app", versionPropertyList("5.0", PlistFormat::xml));
    makeDirectories(applications + "/Empty.app");

    std::vector<std::string> report = splitReportLines(generator.getGeneralData());

    ASSERT_EQ(report.size(), 9u);
    EXPECT_EQ(report[6], "VersionID:tvk47mbsa6d");
    EXPECT_EQ(report[7], "Driver Bundles Data:A.bundle,2.1");
    EXPECT_EQ(report[8], "Application Data:Editor.app,5.0");
    EXPECT_EQ(generator.log(), "Could not get driver bundle version for \"Broken.bundle\"\r\n"
                               "Could not get application version for \"Empty.app\"\r\n");
}

TEST_F(GeneralInformation, MemoryIsTheTrueSizeInMegabytes)
{
    const std::pair<std::uint64_t, const char*> cases[] = {
        {0x80000000ULL, "Total RAM:2048 MB"},
        {3ULL << 30, "Total RAM:3072 MB"},
        {16318044ULL * 1024, "Total RAM:15935 MB"},
        {6ULL << 40, "Total RAM:6291456 MB"},
    };
    for (const auto& [bytes, line] : cases) {
        facts.memoryBytes = bytes;
        EXPECT_EQ(splitReportLines(generator.getGeneralData())[3], line);
    }
}

TEST_F(GeneralInformation, UnknownFactsShowNotAvailableAndTheReportStaysWhole)
{
    facts.version = std::nullopt;
    facts.clockHertz = std::nullopt;
    facts.architecture = std::nullopt;
    facts.model = "";
    facts.deviceName = std::nullopt;
    facts.volume = std::nullopt;

    std::vector<std::string> report = splitReportLines(generator.getGeneralData());

    ASSERT_EQ(report.size(), 9u);
    EXPECT_EQ(report[0], "OS:Mac OS X Version n/a");
    EXPECT_EQ(report[1], "Processor:n/a GHz n/a 2 cores");
    EXPECT_EQ(report[2], "Model:n/a");
    EXPECT_EQ(report[4], "Harddrives data:n/a n/a GBs free out of n/a GBs");
}

TEST_F(GeneralInformation, FailedQueriesEndItWithCode10SayingWhereTheFactWasToComeFromAndWhy)
{
    auto failureDetail = [this] {
        try {
            generator.getGeneralData();
        } catch (const CodedFailure& failure) {
            EXPECT_EQ(failure.code, ERROR_SYSTEM_QUERY);
            return failure.detail;
        }
        ADD_FAILURE() << "no failure";
        return FailureDetail{};
    };
    auto expectDetail = [&](const std::string& source, int errorNumber) {
        const FailureDetail detail = failureDetail();
        EXPECT_EQ(detail.step, FailedStep::readComputerFacts);
        EXPECT_EQ(detail.path, source);
        EXPECT_EQ(detail.errorNumber, errorNumber);
    };
    facts.model = std::nullopt;
    facts.source = "/sys/class/dmi/id/product_name";
    facts.unreadable = std::make_error_code(std::errc::permission_denied);
    expectDetail("/sys/class/dmi/id/product_name", EACCES);
    facts.model = std::string(1000, 'M');
    expectDetail("/sys/class/dmi/id/product_name", EOVERFLOW);
    facts.model = "Board";
    facts.memoryBytes = std::nullopt;
    facts.source = "/proc/meminfo";
    facts.unreadable = std::make_error_code(std::errc::no_such_file_or_directory);
    expectDetail("/proc/meminfo", ENOENT);
    facts.memoryBytes = 1ULL << 33;
    facts.processors = std::nullopt;
    facts.source = "/proc/cpuinfo";
    facts.unreadable = {};
    expectDetail("/proc/cpuinfo", 0);
}

TEST_F(GeneralInformation, AnUnlistableApplicationDirectoryEndsItAfterTheDriverMessages)
{
    makeDirectories(drivers + "/Empty.bundle");
    ASSERT_EQ(rmdir(applications.c_str()), 0);
    EXPECT_EQ(codeThrownBy([this] { generator.getGeneralData(); }), ERROR_APPLICATION_DIRECTORY);
    EXPECT_EQ(generator.log(), "Could not get driver bundle version for \"Empty.bundle\"\r\n");
}

TEST_F(GeneralInformation, LineBreaksInsideValuesCannotAddLines)
{
    facts.model = "Board\r\nVersionID:forged";
    facts.deviceName = "/dev/odd\nname";
    writeBundle(drivers + "/Two\nLines.bundle", versionPropertyList("1.0\r\nApplication Data:x", PlistFormat::xml));

    std::vector<std::string> report = splitReportLines(generator.getGeneralData());

    ASSERT_EQ(report.size(), 9u);
    EXPECT_EQ(std::count(report.begin(), report.end(), "VersionID:tvk47mbsa6d"), 1);
    EXPECT_EQ(report[2], "Model:Board  VersionID:forged");
    EXPECT_EQ(report[7], "Driver Bundles Data:Two Lines.bundle,1.0  Application Data:x");
}

TEST_F(GeneralInformation, IsStoredBetweenTheConfiguredFilesAndTheLogOfARun)
{
    writeBundle(drivers + "/A.bundle", versionPropertyList("2.1", PlistFormat::xml));
    makeDirectories(drivers + "/Old.bundle");
    makeDirectories(applications + "/Old.app");
    machine.environment.variables["HOME"] = root / "home";
    // The file list is the tool's own file; it is put where it is found
    // whether or not it is read under the file-system root.
    const std::string dataXml = root / "tool/data.xml";
    writeFile(dataXml, DATA_XML);
    writeFile(root.path() + dataXml, DATA_XML);
    const std::string archive = root / "report.zip";

    ASSERT_TRUE(generator.generateReport(archive.c_str(), dataXml.c_str()));

    std::vector<std::string> names = readZipEntryNames(archive);
    auto general = std::find(names.begin(), names.end(), "reportData/generalInformation.dat");
    auto device = std::find(names.begin(), names.end(), "reportData/deviceReport.dat");
    ASSERT_NE(general, names.end());
    ASSERT_EQ(names.back(), "reportData/reportGeneratorLog.log");
    EXPECT_EQ(general + 1, names.end() - 1);
    if (device != names.end()) {
        EXPECT_LT(device, general);
    }

    std::vector<std::string> report = splitReportLines(readZipEntry(archive, "reportData/generalInformation.dat"));
    ASSERT_EQ(report.size(), 9u);
    EXPECT_EQ(report[5], "TimeStamp:637134336000000000");
    EXPECT_EQ(report[7], "Driver Bundles Data:A.bundle,2.1");
    EXPECT_EQ(report[8], "Application Data:");
    std::string log = readZipEntry(archive, "reportData/reportGeneratorLog.log");
    EXPECT_NE(log.find("Could not get driver bundle version for \"Old.bundle\"\r\n"
                       "Could not get application version for \"Old.app\"\r\n"),
              std::string::npos)
        << log;
}

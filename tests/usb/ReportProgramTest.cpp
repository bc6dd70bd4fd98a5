// The report program itself, started as a child that sees the emulated USB
// printers: the archive on the desktop with or without the device report.
#include "tests/doubles/CommandLineSupport.h"
#include "tests/usb/EmulatedUsbPrinter.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace testing_support;

namespace {

// The one archive the run left on the desktop.
std::string archiveOnTheDesktop(const std::string& home)
{
    const auto archives = archivesIn(home + "/Desktop");
    EXPECT_EQ(archives.size(), 1u);
    return archives.empty() ? std::string() : home + "/Desktop/" + archives.front();
}

class ReportProgram : public ::testing::Test {
protected:
    EmulatedUsbBus bus;
    TempDir home;

    void SetUp() override { ASSERT_TRUE(inEmulatedUsbEnvironment()) << "needs the umockdev preload library"; }

    ProcessResult runReport(std::vector<std::string> options = {"--output", "Desktop"})
    {
        // The collected system is a tree with the maker's empty folders; the
        // USB bus stays this process's emulated one.
        makeMakersFolders(home / "root");
        makeDirectories(home / "Desktop");
        const char* preload = std::getenv("LD_PRELOAD");
        options.insert(options.begin(), {TELVARIN_REPORT_PROGRAM, "--sysroot", home / "root"});
        return runProcess(options,
                          {{"HOME", home.path()},
                           {"UMOCKDEV_DIR", bus.directory()},
                           {"LD_PRELOAD", preload ? preload : ""},
                           {"TZ", "UTC"}},
                          home.path());
    }
};

} // namespace

TEST_F(ReportProgram, WritesTheDeviceReportOfTheAttachedPrinter)
{
    EmulatedUsbPrinter& printer = bus.plugIn(simulatedPrinterDevice(0x26));
    ProcessResult run = runReport();
    ASSERT_EQ(run.exitStatus, 0) << run.standardError;
    std::string archive = archiveOnTheDesktop(home.path());
    EXPECT_TRUE(unzipTestPasses(archive));
    std::string report = readZipEntry(archive, "reportData/deviceReport.dat");
    std::size_t lines = 1;
    for (std::size_t at = report.find("\r\n"); at != std::string::npos; at = report.find("\r\n", at + 2))
        ++lines;
    EXPECT_EQ(lines, 172u);
    EXPECT_EQ(report.rfind("h3m82c5j9w1t4x7a6pzrybnk\r\n", 0), 0u);
    EXPECT_EQ(printer.eventCount("write "), 169);
    EXPECT_EQ(printer.events().back(), "driver bound 0");
}

TEST_F(ReportProgram, WithoutAPrinterTheArchiveHasNoDeviceReportAndTheUserIsTold)
{
    ProcessResult run = runReport();
    ASSERT_EQ(run.exitStatus, 0) << run.standardError;
    EXPECT_NE(run.standardError.find("No recognized printer found, the report will only contain log files."),
              std::string::npos)
        << run.standardError;
    std::vector<std::string> names = readZipEntryNames(archiveOnTheDesktop(home.path()));
    EXPECT_EQ(std::count(names.begin(), names.end(), "reportData/deviceReport.dat"), 0);
    EXPECT_EQ(std::count(names.begin(), names.end(), "reportData/reportGeneratorLog.log"), 1);
}

TEST_F(ReportProgram, ListingTalksToNoPrinterAndJsonSaysWhenTheDeviceReportIsThere)
{
    EmulatedUsbPrinter& printer = bus.plugIn(simulatedPrinterDevice(0x26));

    ProcessResult listing = runReport({"--list"});
    EXPECT_EQ(listing.exitStatus, 0) << listing.standardError;
    // Nothing of the shipped list is in the bare tree.
    EXPECT_TRUE(listing.standardOutput.ends_with("\n0\ttotal\n")) << listing.standardOutput;
    EXPECT_TRUE(printer.events().empty()) << printer.events().front();

    ProcessResult run = runReport({"--json", "--output", "Desktop"});
    ASSERT_EQ(run.exitStatus, 0) << run.standardError;
    writeFile(home / "report.json", run.standardOutput);
    ProcessResult check = runProcess({"python3", std::string(TELVARIN_SOURCE_DIR) + "/tests/tools/check_report_json.py",
                                      home / "report.json", "placed"},
                                     {});
    EXPECT_EQ(check.exitStatus, 0) << check.standardError;
    EXPECT_NE(run.standardOutput.find("\"printer\":true"), std::string::npos) << run.standardOutput;
}

// What a run hands back to a script: the summary of a placed run whose
// checksum file cannot be written, JSON that keeps the bytes of names that
// are not UTF-8, and the text of a listing.
#include "core/summary/RunSummary.h"
#include "core/archive/Sha256.h"
#include "core/report/ReportPress.h"
#include "core/summary/FailureText.h"
#include "core/summary/ListingText.h"
#include "tests/doubles/FakeServices.h"
#include "tests/doubles/FakeSystemFacts.h"
#include "tests/doubles/SimulatedPrinter.h"
#include "tests/doubles/TestFiles.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace testing_support;

TEST(RunSummary, OfAPlacedReportWhoseChecksumFileCannotTakeItsNameIsAnErrorThatLeavesNoTemporaryFile)
{
    TempDir temp;
    FakeMachine machine;
    FakeSystemFacts facts;
    SimulatedPrinter printer;
    printer.devices.clear();
    makeMakersFolders(temp / "root");
    machine.collectFrom(temp / "root");
    platform::Services extra;
    extra.usb = &printer;
    extra.systemFacts = &facts;
    auto installed = machine.install(extra);
    writeFile(temp / "data.xml", "<c><Absolute_Path_Files/><Home_Path_Files/></c>");
    const std::string archive = temp / "out/report.zip";
    makeDirectories(archive + ".sha256/held");
    struct : BusyIndicator {
        void startAnimation() override {}
        void stopAnimation() override {}
    } indicator;
    const PressResult run = runReportPress(indicator, {temp / "data.xml", archive, true, true});
    ASSERT_TRUE(run.reportPlaced) << run.message;

    const RunSummary summary = summarizeRun(run);

    EXPECT_TRUE(summary.placed);
    EXPECT_EQ(summary.archivePath, archive);
    const int placed = open(archive.c_str(), O_RDONLY | O_CLOEXEC);
    std::error_code unreadable;
    EXPECT_EQ(summary.sha256, sha256OfDescriptor(placed, unreadable));
    close(placed);
    EXPECT_EQ(summary.checksumFilePath, std::nullopt);
    ASSERT_TRUE(summary.error);
    EXPECT_EQ(summary.error->code, 16);
    EXPECT_EQ(summary.error->text, "Could not write the checksum file beside the report");
    ASSERT_TRUE(summary.error->detail);
    EXPECT_EQ(summary.error->detail->path, archive + ".sha256");
    EXPECT_EQ(summary.error->detail->errorNumber, EISDIR);
    EXPECT_EQ(machine.reporter.shown.back().text, summary.error->text);
    EXPECT_TRUE(machine.reporter.shown.back().error);
    EXPECT_TRUE(machine.reporter.shown.back().detail);
    EXPECT_EQ(listFolder(temp / "out"), (std::vector<std::string>{"report.zip", "report.zip.sha256"}));
    EXPECT_EQ(listFolder(archive + ".sha256"), std::vector<std::string>{"held"});
}

TEST(RunSummaryJson, IsOneLineOfOneObjectThatKeepsTheBytesOfNamesThatAreNotUtf8)
{
    RunSummary summary;
    summary.placed = true;
    summary.archivePath = "/tmp/\xff/Telvarin_x.zip";
    // Two names that a replacement character would print alike.
    summary.entries = {"/var/log/caf\xe9.log", "/var/log/caf\xe8.log", "/var/log/caf\xef\xbf\xbd.log"};
    summary.missing = {"/etc/\"quoted\"\n.conf"};
    summary.skipped = {{"/var/log/\xfe", platform::FileKind::directory}};

    const std::string text = runSummaryJson(summary);

    ASSERT_EQ(text.find('\n'), text.size() - 1);
    const auto document = nlohmann::json::parse(text);
    EXPECT_EQ(document["archive"], (nlohmann::json{{"hex", "2f746d702fff2f54656c766172696e5f782e7a6970"}}));
    EXPECT_EQ(document["entries"], (nlohmann::json{{{"hex", "2f7661722f6c6f672f636166e92e6c6f67"}},
                                                   {{"hex", "2f7661722f6c6f672f636166e82e6c6f67"}},
                                                   "/var/log/caf\xef\xbf\xbd.log"}));
    EXPECT_EQ(document["missing"][0], "/etc/\"quoted\"\n.conf");
    EXPECT_EQ(document["skipped"],
              (nlohmann::json{{{"path", {{"hex", "2f7661722f6c6f672ffe"}}}, {"type", "directory"}}}));
    EXPECT_TRUE(document["sha256"].is_null());
    EXPECT_TRUE(document["error"].is_null());

    const std::string printerFailure = "An error occured while trying to communicate with the printer";
    summary.error = UserMessage{.code = 13, .text = printerFailure};
    EXPECT_EQ(nlohmann::json::parse(runSummaryJson(summary))["error"],
              (nlohmann::json{{"code", 13}, {"message", printerFailure}, {"detail", nullptr}}));
    summary.error->detail = FailureDetail{FailedStep::talkToPrinter, {}, 0};
    EXPECT_EQ(nlohmann::json::parse(runSummaryJson(summary))["error"]["detail"],
              failureDetailText(*summary.error->detail));
}

TEST(ListingText, GivesSizesMissesWhatIsNoFileAndTheTotalAndEscapesOnlyForATerminal)
{
    const std::vector<ListedPath> paths = {{"/var/log/a.log", true, 4},
                                           {"/etc/missing\n.conf", false, 0},
                                           {"/x/\x1b[2J.log", true, 10},
                                           {"/var/run/s", false, 0, platform::FileKind::socket}};
    EXPECT_EQ(listingText(paths, false),
              "4\t/var/log/a.log\nmissing\t/etc/missing\n.conf\n10\t/x/\x1b[2J.log\nsocket\t/var/run/s\n14\ttotal\n");
    EXPECT_EQ(listingText(paths, true),
              "4\t/var/log/a.log\nmissing\t/etc/missing\\n.conf\n10\t/x/\\033[2J.log\nsocket\t/var/run/s\n14\ttotal\n");
    EXPECT_EQ(listingText({}, true), "0\ttotal\n");
}

// The report run end to end through the core: archive name and place, entry
// order, the log, and what a failure leaves behind.
#include "base/ErrorCodes.h"
#include "core/archive/ParallelZipWriter.h"
#include "core/report/ArchiveEntrySink.h"
#include "core/report/ErrorMessages.h"
#include "core/report/ReportPress.h"
#include "core/report/TelvarinGenerator.h"
#include "tests/doubles/FakeServices.h"
#include "tests/doubles/TestFiles.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <clocale>
#include <filesystem>

using namespace testing_support;

namespace {

const char EMPTY_FILE_LIST[] =
    "<?xml version=\"1.0\"?>\n<configuration>\n  <Absolute_Path_Files/>\n  <Home_Path_Files/>\n</configuration>\n";

class RecordingIndicator : public BusyIndicator {
public:
    explicit RecordingIndicator(RecordingReporter& boxes) : boxes_(boxes) {}
    void startAnimation() override { events.push_back("start@" + std::to_string(boxes_.shown.size())); }
    void stopAnimation() override { events.push_back("stop@" + std::to_string(boxes_.shown.size())); }
    std::vector<std::string> events;

private:
    RecordingReporter& boxes_;
};

// Records what a run tells as it goes, and asks it to stop when the news
// `cancelAt` comes ("counted", "block 1", "copying PATH", "step N").
class RecordingProgress final : public RunProgress {
public:
    void filesCounted(std::uint64_t bytes) override { tell("counted", "counted " + std::to_string(bytes)); }
    void stepStarted(RunStep step, const std::string& file) override
    {
        const std::string news =
            step == RunStep::copyingFiles ? "copying " + file : "step " + std::to_string(static_cast<int>(step));
        tell(news, news);
    }
    void filesCopied(std::uint64_t bytes) override
    {
        EXPECT_GT(bytes, copied) << "the count only climbs";
        copied = bytes;
        if (++blocks == 1)
            tell("block 1", {});
    }
    std::string cancelAt;
    CancellationFlag cancellation;
    std::vector<std::string> events;
    std::uint64_t copied = 0;
    int blocks = 0;

private:
    void tell(const std::string& news, const std::string& event)
    {
        if (!event.empty())
            events.push_back(event);
        if (news == cancelAt)
            cancellation.request();
    }
};

// A machine with HOME in a temporary directory and an empty file list. The
// collected system is a tree of its own, with the maker's (empty) driver and
// application directories.
class ReportRunTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        makeDirectories(temp / "root/Library/Printers/Quorvel");
        makeDirectories(temp / "root/Applications");
        home = temp / "home/user";
        makeDirectories(home + "/Desktop");
        dataXml = temp / "data.xml";
        writeFile(dataXml, EMPTY_FILE_LIST);
        machine.environment.variables["HOME"] = home;
        machine.clock = FakeClock(utcTime(2011, 3, 7, 14, 5, 12));
    }

    PressResult press(std::optional<std::string> archivePath = std::nullopt)
    {
        RecordingIndicator indicator(machine.reporter);
        ReportRequest request{dataXml, std::move(archivePath)};
        PressResult result = runReportPress(indicator, request);
        indicatorEvents = indicator.events;
        return result;
    }

    TempDir temp;
    std::string home;
    std::string dataXml;
    FakeMachine machine;
    platform::ScopedServices installed = machine.installCollectingFrom(temp / "root");
    std::vector<std::string> indicatorEvents;
};

} // namespace

TEST_F(ReportRunTest, NamesTheArchiveAfterTheLocalTimeOnTheTwelveHourClock)
{
    machine.clock = FakeClock(utcTime(2011, 3, 7, 14, 5));
    EXPECT_EQ(TelvarinGenerator::getNewReportFileName(), "Telvarin_03_07_2011__02_05_PM.zip");
    machine.clock = FakeClock(utcTime(2011, 3, 7, 0, 30));
    EXPECT_EQ(TelvarinGenerator::getNewReportFileName(), "Telvarin_03_07_2011__12_30_AM.zip");
    // Local time, not UTC: 23:10 UTC is 08:10 the next morning nine hours east.
    machine.clock = FakeClock(utcTime(2011, 12, 31, 23, 10), 9 * 3600);
    EXPECT_EQ(TelvarinGenerator::getNewReportFileName(), "Telvarin_01_01_2012__08_10_AM.zip");
    EXPECT_EQ(TelvarinGenerator::getNewReportFilePathToTheDesktop(),
              home + "/Desktop/Telvarin_01_01_2012__08_10_AM.zip");
}

TEST_F(ReportRunTest, NameKeepsAmAndPmUnderAnotherLocale)
{
    // A German desktop: its locale has no AM/PM strings at all.
    std::string previous = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8"))
        GTEST_SKIP() << "de_DE.UTF-8 locale not generated (scripts/install-deps.sh makes it)";
    machine.clock = FakeClock(utcTime(2011, 3, 7, 14, 5));
    std::string name = TelvarinGenerator::getNewReportFileName();
    std::setlocale(LC_ALL, previous.c_str());
    EXPECT_EQ(name, "Telvarin_03_07_2011__02_05_PM.zip");
}

TEST_F(ReportRunTest, PlacesAnArchiveOnTheDesktopWithTheLogAsItsLastEntry)
{
    PressResult result = press();
    ASSERT_TRUE(result.reportPlaced) << result.message;
    std::string archive = home + "/Desktop/Telvarin_03_07_2011__02_05_PM.zip";
    EXPECT_EQ(result.archivePath, archive);
    auto entries = readZipEntries(archive);
    ASSERT_FALSE(entries.empty());
    EXPECT_EQ(entries.back().name, "reportData/reportGeneratorLog.log");
    for (const auto& entry : entries) {
        EXPECT_EQ(entry.method, 8) << entry.name;
        EXPECT_TRUE(entry.crcOk) << entry.name;
    }
    EXPECT_TRUE(unzipTestPasses(archive));

    // The success box comes last, after the indicator stopped.
    ASSERT_FALSE(machine.reporter.shown.empty());
    EXPECT_FALSE(machine.reporter.shown.back().error);
    EXPECT_EQ(machine.reporter.shown.back().text, "A report has been placed on the desktop");
    // Which message it is, for a window that words it in its user's language.
    EXPECT_EQ(machine.reporter.shown.back().message.kind, UserMessage::Kind::reportPlaced);
    ASSERT_EQ(indicatorEvents.size(), 2u);
    EXPECT_EQ(indicatorEvents.front(), "start@0");
    EXPECT_EQ(indicatorEvents.back(), "stop@" + std::to_string(machine.reporter.shown.size() - 1));
    ASSERT_EQ(machine.systemLog.lines.size(), 1u);
    EXPECT_EQ(machine.systemLog.lines[0], "The current date and time is: 2011-03-07 14:05:12 +0000");
}

TEST_F(ReportRunTest, LogLinesEndInCarriageReturnAndLineFeed)
{
    TelvarinGenerator generator;
    generator.addToLog("first");
    generator.addToLog("");
    generator.addToLog("Could not find the path \"/x\"");
    EXPECT_EQ(generator.log(), "first\r\n\r\nCould not find the path \"/x\"\r\n");
}

TEST_F(ReportRunTest, TwoRunsInOneMinuteLeaveTheSecondArchiveAndNoChecksumFileOfTheFirst)
{
    std::string archive = home + "/Desktop/Telvarin_03_07_2011__02_05_PM.zip";
    RecordingIndicator indicator(machine.reporter);
    ReportRequest withChecksum{dataXml, std::nullopt};
    withChecksum.writeChecksumFile = true;
    ASSERT_TRUE(runReportPress(indicator, withChecksum).reportPlaced);
    ASSERT_TRUE(pathExists(archive + ".sha256"));
    writeFile(archive, "not a zip, left by someone else");
    machine.clock.advance(30);
    const PressResult second = press();
    ASSERT_TRUE(second.reportPlaced);
    EXPECT_TRUE(unzipTestPasses(archive));
    EXPECT_FALSE(pathExists(archive + ".sha256")) << "it described the archive replaced";
    EXPECT_EQ(second.checksumFileError, 0);

    machine.clock.advance(60);
    ASSERT_TRUE(press().reportPlaced);
    EXPECT_TRUE(pathExists(home + "/Desktop/Telvarin_03_07_2011__02_06_PM.zip"));
}

TEST_F(ReportRunTest, MissingDataXmlEndsWithCodeFiveAndLeavesNoArchive)
{
    for (std::optional<std::string> missing :
         {std::optional<std::string>{}, std::optional<std::string>{temp / "none.xml"}}) {
        machine.reporter.shown.clear();
        RecordingIndicator indicator(machine.reporter);
        PressResult result = runReportPress(indicator, ReportRequest{missing, std::nullopt});
        EXPECT_FALSE(result.reportPlaced);
        EXPECT_EQ(result.failure.value().code, 5);
        ASSERT_EQ(machine.reporter.shown.size(), 1u);
        EXPECT_TRUE(machine.reporter.shown[0].error);
        EXPECT_EQ(machine.reporter.shown[0].text, "Could not find data.xml");
        EXPECT_EQ(machine.reporter.shown[0].message.kind, UserMessage::Kind::failure);
        EXPECT_EQ(machine.reporter.shown[0].message.code, 5);
        EXPECT_EQ(indicator.events, (std::vector<std::string>{"start@0", "stop@0"}));
    }
    EXPECT_FALSE(pathExists(home + "/Desktop/Telvarin_03_07_2011__02_05_PM.zip"));
}

TEST_F(ReportRunTest, TheMessageThatEndsARunNamesTheArchiveItLeft)
{
    writeFile(temp / "root/var/log/gathered.log", "gathered");
    writeFile(dataXml, "<c><Absolute_Path_Files><f>var/log/gathered.log</f></Absolute_Path_Files>"
                       "<Home_Path_Files/></c>");
    const PressResult placed = press();
    ASSERT_TRUE(placed.reportPlaced);
    EXPECT_EQ(machine.reporter.shown.back().message.archivePath, placed.archivePath);
    std::filesystem::remove(placed.archivePath);

    // Without the driver folder the run fails after the files were gathered;
    // the box shows before the press returns, so its message names the file.
    std::filesystem::remove(temp / "root/Library/Printers/Quorvel");
    const PressResult failed = press();
    ASSERT_TRUE(failed.failure);
    ASSERT_FALSE(failed.archivePath.empty()) << "the gathered file stays in a partial archive";
    EXPECT_EQ(machine.reporter.shown.back().message.archivePath, failed.archivePath);
}

TEST_F(ReportRunTest, CreatesAMissingDesktopFolder)
{
    ::rmdir((home + "/Desktop").c_str());
    ASSERT_TRUE(press().reportPlaced);
    EXPECT_TRUE(unzipTestPasses(home + "/Desktop/Telvarin_03_07_2011__02_05_PM.zip"));
}

TEST_F(ReportRunTest, FallsBackToTheAccountsHomeWhenHomeIsUnset)
{
    machine.environment.variables.erase("HOME");
    machine.environment.accountHome = home;
    ASSERT_TRUE(press().reportPlaced);
    EXPECT_TRUE(pathExists(home + "/Desktop/Telvarin_03_07_2011__02_05_PM.zip"));
}

TEST_F(ReportRunTest, AnArchiveThatCannotBeWrittenIsAFailureNotASuccess)
{
    // The place for the archive is taken by a plain file.
    PressResult result = press(temp / "data.xml/report.zip");
    EXPECT_FALSE(result.reportPlaced);
    EXPECT_EQ(result.failure.value().code, ERROR_ARCHIVE_WRITE);
    ASSERT_FALSE(machine.reporter.shown.empty());
    // The sentence stays the code's own; the folder and the reason come with it.
    const auto& shown = machine.reporter.shown.back();
    EXPECT_EQ(shown.text, "Error code 15 occured");
    EXPECT_TRUE(shown.error);
    ASSERT_TRUE(shown.detail);
    EXPECT_EQ(shown.detail->step, FailedStep::writeInArchiveFolder);
    EXPECT_EQ(shown.detail->path, temp / "data.xml");
    EXPECT_EQ(shown.detail->errorNumber, ENOTDIR);
    ASSERT_TRUE(result.failure.value().detail);
    EXPECT_EQ(result.failure->detail->path, shown.detail->path);

    if (geteuid() != 0) {
        // A desktop the user may not write to.
        chmod((home + "/Desktop").c_str(), 0555);
        result = press();
        chmod((home + "/Desktop").c_str(), 0755);
        EXPECT_EQ(result.failure.value().code, ERROR_ARCHIVE_WRITE);
    }
}

TEST_F(ReportRunTest, TellsTheListedFilesBytesThenEachFileAndTheLastStepsAndStopsWhenAsked)
{
    const std::string big = randomBytes(3 * ParallelZipWriter::BLOCK_SIZE / 2, 1);
    writeFile(temp / "root/var/log/big.log", big);
    writeFile(temp / "root/var/log/small.log", "small");
    writeFile(dataXml, "<c><Absolute_Path_Files><f>var/log/big.log</f><f>var/log/absent.log</f>"
                       "<f>var/log/small.log</f></Absolute_Path_Files><Home_Path_Files/></c>");
    const std::uint64_t total = big.size() + 5;
    const std::string desktop = home + "/Desktop";

    // Asked at each of these, the run stops at its next checkpoint; asked
    // once the report is being finished, it comes too late.
    const struct {
        std::string cancelAt;
        bool cancelled;
    } cases[] = {
        {"", false},      {"counted", true}, {"block 1", true}, {"copying /var/log/small.log", true},
        {"step 1", true}, {"step 2", true},  {"step 3", false},
    };
    for (const auto& [cancelAt, cancelled] : cases) {
        SCOPED_TRACE("cancelled at " + cancelAt);
        machine.reporter.shown.clear();
        RecordingProgress progress;
        progress.cancelAt = cancelAt;
        RecordingIndicator indicator(machine.reporter);
        ReportRequest request{dataXml, std::nullopt};
        request.progress = &progress;
        request.cancellation = &progress.cancellation;

        const PressResult result = runReportPress(indicator, request);

        EXPECT_EQ(result.cancelled, cancelled);
        EXPECT_EQ(result.reportPlaced, !cancelled);
        EXPECT_EQ(indicator.events.size(), 2u) << "started and stopped once";
        if (!cancelled) {
            EXPECT_EQ(progress.events,
                      (std::vector<std::string>{"counted " + std::to_string(total), "copying /var/log/big.log",
                                                "copying /var/log/small.log", "step 1", "step 2", "step 3"}));
            EXPECT_EQ(progress.copied, total);
            EXPECT_GE(progress.blocks, 3);
            std::filesystem::remove(result.archivePath);
            continue;
        }
        EXPECT_EQ(result.message, "The report was cancelled");
        EXPECT_FALSE(result.failure);
        EXPECT_TRUE(result.archivePath.empty());
        EXPECT_TRUE(result.entries.empty());
        // No box says how it ended: the user asked for it.
        for (const auto& shown : machine.reporter.shown)
            EXPECT_EQ(shown.text, "No recognized printer found, the report will only contain log files.");
        EXPECT_TRUE(std::filesystem::is_empty(desktop)) << "nothing left, not even a hidden file";
    }
}

// The archive's entry sink on the running machine, where sysfs gives every
// attribute the size of a page and far fewer bytes.
TEST(ArchiveEntrySink, LogsAFileThatEndedBeforeTheSizeItHadWhenOpened)
{
    const std::string attribute = "/sys/devices/system/cpu/online";
    const std::string text = pathExists(attribute) ? readWholeFile(attribute) : std::string();
    struct stat status {};
    if (text.empty() || stat(attribute.c_str(), &status) != 0 || status.st_size <= static_cast<off_t>(text.size()))
        GTEST_SKIP() << "no sysfs attribute that says it is larger than it is";
    TempDir temp;
    RunLog log;
    CollectionNotes notes;
    auto archive = ZipArchive::create(temp / "report.zip");

    EXPECT_EQ(ArchiveEntrySink(archive.get(), log, notes).tryToAdd(attribute, "online"), platform::FileKind::regular);

    EXPECT_EQ(log.text(), "Stored only " + std::to_string(text.size()) + " bytes of the path \"" + attribute +
                              "\": it ended short of the " + std::to_string(status.st_size) +
                              " bytes it had when opened\r\n");
    archive->close();
    EXPECT_EQ(readZipEntry(temp / "report.zip", "online"), text);
}

TEST(ErrorMessages, EveryCodeHasItsSentence)
{
    EXPECT_EQ(messageForErrorCode(4), "An error occured while trying to read a file");
    EXPECT_EQ(messageForErrorCode(5), "Could not find data.xml");
    for (int code : {6, 7, 8, 9})
        EXPECT_EQ(messageForErrorCode(code), "Could not parse data.xml (error code " + std::to_string(code) + ")");
    EXPECT_EQ(messageForErrorCode(13), "An error occured while trying to communicate with the printer");
    EXPECT_EQ(messageForErrorCode(14), "Could not find driver directory");
    for (int code : {3, 10, 11, 12, 15, 0})
        EXPECT_EQ(messageForErrorCode(code), "Error code " + std::to_string(code) + " occured");
    EXPECT_EQ(messageForErrorCode(-536870212), "Error code -536870212 occured");
}

TEST(ErrorMessages, OnlyTheReportsOwnCodesAreTakenForCodes)
{
    auto failureOf = [](auto raise) {
        try {
            raise();
        } catch (...) {
            return currentFailure();
        }
        return UserMessage{};
    };
    const UserMessage coded = failureOf([] { throw CodedFailure{13}; });
    EXPECT_EQ(coded.kind, UserMessage::Kind::failure);
    EXPECT_EQ(coded.text, "An error occured while trying to communicate with the printer");
    EXPECT_FALSE(coded.detail) << "a code thrown without a detail says nothing of one";
    // A library's int (a USB result, say) is no code of the report's.
    const UserMessage stray = failureOf([] { throw 13; });
    EXPECT_EQ(stray.kind, UserMessage::Kind::unexpectedFailure);
    EXPECT_EQ(stray.code, 0);
    EXPECT_EQ(stray.text, "An unexpected error occured, no report was made");
}

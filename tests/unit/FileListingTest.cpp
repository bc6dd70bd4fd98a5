// The listing of what a report would collect, on the fake machine: what it
// finds and misses, that it reaches neither printer nor system facts, and
// that its misses are the ones a run's log names; its text, and the text of
// names shown on a terminal.
#include "ConfiguredFileCollection.h"
#include "ErrorMessages.h"
#include "FileListing.h"
#include "ListingText.h"
#include "ReportPress.h"
#include "TerminalText.h"
#include "CommandLineSupport.h"
#include "FakeServices.h"
#include "FakeSystemFacts.h"
#include "SimulatedPrinter.h"
#include "SystemFacts.h"
#include "TestFiles.h"

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
        return std::nullopt;
    }
    std::optional<platform::OperatingSystemVersion> operatingSystemVersion() const override
    {
        return refuse<std::optional<platform::OperatingSystemVersion>>();
    }
    std::optional<std::uint64_t> processorClockHertz() const override { return refuse<std::optional<std::uint64_t>>(); }
    std::optional<std::string> architectureDescription() const override { return refuse<std::optional<std::string>>(); }
    std::optional<int> logicalProcessorCount() const override { return refuse<std::optional<int>>(); }
    std::optional<std::string> hardwareModel() const override { return refuse<std::optional<std::string>>(); }
    std::optional<std::uint64_t> physicalMemoryBytes() const override { return refuse<std::optional<std::uint64_t>>(); }
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

    ASSERT_TRUE(listing.listed) << listing.message;
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
    EXPECT_EQ(ConfiguredFileCollection::pathsNamedMissing(run.log), missingPaths(listing.paths));
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
        EXPECT_EQ(listing.errorCode, code);
        EXPECT_TRUE(listing.paths.empty());
        ASSERT_EQ(machine.reporter.shown.size(), 1u);
        EXPECT_TRUE(machine.reporter.shown[0].error);
        EXPECT_EQ(machine.reporter.shown[0].text, messageForErrorCode(code));
    }
    EXPECT_EQ(listConfiguredFiles(std::nullopt).errorCode, 5);
}

TEST(RunLogMisses, AreThePathsOfBothKindsOfMissLineInLogOrder)
{
    const std::string log = "Could not find the path \"/etc/a.conf\"\r\n"
                            "Could not read the version of /Library/Printers/Quorvel/X.bundle\r\n"
                            "Added no files for the astricked path \"/var/log/*.log\"\r\n"
                            "Could not find the path \"/home/odd\r\nname/b.log\"\r\n";
    EXPECT_EQ(ConfiguredFileCollection::pathsNamedMissing(log),
              (std::vector<std::string>{"/etc/a.conf", "/var/log/*.log", "/home/odd\r\nname/b.log"}));
    EXPECT_TRUE(ConfiguredFileCollection::pathsNamedMissing("").empty());
}

TEST(ListingText, GivesSizesMissesAndTheTotalAndEscapesOnlyForATerminal)
{
    const std::vector<ListedPath> paths = {
        {"/var/log/a.log", true, 4}, {"/etc/missing\n.conf", false, 0}, {"/x/\x1b[2J.log", true, 10}};
    EXPECT_EQ(listingText(paths, false),
              "4\t/var/log/a.log\nmissing\t/etc/missing\n.conf\n10\t/x/\x1b[2J.log\n14\ttotal\n");
    EXPECT_EQ(listingText(paths, true),
              "4\t/var/log/a.log\nmissing\t/etc/missing\\n.conf\n10\t/x/\\033[2J.log\n14\ttotal\n");
    EXPECT_EQ(listingText({}, true), "0\ttotal\n");
}

TEST(TerminalText, EscapesEveryByteATerminalActsOnAndKeepsPrintableUtf8)
{
    const std::pair<std::string, std::string> cases[] = {
        {"plain name.log", "plain name.log"},
        {"Grüße, 日本, 🖨.log", "Grüße, 日本, 🖨.log"},
        {"a\tb\nc\rd\ae\bf\vg\fh", "a\\tb\\nc\\rd\\ae\\bf\\vg\\fh"},
        {"\x1b]0;title\x07", "\\033]0;title\\a"},
        {std::string("nul\0byte", 8), "nul\\000byte"},
        {"del\x7f", "del\\177"},
        {"back\\slash", "back\\\\slash"},
        // C1 controls, as UTF-8 and as stray bytes; broken sequences.
        {"\xc2\x9b" "31m", "\\302\\23331m"},
        {"\x9b" "31m", "\\23331m"},
        {"\xc3(", "\\303("},
        {"\xed\xa0\x80", "\\355\\240\\200"},
    };
    for (const auto& [text, escaped] : cases)
        EXPECT_EQ(escapedForTerminal(text), escaped) << text;
}

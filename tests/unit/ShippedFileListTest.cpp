// The data.xml that ships with the tool: well-formed, every form in use,
// collected whole from a machine that has all of it, and by the real
// telvarin-report from a user's home.
#include "ConfiguredPaths.h"
#include "FileReaderClass.h"
#include "TelvarinGenerator.h"
#include "XmlParserClass.h"
#include "FakeServices.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace testing_support;

namespace {

const std::string SHIPPED_DATA_XML = std::string(TELVARIN_SOURCE_DIR) + "/resources/data.xml";

std::map<std::string, std::list<std::string>> shippedSections()
{
    return XmlParserClass::getSingleLevelDepthXmlDict(SHIPPED_DATA_XML.c_str());
}

std::string withWildcardFilledIn(std::string path)
{
    auto star = path.find('*');
    if (star != std::string::npos)
        path.replace(star, 1, "1");
    return path;
}

} // namespace

TEST(ShippedFileList, NamesTheMakersFilesInEveryForm)
{
    auto sections = shippedSections();
    ASSERT_EQ(sections.count("Absolute_Path_Files"), 1u);
    ASSERT_EQ(sections.count("Home_Path_Files"), 1u);
    std::size_t total = 0, destination = 0, wildcard = 0, plain = 0;
    for (const char* name : {"Absolute_Path_Files", "Home_Path_Files"}) {
        for (const auto& text : sections[name]) {
            ++total;
            ConfiguredPathText parts = ConfiguredPathText::split(text);
            EXPECT_NE(parts.sourcePath.front(), '/') << text;
            if (parts.sourcePath.find('*') != std::string::npos)
                ++wildcard;
            else if (parts.hasDestinationFolder)
                ++destination;
            else
                ++plain;
        }
    }
    EXPECT_GE(total, 10u);
    EXPECT_LE(total, 20u);
    EXPECT_GT(plain, 0u);
    EXPECT_GT(destination, 0u);
    EXPECT_GT(wildcard, 0u);
}

TEST(ShippedFileList, IsCollectedWholeFromAMachineThatHasEverything)
{
    TempDir temp;
    FakeMachine machine;
    machine.environment.variables["HOME"] = "/home/ada";
    platform::Services extra;
    machine.collectFrom(temp / "root");
    makeMakersFolders(temp / "root");
    auto installed = machine.install(extra);

    auto sections = shippedSections();
    for (const auto& [name, base] : {std::pair<std::string, std::string>{"Absolute_Path_Files", ""},
                                     std::pair<std::string, std::string>{"Home_Path_Files", "/home/ada"}})
        for (const auto& text : sections[name])
            writeFile(temp.path() + "/root" + base + "/" +
                          withWildcardFilledIn(ConfiguredPathText::split(text).sourcePath),
                      text);

    TelvarinGenerator generator;
    generator.generateReport((temp / "report.zip").c_str(), SHIPPED_DATA_XML.c_str());
    // Nothing missed, nothing refused.
    EXPECT_EQ(generator.log(), "");
    auto names = readZipEntryNames(temp / "report.zip");
    EXPECT_EQ(names.size(), sections["Absolute_Path_Files"].size() + sections["Home_Path_Files"].size() + 2);
    EXPECT_NE(std::find(names.begin(), names.end(), "/var/log/quorvel/quorvel-backend.log"), names.end());
    EXPECT_NE(std::find(names.begin(), names.end(), "Logs/usb-transfer.log"), names.end());
    EXPECT_NE(std::find(names.begin(), names.end(), "/home/ada/.config/quorvel/printer-utility.conf"), names.end());
}

TEST(ShippedFileList, TheRealProgramCollectsAUsersFiles)
{
    // A customer's system under a root of its own; the archive goes beside it.
    TempDir temp;
    const std::string root = temp / "root";
    const std::string home = "/home/ada";
    writeFile(root + home + "/.config/quorvel/printer-utility.conf", "[utility]\nlanguage=en\n");
    writeFile(root + home + "/.config/quorvel/printers/office.conf", "[office]\nmodel=Q-200\n");
    writeFile(root + home + "/.local/share/quorvel/logs/printer-utility.log", "utility started\n");
    writeFile(root + home + "/.local/share/quorvel/logs/usb-transfer.log", "bulk out 64 bytes\n");
    makeMakersFolders(root);
    makeDirectories(temp / "out");

    ProcessResult result = runProcess(
        {TELVARIN_REPORT_EXECUTABLE, "--sysroot", root, "--output", temp / "out"}, {{"HOME", home}});
    ASSERT_EQ(result.exitStatus, 0) << result.standardOutput << result.standardError;

    const std::string printers = home + "/.config/quorvel/printers/";
    const std::string logs = home + "/.local/share/quorvel/logs/";
    const std::string expectedHomeLines =
        "path found: " + home + "/.config/quorvel/printer-utility.conf\n"
        "Trying to add path " + printers + "office.conf from astericked path " + printers + "*.conf\n"
        "Added path " + printers + "office.conf from astericked path " + printers + "*.conf\n"
        "added 1 files from the astericked path: " + printers + "*.conf\n"
        "Trying to add path " + logs + "printer-utility.log from astericked path " + logs + "printer-utility*.log\n"
        "Added path " + logs + "printer-utility.log from astericked path " + logs + "printer-utility*.log\n"
        "added 1 files from the astericked path: " + logs + "printer-utility*.log\n"
        "path found: " + logs + "usb-transfer.log\n"
        "added 0 files from the astericked path: " + home + "/.local/state/quorvel/crash-*.txt\n"
        "path not found: " + home + "/.cups/lpoptions\n";
    EXPECT_NE(result.standardOutput.find(expectedHomeLines), std::string::npos) << result.standardOutput;

    std::list<std::string> reports;
    FileReaderClass::listDir(temp / "out", &reports);
    ASSERT_EQ(reports.size(), 1u);
    const std::string archive = temp / ("out/" + reports.front());
    auto names = readZipEntryNames(archive);
    for (const std::string& expected : {home + "/.config/quorvel/printer-utility.conf",
                                       std::string("Settings/user-printers/office.conf"),
                                       std::string("Logs/printer-utility.log"), std::string("Logs/usb-transfer.log")})
        EXPECT_NE(std::find(names.begin(), names.end(), expected), names.end()) << expected;
    EXPECT_EQ(readZipEntry(archive, "Logs/usb-transfer.log"), "bulk out 64 bytes\n");
    const std::string log = readZipEntry(archive, "reportData/reportGeneratorLog.log");
    const std::string expectedLogEnd = "Added no files for the astricked path \"" + home +
                                       "/.local/state/quorvel/crash-*.txt\"\r\n"
                                       "Could not find the path \"" + home + "/.cups/lpoptions\"\r\n";
    ASSERT_GE(log.size(), expectedLogEnd.size());
    EXPECT_EQ(log.substr(log.size() - expectedLogEnd.size()), expectedLogEnd);
}

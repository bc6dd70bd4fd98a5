// The data.xml that ships with the tool: well-formed, every form in use, and
// collected whole from a machine that has all of it. The real
// telvarin-report's run over a user's home is in tests/cli/ProgramRunTest.cpp.
#include "core/filelist/ConfiguredPaths.h"
#include "core/filelist/XmlParserClass.h"
#include "core/reading/FileReaderClass.h"
#include "core/report/TelvarinGenerator.h"
#include "tests/doubles/FakeServices.h"
#include "tests/doubles/TestFiles.h"

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

// The driver bundle and application scans over real bundle directories with
// real XML and binary Info.plist files, read through the file-system root.
#include "base/ErrorCodes.h"
#include "core/report/TelvarinGenerator.h"
#include "platform/linux/InfoPlistBundleReader.h"
#include "tests/doubles/Expectations.h"
#include "tests/doubles/FakeServices.h"
#include "tests/doubles/FakeSystemFacts.h"
#include "tests/doubles/TestFiles.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>

using namespace testing_support;

namespace {

const char* const DRIVER_HEAD = "Could not get driver bundle version for ";
const char* const APPLICATION_HEAD = "Could not get application version for ";

class VersionScan : public ::testing::Test {
protected:
    TempDir root;
    FakeMachine machine;
    platform::ScopedServices installed = machine.installCollectingFrom(root.path());
    TelvarinGenerator generator;
    const std::string drivers = root / "Library/Printers/Quorvel";
    const std::string applications = root / "Applications";

    void SetUp() override
    {
        makeDirectories(drivers);
        makeDirectories(applications);
    }

    // The names of a directory in the order the system reads them.
    static std::vector<std::string> directoryOrder(const std::string& directory)
    {
        std::vector<std::string> names = listFolder(directory, NameOrder::asRead);
        std::erase(names, ".DS_Store");
        return names;
    }

    static std::string expectedList(const std::string& directory, const std::map<std::string, std::string>& versions)
    {
        std::string list;
        for (const std::string& name : directoryOrder(directory)) {
            auto found = versions.find(name);
            if (found == versions.end())
                continue;
            list += (list.empty() ? "" : ";") + name + "," + found->second;
        }
        return list;
    }

    std::string logFor(const std::string& head, const std::vector<std::string>& namesInOrder) const
    {
        std::string log;
        for (const std::string& name : namesInOrder)
            log += head + ("\"" + name + "\"") + "\r\n";
        return log;
    }
};

} // namespace

TEST_F(VersionScan, ListsVersionedDriverBundlesInDirectoryOrderAndLogsTheRest)
{
    const std::map<std::string, std::string> versions = {
        {"A.bundle", "2.1"}, {"B.bundle", "3.0.4"},     {"Zeta.bundle", "1.0"},
        {"mid.bundle", "7"}, {"Q,1;x.bundle", "9;9,9"}, {"Last.bundle", "10.6.8"},
    };
    int index = 0;
    for (const auto& [name, version] : versions)
        writeBundle(drivers + "/" + name,
                    versionPropertyList(version, index++ % 2 ? PlistFormat::binary : PlistFormat::xml));
    writeBundle(drivers + "/NoVersion.bundle",
                dictionaryPropertyList({{"CFBundleName", plist_new_string("x")}}, PlistFormat::xml));
    writeBundle(drivers + "/EmptyVersion.bundle", versionPropertyList("", PlistFormat::binary));
    writeFile(drivers + "/.DS_Store", "junk");
    writeFile(drivers + "/readme.txt", "not a bundle");

    std::string list = generator.getDriverBundleVersions();

    EXPECT_EQ(list, expectedList(drivers, versions));
    std::vector<std::string> missing;
    for (const std::string& name : directoryOrder(drivers))
        if (name == "NoVersion.bundle" || name == "EmptyVersion.bundle")
            missing.push_back(name);
    EXPECT_EQ(generator.log(), logFor(DRIVER_HEAD, missing));
}

TEST_F(VersionScan, ApplicationsOfOtherEndingsOrInSubfoldersAreIgnoredSilently)
{
    for (const char* name : {"Tool.APP", "Tool.app.zip", "notes.txt", "Utilities/Inner.app"})
        writeBundle(applications + "/" + name, versionPropertyList("1.0", PlistFormat::xml));
    makeDirectories(applications + "/Tool.app");
    writeBundle(applications + "/Editor.app", versionPropertyList("5.2.1", PlistFormat::binary));

    EXPECT_EQ(generator.getApplicationVersionData(), "Editor.app,5.2.1");
    EXPECT_EQ(generator.log(), logFor(APPLICATION_HEAD, {"Tool.app"}));
}

TEST_F(VersionScan, EmptyOrBundlelessDirectoriesGiveEmptyListsAndNoLog)
{
    EXPECT_EQ(generator.getDriverBundleVersions(), "");
    writeFile(applications + "/notes.txt", "x");
    EXPECT_EQ(generator.getApplicationVersionData(), "");
    EXPECT_EQ(generator.log(), "");
    EXPECT_EQ(TelvarinGenerator::getBundleVersion("/Applications/Nothing.app"), "");
}

TEST_F(VersionScan, UnreadableDictionariesAreLoggedAndLeftOut)
{
    const std::map<std::string, std::string> broken = {
        {"Integer.app", dictionaryPropertyList({{"CFBundleVersion", plist_new_uint(5)}}, PlistFormat::xml)},
        {"Real.app", dictionaryPropertyList({{"CFBundleVersion", plist_new_real(1.5)}}, PlistFormat::binary)},
        {"Bool.app", dictionaryPropertyList({{"CFBundleVersion", plist_new_bool(1)}}, PlistFormat::binary)},
        {"Nested.app", dictionaryPropertyList({{"CFBundleVersion", plist_new_dict()}}, PlistFormat::xml)},
        {"Malformed.app", "<?xml version=\"1.0\"?><plist><dict><key>CFBundleVersion</key><string>1.0"},
        {"Truncated.app", versionPropertyList("1.0", PlistFormat::binary).substr(0, 40)},
        {"Empty.app", ""},
        {"Garbage.app", std::string("\x00\xff\x01 not a list", 15)},
        {"ArrayTop.app", "<plist version=\"1.0\"><array><string>CFBundleVersion</string></array></plist>"},
        {"Latin1.app",
         "<plist version=\"1.0\"><dict><key>CFBundleVersion</key><string>1.0\xe9</string></dict></plist>"},
        {"Huge.app", versionPropertyList("1.0", PlistFormat::xml) + std::string(5 * 1024 * 1024, ' ')},
    };
    for (const auto& [name, contents] : broken)
        writeBundle(applications + "/" + name, contents);
    writeFile(applications + "/Plain.app", versionPropertyList("1.0", PlistFormat::xml));
    makeDirectories(applications + "/Folder.app/Contents/Info.plist");
    makeDirectories(applications + "/Pipe.app/Contents");
    ASSERT_EQ(mkfifo((applications + "/Pipe.app/Contents/Info.plist").c_str(), 0600), 0);
    ASSERT_EQ(symlink("nowhere", (applications + "/Dangling.app").c_str()), 0);
    writeBundle(applications + "/Good.app", versionPropertyList("2.0", PlistFormat::xml));

    EXPECT_EQ(generator.getApplicationVersionData(), "Good.app,2.0");
    std::vector<std::string> logged;
    for (const std::string& name : directoryOrder(applications))
        if (name != "Good.app")
            logged.push_back(name);
    EXPECT_EQ(generator.log(), logFor(APPLICATION_HEAD, logged));
}

TEST_F(VersionScan, HostilePropertyListsAreRefusedQuicklyInsteadOfExhaustingTheMachine)
{
    // Forty arrays that each hold the next one twice expand to 2^40 objects.
    std::vector<std::string> doubling;
    for (std::uint16_t i = 0; i < 40; ++i)
        doubling.push_back(binaryArrayOf({static_cast<std::uint16_t>(i + 1), static_cast<std::uint16_t>(i + 1)}));
    doubling.push_back(binaryArrayOf({}));
    writeBundle(applications + "/Doubling.app", handMadeBinaryPlist(doubling));

    // Nesting deep enough to overflow a recursive parser's stack.
    std::vector<std::string> deep;
    for (std::uint16_t i = 0; i < 60000; ++i)
        deep.push_back(binaryArrayOf({static_cast<std::uint16_t>(i + 1)}));
    deep.push_back(binaryArrayOf({}));
    writeBundle(applications + "/DeepBinary.app", handMadeBinaryPlist(deep));
    std::string deepXml = "<plist version=\"1.0\">";
    for (int i = 0; i < 500000; ++i)
        deepXml += "<dict>";
    writeBundle(applications + "/DeepXml.app", deepXml);

    writeBundle(applications + "/Cycle.app", handMadeBinaryPlist({binaryArrayOf({1}), binaryArrayOf({0})}));

    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(generator.getApplicationVersionData(), "");
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(10));
    EXPECT_EQ(std::count(generator.log().begin(), generator.log().end(), '\n'), 4);
}

TEST_F(VersionScan, LargeButOrdinaryDictionariesAreStillRead)
{
    // Thousands of entries, repeated values that the binary writer shares,
    // and a dozen levels of nesting, as big applications have.
    plist_t types = plist_new_array();
    for (int i = 0; i < 3000; ++i) {
        plist_t type = plist_new_dict();
        plist_dict_set_item(type, "CFBundleTypeRole", plist_new_string("Viewer"));
        plist_dict_set_item(type, "IsDefaultForType", plist_new_bool(1));
        plist_t extensions = plist_new_array();
        plist_array_append_item(extensions, plist_new_string(("ext" + std::to_string(i)).c_str()));
        plist_dict_set_item(type, "CFBundleTypeExtensions", extensions);
        plist_array_append_item(types, type);
    }
    plist_t nested = plist_new_string("leaf");
    for (int i = 0; i < 12; ++i) {
        plist_t level = plist_new_array();
        plist_array_append_item(level, nested);
        nested = level;
    }
    plist_t typesCopy = plist_copy(types);
    plist_t nestedCopy = plist_copy(nested);
    writeBundle(applications + "/BigBinary.app",
                dictionaryPropertyList(
                    {{"CFBundleDocumentTypes", types}, {"Deep", nested}, {"CFBundleVersion", plist_new_string("12.4")}},
                    PlistFormat::binary));
    writeBundle(applications + "/BigXml.app", dictionaryPropertyList({{"CFBundleDocumentTypes", typesCopy},
                                                                      {"Deep", nestedCopy},
                                                                      {"CFBundleVersion", plist_new_string("3.1")}},
                                                                     PlistFormat::xml));

    EXPECT_EQ(TelvarinGenerator::getBundleVersion("/Applications/BigBinary.app"), "12.4");
    EXPECT_EQ(TelvarinGenerator::getBundleVersion("/Applications/BigXml.app"), "3.1");
}

TEST_F(VersionScan, VersionsAreConvertedToMacRomanOrEndTheScanWithCode3)
{
    writeBundle(applications + "/Accent.app", versionPropertyList("1.0 \xc3\xa9\xe2\x84\xa2", PlistFormat::xml));
    // \xc3\xa9 (e acute) is 0x8E in Mac Roman, \xe2\x84\xa2 (trade mark) 0xAA.
    EXPECT_EQ(TelvarinGenerator::getBundleVersion("/Applications/Accent.app"), "1.0 \x8e\xaa");

    // A check mark has no Mac Roman form.
    writeBundle(applications + "/Check.app", versionPropertyList("1.0 \xe2\x9c\x93", PlistFormat::binary));
    EXPECT_EQ(codeThrownBy([] { TelvarinGenerator::getBundleVersion("/Applications/Check.app"); }),
              ERROR_STRING_CONVERSION);

    // The scan ends, but what it logged before stays.
    writeBundle(drivers + "/None.bundle", dictionaryPropertyList({}, PlistFormat::xml));
    writeBundle(drivers + "/Check.bundle", versionPropertyList("\xe2\x9c\x93", PlistFormat::xml));
    const auto order = directoryOrder(drivers);
    EXPECT_EQ(codeThrownBy([this] { generator.getDriverBundleVersions(); }), ERROR_STRING_CONVERSION);
    if (order.front() == "None.bundle")
        EXPECT_EQ(generator.log(), logFor(DRIVER_HEAD, {"None.bundle"}));
    else
        EXPECT_EQ(generator.log(), "");
}

TEST_F(VersionScan, UnlistableDirectoriesEndTheScanWithTheirCodes)
{
    writeBundle(drivers + "/None.bundle", dictionaryPropertyList({}, PlistFormat::binary));
    ASSERT_EQ(rmdir(applications.c_str()), 0);
    EXPECT_EQ(generator.getDriverBundleVersions(), "");
    EXPECT_EQ(codeThrownBy([this] { generator.getApplicationVersionData(); }), ERROR_APPLICATION_DIRECTORY);
    EXPECT_EQ(generator.log(), logFor(DRIVER_HEAD, {"None.bundle"}));

    writeFile(applications, "a file where the directory should be");
    EXPECT_EQ(codeThrownBy([this] { generator.getApplicationVersionData(); }), ERROR_APPLICATION_DIRECTORY);

    TelvarinGenerator fresh;
    ASSERT_EQ(rename(drivers.c_str(), (root / "elsewhere").c_str()), 0);
    EXPECT_EQ(codeThrownBy([&] { fresh.getDriverBundleVersions(); }), ERROR_DRIVER_DIRECTORY);
    EXPECT_EQ(fresh.log(), "");
}

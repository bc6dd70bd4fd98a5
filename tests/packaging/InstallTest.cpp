// The installed tree: `cmake --install` into a temporary prefix lays out the
// programs, their data, the desktop files and the man pages, the desktop
// checkers accept them, and the installed telvarin-report runs from there.
#include "tests/doubles/CommandLineSupport.h"
#include "tests/doubles/Expectations.h"
#include "tests/doubles/TestFiles.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <regex>
#include <set>

using namespace testing_support;

namespace {

const std::string APP_ID = "com.quorvel.TelvarinGenerator";

bool isExecutableFile(const std::string& path)
{
    struct stat status {};
    return stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) && (status.st_mode & S_IXOTH);
}

// The value of a key of a desktop entry, or nothing.
std::string desktopValue(const std::string& entry, const std::string& key)
{
    for (const auto& line : splitLines(entry))
        if (line.rfind(key + "=", 0) == 0)
            return line.substr(key.size() + 1);
    return {};
}

class InstalledTree : public ::testing::Test {
protected:
    TempDir temp;
    std::string prefix = temp / "prefix";

    void SetUp() override
    {
        ProcessResult install = runProcess({"cmake", "--install", buildDirectory(), "--prefix", prefix}, {});
        ASSERT_EQ(install.exitStatus, 0) << install.standardOutput << install.standardError;
    }

    std::string installed(const std::string& relative) const { return prefix + "/" + relative; }
    bool hasWindow() const { return isExecutableFile(installed("bin/telvarin-generator")); }
};

} // namespace

TEST_F(InstalledTree, HoldsTheProgramsTheirDataAndTheirDocumentation)
{
    EXPECT_TRUE(isExecutableFile(installed("bin/telvarin-report")));
    EXPECT_TRUE(pathExists(installed("share/telvarin-generator/data.xml")));
    EXPECT_TRUE(pathExists(installed("share/man/man1/telvarin-report.1.gz")));
    EXPECT_TRUE(pathExists(installed("share/doc/telvarin-generator/copyright")));
    EXPECT_TRUE(pathExists(installed("share/bash-completion/completions/telvarin-report")));

    // The menu entry, its icon, the AppStream data and the window's man page
    // come with the window, and only with it: a menu entry must not offer a
    // program that is not there.
    for (const std::string& relative :
         {"share/applications/" + APP_ID + ".desktop", "share/icons/hicolor/scalable/apps/" + APP_ID + ".svg",
          "share/metainfo/" + APP_ID + ".metainfo.xml", std::string("share/man/man1/telvarin-generator.1.gz"),
          std::string("share/telvarin-generator/support.conf")})
        EXPECT_EQ(pathExists(installed(relative)), hasWindow()) << relative;
}

TEST_F(InstalledTree, ManPagesFormatCleanlyAndDocumentEveryOption)
{
    if (!isOnPath("man"))
        GTEST_SKIP() << "man is not installed";
    std::vector<std::string> pages = {"telvarin-report"};
    if (hasWindow())
        pages.push_back("telvarin-generator");
    const std::map<std::string, std::string> environment = {
        {"HOME", temp.path()}, {"LC_ALL", "C.UTF-8"}, {"MANWIDTH", "80"}, {"MANPAGER", "cat"}};

    for (const auto& page : pages) {
        SCOPED_TRACE(page);
        const std::string file = installed("share/man/man1/" + page + ".1.gz");
        // What lintian runs on a package's man pages.
        ProcessResult check = runProcess({"man", "--warnings", "-E", "UTF-8", "-l", "-Tutf8", "-Z", file}, environment);
        EXPECT_EQ(check.exitStatus, 0);
        EXPECT_EQ(check.standardError, "");

        // What a distribution's reviewers run: not even a style remark.
        if (isOnPath("mandoc")) {
            ProcessResult lint = runProcess({"mandoc", "-T", "lint", file}, environment);
            EXPECT_EQ(lint.exitStatus, 0);
            EXPECT_EQ(lint.standardOutput + lint.standardError, "");
        }
        // The sources keep within 80 columns too, and each section comes once.
        const auto source =
            splitLines(readWholeFile(std::string(TELVARIN_SOURCE_DIR) + "/resources/" + page + ".1.in"));
        std::set<std::string> sections;
        for (std::size_t i = 0; i < source.size(); ++i) {
            EXPECT_LE(source[i].size(), 80u) << "line " << i + 1;
            if (source[i].rfind(".SH ", 0) == 0) {
                EXPECT_TRUE(sections.insert(source[i]).second) << source[i];
            }
        }

        ProcessResult shown = runProcess({"man", "-l", file}, environment);
        EXPECT_EQ(shown.exitStatus, 0) << shown.standardError;
        EXPECT_NE(shown.standardOutput.find("NAME"), std::string::npos);
        // The release's date in the footer, as YYYY-MM-DD.
        EXPECT_TRUE(std::regex_search(splitLines(shown.standardOutput).back(),
                                      std::regex(R"(   20[0-9]{2}-[01][0-9]-[0-3][0-9]   )")))
            << splitLines(shown.standardOutput).back();
        EXPECT_NE(shown.standardOutput.find("REPORTING BUGS"), std::string::npos);
        if (page == "telvarin-report") {
            for (const char* option : {"--output DIR", "--sysroot DIR", "--data-xml FILE", "--list", "--json",
                                       "--checksum", "--help", "--version", "LISTING", "JSON SUMMARY"})
                EXPECT_NE(shown.standardOutput.find(option), std::string::npos) << option;
        }
    }
}

TEST_F(InstalledTree, DesktopEntryIconAndMetainfoPassTheirValidators)
{
    if (!hasWindow())
        GTEST_SKIP() << "built without the window: no desktop files to check";
    const std::string desktopFile = installed("share/applications/" + APP_ID + ".desktop");
    const std::string metainfo = installed("share/metainfo/" + APP_ID + ".metainfo.xml");
    const std::string icon = installed("share/icons/hicolor/scalable/apps/" + APP_ID + ".svg");

    const std::string entry = readWholeFile(desktopFile);
    const std::string program = desktopValue(entry, "Exec").substr(0, desktopValue(entry, "Exec").find(' '));
    EXPECT_TRUE(isExecutableFile(installed("bin/" + program))) << "Exec=" << program;
    EXPECT_EQ(desktopValue(entry, "Icon"), APP_ID);

    if (isOnPath("desktop-file-validate")) {
        ProcessResult validation = runProcess({"desktop-file-validate", desktopFile}, {});
        EXPECT_EQ(validation.exitStatus, 0);
        // Not even a hint.
        EXPECT_EQ(validation.standardOutput + validation.standardError, "");
    }
    if (isOnPath("appstreamcli")) {
        ProcessResult validation = runProcess(
            {"appstreamcli", "validate", "--no-net", "--pedantic", "--no-color", metainfo}, {{"HOME", temp.path()}});
        EXPECT_EQ(validation.exitStatus, 0) << validation.standardOutput << validation.standardError;
        // The one remark left: the ID has capitals, as the menu entry and the
        // icon that carry the same name have had from the first release.
        for (const auto& line : splitLines(validation.standardOutput)) {
            if (std::regex_search(line, std::regex("^[EWIP]: "))) {
                EXPECT_NE(line.find("cid-contains-uppercase-letter"), std::string::npos) << line;
            }
        }
    }

    const std::string description = readWholeFile(metainfo);
    EXPECT_NE(description.find("<launchable type=\"desktop-id\">" + APP_ID + ".desktop</launchable>"),
              std::string::npos);
    EXPECT_NE(description.find(std::string("<release version=\"") + TELVARIN_VERSION + "\""), std::string::npos);
    // The window's picture as software centres fetch it: from the published
    // sources, at the path it has in the repository.
    std::smatch screenshot;
    ASSERT_TRUE(std::regex_search(description, screenshot,
                                  std::regex(R"(<screenshot type="default">\s*<caption>([^<]+)</caption>\s*)"
                                             R"(<image type="source">(https://[^<]+)</image>)")))
        << description;
    const std::string url = screenshot[2];
    const std::string repositoryPath = "docs/window.png";
    ASSERT_GT(url.size(), repositoryPath.size());
    EXPECT_EQ(url.substr(url.size() - repositoryPath.size() - 1), "/" + repositoryPath);
    EXPECT_EQ(readWholeFile(std::string(TELVARIN_SOURCE_DIR) + "/" + repositoryPath).substr(1, 3), "PNG");

    std::string vendor = TELVARIN_QUORVEL_VID;
    for (char& digit : vendor)
        digit = static_cast<char>(std::toupper(static_cast<unsigned char>(digit)));
    EXPECT_NE(description.find("<modalias>usb:v" + vendor + "p*</modalias>"), std::string::npos);

    ProcessResult svg =
        runProcess({"python3", "-c",
                    "import sys, xml.etree.ElementTree as T; sys.exit(T.parse(sys.argv[1]).getroot().tag != "
                    "'{http://www.w3.org/2000/svg}svg')",
                    icon},
                   {});
    EXPECT_EQ(svg.exitStatus, 0) << svg.standardError;
}

TEST_F(InstalledTree, InstalledReportRunsWithItsOwnFileList)
{
    const std::string report = installed("bin/telvarin-report");
    ProcessResult version = runProcess({report, "--version"}, {});
    EXPECT_EQ(version.exitStatus, 0);
    EXPECT_EQ(splitLines(version.standardOutput).front(),
              std::string("telvarin-report (Telvarin Generator) ") + TELVARIN_VERSION);
    ProcessResult help = runProcess({report, "--help"}, {});
    EXPECT_EQ(help.exitStatus, 0);
    EXPECT_NE(help.standardOutput.find("--sysroot DIR"), std::string::npos);

    // A small system to collect from, with the directories the general
    // report lists; the file list is the one installed beside the program.
    const std::string root = temp / "root";
    const std::string output = temp / "out";
    makeDirectories(output);
    writeSampleFiles(root, "/home/u", "collected");
    writeSystemDirectories(root);
    const auto rootBefore = snapshotTree(root);

    ProcessResult run = runProcess({report, "--sysroot", root, "--output", output}, {{"HOME", "/home/u"}});

    ASSERT_EQ(run.exitStatus, 0) << run.standardError;
    const auto archives = archivesIn(output);
    ASSERT_EQ(archives.size(), 1u);
    const std::string archive = canonicalPath(output) + "/" + archives[0];
    EXPECT_EQ(splitLines(run.standardOutput).back(), archive);
    EXPECT_TRUE(unzipTestPasses(archive));
    const auto names = readZipEntryNames(archive);
    EXPECT_NE(std::find(names.begin(), names.end(), "reportData/generalInformation.dat"), names.end());
    EXPECT_NE(std::find(names.begin(), names.end(), "reportData/reportGeneratorLog.log"), names.end());
    EXPECT_EQ(snapshotTree(root), rootBefore);

    // Without its file list the installed program says so and writes nothing.
    std::filesystem::remove(installed("share/telvarin-generator/data.xml"));
    const auto outputBefore = snapshotTree(output);
    ProcessResult withoutList = runProcess({report, "--sysroot", root, "--output", output}, {{"HOME", "/home/u"}});
    EXPECT_EQ(withoutList.exitStatus, 1);
    EXPECT_NE(withoutList.standardError.find("Could not find data.xml"), std::string::npos)
        << withoutList.standardError;
    EXPECT_EQ(snapshotTree(output), outputBefore);
}

TEST_F(InstalledTree, InstalledReportCollectsTheSampleSystem)
{
    // The sample a newcomer runs from the README, read but never changed.
    const std::string sample = std::string(TELVARIN_SOURCE_DIR) + "/examples/sample-system";
    const std::string output = temp / "out";
    makeDirectories(output);
    const auto sampleBefore = snapshotTree(sample);

    ProcessResult run = runProcess({installed("bin/telvarin-report"), "--sysroot", sample, "--output", output},
                                   {{"HOME", "/home/customer"}});
    ASSERT_EQ(run.exitStatus, 0) << run.standardError;
    const std::string archive = splitLines(run.standardOutput).back();
    EXPECT_TRUE(unzipTestPasses(archive));
    EXPECT_EQ(snapshotTree(sample), sampleBefore);

    const auto names = readZipEntryNames(archive);
    for (const char* expected :
         {"/var/log/quorvel/quorvel-backend.log", "Settings/quorvel.conf", "Settings/printers.d/office.conf",
          "/home/customer/.config/quorvel/printer-utility.conf", "Logs/printer-utility.log",
          "Logs/printer-utility.2026-11-28.log"})
        EXPECT_NE(std::find(names.begin(), names.end(), expected), names.end()) << expected;

    // One bundle of each kind of Info.plist, and one without a version.
    const std::string general = readZipEntry(archive, "reportData/generalInformation.dat");
    const auto lines = testing_support::splitReportLines(general);
    ASSERT_EQ(lines.size(), 9u);
    for (const char* bundle : {"Tessaro.bundle,4.2.1", "QuorvelUSB.bundle,1.9.0"})
        EXPECT_NE(lines[7].find(bundle), std::string::npos) << lines[7];
    for (const char* application : {"Quorvel Printer Utility.app,3.0.4", "Sketchpad.app,12.1"})
        EXPECT_NE(lines[8].find(application), std::string::npos) << lines[8];
    const std::string log = readZipEntry(archive, "reportData/reportGeneratorLog.log");
    EXPECT_NE(log.find("Could not get driver bundle version for \"Legacy.bundle\"\r\n"), std::string::npos) << log;
    EXPECT_NE(log.find("Could not find the path \"/home/customer/.cups/lpoptions\"\r\n"), std::string::npos) << log;
}

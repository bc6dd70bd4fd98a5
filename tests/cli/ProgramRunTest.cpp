// Whole runs of the real telvarin-report: a customer's files collected
// through --sysroot, and a machine without the maker's driver directory.
#include "tests/doubles/TestFiles.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>

using namespace testing_support;

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

    ProcessResult result =
        runProcess({TELVARIN_REPORT_EXECUTABLE, "--sysroot", root, "--output", temp / "out"}, {{"HOME", home}});
    ASSERT_EQ(result.exitStatus, 0) << result.standardOutput << result.standardError;

    const std::string printers = home + "/.config/quorvel/printers/";
    const std::string logs = home + "/.local/share/quorvel/logs/";
    const std::string expectedHomeLines = "path found: " + home +
                                          "/.config/quorvel/printer-utility.conf\n"
                                          "Trying to add path " +
                                          printers + "office.conf from astericked path " + printers +
                                          "*.conf\n"
                                          "Added path " +
                                          printers + "office.conf from astericked path " + printers +
                                          "*.conf\n"
                                          "added 1 files from the astericked path: " +
                                          printers +
                                          "*.conf\n"
                                          "Trying to add path " +
                                          logs + "printer-utility.log from astericked path " + logs +
                                          "printer-utility*.log\n"
                                          "Added path " +
                                          logs + "printer-utility.log from astericked path " + logs +
                                          "printer-utility*.log\n"
                                          "added 1 files from the astericked path: " +
                                          logs +
                                          "printer-utility*.log\n"
                                          "path found: " +
                                          logs +
                                          "usb-transfer.log\n"
                                          "added 0 files from the astericked path: " +
                                          home +
                                          "/.local/state/quorvel/crash-*.txt\n"
                                          "path not found: " +
                                          home + "/.cups/lpoptions\n";
    EXPECT_NE(result.standardOutput.find(expectedHomeLines), std::string::npos) << result.standardOutput;

    const auto reports = listFolder(temp / "out");
    ASSERT_EQ(reports.size(), 1u);
    const std::string archive = temp / ("out/" + reports.front());
    auto names = readZipEntryNames(archive);
    for (const std::string& expected :
         {home + "/.config/quorvel/printer-utility.conf", std::string("Settings/user-printers/office.conf"),
          std::string("Logs/printer-utility.log"), std::string("Logs/usb-transfer.log")})
        EXPECT_NE(std::find(names.begin(), names.end(), expected), names.end()) << expected;
    EXPECT_EQ(readZipEntry(archive, "Logs/usb-transfer.log"), "bulk out 64 bytes\n");
    const std::string log = readZipEntry(archive, "reportData/reportGeneratorLog.log");
    const std::string expectedLogEnd = "Added no files for the astricked path \"" + home +
                                       "/.local/state/quorvel/crash-*.txt\"\r\n"
                                       "Could not find the path \"" +
                                       home + "/.cups/lpoptions\"\r\n";
    ASSERT_GE(log.size(), expectedLogEnd.size());
    EXPECT_EQ(log.substr(log.size() - expectedLogEnd.size()), expectedLogEnd);
}

TEST(GeneralInformationInTheRealProgram, WithoutTheMakersDriverDirectoryTheRunEndsWithCode14)
{
    struct stat status {};
    if (stat("/Library/Printers/Quorvel", &status) == 0)
        GTEST_SKIP() << "this machine has the maker's driver directory";
    TempDir home;
    makeDirectories(home / "Desktop");

    ProcessResult run = runProcess({TELVARIN_REPORT_EXECUTABLE}, {{"HOME", home.path()}});

    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_NE(run.standardError.find("Could not find driver directory"), std::string::npos) << run.standardError;
    // Whatever the interrupted run left on the desktop holds no general report.
    for (const std::string& name : listFolder(home / "Desktop")) {
        if (name.ends_with(".zip")) {
            auto names = readZipEntryNames(home / ("Desktop/" + name));
            EXPECT_EQ(std::count(names.begin(), names.end(), "reportData/generalInformation.dat"), 0);
        }
    }
}

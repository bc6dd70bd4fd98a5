// The configured files end to end: real directory trees under a temporary
// root, a real data.xml, a full report run, and the archive read back by an
// independent reader; standard output and the log compared byte for byte.
#include "base/CodedFailure.h"
#include "base/ErrorCodes.h"
#include "core/report/TelvarinGenerator.h"
#include "tests/doubles/FakeServices.h"
#include "tests/doubles/TestFiles.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <set>
#include <sstream>

using namespace testing_support;

namespace {

// Standard output redirected, at the descriptor, into a file.
// Caps the size of any file this process writes, so that a run that goes
// astray ends with a failed write instead of filling the disk.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = saved_;
        limited.rlim_cur = std::min(bytes, saved_.rlim_max);
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previousHandler_);
    }

private:
    rlimit saved_{};
    void (*previousHandler_)(int) = nullptr;
};

std::string section(const std::string& name, const std::vector<std::string>& paths)
{
    std::string text = "  <" + name + ">\n";
    for (const auto& path : paths)
        text += "    <file>" + path + "</file>\n";
    return text + "  </" + name + ">\n";
}

std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> result;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);)
        result.push_back(line);
    return result;
}

std::multiset<std::string> asSet(const std::vector<std::string>& items)
{
    return {items.begin(), items.end()};
}

void makeFifo(const std::string& path)
{
    ASSERT_EQ(mkfifo(path.c_str(), 0644), 0) << path;
}

void makeSocket(const std::string& path)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ASSERT_LT(path.size(), sizeof address.sun_path);
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    int listener = socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(listener, 0);
    EXPECT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0) << path;
    close(listener);
}

const std::string USER_HOME = "/Users/user1";

class FileCollection : public ::testing::Test {
protected:
    FileCollection() : archiveFile(temp / "report.zip")
    {
        machine.environment.variables["HOME"] = USER_HOME;
        // The maker's (empty) driver and application folders, so that whole
        // runs get past the general report.
        makeDirectories(onDisk("/Library/Printers/Quorvel"));
        makeDirectories(onDisk("/Applications"));
    }

    // A file of the collected system.
    std::string onDisk(const std::string& systemPath) const { return temp.path() + "/root" + systemPath; }
    void put(const std::string& systemPath, const std::string& contents) const
    {
        writeFile(onDisk(systemPath), contents);
    }
    std::string archive() const { return archiveFile; }

    struct Run {
        int code = 0;
        FailureDetail detail;
        std::string output;
        std::string log;
    };

    Run runWithDataXml(const std::string& body)
    {
        writeFile(temp / "data.xml", "<?xml version=\"1.0\"?>\n<configuration>\n" + body + "</configuration>\n");
        Run run;
        TelvarinGenerator generator;
        machine.reporter.progressLines.clear();
        try {
            generator.generateReport(archive().c_str(), (temp / "data.xml").c_str());
        } catch (const CodedFailure& failure) {
            run.code = failure.code;
            run.detail = failure.detail;
        }
        for (const auto& line : machine.reporter.progressLines)
            run.output += line + "\n";
        run.log = generator.log();
        return run;
    }

    Run runWithSections(const std::vector<std::string>& absolutePaths, const std::vector<std::string>& homePaths)
    {
        return runWithDataXml(section("Absolute_Path_Files", absolutePaths) + section("Home_Path_Files", homePaths));
    }

    // The collected files' entries: everything but the report's own.
    std::vector<std::string> collectedEntries() const
    {
        std::vector<std::string> names;
        for (const auto& name : readZipEntryNames(archive()))
            if (name.rfind("reportData/", 0) != 0)
                names.push_back(name);
        return names;
    }

    TempDir temp;
    std::string archiveFile;
    FakeMachine machine;
    // Every path the report reads lies under <temp>/root.
    platform::ScopedServices services{machine.installCollectingFrom(temp / "root")};
};

TEST_F(FileCollection, StoresHomePathsUnderTheFullPathOrTheGivenFolder)
{
    put("/Users/user1/Library/Logs/printer.log", "printer log\n");
    put("/Users/user1/Library/Logs/other.log", "other log\n");
    setModificationTime(onDisk("/Users/user1/Library/Logs/printer.log"), utcTime(2011, 12, 31, 23, 30, 10));
    machine.clock = FakeClock(utcTime(2012, 6, 1, 12, 0), -5 * 3600);

    Run run = runWithSections(
        {}, {"Library/Logs/printer.log", "Library/Logs/printer.log,Logs", "Library/Logs/other.log, \t Logs"});
    ASSERT_EQ(run.code, 0);
    EXPECT_EQ(run.output, "path found: /Users/user1/Library/Logs/printer.log\n"
                          "path found: /Users/user1/Library/Logs/printer.log\n"
                          "path found: /Users/user1/Library/Logs/other.log\n");
    EXPECT_EQ(run.log, "");

    auto entries = readZipEntries(archive());
    ASSERT_EQ(entries.size(), 5u);
    EXPECT_EQ(entries[0].name, "/Users/user1/Library/Logs/printer.log");
    EXPECT_EQ(entries[1].name, "Logs/printer.log");
    EXPECT_EQ(entries[2].name, "Logs/other.log");
    EXPECT_EQ(entries[3].name, "reportData/generalInformation.dat");
    EXPECT_EQ(entries[4].name, "reportData/reportGeneratorLog.log");
    // The file's own time in UTC, whatever the local time zone.
    EXPECT_EQ(entries[0].date, "2011-12-31 23:30:10");
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(entries[i].method, 8);
        EXPECT_TRUE(entries[i].crcOk);
    }
    EXPECT_EQ(readZipEntry(archive(), "Logs/printer.log"), "printer log\n");
    EXPECT_EQ(readZipEntry(archive(), "Logs/other.log"), "other log\n");
    EXPECT_EQ(readZipEntry(archive(), "reportData/reportGeneratorLog.log"), "");
}

TEST_F(FileCollection, AbsolutePathsComeFirstAndEveryMissIsLogged)
{
    put("/var/log/quorvel/backend.log", "backend");
    put("/Users/user1/settings.conf", "settings");
    // The home section stands first in the file; the absolute files still lead.
    Run run =
        runWithDataXml(section("Home_Path_Files", {"settings.conf", "Missing/file.txt"}) +
                       section("Absolute_Path_Files", {"var/log/quorvel/backend.log", "var/log/quorvel/missing.log",
                                                       "/var/log/quorvel/backend.log", "var/log/quorvel"}));
    ASSERT_EQ(run.code, 0);
    EXPECT_EQ(run.output, "path found: /var/log/quorvel/backend.log\n"
                          "path not found: /var/log/quorvel/missing.log\n"
                          "path found: //var/log/quorvel/backend.log\n"
                          "path skipped, a directory: /var/log/quorvel\n"
                          "path found: /Users/user1/settings.conf\n"
                          "path not found: /Users/user1/Missing/file.txt\n");
    const std::string expectedLog =
        "Could not find the path \"/var/log/quorvel/missing.log\"\r\n"
        "Did not collect the path \"/var/log/quorvel\": it is a directory, not a regular file\r\n"
        "Could not find the path \"/Users/user1/Missing/file.txt\"\r\n";
    EXPECT_EQ(run.log, expectedLog);
    EXPECT_EQ(collectedEntries(),
              (std::vector<std::string>{"/var/log/quorvel/backend.log", "//var/log/quorvel/backend.log",
                                        "/Users/user1/settings.conf"}));
    EXPECT_EQ(readZipEntry(archive(), "reportData/reportGeneratorLog.log"), expectedLog);
    EXPECT_TRUE(unzipTestPasses(archive()));
}

TEST_F(FileCollection, WildcardCollectsTheMatchingFilesOfOneDirectory)
{
    const std::string directory = "/Library/Preferences/";
    put(directory + "printer1.plist", "one");
    put(directory + "printer2.plist", "two");
    put(directory + "printer.txt", "not a plist");
    makeDirectories(onDisk(directory + "printerdir"));
    makeDirectories(onDisk(directory + "printer3.plist")); // matches, but is no file
    put(directory + "sub/printer4.plist", "below");        // subdirectories are not searched

    Run run = runWithSections({"Library/Preferences/printer*.plist", "Library/Preferences/printer*.plist,Prefs"}, {});
    ASSERT_EQ(run.code, 0);
    EXPECT_EQ(run.log, "");
    EXPECT_EQ(asSet(collectedEntries()),
              (std::multiset<std::string>{"/Library/Preferences/printer1.plist", "/Library/Preferences/printer2.plist",
                                          "Prefs/printer1.plist", "Prefs/printer2.plist"}));
    EXPECT_EQ(readZipEntry(archive(), "Prefs/printer2.plist"), "two");

    // The listing comes in directory order: compare the lines as a set, and
    // check that each addition follows its attempt and the count comes last.
    const std::string wildcard = "/Library/Preferences/printer*.plist";
    std::vector<std::string> output = lines(run.output);
    ASSERT_EQ(output.size(), 12u);
    for (std::size_t half : {0u, 6u}) {
        std::vector<std::string> block(output.begin() + static_cast<long>(half),
                                       output.begin() + static_cast<long>(half + 6));
        EXPECT_EQ(block.back(), "added 2 files from the astericked path: " + wildcard);
        block.pop_back();
        std::multiset<std::string> expected;
        for (const char* name : {"printer1.plist", "printer2.plist", "printer3.plist"})
            expected.insert("Trying to add path " + directory + name + " from astericked path " + wildcard);
        for (const char* name : {"printer1.plist", "printer2.plist"})
            expected.insert("Added path " + directory + name + " from astericked path " + wildcard);
        EXPECT_EQ(asSet(block), expected);
        for (std::size_t i = 0; i < block.size(); ++i)
            if (block[i].rfind("Added path ", 0) == 0) {
                EXPECT_EQ(block[i - 1], "Trying to add path " + block[i].substr(std::strlen("Added path ")));
            }
    }
}

TEST_F(FileCollection, PrefixAndSuffixAreTestedIndependentlyAndANameNeedsADot)
{
    for (const char* name : {"x.log", "x.1.log", "xlog", "x.txt", "y.log"})
        put(std::string("/Users/user1/overlap/") + name, name);
    for (const char* name : {"printer.log", "printer.conf", "printerlog", "other.log"})
        put(std::string("/Users/user1/open/") + name, name);
    for (const char* name : {"a.log", ".hidden", "noext", ".DS_Store"})
        put(std::string("/Users/user1/all/") + name, name);
    for (const char* name : {"a1b*.log", "a1b2.log"})
        put(std::string("/Users/user1/stars/") + name, name);

    Run run = runWithSections({}, {"overlap/x.*.log,O", "open/printer.*,P", "all/*.*,A", "stars/a*b*.log,S"});
    ASSERT_EQ(run.code, 0);
    EXPECT_EQ(asSet(collectedEntries()),
              (std::multiset<std::string>{"O/x.log", "O/x.1.log", "P/printer.log", "P/printer.conf", "A/a.log",
                                          "A/.hidden", "S/a1b*.log"}));
    EXPECT_NE(run.output.find("added 2 files from the astericked path: /Users/user1/overlap/x.*.log\n"),
              std::string::npos);
    EXPECT_NE(run.output.find("added 2 files from the astericked path: /Users/user1/all/*.*\n"), std::string::npos);
    EXPECT_EQ(run.output.find(".DS_Store"), std::string::npos);
    EXPECT_EQ(run.log, "");
}

TEST_F(FileCollection, MissingOrEmptyWildcardDirectoriesAddNothingAndAreLogged)
{
    put("/Users/user1/Logs/readme.txt", "no log");
    Run run = runWithSections({}, {"Nowhere/*.log", "Logs/*.log"});
    ASSERT_EQ(run.code, 0);
    EXPECT_EQ(run.output, "added 0 files from the astericked path: /Users/user1/Nowhere/*.log\n"
                          "added 0 files from the astericked path: /Users/user1/Logs/*.log\n");
    EXPECT_EQ(run.log, "Added no files for the astricked path \"/Users/user1/Nowhere/*.log\"\r\n"
                       "Added no files for the astricked path \"/Users/user1/Logs/*.log\"\r\n");
}

TEST_F(FileCollection, ALoneTrailingCommaBelongsToTheFileName)
{
    put("/Users/user1/Logs/printer.log,", "with comma");
    put("/Users/user1/Logs/printer.log", "without");
    Run run = runWithSections({}, {"Logs/printer.log,"});
    ASSERT_EQ(run.code, 0);
    EXPECT_EQ(run.output, "path found: /Users/user1/Logs/printer.log,\n");
    EXPECT_EQ(collectedEntries(), std::vector<std::string>{"/Users/user1/Logs/printer.log,"});
    EXPECT_EQ(readZipEntry(archive(), "/Users/user1/Logs/printer.log,"), "with comma");
}

TEST_F(FileCollection, MalformedPathsEndTheRunWithCodes8And9)
{
    put("/Users/user1/Logs/printer.log", "log");
    struct Case {
        const char* pathText;
        int code;
    };
    for (Case malformed :
         {Case{"*", ERROR_PATH_WITHOUT_DOT}, Case{"Logs/*", ERROR_PATH_WITHOUT_DOT},
          Case{"Logs/printer*", ERROR_PATH_WITHOUT_DOT}, Case{"Logs/printer,Dest", ERROR_PATH_WITHOUT_DOT},
          Case{"Library/*/printer.log", ERROR_WILDCARD_NOT_LAST},
          Case{"Lo*gs/printer.log,Dest", ERROR_WILDCARD_NOT_LAST}}) {
        SCOPED_TRACE(malformed.pathText);
        Run run = runWithSections({}, {"Logs/printer.log", malformed.pathText, "Logs/printer.log,Later"});
        EXPECT_EQ(run.code, malformed.code);
        // What was added stays, in an archive that is closed and sound.
        EXPECT_EQ(collectedEntries(), std::vector<std::string>{"/Users/user1/Logs/printer.log"});
        EXPECT_TRUE(unzipTestPasses(archive()));
    }
    // A plain path is not asked for a dot.
    put("/etc/hostname", "host");
    EXPECT_EQ(runWithSections({"etc/hostname"}, {}).output, "path found: /etc/hostname\n");
}

// Named plainly, each is said to be what it is, in the log and to the
// caller; matched by a wildcard, it is passed over.
TEST_F(FileCollection, SpecialFilesAreNeverOpenedAndSaidToBeWhatTheyAre)
{
    put("/Users/user1/Logs/real.log", "real");
    makeFifo(onDisk("/Users/user1/Logs/pipe.log"));
    makeSocket(onDisk("/Users/user1/Logs/sock.log"));
    makeDirectories(onDisk("/Users/user1/Logs/dir.log"));
    ASSERT_EQ(symlink("pipe.log", onDisk("/Users/user1/Logs/link.log").c_str()), 0);

    Run run =
        runWithSections({}, {"Logs/*.log", "Logs/pipe.log", "Logs/link.log,Dest", "Logs/sock.log", "Logs/dir.log"});
    ASSERT_EQ(run.code, 0);
    EXPECT_EQ(collectedEntries(), std::vector<std::string>{"/Users/user1/Logs/real.log"});
    std::vector<std::string> output = lines(run.output);
    EXPECT_EQ(std::count_if(output.begin(), output.end(),
                            [](const std::string& line) { return line.rfind("Trying to add path ", 0) == 0; }),
              5);
    output.erase(output.begin(), output.end() - 5);
    EXPECT_EQ(output, (std::vector<std::string>{"added 1 files from the astericked path: /Users/user1/Logs/*.log",
                                                "path skipped, a FIFO: /Users/user1/Logs/pipe.log",
                                                "path skipped, a FIFO: /Users/user1/Logs/link.log",
                                                "path skipped, a socket: /Users/user1/Logs/sock.log",
                                                "path skipped, a directory: /Users/user1/Logs/dir.log"}));
    EXPECT_EQ(run.log, "Did not collect the path \"/Users/user1/Logs/pipe.log\": it is a FIFO, not a regular file\r\n"
                       "Did not collect the path \"/Users/user1/Logs/link.log\": it is a FIFO, not a regular file\r\n"
                       "Did not collect the path \"/Users/user1/Logs/sock.log\": it is a socket, not a regular file\r\n"
                       "Did not collect the path \"/Users/user1/Logs/dir.log\": it is a directory, not a regular "
                       "file\r\n");
}

TEST_F(FileCollection, MissingSectionsGiveCode7AfterWhatCameBefore)
{
    put("/var/log/quorvel/backend.log", "backend");
    Run onlyAbsolute = runWithDataXml(section("Absolute_Path_Files", {"var/log/quorvel/backend.log"}));
    EXPECT_EQ(onlyAbsolute.code, ERROR_DATA_XML_MISSING_SECTION);
    EXPECT_EQ(onlyAbsolute.output, "path found: /var/log/quorvel/backend.log\n");
    EXPECT_EQ(readZipEntryNames(archive()), std::vector<std::string>{"/var/log/quorvel/backend.log"});
    EXPECT_TRUE(unzipTestPasses(archive()));

    Run onlyHome = runWithDataXml(section("Home_Path_Files", {"settings.conf"}));
    EXPECT_EQ(onlyHome.code, ERROR_DATA_XML_MISSING_SECTION);
    EXPECT_EQ(onlyHome.output, "");
    // A failure before any entry leaves no empty zip and keeps the earlier archive.
    EXPECT_EQ(readZipEntryNames(archive()), std::vector<std::string>{"/var/log/quorvel/backend.log"});
}

TEST_F(FileCollection, AFaultyFileListLeavesNoArchive)
{
    Run duplicate = runWithDataXml(section("Home_Path_Files", {}) + section("Home_Path_Files", {}) +
                                   section("Absolute_Path_Files", {}));
    EXPECT_EQ(duplicate.code, ERROR_DATA_XML_DUPLICATE_SECTION);
    Run malformed = runWithDataXml("<Home_Path_Files>");
    EXPECT_EQ(malformed.code, ERROR_DATA_XML_NOT_LOADED);
    EXPECT_FALSE(pathExists(archive()));
}

TEST_F(FileCollection, HomePathsAreNeverTakenFromTheRootWhenThereIsNoHome)
{
    machine.environment.variables.erase("HOME");
    machine.environment.accountHome.clear();
    put("/Library/Logs/printer.log", "a file of the root, not of any home");

    Run run = runWithSections({}, {"Library/Logs/printer.log", "Library/Logs/p*.log"});
    ASSERT_EQ(run.code, 0);
    EXPECT_TRUE(collectedEntries().empty());
    EXPECT_EQ(run.output, "path not found: Library/Logs/printer.log\n"
                          "added 0 files from the astericked path: Library/Logs/p*.log\n");
    EXPECT_EQ(run.log, "Could not find the path \"Library/Logs/printer.log\"\r\n"
                       "Added no files for the astricked path \"Library/Logs/p*.log\"\r\n");
    // The file list is checked all the same.
    EXPECT_EQ(runWithSections({}, {"Library/*/x.log"}).code, ERROR_WILDCARD_NOT_LAST);

    // The account's home directory stands in for an unset HOME.
    machine.environment.accountHome = "/Users/user1";
    put("/Users/user1/Library/Logs/printer.log", "home");
    EXPECT_EQ(runWithSections({}, {"Library/Logs/printer.log"}).output,
              "path found: /Users/user1/Library/Logs/printer.log\n");
}

TEST_F(FileCollection, AnAsteriskInTheHomeDirectoryIsAnOrdinaryCharacter)
{
    machine.environment.variables["HOME"] = "/Users/us*er";
    put("/Users/us*er/Logs/a.log", "a");
    Run run = runWithSections({}, {"Logs/a.log", "Logs/*.log,W"});
    ASSERT_EQ(run.code, 0);
    EXPECT_EQ(collectedEntries(), (std::vector<std::string>{"/Users/us*er/Logs/a.log", "W/a.log"}));
}

TEST_F(FileCollection, TheArchiveNeverCollectsItself)
{
    // Incompressible data first, so that the archive already holds more on
    // disk than one read takes: copying it into itself would never end.
    put("/data/random.bin", randomBytes(3 << 20, 7));
    put("/Users/user1/Desktop/earlier.zip", "an earlier report");
    archiveFile = onDisk("/Users/user1/Desktop/report.zip");
    FileSizeLimit limit(64 << 20);

    Run run = runWithSections({"data/random.bin"}, {"Desktop/*.zip", "Desktop/report.zip"});
    ASSERT_EQ(run.code, 0);
    EXPECT_EQ(collectedEntries(), (std::vector<std::string>{"/data/random.bin", "/Users/user1/Desktop/earlier.zip"}));
    std::vector<std::string> output = lines(run.output);
    EXPECT_EQ(output.at(output.size() - 2), "added 1 files from the astericked path: /Users/user1/Desktop/*.zip");
    EXPECT_EQ(output.back(), "path not found: /Users/user1/Desktop/report.zip");
    EXPECT_TRUE(unzipTestPasses(archive()));
}

} // namespace

TEST_F(FileCollection, RootReadsAUsersHomeWithTheOwnersRights)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root: the reads switch to the home owner's rights only under root";
    constexpr uid_t NOBODY = 65534;
    put("/Users/user1/settings.conf", "the user's");
    put("/secret", "root only");
    ASSERT_EQ(chmod(onDisk("/secret").c_str(), 0600), 0);
    ASSERT_EQ(symlink("/secret", onDisk("/Users/user1/planted.conf").c_str()), 0);
    ASSERT_EQ(chown(onDisk("/Users/user1").c_str(), NOBODY, NOBODY), 0);

    Run run = runWithSections({}, {"settings.conf", "planted.conf"});
    EXPECT_EQ(run.code, ERROR_FILE_READ);
    // The failure names the file as the collected system does, and why.
    EXPECT_EQ(run.detail.step, FailedStep::readListedFile);
    EXPECT_EQ(run.detail.path, "/Users/user1/planted.conf");
    EXPECT_EQ(run.detail.errorNumber, EACCES);
    EXPECT_EQ(collectedEntries(), std::vector<std::string>{"/Users/user1/settings.conf"});
    EXPECT_EQ(readWholeFile(archive()).find("root only"), std::string::npos);
    // The running user's rights are back afterwards.
    EXPECT_EQ(access(onDisk("/secret").c_str(), R_OK), 0);
}

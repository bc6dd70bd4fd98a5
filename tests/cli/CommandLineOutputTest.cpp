// telvarin-report's output for scripts and support engineers, run as a child
// process: --list, as text and as JSON, --json (read back with Python's json,
// zipfile and hashlib), --checksum (checked with sha256sum) and the bash
// completion.
#include "tests/doubles/CommandLineSupport.h"
#include "tests/doubles/TestFiles.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <regex>
#include <set>

using namespace testing_support;

namespace {

const std::string SAMPLE_SYSTEM = std::string(TELVARIN_SOURCE_DIR) + "/examples/sample-system";
const std::string TOOLS = std::string(TELVARIN_SOURCE_DIR) + "/tests/tools/";

class CommandLineOutput : public ::testing::Test {
protected:
    TempDir temp;

    CommandLineOutput() { makeDirectories(temp / "out"); }

    ProcessResult report(std::vector<std::string> arguments, std::map<std::string, std::string> environment = {})
    {
        arguments.insert(arguments.begin(), TELVARIN_REPORT_EXECUTABLE);
        environment.emplace("HOME", "/home/customer");
        return runProcess(arguments, environment, temp.path());
    }

    // The Python checker's verdict on what --json printed; its standard
    // output holds the missing paths or the error's message.
    ProcessResult checkJson(const ProcessResult& run, std::vector<std::string> expectation)
    {
        writeFile(temp / "report.json", run.standardOutput);
        expectation.insert(expectation.begin(), {"python3", TOOLS + "check_report_json.py", temp / "report.json"});
        return runProcess(expectation, {});
    }
};

struct Listing {
    std::vector<std::pair<std::string, unsigned long long>> found;
    std::vector<std::string> missing;
    unsigned long long total = 0;
};

Listing parseListing(const std::string& text)
{
    Listing listing;
    const auto lines = splitLines(text);
    EXPECT_FALSE(lines.empty());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto tab = lines[i].find('\t');
        EXPECT_NE(tab, std::string::npos) << lines[i];
        const std::string first = lines[i].substr(0, tab);
        const std::string path = lines[i].substr(tab + 1);
        if (i + 1 == lines.size()) {
            EXPECT_EQ(path, "total");
            listing.total = std::stoull(first);
        } else if (first == "missing") {
            listing.missing.push_back(path);
        } else {
            listing.found.emplace_back(path, std::stoull(first));
        }
    }
    return listing;
}

const char* const FAULTY_FILE_LISTS[][2] = {
    {"5", "<configuration><Absolute_Path_Files>"},
    {"6", "<c><Home_Path_Files/><Home_Path_Files/></c>"},
    {"7", "<c><Absolute_Path_Files/></c>"},
    {"8", "<c><Absolute_Path_Files><f>etc/quorvel/*</f></Absolute_Path_Files><Home_Path_Files/></c>"},
    {"9", "<c><Absolute_Path_Files><f>etc/*/a.conf</f></Absolute_Path_Files><Home_Path_Files/></c>"},
};

} // namespace

TEST_F(CommandLineOutput, ListShowsEverySampleFileWithItsSizeTheMissesAndTheTotalAndWritesNothing)
{
    const auto sampleBefore = snapshotTree(SAMPLE_SYSTEM);
    const auto before = snapshotTree(temp.path());

    // No --output needed: nothing is written.
    ProcessResult run = report({"--list", "--sysroot", SAMPLE_SYSTEM});

    ASSERT_EQ(run.exitStatus, 0) << run.standardError;
    EXPECT_EQ(run.standardError, "");
    const Listing listing = parseListing(run.standardOutput);
    unsigned long long sum = 0;
    for (const auto& [path, size] : listing.found) {
        struct stat status {};
        ASSERT_EQ(stat((SAMPLE_SYSTEM + path).c_str(), &status), 0) << path;
        EXPECT_EQ(size, static_cast<unsigned long long>(status.st_size)) << path;
        sum += size;
    }
    EXPECT_EQ(listing.total, sum);
    EXPECT_EQ(listing.missing, (std::vector<std::string>{"/etc/printcap", "/etc/cups/lpoptions", "/etc/cups/snmp.conf",
                                                         "/home/customer/.local/share/quorvel/logs/usb-transfer.log",
                                                         "/home/customer/.local/state/quorvel/crash-*.txt",
                                                         "/home/customer/.cups/lpoptions"}));
    EXPECT_EQ(snapshotTree(SAMPLE_SYSTEM), sampleBefore);
    EXPECT_EQ(snapshotTree(temp.path()), before);

    // A report of the same system stores as many files as were listed and
    // names the same misses.
    ProcessResult json = report({"--json", "--sysroot", SAMPLE_SYSTEM, "--output", temp / "out"});
    ASSERT_EQ(json.exitStatus, 0) << json.standardError;
    ProcessResult check = checkJson(json, {"placed"});
    ASSERT_EQ(check.exitStatus, 0) << check.standardError;
    EXPECT_EQ(splitLines(check.standardOutput), listing.missing);
    const auto archives = archivesIn(temp / "out");
    ASSERT_EQ(archives.size(), 1u);
    EXPECT_EQ(configuredEntries(temp / "out/" + archives[0]).size(), listing.found.size());
}

TEST_F(CommandLineOutput, ListTakesTheWholeCommandLineOfARunAndPrintsTheSameListingAsJson)
{
    writeFile(temp / "data.xml", readWholeFile(std::string(TELVARIN_SOURCE_DIR) + "/resources/data.xml"));
    const std::vector<std::string> run = {"--sysroot",  SAMPLE_SYSTEM, "--output",  "out",
                                          "--data-xml", "data.xml",    "--checksum"};
    const auto before = snapshotTree(temp.path());

    std::vector<std::string> plain = run;
    plain.insert(plain.begin(), "--list");
    ProcessResult text = report(plain);
    std::vector<std::string> json = plain;
    json.push_back("--json");
    ProcessResult object = report(json);

    ASSERT_EQ(text.exitStatus, 0) << text.standardError;
    ASSERT_EQ(object.exitStatus, 0) << object.standardError;
    EXPECT_EQ(object.standardError, "");
    EXPECT_EQ(snapshotTree(temp.path()), before) << "no archive, no checksum file";
    // Read by Python's json and written back in the listing's lines: the same
    // files, sizes, misses and total as the text.
    writeFile(temp / "listing.json", object.standardOutput);
    ProcessResult asText = runProcess({"python3", "-c",
                                       "import json, sys\n"
                                       "d = json.load(open(sys.argv[1]))\n"
                                       "assert list(d) == ['files', 'missing', 'skipped', 'total'], list(d)\n"
                                       "for f in d['files']: print('%d\\t%s' % (f['size'], f['path']))\n"
                                       "for m in d['missing']: print('missing\\t' + m)\n"
                                       "print('%d\\ttotal' % d['total'])\n",
                                       temp / "listing.json"},
                                      {});
    ASSERT_EQ(asText.exitStatus, 0) << asText.standardError;
    const Listing fromText = parseListing(text.standardOutput);
    const Listing fromJson = parseListing(asText.standardOutput);
    EXPECT_FALSE(fromText.found.empty());
    EXPECT_EQ(fromJson.found, fromText.found);
    EXPECT_EQ(fromJson.missing, fromText.missing);
    EXPECT_EQ(fromJson.total, fromText.total);
}

TEST_F(CommandLineOutput, ListFailsOnAFaultyFileListWithTheMessageOfARun)
{
    for (const auto& [code, document] : FAULTY_FILE_LISTS) {
        SCOPED_TRACE(std::string("code ") + code);
        writeFile(temp / "data.xml", document);

        ProcessResult listing = report({"--list", "--sysroot", SAMPLE_SYSTEM, "--data-xml", "data.xml"});
        ProcessResult run = report({"--json", "--sysroot", SAMPLE_SYSTEM, "--output", "out", "--data-xml", "data.xml"});

        EXPECT_EQ(listing.exitStatus, 1);
        EXPECT_EQ(listing.standardOutput, "");
        ProcessResult jsonListing = report({"--list", "--json", "--sysroot", SAMPLE_SYSTEM, "--data-xml", "data.xml"});
        EXPECT_EQ(jsonListing.exitStatus, 1);
        EXPECT_EQ(jsonListing.standardOutput, "");
        EXPECT_EQ(jsonListing.standardError, listing.standardError);
        EXPECT_EQ(run.exitStatus, 1);
        ProcessResult check = checkJson(run, {"failed", code});
        EXPECT_EQ(check.exitStatus, 0) << check.standardError;
        EXPECT_EQ(listing.standardError, check.standardOutput);
        EXPECT_TRUE(run.standardError.ends_with(check.standardOutput)) << run.standardError;
    }
}

TEST_F(CommandLineOutput, ListEscapesControlCharactersOnlyForATerminal)
{
    const std::string root = temp / "root";
    const std::string name = "evil\x1b]0;owned\x07\n\\.log";
    writeFile(root + "/var/log/" + name, "12345");
    writeFile(temp / "data.xml",
              "<c><Absolute_Path_Files><f>var/log/*.log</f></Absolute_Path_Files><Home_Path_Files/></c>");

    ProcessResult piped = report({"--list", "--sysroot", root, "--data-xml", "data.xml"});
    ProcessResult shown =
        runOnTerminal({TELVARIN_REPORT_EXECUTABLE, "--list", "--sysroot", root, "--data-xml", temp / "data.xml"},
                      {{"HOME", "/home/customer"}});

    EXPECT_EQ(piped.exitStatus, 0) << piped.standardError;
    EXPECT_EQ(piped.standardOutput, "5\t/var/log/" + name + "\n5\ttotal\n");
    EXPECT_EQ(shown.exitStatus, 0) << shown.standardOutput;
    EXPECT_EQ(shown.standardOutput, "5\t/var/log/evil\\033]0;owned\\a\\n\\\\.log\n5\ttotal\n");
}

TEST_F(CommandLineOutput, JsonCarriesNamesThatAreNotUtf8ByteForByteAndSaysWhatNamesNoFile)
{
    // Two names a replacement character would print alike, and the one it
    // would print; a FIFO and a folder named as plain paths.
    const std::string logs = temp / "root/var/log/q/";
    makeMakersFolders(temp / "root");
    for (const char* name : {"caf\xe9.log", "caf\xe8.log", "caf\xef\xbf\xbd.log"})
        writeFile(logs + name, name);
    ASSERT_EQ(mkfifo((logs + "pipe").c_str(), 0600), 0);
    makeDirectories(logs + "dir");
    writeFile(temp / "data.xml", "<c><Absolute_Path_Files><f>var/log/q/*.log</f><f>var/log/q/pipe</f>"
                                 "<f>var/log/q/dir</f></Absolute_Path_Files><Home_Path_Files/></c>");
    const std::vector<std::string> command = {"--json", "--sysroot",  temp / "root", "--output",
                                              "out",    "--data-xml", "data.xml"};
    std::vector<std::string> listCommand = command;
    listCommand.push_back("--list");

    ProcessResult run = report(command);
    ProcessResult listing = report(listCommand);
    listCommand.erase(listCommand.begin());
    ProcessResult text = report(listCommand);

    ASSERT_EQ(run.exitStatus, 0) << run.standardError;
    ASSERT_EQ(listing.exitStatus, 0) << listing.standardError;
    // Entries, misses and what names no file agree with the archive and its
    // log, byte for byte.
    ProcessResult check = checkJson(run, {"placed"});
    EXPECT_EQ(check.exitStatus, 0) << check.standardError << run.standardOutput;
    // Both objects read by a strict reader, the names' bytes taken back.
    writeFile(temp / "listing.json", listing.standardOutput);
    ProcessResult read =
        runProcess({"python3", "-c",
                    "import json, sys\n"
                    "run, listing = (json.load(open(p, encoding='utf-8')) for p in sys.argv[1:])\n"
                    "name = lambda n: n.encode() if isinstance(n, str) else bytes.fromhex(n['hex'])\n"
                    "logs = [b'/var/log/q/caf' + end for end in (b'\\xe9.log', b'\\xe8.log', b'\\xef\\xbf\\xbd.log')]\n"
                    "stored = sorted(name(e) for e in run['entries'] if not name(e).startswith(b'reportData/'))\n"
                    "assert stored == sorted(logs), stored\n"
                    "assert sorted(name(f['path']) for f in listing['files']) == stored\n"
                    "skipped = [(b'/var/log/q/pipe', 'fifo'), (b'/var/log/q/dir', 'directory')]\n"
                    "for said in (run['skipped'], listing['skipped']):\n"
                    "    assert [(name(s['path']), s['type']) for s in said] == skipped, said\n"
                    "assert run['missing'] == listing['missing'] == []\n",
                    temp / "report.json", temp / "listing.json"},
                   {});
    EXPECT_EQ(read.exitStatus, 0) << read.standardError;
    EXPECT_NE(text.standardOutput.find("\nfifo\t/var/log/q/pipe\ndirectory\t/var/log/q/dir\n"), std::string::npos)
        << text.standardOutput;
}

TEST_F(CommandLineOutput, JsonNamesTheErrorOfEveryFailureClassAndExitsWithOne)
{
    writeFile(temp / "broken.xml", "<configuration>");
    makeDirectories(temp / "bare-system");
    // A desktop that cannot be made: the archive has nowhere to go.
    writeFile(temp / "home/Desktop", "a file, not a folder");
    writeFile(temp / "empty.xml", "<c><Absolute_Path_Files/><Home_Path_Files/></c>");

    struct Case {
        std::vector<std::string> arguments;
        std::map<std::string, std::string> environment;
        std::string code;
        // What the detail names.
        std::string concerned;
    };
    const std::vector<Case> cases = {
        {{"--sysroot", SAMPLE_SYSTEM, "--output", "out", "--data-xml", "broken.xml"},
         {},
         "5",
         "\"" + canonicalPath(temp / "broken.xml") + "\" is not a valid file list"},
        {{"--sysroot", temp / "bare-system", "--output", "out"},
         {},
         "14",
         "\"/Library/Printers/Quorvel/\" could not be read: No such file or directory"},
        {{"--data-xml", "empty.xml", "--checksum"},
         {{"HOME", temp / "home"}},
         "15",
         "\"" + temp / "home/Desktop" + "\": Not a directory"},
    };
    for (const auto& failure : cases) {
        SCOPED_TRACE("code " + failure.code);
        std::vector<std::string> arguments = failure.arguments;
        arguments.insert(arguments.begin(), "--json");

        ProcessResult run = report(arguments, failure.environment);

        EXPECT_EQ(run.exitStatus, 1);
        ProcessResult check = checkJson(run, {"failed", failure.code});
        EXPECT_EQ(check.exitStatus, 0) << check.standardError << run.standardOutput;
        // The message and its detail in the object are the ones shown.
        EXPECT_TRUE(run.standardError.ends_with(check.standardOutput)) << run.standardError;
        EXPECT_NE(check.standardOutput.find(failure.concerned), std::string::npos) << check.standardOutput;
    }
}

TEST_F(CommandLineOutput, ChecksumFilePassesSha256sumAndCatchesADamagedTransfer)
{
    ProcessResult run = report({"--checksum", "--sysroot", SAMPLE_SYSTEM, "--output", "out"});

    ASSERT_EQ(run.exitStatus, 0) << run.standardError;
    const auto archives = archivesIn(temp / "out");
    ASSERT_EQ(archives.size(), 1u);
    // Still the archive's path last, ready for scp.
    EXPECT_EQ(splitLines(run.standardOutput).back(), canonicalPath(temp / "out") + "/" + archives[0]);
    const std::string checksumName = archives[0] + ".sha256";
    const std::string line = readWholeFile(temp / "out/" + checksumName);
    EXPECT_EQ(line.size(), 64 + 2 + archives[0].size() + 1) << line;
    EXPECT_EQ(line.substr(64), "  " + archives[0] + "\n");
    EXPECT_EQ(snapshotTree(temp / "out").size(), 2u) << "no temporary file left";

    const std::vector<std::string> verify = {"sha256sum", "--check", "--strict", checksumName};
    EXPECT_EQ(runProcess(verify, {}, temp / "out").exitStatus, 0);
    writeFile(temp / "out/" + archives[0], readWholeFile(temp / "out/" + archives[0]) + "x");
    EXPECT_NE(runProcess(verify, {}, temp / "out").exitStatus, 0);
}

TEST_F(CommandLineOutput, SaysAndWritesTheSameOnAGermanDesktopAsInTheCLocale)
{
    writeFile(temp / "broken.xml", "<configuration>");
    // What scripts and support read does not follow the desktop's language.
    auto runIn = [&](const std::map<std::string, std::string>& locale, const std::string& output) {
        makeDirectories(temp / output);
        const std::vector<std::vector<std::string>> commands = {
            {"--list", "--sysroot", SAMPLE_SYSTEM},
            {"--list", "--json", "--sysroot", SAMPLE_SYSTEM},
            {"--sysroot", SAMPLE_SYSTEM, "--output", output},
            {"--sysroot", SAMPLE_SYSTEM, "--output", output, "--data-xml", "broken.xml"},
            {"--sysroot", SAMPLE_SYSTEM, "--no-such-option"},
            {"--help"},
            {"--version"},
        };
        // The archive's name says the minute the run began.
        static const std::regex archiveName("Telvarin_[0-9_]+_[AP]M\\.zip");
        std::string said;
        for (const auto& command : commands) {
            const ProcessResult run = report(command, locale);
            said += std::to_string(run.exitStatus) + "\n" + run.standardOutput + "\n" + run.standardError + "\n";
        }
        return std::regex_replace(said, archiveName, "ARCHIVE");
    };
    const std::map<std::string, std::string> german{{"LANG", "de_DE.UTF-8"}, {"LANGUAGE", "de"}};
    const std::string inC = runIn({{"LANG", "C"}}, "out-c");
    const std::string inGerman = runIn(german, "out-de");
    EXPECT_EQ(std::regex_replace(inGerman, std::regex("out-de"), "out-c"), inC);

    const auto archives = archivesIn(temp / "out-c");
    const auto germanArchives = archivesIn(temp / "out-de");
    ASSERT_EQ(archives.size(), 1u);
    ASSERT_EQ(germanArchives.size(), 1u);
    const std::string archive = temp / "out-c/" + archives[0];
    const std::string germanArchive = temp / "out-de/" + germanArchives[0];
    EXPECT_EQ(readZipEntryNames(germanArchive), readZipEntryNames(archive));
    // Every entry's bytes in archive order, but for what changes between the
    // runs: the reports' time stamps and the disk's free space.
    auto contents = [](const std::string& path) {
        static const std::regex changing("TimeStamp:[0-9]+|[0-9.]+ GBs free");
        const ProcessResult unzip = runProcess({"unzip", "-p", path}, {});
        EXPECT_EQ(unzip.exitStatus, 0) << unzip.standardError;
        return std::regex_replace(unzip.standardOutput, changing, "(changes)");
    };
    EXPECT_EQ(contents(germanArchive), contents(archive));
}

TEST(BashCompletion, OffersTheOptionsOnceAndPathsOfTheRightKind)
{
    TempDir temp;
    makeDirectories(temp / "work/reports dir");
    writeFile(temp / "work/list.xml", "");
    const std::string script = std::string(TELVARIN_SOURCE_DIR) + "/resources/telvarin-report.bash-completion";
    // Completes the last word of a command line the way bash calls the function.
    auto offered = [&](const std::string& words) {
        ProcessResult shell = runProcess({"bash", "--norc", "--noprofile", "-c",
                                          "source \"$0\" && complete -p telvarin-report && COMP_WORDS=(" + words +
                                              ") && COMP_CWORD=$((${#COMP_WORDS[@]} - 1)) && _telvarin_report && "
                                              "printf '%s\\n' \"${COMPREPLY[@]}\" | LC_ALL=C sort",
                                          script},
                                         {}, temp / "work");
        EXPECT_EQ(shell.exitStatus, 0) << shell.standardError;
        EXPECT_EQ(shell.standardError, "");
        auto lines = splitLines(shell.standardOutput);
        EXPECT_FALSE(lines.empty());
        if (!lines.empty()) {
            EXPECT_EQ(lines.front(), "complete -F _telvarin_report telvarin-report");
            lines.erase(lines.begin());
        }
        return lines;
    };
    using Words = std::vector<std::string>;

    EXPECT_EQ(offered("telvarin-report ''"),
              (Words{"--checksum", "--data-xml", "--help", "--json", "--list", "--output", "--sysroot", "--version"}));
    EXPECT_EQ(offered("telvarin-report --j"), Words{"--json"});
    EXPECT_EQ(offered("telvarin-report --json --checksum ''"),
              (Words{"--data-xml", "--list", "--output", "--sysroot"}));
    EXPECT_EQ(offered("telvarin-report --list --output /tmp ''"),
              (Words{"--checksum", "--data-xml", "--json", "--sysroot"}));
    EXPECT_EQ(offered("telvarin-report --output ''"), Words{"reports dir"});
    EXPECT_EQ(offered("telvarin-report --sysroot = ''"), Words{"reports dir"});
    EXPECT_EQ(offered("telvarin-report --data-xml l"), Words{"list.xml"});
}

TEST_F(CommandLineOutput, JsonNamesThePartialArchiveAFailedRunLeftBehind)
{
    // No Home_Path_Files: code 7 once the absolute files are stored.
    writeFile(temp / "data.xml", "<c><Absolute_Path_Files><f>etc/quorvel/quorvel.conf</f>"
                                 "<f>etc/quorvel/absent.conf</f></Absolute_Path_Files></c>");
    ProcessResult run = report({"--json", "--checksum", "--sysroot", SAMPLE_SYSTEM, "--output", temp / "out",
                                "--data-xml", temp / "data.xml"});
    EXPECT_EQ(run.exitStatus, 1);
    ProcessResult check = checkJson(run, {"failed", "7"});
    EXPECT_EQ(check.exitStatus, 0) << check.standardError << run.standardOutput;
    const auto archives = archivesIn(temp / "out");
    ASSERT_EQ(archives.size(), 1u);
    EXPECT_NE(run.standardOutput.find("\"placed\":false,\"archive\":\"" + canonicalPath(temp / "out") + "/" +
                                      archives[0] + "\""),
              std::string::npos)
        << run.standardOutput;
    EXPECT_NE(run.standardOutput.find("\"entries\":[\"/etc/quorvel/quorvel.conf\"],\"missing\":[\"/etc/quorvel/"
                                      "absent.conf\"]"),
              std::string::npos)
        << run.standardOutput;
    // A checksum file goes only with a placed report.
    EXPECT_FALSE(pathExists(temp / ("out/" + archives[0] + ".sha256")));
    EXPECT_EQ(complaintsOfEveryReader(temp / ("out/" + archives[0])), "");
}

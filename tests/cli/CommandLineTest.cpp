// telvarin-report run as a child process: its options, the command lines it
// refuses, where it puts the archive, and collecting from another root.
#include "tests/doubles/CommandLineSupport.h"
#include "tests/doubles/TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

using namespace testing_support;

namespace {

const char* const REPORT_PLACED = "A report has been placed on the desktop";

class CommandLine : public ::testing::Test {
protected:
    TempDir temp;

    CommandLine() { makeDirectories(temp / "home"); }

    ProcessResult report(std::vector<std::string> arguments, std::map<std::string, std::string> environment = {},
                         const std::string& workingDirectory = {})
    {
        arguments.insert(arguments.begin(), TELVARIN_REPORT_EXECUTABLE);
        environment.emplace("HOME", temp / "home");
        return runProcess(arguments, environment, workingDirectory.empty() ? temp.path() : workingDirectory);
    }

    // Paths created below the temporary directory since `before`.
    std::set<std::string> createdSince(const std::map<std::string, std::string>& before)
    {
        std::set<std::string> created;
        for (const auto& [path, description] : snapshotTree(temp.path()))
            if (!before.count(path))
                created.insert(path);
        return created;
    }
};

// The lines of standard output that are not the success message or the
// archive's path: what the run printed about the files it collected.
std::vector<std::string> collectionLines(const ProcessResult& run, const std::string& outputDirectory)
{
    std::vector<std::string> lines;
    for (const auto& line : splitLines(run.standardOutput))
        if (line != REPORT_PLACED && line.rfind(outputDirectory + "/", 0) != 0)
            lines.push_back(line);
    return lines;
}

std::vector<std::string> sorted(std::vector<std::string> names)
{
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

TEST_F(CommandLine, HelpAndVersionAnswerWithoutWritingAnything)
{
    const auto before = snapshotTree(temp.path());

    ProcessResult help = report({"--help"});
    EXPECT_EQ(help.exitStatus, 0);
    EXPECT_EQ(help.standardError, "");
    EXPECT_EQ(help.standardOutput.rfind("Usage: telvarin-report", 0), 0u) << help.standardOutput;
    for (const char* option :
         {"--output DIR", "--sysroot DIR", "--data-xml FILE", "--list", "--json", "--checksum", "--help", "--version"})
        EXPECT_NE(help.standardOutput.find(option), std::string::npos) << option;
    // A support engineer must learn that the printer and the computer facts
    // are not taken from the mounted system.
    EXPECT_NE(help.standardOutput.find("printer\n                   report and the facts about the computer"),
              std::string::npos);

    // As GNU programs end it: where to report problems.
    const auto helpLines = splitLines(help.standardOutput);
    ASSERT_GE(helpLines.size(), 2u);
    EXPECT_EQ(helpLines[helpLines.size() - 2].rfind("Report problems to: ", 0), 0u) << helpLines[helpLines.size() - 2];
    EXPECT_NE(helpLines[helpLines.size() - 2].find('@'), std::string::npos);
    EXPECT_NE(helpLines.back().find(" home page: <https://"), std::string::npos) << helpLines.back();

    // The version line, a copyright line and the licence.
    ProcessResult version = report({"--version"});
    EXPECT_EQ(version.exitStatus, 0);
    EXPECT_EQ(version.standardError, "");
    const auto versionLines = splitLines(version.standardOutput);
    ASSERT_GE(versionLines.size(), 4u) << version.standardOutput;
    EXPECT_EQ(versionLines[0], std::string("telvarin-report (Telvarin Generator) ") + TELVARIN_VERSION);
    EXPECT_EQ(versionLines[1].rfind("Copyright (C) 20", 0), 0u) << versionLines[1];
    EXPECT_EQ(versionLines[2].rfind("License ", 0), 0u) << versionLines[2];
    EXPECT_NE(version.standardOutput.find("without warranty"), std::string::npos);

    EXPECT_EQ(snapshotTree(temp.path()), before);

    // An answer that cannot be delivered is no success.
    for (const char* option : {"--help", "--version"}) {
        ProcessResult full =
            runProcess({"sh", "-c", "exec \"$0\" \"$1\" >/dev/full", TELVARIN_REPORT_EXECUTABLE, option},
                       {{"HOME", temp / "home"}});
        EXPECT_EQ(full.exitStatus, 1) << option;
        EXPECT_NE(full.standardError.find("cannot write to standard output"), std::string::npos) << option;
    }
}

TEST_F(CommandLine, RefusesABadCommandLineWithOneLineAndAPointerToTheHelpAndWritesNothing)
{
    const std::string output = temp / "out";
    const std::string root = temp / "root";
    const std::string list = temp / "data.xml";
    makeDirectories(output);
    writeSampleFiles(root, "/home/u", "collected");
    writeSystemDirectories(root);
    writeFile(list, sampleFileList(""));
    writeFile(temp / "plain-file", "not a directory\n");

    struct Case {
        std::vector<std::string> arguments;
        std::string complaint; // a part of the one-line error
        // --list checks the command line of a report as the report does.
        bool sameWithList = true;
    };
    const std::vector<Case> cases = {
        {{"--bogus"}, "unknown option '--bogus'"},
        {{"-h"}, "unexpected argument '-h'"},
        {{"--output"}, "option '--output' needs a DIR"},
        {{"--output="}, "option '--output' needs a DIR"},
        {{"--output", ""}, "option '--output' needs a DIR"},
        // A value may begin with a dash, as getopt has it; "--" ends the options.
        {{"--output", "--version"}, "cannot use --output '--version': No such file"},
        {{"--output", output, "--", "extra"}, "unexpected argument 'extra'"},
        {{"--data-xml"}, "option '--data-xml' needs a FILE"},
        {{"--help=yes"}, "option '--help' takes no value"},
        {{"--output", output, "extra"}, "unexpected argument 'extra'"},
        {{"--output", output, "--output", output}, "option '--output' given twice"},
        {{"--data-xml", list, "--data-xml=" + list}, "option '--data-xml' given twice"},
        {{"--sysroot", root, "--sysroot", root, "--output", output}, "option '--sysroot' given twice"},
        {{"--version", "--version"}, "option '--version' given twice"},
        {{"--output", temp / "missing"}, "cannot use --output '" + temp / "missing" + "': No such file"},
        {{"--output", temp / "plain-file"}, "not a directory"},
        {{"--sysroot", temp / "plain-file", "--output", output}, "cannot use --sysroot"},
        {{"--sysroot", temp / "missing", "--output", output}, "No such file or directory"},
        {{"--sysroot", root}, "--sysroot needs --output DIR", false},
        {{"--sysroot", root, "--output", root}, "lies inside --sysroot"},
        {{"--sysroot", root, "--output", root + "/etc"}, "lies inside --sysroot"},
        {{"--data-xml", temp / "missing.xml"}, "cannot use --data-xml"},
        {{"--data-xml", output}, "not a regular file"},
        {{"--list", "--list"}, "option '--list' given twice", false},
        {{"--json=yes"}, "option '--json' takes no value"},
        {{"--sysroot", root, "--output", root + "/etc", "--json", "--checksum"}, "lies inside --sysroot"},
    };

    for (const auto& badCase : cases) {
        std::vector<std::vector<std::string>> commandLines = {badCase.arguments};
        if (badCase.sameWithList) {
            commandLines.push_back(badCase.arguments);
            commandLines.back().insert(commandLines.back().begin(), "--list");
        }
        for (const auto& arguments : commandLines) {
            std::string shown;
            for (const auto& argument : arguments)
                shown += "[" + argument + "] ";
            SCOPED_TRACE(shown);
            const auto before = snapshotTree(temp.path());

            ProcessResult run = report(arguments);

            EXPECT_EQ(run.exitStatus, 2);
            EXPECT_EQ(run.standardOutput, "");
            const auto lines = splitLines(run.standardError);
            ASSERT_EQ(lines.size(), 2u) << run.standardError;
            EXPECT_EQ(lines[0].rfind("telvarin-report: ", 0), 0u) << lines[0];
            EXPECT_NE(lines[0].find(badCase.complaint), std::string::npos) << lines[0];
            EXPECT_EQ(lines[1], "Try 'telvarin-report --help' for more information.");
            EXPECT_EQ(snapshotTree(temp.path()), before);
        }
    }
}

TEST_F(CommandLine, PlacesTheArchiveOnlyWhereItIsTold)
{
    // On the running system the run may end early (no driver directory
    // here); wherever it ends, it writes nothing but the archive.
    const std::string output = temp / "out";
    makeDirectories(output);
    // Nothing of this machine is collected.
    const std::string list = temp / "data.xml";
    writeFile(list, "<configuration><Absolute_Path_Files/><Home_Path_Files/></configuration>\n");

    auto expectOnlyTheArchiveIn = [&](const ProcessResult& run, const std::set<std::string>& created,
                                      const std::string& directory, const std::string& relativeDirectory) {
        const auto archives = archivesIn(directory);
        for (const auto& path : created)
            EXPECT_TRUE(path == relativeDirectory || path.rfind(relativeDirectory + "/Telvarin_", 0) == 0) << path;
        if (run.exitStatus == 0) {
            ASSERT_EQ(archives.size(), 1u);
            const auto lines = splitLines(run.standardOutput);
            ASSERT_GE(lines.size(), 2u);
            EXPECT_EQ(lines[lines.size() - 2], REPORT_PLACED);
            EXPECT_EQ(lines.back(), canonicalPath(directory) + "/" + archives[0]);
        } else {
            EXPECT_EQ(run.exitStatus, 1) << run.standardError;
            EXPECT_NE(run.standardError, "");
        }
    };

    {
        SCOPED_TRACE("--output, given relative to the working directory");
        const auto before = snapshotTree(temp.path());
        ProcessResult run = report({"--output", "out", "--data-xml", "data.xml"});
        expectOnlyTheArchiveIn(run, createdSince(before), output, "out");
        EXPECT_FALSE(pathExists(temp / "home/Desktop"));
    }
    {
        SCOPED_TRACE("no --output: the desktop, made when missing");
        const auto before = snapshotTree(temp.path());
        ProcessResult run = report({"--data-xml", list});
        expectOnlyTheArchiveIn(run, createdSince(before), temp / "home/Desktop", "home/Desktop");
    }
    {
        SCOPED_TRACE("--sysroot / is the running system: no --output needed");
        ProcessResult run = report({"--sysroot", "/", "--data-xml", list});
        EXPECT_NE(run.exitStatus, 2) << run.standardError;
    }
}

TEST_F(CommandLine, SysrootReadsUnderTheRootButNamesThePathsOfTheCollectedSystem)
{
    // HOME names the home as the collected system knows it.
    const std::string root = temp / "root";
    writeSampleFiles(root, "/home/u", "collected");
    writeSystemDirectories(root);
    makeDirectories(temp / "out");
    writeFile(temp / "data.xml", sampleFileList(""));
    const auto rootBefore = snapshotTree(root);
    const auto before = snapshotTree(temp.path());

    // Relative paths, taken from the working directory.
    ProcessResult run =
        report({"--sysroot", "root", "--output", "out", "--data-xml", "data.xml"}, {{"HOME", "/home/u"}});

    ASSERT_EQ(run.exitStatus, 0) << run.standardError;
    const auto archives = archivesIn(temp / "out");
    ASSERT_EQ(archives.size(), 1u);
    const std::string archive = canonicalPath(temp / "out") + "/" + archives[0];
    EXPECT_EQ(splitLines(run.standardOutput).back(), archive);
    EXPECT_TRUE(unzipTestPasses(archive));
    const auto names = readZipEntryNames(archive);
    EXPECT_NE(std::find(names.begin(), names.end(), "reportData/generalInformation.dat"), names.end());
    ASSERT_FALSE(names.empty());
    EXPECT_EQ(names.back(), "reportData/reportGeneratorLog.log");

    // Nothing is written into the collected system, nor anywhere but the archive.
    EXPECT_EQ(snapshotTree(root), rootBefore);
    EXPECT_EQ(createdSince(before), (std::set<std::string>{"out/" + archives[0]}));
    // What the run prints names the collected system's paths, never this machine's.
    EXPECT_EQ(run.standardOutput.find(root), std::string::npos) << run.standardOutput;
    EXPECT_EQ(run.standardError.find(root), std::string::npos) << run.standardError;

    const auto entries = configuredEntries(archive);
    if (entries.empty())
        GTEST_SKIP() << "this build collects no configured files yet";
    EXPECT_EQ(sorted(entries), sorted(sampleEntryNames("", "/home/u")));
    EXPECT_EQ(readZipEntry(archive, "/etc/quorvel/printer.conf"), "collected printer.conf\n");
    EXPECT_EQ(readZipEntry(archive, "/home/u/.config/quorvel/settings.ini"), "collected settings.ini\n");
    EXPECT_EQ(readZipEntry(archive, "Logs/printer.log"), "collected printer.log\n");
}

TEST_F(CommandLine, SysrootGivesTheSameEntryNamesAsARunOnTheRealRoot)
{
    // The same small system twice: once at a real absolute path P, once
    // below a sysroot S at S + P, so that one file list and one HOME serve
    // both runs and every entry name must come out the same.
    const std::string system = temp / "system";
    const std::string sysroot = temp / "sysroot";
    const std::string home = system + "/home/u";
    writeSampleFiles(system, "/home/u", "running");
    writeSampleFiles(sysroot + system, "/home/u", "collected");
    writeSystemDirectories(sysroot);
    writeFile(temp / "data.xml", sampleFileList(system));
    makeDirectories(temp / "out-real");
    makeDirectories(temp / "out-sysroot");

    ProcessResult real = report({"--output", temp / "out-real", "--data-xml", temp / "data.xml"}, {{"HOME", home}});
    ProcessResult collected = report(
        {"--sysroot", sysroot, "--output", temp / "out-sysroot", "--data-xml", temp / "data.xml"}, {{"HOME", home}});

    ASSERT_EQ(collected.exitStatus, 0) << collected.standardError;
    // This machine has no driver directory, so the real run may end after
    // collecting the files; its archive keeps what it collected.
    const auto realArchives = archivesIn(temp / "out-real");
    const auto collectedArchives = archivesIn(temp / "out-sysroot");
    ASSERT_EQ(realArchives.size(), 1u) << real.standardError;
    ASSERT_EQ(collectedArchives.size(), 1u);
    const std::string realArchive = temp / "out-real/" + realArchives[0];
    const std::string collectedArchive = temp / "out-sysroot/" + collectedArchives[0];

    EXPECT_EQ(collectionLines(collected, canonicalPath(temp / "out-sysroot")),
              collectionLines(real, canonicalPath(temp / "out-real")));
    EXPECT_EQ(collected.standardOutput.find(sysroot), std::string::npos) << collected.standardOutput;

    const auto realEntries = configuredEntries(realArchive);
    const auto collectedEntries = configuredEntries(collectedArchive);
    EXPECT_EQ(collectedEntries, realEntries);
    if (realEntries.empty() && collectedEntries.empty())
        GTEST_SKIP() << "this build collects no configured files yet";
    EXPECT_EQ(sorted(collectedEntries), sorted(sampleEntryNames(system, "/home/u")));
    // Same names, but each run read its own copy.
    for (const auto& [name, file] :
         std::map<std::string, std::string>{{system + "/etc/quorvel/printer.conf", "printer.conf"},
                                            {home + "/.config/quorvel/settings.ini", "settings.ini"},
                                            {"Logs/printer.log", "printer.log"}}) {
        EXPECT_EQ(readZipEntry(realArchive, name), "running " + file + "\n") << name;
        EXPECT_EQ(readZipEntry(collectedArchive, name), "collected " + file + "\n") << name;
    }
}

// Archives of 65 535 entries and more, which need the zip64 end records:
// a wildcard over a folder of that many logs, through the real program,
// read back whole by `unzip -t`, Python's zipfile and `bsdtar -x`.
#include "tests/doubles/CommandLineSupport.h"
#include "tests/doubles/TestFiles.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>

using namespace testing_support;

namespace {

void addLogs(const std::string& folder, int from, int to)
{
    for (int i = from; i < to; ++i) {
        const std::string file = folder + "/" + std::to_string(i) + ".log";
        const int descriptor = open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        ASSERT_GE(descriptor, 0) << file;
        ASSERT_EQ(write(descriptor, "x\n", 2), 2);
        close(descriptor);
    }
}

} // namespace

TEST(ManyEntries, AWildcardOverTensOfThousandsOfLogsGivesASoundArchive)
{
    TempDir temp;
    const std::string root = temp / "root";
    const std::string logs = root + "/var/log/many";
    makeMakersFolders(root);
    makeDirectories(root + "/home/ada");
    makeDirectories(logs);
    writeFile(temp / "data.xml", "<c><Absolute_Path_Files><f>var/log/many/*.log</f></Absolute_Path_Files>"
                                 "<Home_Path_Files/></c>");
    // Beside the logs: the general report and the run's log.
    constexpr int REPORT_ENTRIES = 2;
    int logCount = 0;
    for (const int entries : {65535, 65536, 70000}) {
        SCOPED_TRACE(entries);
        addLogs(logs, logCount, entries - REPORT_ENTRIES);
        logCount = entries - REPORT_ENTRIES;
        const std::string out = temp / ("out" + std::to_string(entries));
        makeDirectories(out);
        ProcessResult run = runProcess(
            {TELVARIN_REPORT_EXECUTABLE, "--sysroot", root, "--output", out, "--data-xml", temp / "data.xml"},
            {{"HOME", "/home/ada"}});
        ASSERT_EQ(run.exitStatus, 0) << run.standardError;
        const auto archives = archivesIn(out);
        ASSERT_EQ(archives.size(), 1u);
        const std::string archive = out + "/" + archives.front();
        EXPECT_EQ(complaintsOfEveryReader(archive, entries), "");
        std::filesystem::remove_all(out);
    }
}

// The archive file with other processes: archives read back by Python's
// zipfile and `unzip -t`, and runs ended by signals in a forked child.

#include "base/RunProgress.h"
#include "core/archive/ArchiveFile.h"
#include "core/archive/SignalCleanup.h"
#include "tests/doubles/ArchiveFileHelpers.h"
#include "tests/doubles/TestFiles.h"

#include <gtest/gtest.h>
#include <minizip/zip.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <functional>
#include <thread>

using archive_file_testing::writeZip;
using testing_support::listFolder;
using testing_support::makeDirectories;
using testing_support::readZipEntries;
using testing_support::readZipEntryNames;
using testing_support::TempDir;
using testing_support::unzipTestPasses;

namespace {

class ArchiveFileProcessTest : public ::testing::TestWithParam<ArchiveFile::Creation> {
protected:
    void SetUp() override { makeDirectories(folder); }

    // Runs `body` in a forked child and answers how it ended, as waitpid says.
    int statusOfChild(const std::function<void()>& body)
    {
        pid_t child = fork();
        if (child == 0) {
            try {
                body();
            } catch (...) {
                _exit(98);
            }
            _exit(0);
        }
        int status = 0;
        waitpid(child, &status, 0);
        return status;
    }

    TempDir temp;
    std::string folder = temp / "Desktop";
};

TEST_P(ArchiveFileProcessTest, AnArchiveWrittenThroughTheDescriptorReadsBack)
{
    const std::map<std::string, std::string> entries = {
        {"Library/Logs/empty.log", ""},
        {"Library/Logs/large.bin", archive_file_testing::incompressibleBytes(300 * 1024)},
        {"reportData/reportGeneratorLog.log", "Could not find the path \"/x.log\"\r\n"},
    };
    ArchiveFile file(folder, GetParam());
    ASSERT_EQ(writeZip(file, entries), ZIP_OK);
    file.replaceName("Telvarin_03_07_2011__02_05_PM.zip");

    const std::string archive = folder + "/Telvarin_03_07_2011__02_05_PM.zip";
    auto read = readZipEntries(archive);
    ASSERT_EQ(read.size(), entries.size());
    auto expected = entries.begin();
    for (const auto& entry : read) {
        EXPECT_EQ(entry.name, expected->first);
        EXPECT_EQ(entry.size, expected->second.size());
        EXPECT_TRUE(entry.crcOk) << entry.name;
        ++expected;
    }
    EXPECT_TRUE(unzipTestPasses(archive));
}

TEST_P(ArchiveFileProcessTest, RunsRacingForOneNameLeaveOneCompleteArchive)
{
    auto run = [&](const std::string& entry) {
        ArchiveFile file(folder, GetParam());
        if (writeZip(file, {{entry, std::string(100000, 'x')}}) == ZIP_OK)
            file.replaceName("r.zip");
    };
    std::thread first(run, "first.log");
    std::thread second(run, "second.log");
    first.join();
    second.join();
    EXPECT_EQ(listFolder(folder), std::vector<std::string>{"r.zip"});
    auto names = readZipEntryNames(folder + "/r.zip");
    ASSERT_EQ(names.size(), 1u);
    EXPECT_TRUE(names[0] == "first.log" || names[0] == "second.log") << names[0];
    EXPECT_TRUE(unzipTestPasses(folder + "/r.zip"));

    // A failing run after it keeps its hands off the good report.
    {
        ArchiveFile failed(folder, GetParam());
        ASSERT_EQ(writeZip(failed, {{"partial.log", "partial"}}), ZIP_OK);
        EXPECT_FALSE(failed.nameIfFree("r.zip"));
    }
    EXPECT_EQ(readZipEntryNames(folder + "/r.zip"), names);
    EXPECT_EQ(listFolder(folder), std::vector<std::string>{"r.zip"});
}

TEST_P(ArchiveFileProcessTest, EverySignalThatWouldEndTheProcessLeavesNothingBehind)
{
    const std::vector<int> signals = {SIGHUP,    SIGINT,  SIGQUIT, SIGILL,  SIGTRAP, SIGABRT,  SIGBUS,    SIGFPE,
                                      SIGUSR1,   SIGSEGV, SIGUSR2, SIGPIPE, SIGALRM, SIGTERM,  SIGSTKFLT, SIGXCPU,
                                      SIGVTALRM, SIGPROF, SIGIO,   SIGPWR,  SIGSYS,  SIGRTMIN, SIGRTMAX};
    for (int signalNumber : signals) {
        int status = statusOfChild([&] {
            const rlimit noCore{0, 0}; // SIGQUIT, SIGSEGV, ... would dump one
            setrlimit(RLIMIT_CORE, &noCore);
            std::signal(signalNumber, SIG_DFL); // whatever the test runner left
            ArchiveFile::installInterruptCleanup();
            ArchiveFile file(folder, GetParam());
            writeZip(file, {{"a.log", "a"}});
            raise(signalNumber);
            _exit(99); // not reached when the signal ends the process
        });
        ASSERT_TRUE(WIFSIGNALED(status)) << strsignal(signalNumber) << ": status " << status;
        EXPECT_EQ(WTERMSIG(status), signalNumber);
        EXPECT_TRUE(listFolder(folder).empty()) << strsignal(signalNumber);
    }
}

TEST_P(ArchiveFileProcessTest, AFirstInterruptAsksARunThatCanStopToAndTheNextEndsTheProcessLeavingNothing)
{
    // SIGHUP, a dropped session, still ends the process at once.
    for (int signalNumber : {SIGINT, SIGTERM, SIGHUP}) {
        int status = statusOfChild([&] {
            std::signal(signalNumber, SIG_DFL);
            ArchiveFile::installInterruptCleanup();
            static CancellationFlag run;
            cancelRunOnInterrupt(&run);
            ArchiveFile file(folder, GetParam());
            writeZip(file, {{"a.log", "a"}});
            raise(signalNumber);
            if (!run.isRequested())
                _exit(97);
            raise(signalNumber);
            _exit(99);
        });
        ASSERT_TRUE(WIFSIGNALED(status)) << strsignal(signalNumber) << ": status " << status;
        EXPECT_EQ(WTERMSIG(status), signalNumber);
        EXPECT_TRUE(listFolder(folder).empty()) << strsignal(signalNumber);
    }
}

TEST_P(ArchiveFileProcessTest, AWriteBeyondAFileSizeLimitFailsInsteadOfEndingTheProcess)
{
    int status = statusOfChild([&] {
        std::signal(SIGXFSZ, SIG_DFL);
        ArchiveFile::installInterruptCleanup();
        const rlimit small{64 << 10, 64 << 10};
        setrlimit(RLIMIT_FSIZE, &small);
        bool failedWithEfbig = false;
        {
            ArchiveFile file(folder, GetParam());
            failedWithEfbig =
                writeZip(file, {{"big.bin", archive_file_testing::incompressibleBytes(1 << 20)}}) != ZIP_OK &&
                file.writeError().value() == EFBIG;
        }
        _exit(failedWithEfbig ? 0 : 97);
    });
    ASSERT_TRUE(WIFEXITED(status)) << "status " << status;
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_TRUE(listFolder(folder).empty());
}

TEST_P(ArchiveFileProcessTest, AnIgnoredSignalStaysIgnored)
{
    int status = statusOfChild([&] {
        std::signal(SIGTERM, SIG_IGN);
        ArchiveFile::installInterruptCleanup();
        ArchiveFile file(folder, GetParam());
        raise(SIGTERM);
    });
    ASSERT_TRUE(WIFEXITED(status)) << "status " << status;
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_TRUE(listFolder(folder).empty());
}

TEST_P(ArchiveFileProcessTest, SigkillLeavesNothingUnderAReportsName)
{
    int status = statusOfChild([&] {
        ArchiveFile file(folder, GetParam());
        writeZip(file, {{"a.log", "a"}});
        raise(SIGKILL);
    });
    ASSERT_TRUE(WIFSIGNALED(status));
    auto left = listFolder(folder);
    if (GetParam() == ArchiveFile::Creation::hiddenName) {
        // Nothing can remove a file after SIGKILL; it is hidden and no ".zip".
        ASSERT_EQ(left.size(), 1u);
        EXPECT_TRUE(archive_file_testing::isHiddenArchiveName(left[0])) << left[0];
    } else {
        EXPECT_TRUE(left.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(BothKinds, ArchiveFileProcessTest,
                         ::testing::Values(ArchiveFile::Creation::unnamedWhereSupported,
                                           ArchiveFile::Creation::hiddenName),
                         archive_file_testing::creationName);

} // namespace

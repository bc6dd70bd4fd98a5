// Whole runs of the real telvarin-report started or ended in hostile ways:
// standard descriptors closed, signals, a limit on file sizes, files that
// never end, runs racing for one folder, output that cannot be written. Every archive left is read back by
// `unzip -t`, Python's zipfile and `bsdtar -x`.
#include "tests/doubles/CommandLineSupport.h"
#include "tests/doubles/TestFiles.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <grp.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <functional>

using namespace testing_support;

namespace {

const std::string HOME = "/home/ada";

// One run of telvarin-report in a forked child; `prepare` runs in the child
// before exec and may only make async-signal-safe calls.
struct ChildRun {
    int status = -1;
    std::string output; // standard output, then standard error
};

ChildRun runChild(const std::vector<std::string>& arguments, const std::string& outputFile,
                  const std::function<void()>& prepare)
{
    std::vector<std::string> environment{"HOME=" + HOME, "PATH=/usr/bin:/bin"};
    for (const char* inherited : {"ASAN_OPTIONS", "UBSAN_OPTIONS", "TSAN_OPTIONS"})
        if (const char* value = std::getenv(inherited))
            environment.push_back(std::string(inherited) + "=" + value);
    std::vector<char*> argv, envp;
    for (const auto& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    for (auto& variable : environment)
        envp.push_back(variable.data());
    envp.push_back(nullptr);
    const int output = open(outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    ChildRun run;
    const pid_t child = fork();
    if (child == 0) {
        dup2(output, STDOUT_FILENO);
        dup2(output, STDERR_FILENO);
        prepare();
        execve(argv[0], argv.data(), envp.data());
        _exit(127);
    }
    close(output);
    while (waitpid(child, &run.status, 0) < 0 && errno == EINTR) {
    }
    run.output = readWholeFile(outputFile);
    return run;
}

std::string fileList(const std::vector<std::string>& absolute)
{
    std::string text = "<configuration><Absolute_Path_Files>";
    for (const auto& path : absolute)
        text += "<file>" + path + "</file>";
    return text + "</Absolute_Path_Files><Home_Path_Files/></configuration>";
}

class HostileStart : public ::testing::Test {
protected:
    void SetUp() override
    {
        makeMakersFolders(root);
        makeDirectories(root + HOME);
        makeDirectories(out);
        writeFile(root + "/var/log/a.log", "a log line\n");
        writeFile(temp / "data.xml", fileList({"var/log/a.log"}));
    }

    std::vector<std::string> reportArguments(std::vector<std::string> extra = {})
    {
        std::vector<std::string> arguments{TELVARIN_REPORT_EXECUTABLE, "--sysroot", root, "--output", out, "--data-xml",
                                           temp / "data.xml"};
        arguments.insert(arguments.end(), extra.begin(), extra.end());
        return arguments;
    }

    void expectEveryArchiveSound()
    {
        for (const auto& name : archivesIn(out))
            EXPECT_EQ(complaintsOfEveryReader(out + "/" + name), "") << name;
    }

    TempDir temp;
    std::string root = temp / "root";
    std::string out = temp / "out";
};

} // namespace

TEST_F(HostileStart, ClosedStandardDescriptorsNeverBecomeTheArchive)
{
    const std::vector<std::pair<std::string, std::vector<int>>> closings = {
        {"all three", {0, 1, 2}}, {"output", {1}}, {"error", {2}}, {"input and output", {0, 1}}};
    for (const auto& [what, descriptors] : closings) {
        SCOPED_TRACE(what);
        ChildRun run = runChild(reportArguments(), temp / "output.txt", [&descriptors] {
            for (int descriptor : descriptors)
                close(descriptor);
        });
        EXPECT_TRUE(WIFEXITED(run.status) && WEXITSTATUS(run.status) == 0) << run.status << run.output;
        const auto archives = archivesIn(out);
        ASSERT_EQ(archives.size(), 1u);
        EXPECT_EQ(complaintsOfEveryReader(out + "/" + archives.front()), "");
        // Readers pass over bytes before the first entry; there must be none.
        EXPECT_EQ(readWholeFile(out + "/" + archives.front()).substr(0, 4), "PK\x03\x04");
        EXPECT_EQ(readZipEntry(out + "/" + archives.front(), "/var/log/a.log"), "a log line\n");
        std::remove((out + "/" + archives.front()).c_str());
    }
}

TEST_F(HostileStart, ALimitOnFileSizesEndsTheRunAsAFailedWrite)
{
    writeFile(root + "/var/log/big.log", randomBytes(1 << 20, 7));
    writeFile(temp / "data.xml", fileList({"var/log/big.log"}));
    for (const bool json : {false, true}) {
        SCOPED_TRACE(json ? "--json" : "plain");
        ChildRun run = runChild(reportArguments(json ? std::vector<std::string>{"--json"} : std::vector<std::string>{}),
                                temp / "output.txt", [] {
                                    const rlimit small{256 << 10, 256 << 10};
                                    setrlimit(RLIMIT_FSIZE, &small);
                                });
        ASSERT_TRUE(WIFEXITED(run.status)) << "ended by signal " << WTERMSIG(run.status);
        EXPECT_EQ(WEXITSTATUS(run.status), 1) << run.output;
        EXPECT_NE(run.output.find(json ? "\"error\":{\"code\":15" : "Error code 15 occured"), std::string::npos)
            << run.output;
        EXPECT_TRUE(archivesIn(out).empty());
        expectEveryArchiveSound();
    }
}

// What the real program does with each signal, as the kernel reports it.
TEST_F(HostileStart, TheProgramTakesEverySignalThatWouldEndItAndIgnoresTheFileSizeLimitSignal)
{
    // Long enough to be looked at while it runs: a sparse file of 256 MiB.
    writeFile(root + "/var/log/huge.log", "");
    ASSERT_EQ(truncate((root + "/var/log/huge.log").c_str(), off_t{256} << 20), 0);
    writeFile(temp / "data.xml", fileList({"var/log/huge.log"}));
    std::vector<std::string> arguments = reportArguments();
    std::vector<char*> argv;
    for (auto& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        char home[] = "HOME=/home/ada";
        char* envp[] = {home, nullptr};
        execve(argv[0], argv.data(), envp);
        _exit(127);
    }
    auto bit = [](int signalNumber) { return 1ull << (signalNumber - 1); };
    auto maskIn = [](const std::string& status, const std::string& field) {
        const auto at = status.find("\n" + field + ":\t");
        return at == std::string::npos ? 0ull : std::stoull(status.substr(at + field.size() + 3, 16), nullptr, 16);
    };
    // The masks once the program has set up its signals, the file-size one
    // last: a sanitizer's runtime catches a few faults before main starts.
    unsigned long long caught = 0;
    unsigned long long ignored = 0;
    for (int attempt = 0; attempt < 2500 && !(ignored & bit(SIGXFSZ)); ++attempt) {
        usleep(2000);
        const std::string status = readWholeFile("/proc/" + std::to_string(child) + "/status");
        if (status.find("Name:\ttelvarin-report") == std::string::npos)
            continue;
        caught = maskIn(status, "SigCgt");
        ignored = maskIn(status, "SigIgn");
    }
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    for (int signalNumber : {SIGHUP, SIGINT, SIGQUIT, SIGTERM, SIGUSR1, SIGUSR2, SIGALRM, SIGXCPU, SIGVTALRM, SIGPROF,
                             SIGIO, SIGPWR, SIGABRT, SIGRTMIN, SIGRTMAX})
        EXPECT_TRUE(caught & bit(signalNumber)) << strsignal(signalNumber);
    EXPECT_TRUE(ignored & bit(SIGXFSZ));
    // Output to a reader that went away (`| head`) must not end the run.
    EXPECT_TRUE(ignored & bit(SIGPIPE));
}

TEST_F(HostileStart, AFileThatReportsNoSizeIsStoredUpToTheLimit)
{
    // Read on this machine, not under --sysroot: /proc/self/pagemap reports
    // size 0 and would yield some 256 GiB. Whether the run ends well here
    // (the maker's driver folder) or not, the file was stored first.
    writeFile(temp / "data.xml", fileList({"proc/self/pagemap"}));
    ProcessResult run = runProcess({TELVARIN_REPORT_EXECUTABLE, "--output", out, "--data-xml", temp / "data.xml"},
                                   {{"HOME", temp / "home"}});
    const auto archives = archivesIn(out);
    ASSERT_EQ(archives.size(), 1u) << run.standardError;
    const std::string archive = out + "/" + archives.front();
    EXPECT_EQ(complaintsOfEveryReader(archive), "");
    for (const auto& entry : readZipEntries(archive)) {
        if (entry.name == "/proc/self/pagemap") {
            EXPECT_EQ(entry.size, 16u << 20);
        } else if (entry.name == "reportData/reportGeneratorLog.log") {
            EXPECT_NE(readZipEntry(archive, entry.name)
                          .find("Stored only the first 16777216 bytes of the path "
                                "\"/proc/self/pagemap\""),
                      std::string::npos);
        }
    }
}

TEST_F(HostileStart, RunsIntoOneFolderAtOnceLeaveChecksumsThatMatchTheirArchives)
{
    writeFile(root + "/var/log/big.log", randomBytes(4 << 20, 11));
    writeFile(temp / "data.xml", fileList({"var/log/big.log", "var/log/a.log"}));
    constexpr int RUNS = 6;
    std::vector<std::string> arguments = reportArguments({"--json", "--checksum"});
    std::vector<char*> argv;
    for (auto& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    std::string home = "HOME=" + HOME;
    char* envp[] = {home.data(), nullptr};
    std::vector<pid_t> children;
    for (int run = 0; run < RUNS; ++run) {
        const std::string output = temp / ("run" + std::to_string(run) + ".json");
        const int descriptor = open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        const pid_t child = fork();
        if (child == 0) {
            dup2(descriptor, STDOUT_FILENO);
            execve(argv[0], argv.data(), envp);
            _exit(127);
        }
        close(descriptor);
        children.push_back(child);
    }
    for (pid_t child : children) {
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    }
    for (int run = 0; run < RUNS; ++run)
        EXPECT_NE(readWholeFile(temp / ("run" + std::to_string(run) + ".json")).find("\"placed\":true"),
                  std::string::npos);
    // Two names at most (a minute may turn meanwhile), each with its checksum.
    const auto archives = archivesIn(out);
    ASSERT_FALSE(archives.empty());
    for (const auto& name : archives) {
        ProcessResult check = runProcess({"sha256sum", "-c", name + ".sha256"}, {}, out);
        EXPECT_EQ(check.exitStatus, 0) << check.standardOutput << check.standardError;
        EXPECT_EQ(complaintsOfEveryReader(out + "/" + name), "");
    }
}

TEST_F(HostileStart, TheLastLineIsEscapedOnATerminalAndBytesInAPipe)
{
    const std::string odd = temp / "out\033]0;retitled\a";
    makeDirectories(odd);
    std::vector<std::string> arguments = reportArguments();
    arguments[4] = odd;
    const ProcessResult run = runOnTerminal(arguments, {{"HOME", HOME}});
    const std::string& shown = run.standardOutput;
    EXPECT_EQ(run.exitStatus, 0) << shown;
    EXPECT_NE(shown.find("out\\033]0;retitled\\a/Telvarin_"), std::string::npos) << shown;
    EXPECT_EQ(shown.find('\033'), std::string::npos);

    // A pipe gets the path's bytes, ready for a script.
    ProcessResult piped = runProcess(arguments, {{"HOME", HOME}});
    ASSERT_EQ(piped.exitStatus, 0) << piped.standardError;
    const auto lines = splitLines(piped.standardOutput);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back().rfind(canonicalPath(odd) + "/Telvarin_", 0), 0u) << lines.back();
    EXPECT_EQ(complaintsOfEveryReader(lines.back()), "");
}

// A process limit that lets no thread start: the archive is compressed on
// the run's own thread, and where the USB layer cannot start without one,
// the run says so with the system's reason, never as a failed write.
TEST_F(HostileStart, ALimitOnProcessesIsNoFailedWriteAndTheUsbLayerSaysWhyItCouldNotStart)
{
    // An unprivileged user, for whom the limit counts; the folders open to it.
    const bool asRoot = geteuid() == 0;
    ASSERT_EQ(chmod(temp.path().c_str(), 0755), 0);
    ASSERT_EQ(chmod(out.c_str(), 0777), 0);
    // Under AddressSanitizer the leak checker needs a thread of its own at
    // exit, which the limit denies.
    const char* sanitizerOptions = std::getenv("ASAN_OPTIONS");
    const std::string previousOptions = sanitizerOptions ? sanitizerOptions : "";
    setenv("ASAN_OPTIONS", (previousOptions + ":detect_leaks=0").c_str(), 1);
    ChildRun run = runChild(reportArguments(), temp / "output.txt", [asRoot] {
        constexpr uid_t NOBODY = 65534;
        if (asRoot && (setgroups(0, nullptr) != 0 || setresgid(NOBODY, NOBODY, NOBODY) != 0 ||
                       setresuid(NOBODY, NOBODY, NOBODY) != 0))
            _exit(126);
        const rlimit one{1, 1};
        setrlimit(RLIMIT_NPROC, &one);
    });
    if (sanitizerOptions)
        setenv("ASAN_OPTIONS", previousOptions.c_str(), 1);
    else
        unsetenv("ASAN_OPTIONS");
    ASSERT_TRUE(WIFEXITED(run.status)) << run.output;
    EXPECT_EQ(run.output.find("Error code 15"), std::string::npos) << run.output;
    if (WEXITSTATUS(run.status) != 0) {
        EXPECT_NE(run.output.find("Error code -99 occured\nThe USB devices of this computer could not be listed: "
                                  "Resource temporarily unavailable."),
                  std::string::npos)
            << run.output;
    }
    const auto archives = archivesIn(out);
    ASSERT_EQ(archives.size(), 1u) << run.output;
    EXPECT_EQ(readZipEntry(out + "/" + archives.front(), "/var/log/a.log"), "a log line\n");
    expectEveryArchiveSound();
}

TEST_F(HostileStart, OutputThatCannotBeWrittenFailsTheRunWhichSaysWhereTheArchiveIs)
{
    int pipeEnds[2];
    ASSERT_EQ(pipe2(pipeEnds, O_CLOEXEC), 0);
    close(pipeEnds[0]);
    const int full = open("/dev/full", O_WRONLY | O_CLOEXEC);
    ASSERT_GE(full, 0);
    const struct {
        const char* what;
        int output;
        const char* reason;
    } outputs[] = {{"a full disk", full, "No space left on device"}, {"a closed pipe", pipeEnds[1], "Broken pipe"}};
    for (const auto& [what, output, reason] : outputs) {
        for (const bool json : {false, true}) {
            SCOPED_TRACE(std::string(what) + (json ? ", --json" : ""));
            using Words = std::vector<std::string>;
            ChildRun run = runChild(reportArguments(json ? Words{"--json"} : Words{}), temp / "errors.txt",
                                    [descriptor = output] { dup2(descriptor, STDOUT_FILENO); });
            EXPECT_TRUE(WIFEXITED(run.status) && WEXITSTATUS(run.status) == 1) << run.status << run.output;
            const auto archives = archivesIn(out);
            ASSERT_EQ(archives.size(), 1u);
            EXPECT_NE(run.output.find(std::string("telvarin-report: cannot write to standard output: ") + reason),
                      std::string::npos)
                << run.output;
            EXPECT_NE(run.output.find("the report was placed all the same: " + canonicalPath(out) + "/" + archives[0]),
                      std::string::npos)
                << run.output;
            expectEveryArchiveSound();
            std::remove((out + "/" + archives[0]).c_str());
        }
    }
    close(full);
    close(pipeEnds[1]);
}

TEST_F(HostileStart, ProcessingInstructionsAndADocumentTypeInDataXmlAddNothing)
{
    writeFile(temp / "data.xml", "<?xml version=\"1.0\"?>\n<!DOCTYPE configuration [ <!ENTITY e \"x\"> ]>\n"
                                 "<configuration><Absolute_Path_Files><?note x?><file>var/log/a.log</file>"
                                 "</Absolute_Path_Files><Home_Path_Files/></configuration><?end?>\n");
    ProcessResult run = runProcess(reportArguments({"--json"}), {{"HOME", HOME}});
    EXPECT_EQ(run.exitStatus, 0) << run.standardError;
    EXPECT_NE(run.standardOutput.find("\"missing\":[]"), std::string::npos) << run.standardOutput;
    const auto archives = archivesIn(out);
    ASSERT_EQ(archives.size(), 1u);
    EXPECT_EQ(readZipEntry(out + "/" + archives.front(), "/var/log/a.log"), "a log line\n");
    EXPECT_EQ(complaintsOfEveryReader(out + "/" + archives.front()), "");
}

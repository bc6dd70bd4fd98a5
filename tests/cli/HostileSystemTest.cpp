// Whole runs of the real telvarin-report against hostile collected systems and
// folders: links that lead out of --sysroot, runs stopped or failing half-way,
// and a root run in a user's home. Every archive left is read back by
// Python's zipfile and `unzip -t`.
#include "tests/doubles/CommandLineSupport.h"
#include "tests/doubles/TestFiles.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <thread>

using namespace testing_support;

extern char** environ;

namespace {

const std::string HOST_SECRET = "HOST-SECRET-BYTES";
const std::string HOST_VERSION = "9.9.9-host";
const std::string HOME = "/home/ada";

std::string fileList(const std::vector<std::string>& absolute, const std::vector<std::string>& home)
{
    std::string text = "<?xml version=\"1.0\"?>\n<configuration>\n  <Absolute_Path_Files>\n";
    for (const auto& path : absolute)
        text += "    <file>" + path + "</file>\n";
    text += "  </Absolute_Path_Files>\n  <Home_Path_Files>\n";
    for (const auto& path : home)
        text += "    <file>" + path + "</file>\n";
    return text + "  </Home_Path_Files>\n</configuration>\n";
}

// Every entry's bytes, joined: what the archive gives away.
std::string everythingStored(const std::string& archive)
{
    std::string all;
    for (const auto& name : readZipEntryNames(archive))
        all += name + "\n" + readZipEntry(archive, name) + "\n";
    return all;
}

void expectSoundArchives(const std::string& folder)
{
    for (const auto& name : archivesIn(folder))
        EXPECT_EQ(complaintsOfEveryReader(folder + "/" + name), "") << name;
}

// A run in the background, for tests that act while it is under way.
class BackgroundRun {
public:
    BackgroundRun(const std::vector<std::string>& arguments, const std::string& home,
                  const std::string& standardOutput = "/dev/null")
    {
        std::vector<std::string> environment{"HOME=" + home, "PATH=/usr/bin:/bin"};
        if (const char* options = std::getenv("ASAN_OPTIONS"))
            environment.push_back(std::string("ASAN_OPTIONS=") + options);
        std::vector<char*> argv;
        for (const auto& argument : arguments)
            argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        std::vector<char*> envp;
        for (auto& variable : environment)
            envp.push_back(variable.data());
        envp.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, standardOutput.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0644);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
        // The signals the tests send at their defaults, whatever this
        // process inherited (a shell's background job ignores SIGINT).
        posix_spawnattr_t attributes;
        posix_spawnattr_init(&attributes);
        sigset_t defaults;
        sigemptyset(&defaults);
        sigaddset(&defaults, SIGINT);
        sigaddset(&defaults, SIGTERM);
        posix_spawnattr_setsigdefault(&attributes, &defaults);
        posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
        if (posix_spawn(&pid_, argv[0], &actions, &attributes, argv.data(), envp.data()) != 0)
            pid_ = -1;
        posix_spawnattr_destroy(&attributes);
        posix_spawn_file_actions_destroy(&actions);
    }
    ~BackgroundRun()
    {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            wait();
        }
    }
    BackgroundRun(const BackgroundRun&) = delete;
    BackgroundRun& operator=(const BackgroundRun&) = delete;

    bool started() const { return pid_ > 0; }
    void signal(int number) const { kill(pid_, number); }
    // The raw wait status.
    int wait()
    {
        int status = 0;
        while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
        }
        pid_ = -1;
        return status;
    }

private:
    pid_t pid_ = -1;
};

class HostileSystem : public ::testing::Test {
protected:
    void SetUp() override
    {
        root = temp / "root";
        out = temp / "out";
        host = temp / "host";
        makeMakersFolders(root);
        makeDirectories(root + HOME);
        makeDirectories(out);
        writeFile(host + "/shadow", HOST_SECRET);
    }

    ProcessResult run(const std::string& list, const std::string& home = HOME)
    {
        writeFile(temp / "data.xml", list);
        return runProcess(
            {TELVARIN_REPORT_EXECUTABLE, "--sysroot", root, "--output", out, "--data-xml", temp / "data.xml"},
            {{"HOME", home}});
    }

    std::string onlyArchive()
    {
        auto archives = archivesIn(out);
        EXPECT_EQ(archives.size(), 1u);
        return archives.empty() ? std::string() : out + "/" + archives.front();
    }

    // A file large enough that the run is still copying it a moment later;
    // sparse, so that it costs no disk.
    void plantSlowSource(const std::string& systemPath)
    {
        writeFile(root + systemPath, "");
        ASSERT_EQ(truncate((root + systemPath).c_str(), off_t{256} << 20), 0);
    }

    TempDir temp;
    std::string root, out, host;
};

} // namespace

TEST_F(HostileSystem, NoLinkOrDotDotLeadsOutOfTheRootWhileLinksInsideResolveIntoIt)
{
    const std::string logs = root + "/var/log/quorvel";
    makeDirectories(logs);
    // The same absolute path inside the root holds the collected system's copy.
    writeFile(root + host + "/shadow", "inside copy");
    ASSERT_EQ(symlink((host + "/shadow").c_str(), (logs + "/absolute.log").c_str()), 0);
    ASSERT_EQ(symlink(("../../../../../../../../../../.." + host + "/shadow").c_str(), (logs + "/climb.log").c_str()),
              0);
    writeFile(host + "/dir/x.log", HOST_SECRET);
    ASSERT_EQ(symlink((host + "/dir").c_str(), (logs + "/linked").c_str()), 0);
    writeFile(host + "/only.log", HOST_SECRET);
    writeFile(logs + "/wild/a.log", "fine");
    ASSERT_EQ(symlink((host + "/only.log").c_str(), (logs + "/wild/b.log").c_str()), 0);
    writeFile(host + "/Evil.bundle/Contents/Info.plist",
              "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>CFBundleVersion</key><string>" + HOST_VERSION +
                  "</string></dict></plist>");
    ASSERT_EQ(symlink((host + "/Evil.bundle").c_str(), (root + "/Library/Printers/Quorvel/Evil.bundle").c_str()), 0);
    writeFile(root + HOME + "/.config/app.conf", "home file");
    ASSERT_EQ(symlink((host + "/only.log").c_str(), (root + HOME + "/.config/planted.conf").c_str()), 0);

    const std::string dotDot = "var/log/../../../../../../../.." + host + "/only.log";
    ProcessResult result = run(fileList({"var/log/quorvel/absolute.log", "var/log/quorvel/climb.log",
                                         "var/log/quorvel/linked/x.log", "var/log/quorvel/wild/*.log", dotDot},
                                        {".config/app.conf", ".config/planted.conf"}));
    ASSERT_EQ(result.exitStatus, 0) << result.standardOutput << result.standardError;
    const std::string archive = onlyArchive();
    ASSERT_FALSE(archive.empty());
    const std::string stored = everythingStored(archive);
    EXPECT_EQ(stored.find(HOST_SECRET), std::string::npos);
    EXPECT_EQ(stored.find(HOST_VERSION), std::string::npos);
    EXPECT_EQ(readZipEntry(archive, "/var/log/quorvel/absolute.log"), "inside copy");
    EXPECT_EQ(readZipEntry(archive, "/var/log/quorvel/climb.log"), "inside copy");
    EXPECT_EQ(readZipEntry(archive, HOME + "/.config/app.conf"), "home file");
    EXPECT_NE(result.standardOutput.find("path not found: /var/log/quorvel/linked/x.log"), std::string::npos)
        << result.standardOutput;
    expectSoundArchives(out);

    // ".." in HOME stops at the root as well.
    std::filesystem::remove(archive);
    writeFile(host + "/.config/app.conf", HOST_SECRET);
    result = run(fileList({}, {".config/app.conf"}), "/home/../../../../../../.." + host);
    ASSERT_EQ(result.exitStatus, 0) << result.standardOutput << result.standardError;
    EXPECT_EQ(everythingStored(onlyArchive()).find(HOST_SECRET), std::string::npos);
    expectSoundArchives(out);
}

TEST_F(HostileSystem, SigintOrSigtermMidRunCancelsItLeavingNothing)
{
    plantSlowSource("/var/log/huge.log");
    writeFile(temp / "data.xml", fileList({"var/log/huge.log"}, {}));
    for (int signalNumber : {SIGINT, SIGTERM}) {
        SCOPED_TRACE(strsignal(signalNumber));
        BackgroundRun background(
            {TELVARIN_REPORT_EXECUTABLE, "--json", "--sysroot", root, "--output", out, "--data-xml", temp / "data.xml"},
            HOME, temp / "summary.json");
        ASSERT_TRUE(background.started());
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        background.signal(signalNumber);
        const int status = background.wait();
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 130) << status;
        EXPECT_TRUE(std::filesystem::is_empty(out));
        // The one object says that nothing was placed, and why.
        const std::string summary = readWholeFile(temp / "summary.json");
        EXPECT_NE(summary.find("{\"placed\":false,\"archive\":null,"), std::string::npos) << summary;
        EXPECT_NE(summary.find("\"error\":{\"code\":0,\"message\":\"The report was cancelled\",\"detail\":null}"),
                  std::string::npos)
            << summary;
    }
}

TEST_F(HostileSystem, AFailureAfterAGoodRunInTheSameMinuteKeepsTheGoodOne)
{
    writeFile(root + "/var/log/good.log", "good");
    ProcessResult good = run(fileList({"var/log/good.log"}, {}));
    ASSERT_EQ(good.exitStatus, 0) << good.standardError;
    const std::string archive = onlyArchive();
    ASSERT_FALSE(archive.empty());
    const std::string before = readWholeFile(archive);

    // No Home_Path_Files section: code 7 once the absolute files are stored.
    writeFile(root + "/var/log/other.log", "failing run");
    writeFile(temp / "data.xml",
              "<configuration><Absolute_Path_Files><file>var/log/other.log</file></Absolute_Path_Files>"
              "</configuration>");
    ProcessResult failing =
        runProcess({TELVARIN_REPORT_EXECUTABLE, "--sysroot", root, "--output", out, "--data-xml", temp / "data.xml"},
                   {{"HOME", HOME}});
    EXPECT_EQ(failing.exitStatus, 1);
    EXPECT_EQ(readWholeFile(archive), before);
    // Past a minute's turn the failed run's archive stands under a new name.
    for (const auto& name : archivesIn(out)) {
        if (out + "/" + name != archive) {
            EXPECT_NE(everythingStored(out + "/" + name).find("failing run"), std::string::npos);
        }
    }
    expectSoundArchives(out);
}

TEST_F(HostileSystem, AnOutputFolderRemovedMidRunIsCode15)
{
    plantSlowSource("/var/log/huge.log");
    writeFile(temp / "data.xml", fileList({"var/log/huge.log"}, {}));
    ProcessResult result;
    std::thread remover([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        std::filesystem::remove_all(out);
    });
    result =
        runProcess({TELVARIN_REPORT_EXECUTABLE, "--sysroot", root, "--output", out, "--data-xml", temp / "data.xml"},
                   {{"HOME", HOME}});
    remover.join();
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_NE(result.standardError.find("Error code 15 occured"), std::string::npos) << result.standardError;
    EXPECT_EQ(result.standardOutput.find("placed"), std::string::npos);
    EXPECT_FALSE(pathExists(out));
}

class RootInAUsersHome : public HostileSystem {
protected:
    static constexpr uid_t USER = 65534;
    void SetUp() override
    {
        if (geteuid() != 0)
            GTEST_SKIP() << "needs root: the run takes the user's rights only when started as root";
        HostileSystem::SetUp();
        ASSERT_EQ(chmod(temp.path().c_str(), 0755), 0);
    }

    static uid_t ownerOf(const std::string& path)
    {
        struct stat status {};
        EXPECT_EQ(lstat(path.c_str(), &status), 0) << path;
        return status.st_uid;
    }
};

TEST_F(RootInAUsersHome, PlantedLinksAtTheArchivesNameLeaveTheirTargetsAlone)
{
    writeFile(root + HOME + "/settings.conf", "the user's");
    ASSERT_EQ(chown((root + HOME).c_str(), USER, USER), 0);
    const std::string desktop = temp / "user/Desktop";
    makeDirectories(desktop);
    ASSERT_EQ(chown((temp / "user").c_str(), USER, USER), 0);
    ASSERT_EQ(chown(desktop.c_str(), USER, USER), 0);
    writeFile(temp / "target", "precious");
    // This minute's name and the next.
    const std::time_t now = std::time(nullptr);
    for (std::time_t moment : {now, now + 60}) {
        std::tm local{};
        localtime_r(&moment, &local);
        char name[64];
        std::strftime(name, sizeof name, "Telvarin_%m_%d_%Y__%I_%M_%p.zip", &local);
        ASSERT_EQ(symlink((temp / "target").c_str(), (desktop + "/" + name).c_str()), 0);
    }
    writeFile(temp / "data.xml", fileList({}, {"settings.conf"}));
    ProcessResult result = runProcess(
        {TELVARIN_REPORT_EXECUTABLE, "--sysroot", root, "--output", desktop, "--data-xml", temp / "data.xml"},
        {{"HOME", HOME}});
    ASSERT_EQ(result.exitStatus, 0) << result.standardError;
    EXPECT_EQ(readWholeFile(temp / "target"), "precious");
    // The archive's path is the last line printed.
    std::string printed = result.standardOutput;
    while (!printed.empty() && printed.back() == '\n')
        printed.pop_back();
    const std::string archive = printed.substr(printed.rfind('\n') + 1);
    struct stat status {};
    ASSERT_EQ(lstat(archive.c_str(), &status), 0) << archive;
    EXPECT_TRUE(S_ISREG(status.st_mode));
    EXPECT_EQ(status.st_uid, USER);
    EXPECT_EQ(readZipEntry(archive, HOME + "/settings.conf"), "the user's");
    EXPECT_TRUE(unzipTestPasses(archive));
}

TEST_F(RootInAUsersHome, ARootOnlyFileBehindTheUsersLinkIsNotStored)
{
    writeFile(root + HOME + "/settings.conf", "the user's");
    writeFile(root + "/secret", "root only");
    ASSERT_EQ(chmod((root + "/secret").c_str(), 0600), 0);
    ASSERT_EQ(symlink("/secret", (root + HOME + "/planted.conf").c_str()), 0);
    ASSERT_EQ(chown((root + HOME).c_str(), USER, USER), 0);

    ProcessResult result = run(fileList({}, {"settings.conf", "planted.conf"}));
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_NE(result.standardError.find("An error occured while trying to read a file"), std::string::npos)
        << result.standardError;
    for (const auto& name : archivesIn(out))
        EXPECT_EQ(everythingStored(out + "/" + name).find("root only"), std::string::npos);
    expectSoundArchives(out);
}

TEST_F(RootInAUsersHome, TheDesktopFolderTheRunMakesAndTheArchiveAreTheUsers)
{
    const std::string home = temp / "user";
    makeDirectories(home);
    writeFile(home + "/settings.conf", "the user's");
    ASSERT_EQ(chown(home.c_str(), USER, USER), 0);
    ASSERT_EQ(chown((home + "/settings.conf").c_str(), USER, USER), 0);
    writeFile(temp / "data.xml", fileList({}, {"settings.conf"}));

    // Whether this machine lets the run end well or not (no maker's driver:
    // code 14), the home file was stored first and the archive is kept.
    ProcessResult result = runProcess({TELVARIN_REPORT_EXECUTABLE, "--data-xml", temp / "data.xml"}, {{"HOME", home}});
    EXPECT_EQ(ownerOf(home + "/Desktop"), USER) << result.standardError;
    const auto archives = archivesIn(home + "/Desktop");
    ASSERT_EQ(archives.size(), 1u) << result.standardError;
    EXPECT_EQ(ownerOf(home + "/Desktop/" + archives.front()), USER);
    expectSoundArchives(home + "/Desktop");
}

TEST_F(HostileSystem, NamesShownOnATerminalHaveTheirControlCharactersEscaped)
{
    writeFile(root + "/var/log/w/forged\npath found: \033]0;title\a.log", "x");
    writeFile(temp / "data.xml", fileList({"var/log/w/*.log"}, {}));
    const ProcessResult onTerminal =
        runOnTerminal({TELVARIN_REPORT_EXECUTABLE, "--sysroot", root, "--output", out, "--data-xml", temp / "data.xml"},
                      {{"HOME", HOME}});
    const std::string& shown = onTerminal.standardOutput;
    EXPECT_EQ(onTerminal.exitStatus, 0) << shown;
    EXPECT_NE(shown.find("forged\\npath found: \\033]0;title\\a.log"), std::string::npos) << shown;
    EXPECT_EQ(shown.find('\033'), std::string::npos);

    // The archive keeps the name's bytes.
    std::filesystem::remove_all(out);
    makeDirectories(out);
    ProcessResult piped = run(fileList({"var/log/w/*.log"}, {}));
    ASSERT_EQ(piped.exitStatus, 0) << piped.standardError;
    const std::string archive = onlyArchive();
    ProcessResult check = runProcess({"python3", "-c",
                                      "import sys, zipfile\n"
                                      "sys.exit(0 if sys.argv[2] in zipfile.ZipFile(sys.argv[1]).namelist() else 1)",
                                      archive, "/var/log/w/forged\npath found: \033]0;title\a.log"},
                                     {});
    EXPECT_EQ(check.exitStatus, 0) << check.standardError;
    EXPECT_TRUE(unzipTestPasses(archive));
}

TEST_F(RootInAUsersHome, TheDesktopLeadsOnlyWhereTheUserCouldWrite)
{
    const std::string home = temp / "user";
    const std::string rootOnly = temp / "root-only";
    makeDirectories(home + "/.config");
    makeDirectories(rootOnly);
    writeFile(home + "/settings.conf", "the user's");
    for (const auto& path : {home, home + "/.config", home + "/settings.conf"})
        ASSERT_EQ(chown(path.c_str(), USER, USER), 0);
    writeFile(temp / "data.xml", fileList({}, {"settings.conf"}));
    const std::vector<std::pair<std::string, std::function<void()>>> ways = {
        {"a Desktop link to root's folder",
         [&] { ASSERT_EQ(symlink(rootOnly.c_str(), (home + "/Desktop").c_str()), 0); }},
        {"a desktop that climbs out with ..",
         [&] { writeFile(home + "/.config/user-dirs.dirs", "XDG_DESKTOP_DIR=\"$HOME/../root-only\"\n"); }},
    };
    for (const auto& [what, plant] : ways) {
        SCOPED_TRACE(what);
        std::filesystem::remove(home + "/Desktop");
        std::filesystem::remove(home + "/.config/user-dirs.dirs");
        plant();
        ProcessResult result =
            runProcess({TELVARIN_REPORT_EXECUTABLE, "--data-xml", temp / "data.xml"}, {{"HOME", home}});
        EXPECT_EQ(result.exitStatus, 1);
        // The sentence as support knows it, then the folder and what to do.
        EXPECT_NE(result.standardError.find("Error code 15 occured\nThe report cannot be written in the folder \"" +
                                            rootOnly + "\": Permission denied. Check that the folder exists"),
                  std::string::npos)
            << result.standardError;
        EXPECT_TRUE(std::filesystem::is_empty(rootOnly));
    }
}

TEST_F(RootInAUsersHome, AFoldersFileBehindALinkTheUserCannotFollowIsNotRead)
{
    const std::string home = temp / "user";
    const std::string hidden = temp / "root-config";
    makeDirectories(home);
    writeFile(home + "/settings.conf", "the user's");
    writeFile(hidden + "/user-dirs.dirs", "XDG_DESKTOP_DIR=\"$HOME/Elsewhere\"\n");
    ASSERT_EQ(chmod(hidden.c_str(), 0700), 0);
    ASSERT_EQ(symlink(hidden.c_str(), (home + "/.config").c_str()), 0);
    for (const auto& path : {home, home + "/settings.conf"})
        ASSERT_EQ(chown(path.c_str(), USER, USER), 0);
    writeFile(temp / "data.xml", fileList({}, {"settings.conf"}));

    // Whether the run ends well here or not, the home file was stored first.
    ProcessResult result = runProcess({TELVARIN_REPORT_EXECUTABLE, "--data-xml", temp / "data.xml"}, {{"HOME", home}});
    EXPECT_FALSE(pathExists(home + "/Elsewhere")) << result.standardError;
    ASSERT_EQ(archivesIn(home + "/Desktop").size(), 1u) << result.standardError;
    EXPECT_EQ(ownerOf(home + "/Desktop/" + archivesIn(home + "/Desktop").front()), USER);
    expectSoundArchives(home + "/Desktop");
}

TEST_F(RootInAUsersHome, TheChecksumFileBesideTheUsersArchiveIsTheUsers)
{
    writeFile(root + HOME + "/settings.conf", "the user's");
    const std::string desktop = temp / "user/Desktop";
    makeDirectories(desktop);
    ASSERT_EQ(chown((temp / "user").c_str(), USER, USER), 0);
    ASSERT_EQ(chown(desktop.c_str(), USER, USER), 0);
    writeFile(temp / "data.xml", fileList({}, {"settings.conf"}));
    ProcessResult result = runProcess({TELVARIN_REPORT_EXECUTABLE, "--sysroot", root, "--output", desktop, "--data-xml",
                                       temp / "data.xml", "--checksum"},
                                      {{"HOME", HOME}});
    ASSERT_EQ(result.exitStatus, 0) << result.standardError;
    const auto archives = archivesIn(desktop);
    ASSERT_EQ(archives.size(), 1u);
    EXPECT_EQ(ownerOf(desktop + "/" + archives.front()), USER);
    EXPECT_EQ(ownerOf(desktop + "/" + archives.front() + ".sha256"), USER);
    EXPECT_EQ(complaintsOfEveryReader(desktop + "/" + archives.front()), "");
}

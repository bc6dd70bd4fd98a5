// Hostile collected systems built in a temporary directory beside files of
// the "running machine" that their links name. Whatever the path or link,
// what is read must be the collected system's own file.

#include "platform/posix/ConfinedRoot.h"
#include "platform/CollectedSystem.h"
#include "tests/doubles/ArchiveFileHelpers.h"
#include "tests/doubles/TestFiles.h"

#include <gtest/gtest.h>

#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <utility>

using platform::ConfinedRoot;
using platform::FileDescriptor;
using testing_support::makeDirectories;
using testing_support::TempDir;
using testing_support::writeFile;

namespace {

class ConfinedRootTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!ConfinedRoot::isSupported())
            GTEST_SKIP() << "the kernel offers no openat2 (Linux 5.6 and later)";
        root = temp / "root";
        makeDirectories(root);
        std::error_code error;
        confined = ConfinedRoot::open(root, error);
        ASSERT_TRUE(confined) << error.message();
    }

    // The same path on the running machine and inside the collected system,
    // with telling contents.
    void plantTwice(const std::string& hostPath)
    {
        writeFile(hostPath, "running machine");
        writeFile(root + hostPath, "collected system");
    }

    std::string read(const std::string& path)
    {
        std::error_code error;
        FileDescriptor file = confined->openForReading(path, error);
        if (!file)
            return "error: " + error.message();
        return archive_file_testing::readDescriptor(file.get());
    }

    int errorOf(const std::string& path)
    {
        std::error_code error;
        FileDescriptor file = confined->openForReading(path, error);
        return file ? 0 : error.value();
    }

    TempDir temp;
    std::string root;
    std::optional<ConfinedRoot> confined;
};

TEST_F(ConfinedRootTest, AbsoluteLinksPointIntoTheCollectedSystem)
{
    const std::string secret = temp / "shadow";
    plantTwice(secret);
    makeDirectories(root + "/var/log/quorvel");
    ASSERT_EQ(symlink(secret.c_str(), (root + "/var/log/quorvel/x.log").c_str()), 0);

    EXPECT_EQ(read("/var/log/quorvel/x.log"), "collected system");
    std::error_code error;
    auto status = confined->status("/var/log/quorvel/x.log", error);
    ASSERT_TRUE(status) << error.message();
    struct stat inside {};
    ASSERT_EQ(stat((root + secret).c_str(), &inside), 0);
    EXPECT_EQ(status->st_ino, inside.st_ino);

    // A link to a file that only the running machine has finds nothing.
    writeFile(temp / "host-only", "running machine");
    ASSERT_EQ(symlink((temp / "host-only").c_str(), (root + "/var/log/quorvel/y.log").c_str()), 0);
    EXPECT_EQ(errorOf("/var/log/quorvel/y.log"), ENOENT);
    EXPECT_FALSE(confined->status("/var/log/quorvel/y.log", error));
    EXPECT_EQ(error.value(), ENOENT);
}

TEST_F(ConfinedRootTest, DotDotInLinksAndPathsStopsAtTheRoot)
{
    writeFile(temp / "secret.txt", "running machine");
    writeFile(root + "/secret.txt", "collected system");
    makeDirectories(root + "/a/b");
    ASSERT_EQ(symlink("../../../../../secret.txt", (root + "/a/b/up.log").c_str()), 0);
    ASSERT_EQ(symlink("../../..", (root + "/a/b/climb").c_str()), 0);

    EXPECT_EQ(read("/a/b/up.log"), "collected system");
    EXPECT_EQ(read("/../secret.txt"), "collected system");
    EXPECT_EQ(read("/a/../../../secret.txt"), "collected system");
    EXPECT_EQ(read("a/b/../../../secret.txt"), "collected system");
    EXPECT_EQ(read("/a/b/climb/secret.txt"), "collected system");
    // Past the root there is only the root: it has no "climb" of its own.
    EXPECT_EQ(errorOf("/a/b/climb/climb/secret.txt"), ENOENT);
}

TEST_F(ConfinedRootTest, LinkedDirectoriesInThePathResolveInsideTheRoot)
{
    const std::string hostLogs = temp / "logs";
    plantTwice(hostLogs + "/printer.log");
    writeFile(hostLogs + "/host-only.log", "running machine");
    writeFile(root + hostLogs + "/collected-only.log", "collected system");
    makeDirectories(root + "/Library");
    ASSERT_EQ(symlink(hostLogs.c_str(), (root + "/Library/Logs").c_str()), 0);

    EXPECT_EQ(read("/Library/Logs/printer.log"), "collected system");
    std::error_code error;
    auto names = confined->listDirectory("/Library/Logs", error);
    ASSERT_TRUE(names) << error.message();
    std::sort(names->begin(), names->end());
    EXPECT_EQ(*names, (std::vector<std::string>{"collected-only.log", "printer.log"}));
}

TEST_F(ConfinedRootTest, NamesMetByListingResolveInsideTheRoot)
{
    const std::string secret = temp / "shadow";
    plantTwice(secret);
    writeFile(root + "/logs/a.log", "plain");
    ASSERT_EQ(symlink(secret.c_str(), (root + "/logs/b.log").c_str()), 0);
    makeDirectories(root + "/logs/sub");

    std::error_code error;
    auto names = confined->listDirectory("/logs", error);
    ASSERT_TRUE(names) << error.message();
    std::sort(names->begin(), names->end());
    ASSERT_EQ(*names, (std::vector<std::string>{"a.log", "b.log", "sub"}));
    for (const auto& name : *names) {
        if (name != "sub") {
            EXPECT_NE(read("/logs/" + name), "running machine") << name;
        }
    }
    EXPECT_EQ(read("/logs/b.log"), "collected system");
}

TEST_F(ConfinedRootTest, FifoOpensWithoutWaitingForAWriter)
{
    makeDirectories(root + "/var");
    ASSERT_EQ(mkfifo((root + "/var/pipe.log").c_str(), 0644), 0);
    std::error_code error;
    auto status = confined->status("/var/pipe.log", error);
    ASSERT_TRUE(status) << error.message();
    EXPECT_TRUE(S_ISFIFO(status->st_mode));
    // Blocking here would hang the test.
    FileDescriptor pipe = confined->openForReading("/var/pipe.log", error);
    EXPECT_TRUE(pipe) << error.message();
}

TEST_F(ConfinedRootTest, FailuresCarryTheirErrno)
{
    writeFile(root + "/file.log", "x");
    std::error_code error;
    EXPECT_EQ(errorOf("/missing.log"), ENOENT);
    EXPECT_EQ(errorOf("/file.log/below"), ENOTDIR);
    EXPECT_FALSE(confined->listDirectory("/file.log", error));
    EXPECT_EQ(error.value(), ENOTDIR);
    EXPECT_FALSE(confined->listDirectory("/missing", error));
    EXPECT_EQ(error.value(), ENOENT);

    // "/" and the empty path are the root itself.
    struct stat rootStatus {};
    ASSERT_EQ(stat(root.c_str(), &rootStatus), 0);
    for (const std::string path : {"/", ""}) {
        auto status = confined->status(path, error);
        ASSERT_TRUE(status) << error.message();
        EXPECT_EQ(status->st_ino, rootStatus.st_ino);
    }
    EXPECT_FALSE(ConfinedRoot::open(root + "/file.log", error));
    EXPECT_EQ(error.value(), ENOTDIR);
}

// Links through /proc name files of the running machine whatever the root;
// only a root with a /proc of its own can show that they are refused.
TEST(ConfinedRootMagicLinks, AreRefused)
{
    if (!ConfinedRoot::isSupported())
        GTEST_SKIP() << "the kernel offers no openat2 (Linux 5.6 and later)";
    struct stat proc {};
    if (stat("/proc/self/root", &proc) != 0)
        GTEST_SKIP() << "no /proc on this machine";
    std::error_code error;
    auto wholeMachine = ConfinedRoot::open("/", error);
    ASSERT_TRUE(wholeMachine) << error.message();
    EXPECT_FALSE(wholeMachine->openForReading("/proc/self/root/proc/self/status", error));
    EXPECT_EQ(error.value(), ELOOP);
    EXPECT_FALSE(wholeMachine->status("/proc/self/cwd", error));
    EXPECT_EQ(error.value(), ELOOP);
    EXPECT_TRUE(wholeMachine->openForReading("/proc/self/status", error)) << error.message();
}

} // namespace

TEST_F(ConfinedRootTest, TheCollectedSystemOfARootReadsOnlyInsideIt)
{
    const std::string secret = temp / "shadow";
    plantTwice(secret);
    makeDirectories(root + "/var/log/quorvel");
    makeDirectories(root + "/linked");
    writeFile(root + "/linked/inside.log", "collected system");
    ASSERT_EQ(symlink(secret.c_str(), (root + "/var/log/quorvel/x.log").c_str()), 0);
    ASSERT_EQ(symlink("/linked", (root + "/var/log/quorvel/dir").c_str()), 0);

    const platform::CollectedSystem system(root);
    std::error_code error;
    FileDescriptor file = system.openForReading("/var/log/quorvel/x.log", error);
    ASSERT_TRUE(file);
    EXPECT_EQ(archive_file_testing::readDescriptor(file.get()), "collected system");
    ASSERT_TRUE(system.status("/var/log/quorvel/../../../../" + secret, error));
    auto names = system.listDirectory("/var/log/quorvel/dir", error);
    ASSERT_TRUE(names);
    EXPECT_EQ(*names, std::vector<std::string>{"inside.log"});
    EXPECT_FALSE(system.status("/var/log/quorvel/missing", error));
    EXPECT_EQ(error, std::errc::no_such_file_or_directory);

    const platform::CollectedSystem missing(temp / "no-such-root");
    EXPECT_FALSE(missing.openForReading("/etc/passwd", error));
    EXPECT_EQ(error, std::errc::no_such_file_or_directory);
}

namespace {

// What openRegularFile makes of each path: the bytes of a regular file, "-"
// for a path it leaves alone.
std::string openedAs(const platform::CollectedSystem& system, const std::string& path)
{
    platform::CollectedSystem::RegularFile opened = system.openRegularFile(path);
    if (!opened.found)
        return opened.file ? "open but not found" : "-";
    char bytes[64] = {};
    const ssize_t count = opened.file ? ::read(opened.file.get(), bytes, sizeof bytes) : -1;
    if (count < 0 || !S_ISREG(opened.status.st_mode) || opened.status.st_size != count)
        return "unreadable";
    return std::string(bytes, static_cast<std::size_t>(count));
}

// Every case of `paths` under `root` opened as expected; the mismatches otherwise.
std::string mismatches(const std::string& root)
{
    const platform::CollectedSystem confined(root);
    const platform::CollectedSystem running;
    std::string found;
    const std::pair<std::string, std::string> cases[] = {{"/var/log/a.log", "alpha\n"}, {"/var/log/link", "alpha\n"},
                                                         {"/var/log/folder", "-"},      {"/var/log/pipe", "-"},
                                                         {"/var/log/missing", "-"},     {"/dev/null", "-"}};
    for (const auto& [path, expected] : cases) {
        if (std::string got = openedAs(confined, path); got != expected)
            found += path + ": " + got + "\n";
        // On the running machine the link names the machine's own file.
        if (path == "/dev/null" || path == "/var/log/link")
            continue;
        if (std::string got = openedAs(running, root + path); got != expected)
            found += root + path + ": " + got + "\n";
    }
    if (std::string got = openedAs(running, "/dev/null"); got != "-")
        found += "/dev/null on the running machine: " + got + "\n";
    return found;
}

} // namespace

// A listed file is resolved once and read through what was resolved; a
// directory, a FIFO or a device is never opened (an open can block or have
// effects). Without /proc (a minimal container) the outcome is the same.
TEST_F(ConfinedRootTest, OpenRegularFileOpensOnlyRegularFilesWithOrWithoutProc)
{
    writeFile(root + "/var/log/a.log", "alpha\n");
    makeDirectories(root + "/var/log/folder");
    ASSERT_EQ(mkfifo((root + "/var/log/pipe").c_str(), 0600), 0);
    ASSERT_EQ(symlink("/var/log/a.log", (root + "/var/log/link").c_str()), 0);
    EXPECT_EQ(mismatches(root), "");
    if (geteuid() != 0)
        GTEST_SKIP() << "unmounting /proc in a namespace of its own needs root";
    EXPECT_EXIT(
        {
            const bool withoutProc = unshare(CLONE_NEWNS) == 0 &&
                                     mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
                                     umount2("/proc", MNT_DETACH) == 0 && access("/proc/self", F_OK) != 0;
            const std::string found = withoutProc ? mismatches(root) : "/proc stayed\n";
            std::fputs(found.c_str(), stderr);
            std::_Exit(found.empty() ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

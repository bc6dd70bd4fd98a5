// The folder owner's rights, on real permission checks. The switch itself
// needs root; as another user only the no-op cases run.

#include "platform/posix/FileSystemIdentity.h"
#include "tests/doubles/TestFiles.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/fsuid.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <future>
#include <thread>

using platform::FileOwner;
using platform::ScopedFileSystemIdentity;
using testing_support::makeDirectories;
using testing_support::TempDir;
using testing_support::writeFile;

namespace {

constexpr uid_t TEST_UID = 65534;
constexpr gid_t TEST_GID = 65534;

uid_t currentFsuid()
{
    return static_cast<uid_t>(setfsuid(static_cast<uid_t>(-1)));
}
gid_t currentFsgid()
{
    return static_cast<gid_t>(setfsgid(static_cast<gid_t>(-1)));
}

std::vector<gid_t> currentGroups()
{
    std::vector<gid_t> groups(static_cast<std::size_t>(getgroups(0, nullptr)));
    groups.resize(static_cast<std::size_t>(getgroups(static_cast<int>(groups.size()), groups.data())));
    std::sort(groups.begin(), groups.end());
    return groups;
}

int openErrno(const std::string& path)
{
    int descriptor = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0)
        return errno;
    close(descriptor);
    return 0;
}

TEST(FileSystemIdentityTest, OwnerIsTheOwnerOfTheDirectoryItself)
{
    TempDir temp;
    makeDirectories(temp / "home");
    ASSERT_EQ(symlink((temp / "home").c_str(), (temp / "link").c_str()), 0);
    FileOwner expected{getuid(), getgid()};
    if (geteuid() == 0) {
        ASSERT_EQ(chown((temp / "home").c_str(), TEST_UID, TEST_GID), 0);
        expected = {TEST_UID, TEST_GID};
    }
    std::error_code error;
    for (const std::string& path : {temp / "home", temp / "link"}) {
        auto owner = platform::ownerOfDirectory(path, error);
        ASSERT_TRUE(owner) << error.message();
        EXPECT_EQ(owner->uid, expected.uid);
        EXPECT_EQ(owner->gid, expected.gid);
    }
    writeFile(temp / "file", "");
    EXPECT_FALSE(platform::ownerOfDirectory(temp / "file", error));
    EXPECT_EQ(error.value(), ENOTDIR);
    EXPECT_FALSE(platform::ownerOfDirectory(temp / "missing", error));
    EXPECT_EQ(error.value(), ENOENT);
}

TEST(FileSystemIdentityTest, AnOwnerWithoutAccountHasJustItsGroup)
{
    // Far above any account a test machine has.
    EXPECT_EQ(platform::supplementaryGroupsOf({3999999001u, 3999999002u}), (std::vector<gid_t>{3999999002u}));
    auto rootGroups = platform::supplementaryGroupsOf({0, 0});
    EXPECT_NE(std::find(rootGroups.begin(), rootGroups.end(), 0u), rootGroups.end());
}

TEST(FileSystemIdentityTest, NothingChangesForTheRunningUserOrWithoutRoot)
{
    const uid_t fsuid = currentFsuid();
    const auto groups = currentGroups();
    {
        ScopedFileSystemIdentity same({geteuid(), getegid()});
        EXPECT_FALSE(same.isSwitched());
        EXPECT_EQ(currentFsuid(), fsuid);
    }
    if (geteuid() != 0) {
        ScopedFileSystemIdentity other({TEST_UID, TEST_GID});
        EXPECT_FALSE(other.isSwitched());
        EXPECT_EQ(currentFsuid(), fsuid);
    }
    EXPECT_EQ(currentGroups(), groups);
}

TEST(FileSystemIdentityTest, InsideTheScopeTheThreadHasOnlyTheOwnersRights)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "switching to another user's file-system identity needs root";
    TempDir temp;
    ASSERT_EQ(chmod(temp.path().c_str(), 0755), 0);
    const std::string secret = temp / "root-only";
    writeFile(secret, "secret");
    ASSERT_EQ(chmod(secret.c_str(), 0600), 0);
    makeDirectories(temp / "owners");
    ASSERT_EQ(chown((temp / "owners").c_str(), TEST_UID, TEST_GID), 0);
    const auto groupsBefore = currentGroups();
    auto ownersGroups = platform::supplementaryGroupsOf({TEST_UID, TEST_GID});
    std::sort(ownersGroups.begin(), ownersGroups.end());

    std::promise<void> go;
    int otherThread = -1;
    std::vector<gid_t> otherGroups;
    std::thread other([&, started = go.get_future()]() mutable {
        started.wait();
        otherThread = openErrno(secret);
        otherGroups = currentGroups();
    });
    {
        ScopedFileSystemIdentity owner({TEST_UID, TEST_GID});
        EXPECT_TRUE(owner.isSwitched()); // no ASSERT here: `other` must be joined
        EXPECT_EQ(currentFsuid(), TEST_UID);
        EXPECT_EQ(currentFsgid(), TEST_GID);
        EXPECT_EQ(currentGroups(), ownersGroups);
        EXPECT_EQ(openErrno(secret), EACCES);

        // What the owner makes is the owner's.
        writeFile(temp / "owners/made.txt", "x");
        struct stat made {};
        EXPECT_EQ(stat((temp / "owners/made.txt").c_str(), &made), 0);
        EXPECT_EQ(made.st_uid, TEST_UID);
        EXPECT_EQ(made.st_gid, TEST_GID);

        // Threads that were running keep root's rights and groups.
        go.set_value();
        other.join();
        EXPECT_EQ(otherThread, 0);
        EXPECT_EQ(otherGroups, groupsBefore);
    }
    EXPECT_EQ(currentFsuid(), 0u);
    EXPECT_EQ(currentFsgid(), 0u);
    EXPECT_EQ(currentGroups(), groupsBefore);
    EXPECT_EQ(openErrno(secret), 0);
}

} // namespace

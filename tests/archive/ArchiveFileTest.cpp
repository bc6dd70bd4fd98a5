// The archive file in a real folder, both as an unnamed file and under the
// hidden name that file systems without O_TMPFILE get.

#include "core/archive/ArchiveFile.h"
#include "base/CodedFailure.h"
#include "platform/posix/FileSystemIdentity.h"
#include "tests/doubles/ArchiveFileHelpers.h"
#include "tests/doubles/TestFiles.h"

#include <gtest/gtest.h>
#include <minizip/zip.h>

#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <functional>

using archive_file_testing::writeZip;
using testing_support::listFolder;
using testing_support::makeDirectories;
using testing_support::pathExists;
using testing_support::readWholeFile;
using testing_support::TempDir;
using testing_support::writeFile;

namespace {

const std::map<std::string, std::string> SMALL_ZIP = {{"reportData/reportGeneratorLog.log", "line\r\n"}};

int errnoOf(const std::function<void()>& step)
{
    try {
        step();
    } catch (const CodedFailure& failure) {
        return failure.detail.errorNumber;
    }
    return 0;
}

class ArchiveFileTest : public ::testing::TestWithParam<ArchiveFile::Creation> {
protected:
    void SetUp() override
    {
        previousUmask = umask(022);
        makeDirectories(folder);
    }
    void TearDown() override { umask(previousUmask); }

    // The names in the folder that are not the archive's own hidden one.
    std::vector<std::string> visibleNames()
    {
        std::vector<std::string> names;
        for (auto& name : listFolder(folder))
            if (!archive_file_testing::isHiddenArchiveName(name))
                names.push_back(name);
        return names;
    }

    TempDir temp;
    std::string folder = temp / "Desktop";
    mode_t previousUmask = 0;
};

TEST_P(ArchiveFileTest, IsInvisibleUntilNamedAndGoneWhenNeverNamed)
{
    writeFile(folder + "/keep.txt", "kept");
    {
        ArchiveFile file(folder, GetParam());
        ASSERT_EQ(writeZip(file, SMALL_ZIP), ZIP_OK);
        EXPECT_EQ(visibleNames(), std::vector<std::string>{"keep.txt"});
        // The only trace allowed is the one hidden name.
        EXPECT_EQ(listFolder(folder).size(), file.hasHiddenName() ? 2u : 1u);
        if (GetParam() == ArchiveFile::Creation::hiddenName) {
            EXPECT_TRUE(file.hasHiddenName());
        }
    }
    EXPECT_EQ(listFolder(folder), std::vector<std::string>{"keep.txt"});
}

TEST_P(ArchiveFileTest, ReplaceNamePutsTheFinishedFileOverAnEarlierOne)
{
    writeFile(folder + "/r.zip", "the report of a run in the same minute");
    ArchiveFile file(folder, GetParam());
    ASSERT_EQ(writeZip(file, SMALL_ZIP), ZIP_OK);
    file.replaceName("r.zip");
    EXPECT_TRUE(file.isNamed());

    EXPECT_EQ(listFolder(folder), std::vector<std::string>{"r.zip"});
    struct stat named {
    }, written{};
    ASSERT_EQ(lstat((folder + "/r.zip").c_str(), &named), 0);
    ASSERT_EQ(fstat(file.descriptor(), &written), 0);
    EXPECT_EQ(named.st_ino, written.st_ino);
    EXPECT_EQ(named.st_mode & 07777, 0644u);
    EXPECT_EQ(readWholeFile(folder + "/r.zip").substr(0, 4), "PK\x03\x04");
    EXPECT_EQ(errnoOf([&] { file.replaceName("again.zip"); }), EALREADY);
}

TEST_P(ArchiveFileTest, ReplaceNameReplacesAPlantedLinkNeverItsTarget)
{
    const std::string target = temp / "precious";
    writeFile(target, "precious");
    ASSERT_EQ(symlink(target.c_str(), (folder + "/r.zip").c_str()), 0);
    ASSERT_EQ(symlink((temp / "nowhere").c_str(), (folder + "/next.zip").c_str()), 0);

    ArchiveFile file(folder, GetParam());
    ASSERT_EQ(writeZip(file, SMALL_ZIP), ZIP_OK);
    file.replaceName("r.zip");
    struct stat named {};
    ASSERT_EQ(lstat((folder + "/r.zip").c_str(), &named), 0);
    EXPECT_TRUE(S_ISREG(named.st_mode));
    EXPECT_EQ(readWholeFile(target), "precious");
    EXPECT_EQ(listFolder(folder), (std::vector<std::string>{"next.zip", "r.zip"}));
    EXPECT_FALSE(pathExists(temp / "nowhere"));
}

TEST_P(ArchiveFileTest, NameIfFreeLeavesWhatHasTheNameAlone)
{
    writeFile(folder + "/taken.zip", "an earlier report");
    ASSERT_EQ(symlink((temp / "nowhere").c_str(), (folder + "/planted.zip").c_str()), 0);
    {
        ArchiveFile file(folder, GetParam());
        ASSERT_EQ(writeZip(file, SMALL_ZIP), ZIP_OK);
        EXPECT_FALSE(file.nameIfFree("taken.zip"));
        EXPECT_FALSE(file.nameIfFree("planted.zip"));
        EXPECT_FALSE(file.isNamed());
    }
    EXPECT_EQ(readWholeFile(folder + "/taken.zip"), "an earlier report");
    EXPECT_FALSE(pathExists(temp / "nowhere"));
    EXPECT_EQ(listFolder(folder), (std::vector<std::string>{"planted.zip", "taken.zip"}));

    ArchiveFile file(folder, GetParam());
    ASSERT_EQ(writeZip(file, SMALL_ZIP), ZIP_OK);
    EXPECT_TRUE(file.nameIfFree("free.zip"));
    EXPECT_EQ(listFolder(folder), (std::vector<std::string>{"free.zip", "planted.zip", "taken.zip"}));
    EXPECT_EQ(readWholeFile(folder + "/free.zip").substr(0, 4), "PK\x03\x04");
}

TEST_P(ArchiveFileTest, ADirectoryOfThatNameIsAFailureNotAPlaceToWriteInto)
{
    makeDirectories(folder + "/r.zip");
    {
        ArchiveFile file(folder, GetParam());
        ASSERT_EQ(writeZip(file, SMALL_ZIP), ZIP_OK);
        EXPECT_EQ(errnoOf([&] { file.replaceName("r.zip"); }), EISDIR);
        EXPECT_FALSE(file.nameIfFree("r.zip"));
        EXPECT_EQ(errnoOf([&] { file.replaceName("../escape.zip"); }), EINVAL);
        EXPECT_EQ(errnoOf([&] { file.replaceName(".."); }), EINVAL);
    }
    EXPECT_EQ(listFolder(folder), std::vector<std::string>{"r.zip"});
    EXPECT_TRUE(listFolder(folder + "/r.zip").empty());
    EXPECT_FALSE(pathExists(temp / "escape.zip"));
}

TEST_P(ArchiveFileTest, AFolderRemovedMidRunIsAFailure)
{
    ArchiveFile file(folder, GetParam());
    ASSERT_EQ(writeZip(file, SMALL_ZIP), ZIP_OK);
    for (const auto& name : listFolder(folder))
        ASSERT_EQ(unlink((folder + "/" + name).c_str()), 0);
    ASSERT_EQ(rmdir(folder.c_str()), 0);

    EXPECT_EQ(errnoOf([&] { file.replaceName("r.zip"); }), ENOENT);
    EXPECT_EQ(errnoOf([&] { file.nameIfFree("r.zip"); }), ENOENT);
    EXPECT_FALSE(file.isNamed());
    EXPECT_FALSE(pathExists(folder));
}

TEST_P(ArchiveFileTest, AFolderReplacedMidRunCannotRedirectTheFile)
{
    ArchiveFile file(folder, GetParam());
    ASSERT_EQ(writeZip(file, SMALL_ZIP), ZIP_OK);
    ASSERT_EQ(rename(folder.c_str(), (temp / "Desktop.old").c_str()), 0);
    makeDirectories(folder);

    file.replaceName("r.zip");
    EXPECT_TRUE(listFolder(folder).empty());
    EXPECT_EQ(listFolder(temp / "Desktop.old"), std::vector<std::string>{"r.zip"});
}

// Mounts a tmpfs of `size` at `where`; the reason when that is not possible.
std::string mountSmallTmpfs(const std::string& where, const char* size)
{
    if (geteuid() != 0)
        return "mounting a small tmpfs needs root";
    // In a mount namespace of this process's own: the rest of the machine
    // never sees the mount, and it goes with the process at the latest.
    if (unshare(CLONE_NEWNS) != 0)
        return std::string("no mount namespace of our own: ") + std::strerror(errno);
    if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
        return std::string("mounts cannot be made private: ") + std::strerror(errno);
    makeDirectories(where);
    if (mount("tmpfs", where.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, (std::string("size=") + size).c_str()) != 0)
        return std::string("tmpfs cannot be mounted: ") + std::strerror(errno);
    return {};
}

struct Unmount {
    std::string where;
    ~Unmount() { umount2(where.c_str(), MNT_DETACH); }
};

TEST_P(ArchiveFileTest, AFullDiskFailsTheWriteAndGivesTheSpaceBack)
{
    const std::string disk = temp / "small";
    std::string reason = mountSmallTmpfs(disk, "256k");
    if (!reason.empty())
        GTEST_SKIP() << reason;
    Unmount unmount{disk};
    struct statvfs before {
    }, after{};
    ASSERT_EQ(statvfs(disk.c_str(), &before), 0);
    {
        ArchiveFile file(disk, GetParam());
        EXPECT_NE(writeZip(file, {{"big.bin", archive_file_testing::incompressibleBytes(1 << 20)}}), ZIP_OK);
        EXPECT_EQ(file.writeError().value(), ENOSPC);
        // A broken archive never takes a report's name.
        EXPECT_EQ(errnoOf([&] { file.replaceName("r.zip"); }), ENOSPC);
        EXPECT_EQ(errnoOf([&] { file.nameIfFree("r.zip"); }), ENOSPC);
    }
    ASSERT_EQ(statvfs(disk.c_str(), &after), 0);
    EXPECT_EQ(after.f_bfree, before.f_bfree);
    EXPECT_TRUE(listFolder(disk).empty());
}

TEST_P(ArchiveFileTest, ACreatedAndNamedFileInTheOwnersIdentityIsTheOwners)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "switching to another user's file-system identity needs root";
    constexpr uid_t OWNER = 65534;
    ASSERT_EQ(chmod(temp.path().c_str(), 0755), 0);
    ASSERT_EQ(chown(folder.c_str(), OWNER, OWNER), 0);
    {
        platform::ScopedFileSystemIdentity owner({OWNER, OWNER});
        ArchiveFile file(folder, GetParam());
        ASSERT_EQ(writeZip(file, SMALL_ZIP), ZIP_OK);
        file.replaceName("r.zip");
    }
    struct stat named {};
    ASSERT_EQ(stat((folder + "/r.zip").c_str(), &named), 0);
    EXPECT_EQ(named.st_uid, OWNER);
    EXPECT_EQ(named.st_gid, OWNER);
}

INSTANTIATE_TEST_SUITE_P(BothKinds, ArchiveFileTest,
                         ::testing::Values(ArchiveFile::Creation::unnamedWhereSupported,
                                           ArchiveFile::Creation::hiddenName),
                         archive_file_testing::creationName);

TEST(ArchiveFileCreation, FailsForAFolderThatCannotTakeIt)
{
    TempDir temp;
    writeFile(temp / "file", "");
    EXPECT_EQ(errnoOf([&] { ArchiveFile file(temp / "missing"); }), ENOENT);
    EXPECT_EQ(errnoOf([&] { ArchiveFile file(temp / "file"); }), ENOTDIR);
}

} // namespace

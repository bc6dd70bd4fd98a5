// Making the folder the archive goes into, with its missing parents.
#include "platform/posix/FolderCreation.h"
#include "tests/doubles/TestFiles.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using namespace testing_support;

namespace {

mode_t permissionsOf(const std::string& path)
{
    struct stat status {};
    EXPECT_EQ(lstat(path.c_str(), &status), 0) << path;
    return status.st_mode & 07777;
}

} // namespace

TEST(FolderCreation, MakesMissingParents0755AndNothingThroughADanglingLink)
{
    TempDir temp;
    const mode_t previousMask = umask(022);
    EXPECT_TRUE(platform::makeFolderWithParents(temp / "home/Escritorio/Informes"));
    umask(previousMask);
    EXPECT_EQ(permissionsOf(temp / "home/Escritorio"), 0755u);
    EXPECT_EQ(permissionsOf(temp / "home/Escritorio/Informes"), 0755u);

    // The user's own link to a folder is taken; a link to nothing is not
    // followed to make its target.
    makeDirectories(temp / "home/elsewhere");
    ASSERT_EQ(symlink("elsewhere", (temp / "home/Desktop").c_str()), 0);
    ASSERT_EQ(symlink(".missing-target", (temp / "home/Bureau").c_str()), 0);
    EXPECT_TRUE(platform::makeFolderWithParents(temp / "home/Desktop/Reports"));
    EXPECT_TRUE(pathExists(temp / "home/elsewhere/Reports"));
    EXPECT_FALSE(platform::makeFolderWithParents(temp / "home/Bureau"));
    EXPECT_FALSE(pathExists(temp / "home/.missing-target"));
}

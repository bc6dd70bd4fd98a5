// The SHA-256 of the archive, taken through its descriptor, and the checksum
// file beside it, which replaces whatever held its name without writing
// through it.
#include "core/archive/ChecksumFile.h"
#include "core/archive/Sha256.h"
#include "tests/doubles/TestFiles.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

using namespace testing_support;

namespace {

const std::string SHA256_OF_ABC = "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";

} // namespace

TEST(Sha256OfDescriptor, IsTheDigestOfEveryByteWhateverThePosition)
{
    TempDir temp;
    writeFile(temp / "abc", "abc");
    writeFile(temp / "empty", "");
    const int abc = open((temp / "abc").c_str(), O_RDONLY | O_CLOEXEC);
    const int empty = open((temp / "empty").c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(lseek(abc, 2, SEEK_SET), 2);

    std::error_code error;
    EXPECT_EQ(sha256OfDescriptor(abc, error), SHA256_OF_ABC);
    EXPECT_EQ(sha256OfDescriptor(empty, error), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    close(abc);
    close(empty);
    EXPECT_EQ(sha256OfDescriptor(abc, error), std::nullopt);
    EXPECT_EQ(error.value(), EBADF);
}

TEST(ChecksumFile, ReplacesWhateverHeldTheNameWithoutWritingThroughIt)
{
    TempDir temp;
    const std::string archive = temp / "out/Telvarin_x.zip";
    const std::string checksumPath = archive + ".sha256";
    writeFile(archive, "abc");
    const std::string expected = SHA256_OF_ABC + "  Telvarin_x.zip\n";
    const int folder = open((temp / "out").c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    auto writeChecksumFile = [&](const std::string&, const std::string& sha256) {
        const std::error_code error = writeChecksumFileIn(folder, "Telvarin_x.zip", sha256);
        return error ? std::nullopt : std::optional<std::string>(temp / "out/Telvarin_x.zip.sha256");
    };

    EXPECT_EQ(writeChecksumFile(archive, SHA256_OF_ABC), checksumPath);
    EXPECT_EQ(readWholeFile(checksumPath), expected);

    // A link planted at the name: the link goes, its target stays as it was.
    writeFile(temp / "elsewhere", "someone's file");
    std::filesystem::remove(checksumPath);
    ASSERT_EQ(symlink((temp / "elsewhere").c_str(), checksumPath.c_str()), 0);
    EXPECT_EQ(writeChecksumFile(archive, SHA256_OF_ABC), checksumPath);
    EXPECT_EQ(readWholeFile(temp / "elsewhere"), "someone's file");
    struct stat status {};
    ASSERT_EQ(lstat(checksumPath.c_str(), &status), 0);
    EXPECT_TRUE(S_ISREG(status.st_mode));
    EXPECT_EQ(readWholeFile(checksumPath), expected);

    // A file of someone else's with a second name: that name keeps its bytes.
    std::filesystem::remove(checksumPath);
    ASSERT_EQ(link((temp / "elsewhere").c_str(), checksumPath.c_str()), 0);
    EXPECT_EQ(writeChecksumFile(archive, SHA256_OF_ABC), checksumPath);
    EXPECT_EQ(readWholeFile(temp / "elsewhere"), "someone's file");
    EXPECT_EQ(readWholeFile(checksumPath), expected);
    EXPECT_EQ(listFolder(temp / "out"), (std::vector<std::string>{"Telvarin_x.zip", "Telvarin_x.zip.sha256"}));
    close(folder);
}

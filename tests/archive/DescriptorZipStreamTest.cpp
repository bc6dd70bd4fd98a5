// The buffered stream minizip writes the archive through: what reaches the
// file, and when, and what a failing write leaves.

#include "core/archive/DescriptorZipStream.h"
#include "base/CodedFailure.h"
#include "core/archive/ArchiveFile.h"
#include "tests/doubles/TestFiles.h"

#include <gtest/gtest.h>
#include <minizip/zip.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <string>

using testing_support::complaintsOfEveryReader;
using testing_support::randomBytes;
using testing_support::readWholeFile;
using testing_support::TempDir;

namespace {

struct Descriptor {
    int value;
    ~Descriptor() { ::close(value); }
};

Descriptor created(const std::string& path)
{
    return {::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0600)};
}

off_t sizeOnDisk(int descriptor)
{
    struct stat status {};
    fstat(descriptor, &status);
    return status.st_size;
}

// The stream's file functions, called as minizip calls them.
struct Calls {
    zlib_filefunc64_def functions;
    bool write(const std::string& bytes)
    {
        return functions.zwrite_file(functions.opaque, functions.opaque, bytes.data(), bytes.size()) == bytes.size();
    }
    bool seek(ZPOS64_T offset, int origin = ZLIB_FILEFUNC_SEEK_SET)
    {
        return functions.zseek64_file(functions.opaque, functions.opaque, offset, origin) == 0;
    }
    ZPOS64_T tell() { return functions.ztell64_file(functions.opaque, functions.opaque); }
};

int writeArchive(DescriptorZipStream& stream, const std::string& large)
{
    zlib_filefunc64_def functions = stream.fileFunctions();
    zipFile zip = zipOpen2_64("ignored.zip", APPEND_STATUS_CREATE, nullptr, &functions);
    if (zip == nullptr)
        return ZIP_ERRNO;
    int result = ZIP_OK;
    for (int index = 0; index < 40 && result == ZIP_OK; ++index) {
        const std::string name = "logs/job-" + std::to_string(index) + ".log";
        const std::string data = index == 20 ? large : std::string(100 + 37 * index, char('a' + index % 26));
        result = zipOpenNewFileInZip64(zip, name.c_str(), nullptr, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED,
                                       Z_DEFAULT_COMPRESSION, 0);
        if (result == ZIP_OK)
            result = zipWriteInFileInZip(zip, data.data(), static_cast<unsigned>(data.size()));
        if (result == ZIP_OK)
            result = zipCloseFileInZip(zip);
    }
    const int closed = zipClose(zip, nullptr);
    return result != ZIP_OK ? result : closed;
}

// In a child process: what a full disk would allow from here on.
void limitFileSize(rlim_t bytes)
{
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
}

} // namespace

// However small the buffer (each patch outside it, most writes straight to
// the file) or large (the whole archive in it), the archive's bytes are the
// same and every reader reads it whole.
TEST(DescriptorZipStream, TheArchiveIsTheSameForEveryBufferSize)
{
    TempDir dir;
    const std::string large = randomBytes(20 << 10, 3);
    std::string expected;
    for (std::size_t bufferSize :
         {std::size_t{7}, std::size_t{4096}, DescriptorZipStream::BUFFER_SIZE, std::size_t{4} << 20}) {
        SCOPED_TRACE(bufferSize);
        const std::string path = dir / ("buffer-" + std::to_string(bufferSize) + ".zip");
        Descriptor file = created(path);
        DescriptorZipStream stream(file.value, bufferSize);
        ASSERT_EQ(writeArchive(stream, large), ZIP_OK);
        EXPECT_FALSE(stream.error());
        const std::string bytes = readWholeFile(path);
        if (expected.empty()) {
            EXPECT_EQ(complaintsOfEveryReader(path, 40), "");
            expected = bytes;
        }
        EXPECT_TRUE(bytes == expected);
    }
}

TEST(DescriptorZipStream, APatchInsideTheBufferIsMadeThereAndAPatchOutsideItInTheFile)
{
    TempDir dir;
    Descriptor file = created(dir / "patched");
    DescriptorZipStream stream(file.value, 16);
    Calls calls{stream.fileFunctions()};

    ASSERT_TRUE(calls.write("0123456789"));
    ASSERT_TRUE(calls.seek(2));
    ASSERT_TRUE(calls.write("ab"));
    EXPECT_EQ(calls.tell(), 4u);
    EXPECT_EQ(sizeOnDisk(file.value), 0) << "all of it waits in the buffer";
    ASSERT_TRUE(calls.seek(0, ZLIB_FILEFUNC_SEEK_END)); // the file's end: flushed first
    EXPECT_EQ(calls.tell(), 10u);
    EXPECT_EQ(sizeOnDisk(file.value), 10);

    ASSERT_TRUE(calls.write("ABCDEF"));
    ASSERT_TRUE(calls.seek(12));
    ASSERT_TRUE(calls.write("cd"));
    EXPECT_EQ(sizeOnDisk(file.value), 10) << "a patch inside the buffer is no write";
    ASSERT_TRUE(calls.seek(16));
    ASSERT_TRUE(calls.write(std::string(20, 'z'))); // larger than the buffer: flushed, then written
    ASSERT_TRUE(calls.seek(0));
    ASSERT_TRUE(calls.write("X")); // outside the buffer: written after what it holds
    ASSERT_TRUE(calls.seek(36));
    ASSERT_TRUE(calls.write("!"));
    EXPECT_EQ(calls.tell(), 37u);
    ASSERT_TRUE(stream.flush());
    EXPECT_EQ(readWholeFile(dir / "patched"), "X1ab456789ABcdEF" + std::string(20, 'z') + "!");
}

// /dev/full refuses every write with ENOSPC; a file-size limit in a child
// process cuts one short. Either way the first errno stays, nothing is
// written after it and the stream fails whatever minizip asks next.
TEST(DescriptorZipStream, AFailedWriteKeepsItsErrnoAndStopsTheStream)
{
    {
        Descriptor full{::open("/dev/full", O_WRONLY | O_CLOEXEC)};
        ASSERT_GE(full.value, 0);
        DescriptorZipStream stream(full.value, 64);
        Calls calls{stream.fileFunctions()};
        EXPECT_TRUE(calls.write("buffered")); // only the flush meets the full disk
        EXPECT_FALSE(stream.flush());
        EXPECT_EQ(stream.error().value(), ENOSPC);
        EXPECT_FALSE(calls.write("more"));
        EXPECT_FALSE(stream.flush());
    }
    TempDir dir;
    const std::string path = dir / "limited";
    EXPECT_EXIT(
        {
            std::signal(SIGXFSZ, SIG_IGN);
            limitFileSize(100);
            Descriptor file = created(path);
            DescriptorZipStream stream(file.value, 64);
            Calls calls{stream.fileFunctions()};
            // The third write flushes the second: 40 of its 60 bytes fit.
            bool ok = calls.write(std::string(60, 'a')) && calls.write(std::string(60, 'b')) &&
                      !calls.write(std::string(60, 'c'));
            ok = ok && stream.error().value() == EFBIG && !stream.flush() && !calls.write("d");
            std::_Exit(ok && sizeOnDisk(file.value) == 100 ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

// Bytes that wait in the buffer when the file is named must reach the disk
// first; when they cannot, the file takes no name.
TEST(DescriptorZipStream, AnArchiveWhoseBufferCannotBeWrittenIsNotNamed)
{
    TempDir dir;
    EXPECT_EXIT(
        {
            std::signal(SIGXFSZ, SIG_IGN);
            ArchiveFile file(dir.path());
            Calls calls{file.fileFunctions()};
            const bool buffered = calls.write("PK\3\4 an entry that never reached the disk");
            limitFileSize(0);
            int error = 0;
            try {
                file.replaceName("report.zip");
            } catch (const CodedFailure& failure) {
                error = failure.detail.errorNumber;
            }
            std::_Exit(buffered && error == EFBIG ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_FALSE(testing_support::pathExists(dir / "report.zip"));
}

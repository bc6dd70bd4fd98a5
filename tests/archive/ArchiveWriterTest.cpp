// The report archive as an independent reader sees it: names, order,
// contents, dates, and what happens when files or the disk misbehave.
#include "base/ErrorCodes.h"
#include "core/archive/ArchivingClass.h"
#include "core/reading/SourceFile.h"
#include "tests/doubles/Expectations.h"
#include "tests/doubles/FakeServices.h"
#include "tests/doubles/TestFiles.h"

#include <gtest/gtest.h>

#include <chrono>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <limits>
#include <optional>

using namespace testing_support;
using namespace std::string_literals;

namespace {

constexpr const char* ZERO_DATE = "1980-00-00 00:00:00";

// Sets the process time zone for the object's lifetime.
class TimeZone {
public:
    explicit TimeZone(const char* zone)
    {
        if (const char* old = std::getenv("TZ"))
            previous_ = old;
        setenv("TZ", zone, 1);
        tzset();
    }
    // Seconds east of UTC now, to check that the zone took effect (an unknown
    // zone silently means UTC).
    static long offset()
    {
        std::time_t now = std::time(nullptr);
        std::tm local{};
        localtime_r(&now, &local);
        return local.tm_gmtoff;
    }
    ~TimeZone()
    {
        if (previous_)
            setenv("TZ", previous_->c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }

private:
    std::optional<std::string> previous_;
};

// An archive in a fresh temporary directory, closed by the test.
struct ArchiveFixture : ::testing::Test {
    TempDir dir;
    std::string archivePath = dir / "report.zip";
    std::unique_ptr<ZipArchive> owned = ArchivingClass::createNewZipFile(archivePath.c_str());
    ZipArchive* archive = owned.get();

    void close()
    {
        ArchivingClass::closeZipFile(archive);
        owned.reset();
        archive = nullptr;
    }
    // What a failure leaves: the archive closed as written so far.
    void abandon()
    {
        owned.reset();
        archive = nullptr;
    }
};

using ArchiveWriter = ArchiveFixture;

} // namespace

TEST_F(ArchiveWriter, EntriesFromMemoryKeepNamesOrderBytesAndAZeroDate)
{
    const std::pair<std::string, std::string> entries[] = {
        {"reportData/deviceReport.dat", "identity\r\n01 00 3F\r\n"},
        {"reportData/empty.dat", ""},
        {"caf\xE9/Stra\xDF"
         "e\\x.log",
         "\0\xFF\0"s},
        {"reportData/reportGeneratorLog.log", randomBytes(200000, 1)},
    };
    for (const auto& [name, data] : entries)
        ArchivingClass::addEntryToZipFile(name.c_str(), data, archive);
    close();

    ASSERT_TRUE(unzipTestPasses(archivePath));
    const auto read = readZipEntries(archivePath);
    ASSERT_EQ(read.size(), std::size(entries));
    for (std::size_t i = 0; i < read.size(); ++i) {
        const auto& [name, data] = entries[i];
        EXPECT_EQ(read[i].name, name);
        EXPECT_EQ(read[i].method, 8) << name;
        EXPECT_EQ(read[i].date, ZERO_DATE) << name;
        EXPECT_EQ(read[i].size, data.size()) << name;
        EXPECT_TRUE(read[i].crcOk) << name;
        EXPECT_EQ(readZipEntry(archivePath, name), data) << name;
    }
}

TEST_F(ArchiveWriter, EntryFromABufferCarriesTheDateItIsHanded)
{
    zip_fileinfo info = ArchivingClass::fileInfoForModificationTime(utcTime(2011, 3, 7, 14, 5, 9));
    const char data[] = "abc";
    ArchivingClass::addEntryToZipFile("dated.txt", data, 3, &info, archive);
    ArchivingClass::addEntryToZipFile("undated.txt", data, 3, nullptr, archive);
    close();
    const auto read = readZipEntries(archivePath);
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[0].date, "2011-03-07 14:05:08"); // zip dates count in steps of two seconds
    EXPECT_EQ(read[1].date, ZERO_DATE);
    EXPECT_EQ(readZipEntry(archivePath, "dated.txt"), "abc");
}

TEST(ArchiveDates, ModificationTimeBreaksDownInUtcClampedToTheZipRange)
{
    TimeZone tokyo("Asia/Tokyo");
    ASSERT_EQ(TimeZone::offset(), 9 * 3600) << "tzdata missing?";
    struct Case {
        std::time_t moment;
        unsigned year, month, day, hour, minute, second;
    } cases[] = {
        {utcTime(2010, 12, 31, 23, 30), 110, 11, 31, 23, 30, 0},
        {utcTime(1980, 1, 1, 0, 0), 80, 0, 1, 0, 0, 0},
        {utcTime(1979, 12, 31, 23, 59, 59), 80, 0, 1, 0, 0, 0},
        {0, 80, 0, 1, 0, 0, 0},
        {-86400, 80, 0, 1, 0, 0, 0},
        {utcTime(2107, 12, 31, 23, 59, 58), 207, 11, 31, 23, 59, 58},
        {utcTime(2108, 1, 1, 0, 0), 207, 11, 31, 23, 59, 58},
        {std::numeric_limits<std::time_t>::max(), 207, 11, 31, 23, 59, 58},
        {67768036191676800, 207, 11, 31, 23, 59, 58}, // the first moment whose year an int cannot hold
        {std::numeric_limits<std::time_t>::min(), 80, 0, 1, 0, 0, 0},
    };
    for (const auto& c : cases) {
        const zip_fileinfo info = ArchivingClass::fileInfoForModificationTime(c.moment);
        const tm_zip& d = info.tmz_date;
        EXPECT_EQ((std::array{d.tm_year, d.tm_mon, d.tm_mday, d.tm_hour, d.tm_min, d.tm_sec}),
                  (std::array<uInt, 6>{c.year, c.month, c.day, c.hour, c.minute, c.second}))
            << "moment " << c.moment;
        EXPECT_EQ(info.dosDate, 0u);
        EXPECT_EQ(info.internal_fa, 0u);
        EXPECT_EQ(info.external_fa, 0u);
    }
}

TEST_F(ArchiveWriter, CopiedFilesCarryTheirBytesAndTheirUtcModificationTime)
{
    TimeZone tokyo("Asia/Tokyo"); // nine hours east: local time is already 1 January
    ASSERT_EQ(TimeZone::offset(), 9 * 3600) << "tzdata missing?";
    const std::string big = randomBytes((3u << 20) + 7, 2); // more than one copy chunk
    struct Source {
        std::string name, contents;
        std::time_t modified;
        const char* date;
    } sources[] = {
        {"newyear.log", "late entry\n", utcTime(2010, 12, 31, 23, 30), "2010-12-31 23:30:00"},
        {"empty.log", "", utcTime(2012, 6, 1, 8, 0, 2), "2012-06-01 08:00:02"},
        {"big.bin", big, utcTime(2015, 2, 28, 12, 0), "2015-02-28 12:00:00"},
        {"ancient.cfg", "old", utcTime(1975, 5, 5, 5, 5), "1980-01-01 00:00:00"},
        {"future.cfg", "new", utcTime(2200, 1, 1, 0, 0), "2107-12-31 23:59:58"},
    };
    for (const auto& source : sources) {
        writeFile(dir / source.name, source.contents);
        setModificationTime(dir / source.name, source.modified);
        EXPECT_TRUE(ArchivingClass::tryToCopyFileToZipFileEntry((dir / source.name).c_str(),
                                                                ("files/" + source.name).c_str(), archive));
    }
    close();

    ASSERT_TRUE(unzipTestPasses(archivePath));
    const auto read = readZipEntries(archivePath);
    ASSERT_EQ(read.size(), std::size(sources));
    for (std::size_t i = 0; i < read.size(); ++i) {
        const auto& source = sources[i];
        EXPECT_EQ(read[i].name, "files/" + source.name);
        EXPECT_EQ(read[i].method, 8);
        EXPECT_EQ(read[i].date, source.date) << source.name;
        EXPECT_EQ(read[i].size, source.contents.size()) << source.name;
        EXPECT_TRUE(read[i].crcOk) << source.name;
    }
    EXPECT_TRUE(readZipEntry(archivePath, "files/big.bin") == big) << "3 MiB + 7 bytes not stored exactly";
}

// A file is copied a chunk at a time: even a large one leaves the peak
// memory of the run where it was.
TEST_F(ArchiveWriter, LargeFilesAreCopiedWithoutHoldingThemInMemory)
{
    constexpr long FILE_SIZE = 48L << 20;
    const std::string path = dir / "large.log";
    writeFile(path, "");
    ASSERT_EQ(truncate(path.c_str(), FILE_SIZE), 0); // sparse: no disk space
    rusage before{};
    getrusage(RUSAGE_SELF, &before);
    EXPECT_TRUE(ArchivingClass::tryToCopyFileToZipFileEntry(path.c_str(), "large.log", archive));
    rusage after{};
    getrusage(RUSAGE_SELF, &after);
    EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 16L << 10) << "peak resident KiB grew that much";
    close();
    const auto read = readZipEntries(archivePath);
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read[0].size, static_cast<unsigned long long>(FILE_SIZE));
    EXPECT_TRUE(read[0].crcOk);
}

TEST_F(ArchiveWriter, FilesThatStatReportsEmptyAreStoredWithWhatTheyHold)
{
    const std::string expected = readWholeFile("/proc/version");
    ASSERT_FALSE(expected.empty());
    EXPECT_TRUE(ArchivingClass::tryToCopyFileToZipFileEntry("/proc/version", "proc/version", archive));
    close();
    EXPECT_EQ(readZipEntry(archivePath, "proc/version"), expected);
}

TEST_F(ArchiveWriter, FilesWithoutASizeStopAtTheByteOrTimeLimit)
{
    // /proc/self/pagemap reports size 0 and would yield 256 GiB.
    struct Case {
        const char* what;
        SourceFile::UnknownSizeLimits limits;
        std::uint64_t bytes; // 0: whatever the time allowed
    };
    const std::vector<Case> cases = {
        {"byte limit", {std::size_t{1} << 20, std::chrono::seconds(30)}, std::uint64_t{1} << 20},
        {"time limit", {std::size_t{1} << 40, std::chrono::milliseconds(50)}, 0},
    };
    for (const auto& [what, limits, bytes] : cases) {
        SCOPED_TRACE(what);
        const auto previous = SourceFile::setUnknownSizeLimits(limits);
        const auto started = std::chrono::steady_clock::now();
        const auto copied = ArchivingClass::copyFileIfPresent("/proc/self/pagemap", what, archive);
        SourceFile::setUnknownSizeLimits(previous);
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(20));
        ASSERT_TRUE(copied.copied);
        EXPECT_TRUE(copied.cutShort);
        if (bytes != 0) {
            EXPECT_EQ(copied.bytes, bytes);
        }
    }
    // A file whose size is known is copied whole, however it compares.
    writeFile(dir / "known.log", std::string(3 << 20, 'k'));
    const auto previous = SourceFile::setUnknownSizeLimits({std::size_t{1} << 20, std::chrono::seconds(30)});
    const auto known = ArchivingClass::copyFileIfPresent((dir / "known.log").c_str(), "known.log", archive);
    SourceFile::setUnknownSizeLimits(previous);
    ASSERT_TRUE(known.copied);
    EXPECT_FALSE(known.cutShort);
    close();
    const auto read = readZipEntries(archivePath);
    ASSERT_EQ(read.size(), 3u);
    EXPECT_EQ(read[0].size, std::uint64_t{1} << 20);
    EXPECT_EQ(read[2].size, std::uint64_t{3} << 20);
    for (const auto& entry : read)
        EXPECT_TRUE(entry.crcOk) << entry.name;
}

TEST_F(ArchiveWriter, SourcesAreReadUnderTheFileSystemRoot)
{
    TempDir root;
    writeFile(root / "var/log/x.log", "under the root");
    FakeMachine machine;
    platform::Services services;
    machine.collectFrom(root.path());
    auto installed = machine.install(services);
    EXPECT_TRUE(ArchivingClass::tryToCopyFileToZipFileEntry("/var/log/x.log", "x.log", archive));
    EXPECT_FALSE(ArchivingClass::tryToCopyFileToZipFileEntry((root / "var/log/x.log").c_str(), "y.log", archive));
    close();
    EXPECT_EQ(readZipEntryNames(archivePath), std::vector<std::string>{"x.log"});
    EXPECT_EQ(readZipEntry(archivePath, "x.log"), "under the root");
}

// Missing paths and things that are not regular files are "not found": no
// entry, no error, and no hang on a FIFO without a writer or an endless device.
TEST_F(ArchiveWriter, PathsThatAreNotRegularFilesAreNotFound)
{
    ASSERT_EQ(mkfifo((dir / "fifo").c_str(), 0600), 0);
    makeDirectories(dir / "directory");
    writeFile(dir / "kept.txt", "kept");
    ArchivingClass::addEntryToZipFile("first", "1"s, archive);
    EXPECT_EXIT(
        {
            alarm(10);
            bool any = false;
            for (const std::string& path :
                 {dir / "missing.log", dir / "fifo", dir / "directory", "/dev/zero"s, "/dev/null"s})
                any = ArchivingClass::tryToCopyFileToZipFileEntry(path.c_str(), "x", archive) || any;
            std::_Exit(any ? 1 : 0);
        },
        ::testing::ExitedWithCode(0), "");
    for (const std::string& path : {dir / "missing.log", dir / "fifo", dir / "directory", "/dev/zero"s})
        EXPECT_FALSE(ArchivingClass::tryToCopyFileToZipFileEntry(path.c_str(), "x", archive)) << path;
    for (const std::string& path : {dir / "missing.log", dir / "fifo", dir / "directory"})
        expectCode(
            ERROR_FILE_READ, [&] { ArchivingClass::copyFileToZipFileEntry(path.c_str(), "x", archive); }, path);
    EXPECT_TRUE(ArchivingClass::tryToCopyFileToZipFileEntry((dir / "kept.txt").c_str(), "kept", archive));
    close();
    EXPECT_EQ(readZipEntryNames(archivePath), (std::vector<std::string>{"first", "kept"}));
}

// A file that exists but cannot be read ends the run with code 4; the
// entries before it stay readable and no empty entry is left for it.
TEST_F(ArchiveWriter, UnreadableFilesRaiseCode4AndLeaveNoEntry)
{
    std::vector<std::string> unreadable = {"/proc/self/mem"}; // opens, but reading offset 0 fails
    if (geteuid() == 0) {
        // Root reads past mode 000, but not a write-only kernel setting.
        for (const char* path : {"/proc/sys/vm/compact_memory", "/proc/sys/vm/drop_caches"})
            if (access(path, F_OK) == 0) {
                unreadable.push_back(path);
                break;
            }
    } else {
        writeFile(dir / "secret.log", "secret");
        chmod((dir / "secret.log").c_str(), 0);
        unreadable.push_back(dir / "secret.log");
    }
    ArchivingClass::addEntryToZipFile("first", "1"s, archive);
    for (const auto& path : unreadable)
        expectCode(
            ERROR_FILE_READ, [&] { ArchivingClass::tryToCopyFileToZipFileEntry(path.c_str(), "unreadable", archive); },
            path);
    abandon();
    EXPECT_TRUE(unzipTestPasses(archivePath));
    EXPECT_EQ(readZipEntryNames(archivePath), std::vector<std::string>{"first"});
}

TEST(ArchiveCreation, ReplacesAnExistingFile)
{
    TempDir dir;
    const std::string path = dir / "report.zip";
    writeFile(path, randomBytes(100000, 3)); // larger than the new archive, so leftovers would show
    auto archive = ArchivingClass::createNewZipFile(path.c_str());
    ArchivingClass::addEntryToZipFile("new", "new"s, archive.get());
    ArchivingClass::closeZipFile(archive.get());
    EXPECT_TRUE(unzipTestPasses(path));
    EXPECT_EQ(readZipEntryNames(path), std::vector<std::string>{"new"});
    EXPECT_LT(readWholeFile(path).size(), 1000u);
}

TEST(ArchiveCreation, AnArchiveThatCannotBeCreatedRaisesCode15)
{
    TempDir dir;
    makeDirectories(dir / "taken");
    writeFile(dir / "file", "");
    for (const std::string& path : {dir / "Desktop/report.zip", dir / "taken", dir / "file/report.zip"})
        expectCode(
            ERROR_ARCHIVE_WRITE, [&] { ArchivingClass::createNewZipFile(path.c_str()); }, path);
    if (geteuid() != 0) {
        makeDirectories(dir / "locked");
        chmod((dir / "locked").c_str(), 0555);
        expectCode(
            ERROR_ARCHIVE_WRITE, [&] { ArchivingClass::createNewZipFile((dir / "locked/report.zip").c_str()); },
            "locked");
    }
}

// A disk that fills up just as the central directory is written: the entries
// went in, the close fails, and that must not pass for success. The child
// process holds the file-size limit that plays the full disk.
TEST(ArchiveCreation, AnArchiveThatCannotBeFinishedRaisesCode15)
{
    TempDir dir;
    const std::string data = randomBytes(5000, 5);
    auto writeArchive = [&](const std::string& path) {
        auto archive = ArchivingClass::createNewZipFile(path.c_str());
        if (codeThrownBy([&] {
                ArchivingClass::addEntryToZipFile("reportData/generalInformation.dat", data, archive.get());
            }) != 0)
            return 1; // already failed at the entry: the limit is too low for this test
        return codeThrownBy([&] { ArchivingClass::closeZipFile(archive.get()); });
    };
    ASSERT_EQ(writeArchive(dir / "unlimited.zip"), 0);
    const auto fullSize = static_cast<rlim_t>(readWholeFile(dir / "unlimited.zip").size());
    EXPECT_EXIT(
        {
            std::signal(SIGXFSZ, SIG_IGN);
            rlimit limit{};
            getrlimit(RLIMIT_FSIZE, &limit);
            limit.rlim_cur = fullSize - 30; // the end record and part of the central directory
            setrlimit(RLIMIT_FSIZE, &limit);
            std::_Exit(writeArchive(dir / "limited.zip"));
        },
        ::testing::ExitedWithCode(ERROR_ARCHIVE_WRITE), "");
}

// A disk with no room left: every write is refused (a file-size limit of 0
// in a child process plays it). A large entry fails as it is written; a small
// one may only fail when the buffers are flushed, at the latest at the close.
// Either way the run ends with code 15 and the space is given back.
TEST(ArchiveCreation, AFullDiskRaisesCode15)
{
    TempDir dir;
    writeFile(dir / "large.log", randomBytes(2u << 20, 4));
    makeDirectories(dir / "out");
    const std::string path = dir / "out/report.zip";
    auto raisesCode15 = [](const std::function<void()>& step) {
        try {
            step();
        } catch (const CodedFailure& failure) {
            // The failure names the folder and the write's reason.
            return failure.code == ERROR_ARCHIVE_WRITE && failure.detail.errorNumber == EFBIG;
        }
        return false;
    };
    EXPECT_EXIT(
        {
            std::signal(SIGXFSZ, SIG_IGN);
            rlimit limit{};
            getrlimit(RLIMIT_FSIZE, &limit);
            limit.rlim_cur = 0;
            setrlimit(RLIMIT_FSIZE, &limit);
            int failures = 0;
            failures += raisesCode15([&] {
                auto archive = ArchivingClass::createNewZipFile(path.c_str());
                ArchivingClass::addEntryToZipFile("memory", randomBytes(1u << 20, 4), archive.get());
            })
                            ? 0
                            : 1;
            failures += raisesCode15([&] {
                auto archive = ArchivingClass::createNewZipFile(path.c_str());
                // The copy may still be deflating when the call returns: its
                // write fails by the close at the latest.
                ArchivingClass::tryToCopyFileToZipFileEntry((dir / "large.log").c_str(), "copy", archive.get());
                ArchivingClass::closeZipFile(archive.get());
            })
                            ? 0
                            : 2;
            failures += raisesCode15([&] {
                auto archive = ArchivingClass::createNewZipFile(path.c_str());
                ArchivingClass::addEntryToZipFile("reportData/reportGeneratorLog.log", "log\r\n"s, archive.get());
                ArchivingClass::closeZipFile(archive.get());
            })
                            ? 0
                            : 4;
            std::_Exit(failures);
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_TRUE(std::filesystem::is_empty(dir / "out"));
}

TEST(ArchiveWriterSafety, TheArchiveIsNeverCopiedIntoItself)
{
    testing_support::TempDir temp;
    const std::string archivePath = temp / "Desktop/report.zip";
    testing_support::makeDirectories(temp / "Desktop");
    auto archive = ArchivingClass::createNewZipFile(archivePath.c_str());
    ArchivingClass::addEntryToZipFile("first", std::string(100000, 'x'), archive.get());
    // A wildcard such as Desktop/*.zip meets the archive being written.
    EXPECT_FALSE(ArchivingClass::tryToCopyFileToZipFileEntry(archivePath.c_str(), "Desktop/report.zip", archive.get()));
    ArchivingClass::closeZipFile(archive.get());
    EXPECT_EQ(testing_support::readZipEntryNames(archivePath), std::vector<std::string>{"first"});
}

TEST(ArchivePlacement, TheArchiveTakesItsNameOnlyWhenClosed)
{
    TempDir dir;
    const std::string path = dir / "report.zip";
    auto archive = ArchivingClass::createNewZipFile(path.c_str());
    ArchivingClass::addEntryToZipFile("first", "one"s, archive.get());
    EXPECT_FALSE(pathExists(path));
    ArchivingClass::closeZipFile(archive.get());
    EXPECT_EQ(readZipEntryNames(path), std::vector<std::string>{"first"});
    EXPECT_TRUE(unzipTestPasses(path));
}

TEST(ArchivePlacement, AClosedArchiveReplacesAPlantedLinkNeverItsTarget)
{
    TempDir dir;
    writeFile(dir / "target", "precious");
    const std::string path = dir / "report.zip";
    ASSERT_EQ(symlink((dir / "target").c_str(), path.c_str()), 0);
    auto archive = ArchivingClass::createNewZipFile(path.c_str());
    ArchivingClass::addEntryToZipFile("first", "one"s, archive.get());
    ArchivingClass::closeZipFile(archive.get());
    EXPECT_EQ(readWholeFile(dir / "target"), "precious");
    struct stat status {};
    ASSERT_EQ(lstat(path.c_str(), &status), 0);
    EXPECT_TRUE(S_ISREG(status.st_mode));
    EXPECT_TRUE(unzipTestPasses(path));
}

TEST(ArchivePlacement, AFailedArchiveIsNamedOnlyWithAnEntryAndAFreeName)
{
    TempDir dir;
    const std::string path = dir / "report.zip";
    // Nothing stored: no empty zip.
    ArchivingClass::createNewZipFile(path.c_str()).reset();
    EXPECT_FALSE(pathExists(path));
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));

    // One entry and a free name: kept, closed as written so far.
    auto partial = ArchivingClass::createNewZipFile(path.c_str());
    ArchivingClass::addEntryToZipFile("partial", "so far"s, partial.get());
    partial.reset();
    EXPECT_EQ(readZipEntryNames(path), std::vector<std::string>{"partial"});

    // A good report under the name stays.
    auto good = ArchivingClass::createNewZipFile(path.c_str());
    ArchivingClass::addEntryToZipFile("good", "complete"s, good.get());
    ArchivingClass::closeZipFile(good.get());
    auto failing = ArchivingClass::createNewZipFile(path.c_str());
    ArchivingClass::addEntryToZipFile("failing", "half"s, failing.get());
    failing.reset();
    EXPECT_EQ(readZipEntryNames(path), std::vector<std::string>{"good"});
    EXPECT_TRUE(unzipTestPasses(path));
}

TEST(ArchivePlacement, AFolderRemovedDuringTheRunRaisesCode15)
{
    TempDir dir;
    makeDirectories(dir / "Desktop");
    const std::string path = dir / "Desktop/report.zip";
    auto archive = ArchivingClass::createNewZipFile(path.c_str());
    ArchivingClass::addEntryToZipFile("first", "one"s, archive.get());
    std::filesystem::remove_all(dir / "Desktop");
    expectCode(
        ERROR_ARCHIVE_WRITE, [&] { ArchivingClass::closeZipFile(archive.get()); }, "removed folder");
    archive.reset();
    EXPECT_FALSE(pathExists(path));
}

TEST(ArchiveGrowingFiles, AFileThatGrowsOrShrinksWhileReadIsCopiedAsFarAsItsSizeWhenOpenedAndSaysSo)
{
    TempDir dir;
    const std::string path = dir / "report.zip";
    auto archive = ArchivingClass::createNewZipFile(path.c_str());
    // Changed between the open and the read: extended sparsely far past
    // 4 GiB, cut, or left alone.
    const struct {
        const char* name;
        off_t sizeAfterOpen;
        std::size_t stored;
        SourceFile::SizeChange change;
    } cases[] = {
        {"growing.log", off_t{5} << 30, 100000, SourceFile::SizeChange::grew},
        {"shrinking.log", 40000, 40000, SourceFile::SizeChange::shrank},
        {"steady.log", 100000, 100000, SourceFile::SizeChange::none},
    };
    for (const auto& [name, sizeAfterOpen, stored, change] : cases) {
        SCOPED_TRACE(name);
        const std::string log = dir / name;
        writeFile(log, std::string(100000, 'a'));
        auto source = SourceFile::open(log.c_str());
        ASSERT_TRUE(source);
        ASSERT_EQ(truncate(log.c_str(), sizeAfterOpen), 0);
        archive->addFile(*source, name, ArchivingClass::fileInfoForModificationTime(0));
        EXPECT_EQ(source->bytesRead(), stored);
        EXPECT_EQ(source->sizeChange(), change);
    }
    ArchivingClass::closeZipFile(archive.get());
    for (const auto& [name, sizeAfterOpen, stored, change] : cases)
        EXPECT_EQ(readZipEntry(path, name), std::string(stored, 'a')) << name;
    EXPECT_TRUE(unzipTestPasses(path));
}

TEST(ArchiveGrowingFiles, AFileThatReportsSizeZeroIsReadToItsEnd)
{
    auto source = SourceFile::open("/proc/self/status");
    ASSERT_TRUE(source);
    ASSERT_EQ(source->sizeWhenOpened(), 0);
    char buffer[256];
    std::size_t total = 0;
    while (std::size_t count = source->read(buffer, sizeof buffer))
        total += count;
    EXPECT_GT(total, 0u);
}

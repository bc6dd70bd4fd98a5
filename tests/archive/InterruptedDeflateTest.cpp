// A run that fails while entries are still being compressed: the archive,
// closed after the failure, is read back by Python's zipfile and `unzip -t`.
#include "base/ErrorCodes.h"
#include "core/archive/ArchivingClass.h"
#include "core/archive/ParallelZipWriter.h"
#include "tests/archive/DeflateTestSupport.h"
#include "tests/doubles/Expectations.h"
#include "tests/doubles/TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

using namespace testing_support;
using deflate_tests::logText;

namespace {

constexpr std::size_t BLOCK = ParallelZipWriter::BLOCK_SIZE;

} // namespace

// The earlier entries are still with the threads when the read fails; they
// are finished at the close, and what was read of the failing one stays a
// sound, shorter entry.
TEST(ParallelDeflateReadBack, AFailedReadLeavesTheEntriesBeforeItWhole)
{
    const std::vector<std::pair<std::string, std::string>> before = {
        {"first.log", logText(3 * BLOCK, 1)},
        {"second.log", logText(1000, 2)},
        {"third.log", logText(2 * BLOCK + 5, 3)},
    };
    const std::string failing = logText(4 * BLOCK, 4);
    const std::size_t readBeforeFailure = 2 * BLOCK + 300;
    TempDir dir;
    const std::string path = dir / "report.zip";
    zipFile archive = zipOpen64(path.c_str(), APPEND_STATUS_CREATE);
    ASSERT_NE(archive, nullptr);
    {
        ParallelZipWriter writer(archive, 2);
        for (const auto& [name, data] : before)
            deflate_tests::addEntryRead(writer, {name, zip_fileinfo{}, false}, data, 65536, data.size());
        std::size_t offset = 0;
        expectCode(ERROR_FILE_READ, [&] {
            writer.addEntry(
                {"failing.log", zip_fileinfo{}, false}, failing.size(), [&](void* buffer, std::size_t capacity) {
                    if (offset == readBeforeFailure)
                        throw CodedFailure{ERROR_FILE_READ};
                    const std::size_t count = std::min<std::size_t>({capacity, 100, readBeforeFailure - offset});
                    std::memcpy(buffer, failing.data() + offset, count);
                    offset += count;
                    return count;
                });
        });
        EXPECT_GT(writer.batchesInFlight(), 0u) << "nothing was in flight: the test proves nothing";
        writer.flushAfterFailure();
    }
    ASSERT_EQ(zipClose(archive, nullptr), ZIP_OK);

    ASSERT_TRUE(unzipTestPasses(path));
    const auto read = readZipEntries(path);
    ASSERT_EQ(read.size(), before.size() + 1);
    for (std::size_t i = 0; i < before.size(); ++i) {
        EXPECT_EQ(read[i].name, before[i].first);
        EXPECT_TRUE(read[i].crcOk) << read[i].name;
        EXPECT_TRUE(readZipEntry(path, before[i].first) == before[i].second) << read[i].name;
    }
    EXPECT_EQ(read.back().name, "failing.log");
    EXPECT_TRUE(read.back().crcOk);
    EXPECT_TRUE(readZipEntry(path, "failing.log") == failing.substr(0, readBeforeFailure));
}

// Through the report's own calls: files handed over before an unreadable one
// are in the archive that the failure leaves, named as the report; the
// unreadable one is not.
TEST(ParallelDeflateReadBack, FilesCopiedBeforeAnUnreadableOneAreAllThere)
{
    TempDir dir;
    std::vector<std::string> names;
    for (int i = 0; i < 40; ++i) {
        names.push_back("logs/" + std::to_string(i) + ".log");
        writeFile(dir / names.back(), logText(static_cast<std::size_t>(i) * 20011 % 300000, 10 + i));
    }
    const std::string path = dir / "report.zip";
    {
        auto archive = ArchivingClass::createNewZipFile(path.c_str());
        for (const auto& name : names)
            ASSERT_TRUE(ArchivingClass::tryToCopyFileToZipFileEntry((dir / name).c_str(), name.c_str(), archive.get()));
        // Opens, but reading its first byte fails.
        expectCode(ERROR_FILE_READ,
                   [&] { ArchivingClass::tryToCopyFileToZipFileEntry("/proc/self/mem", "mem", archive.get()); });
    }

    ASSERT_TRUE(unzipTestPasses(path));
    EXPECT_EQ(readZipEntryNames(path), names);
    for (const auto& name : {names.front(), names[17], names.back()})
        EXPECT_TRUE(readZipEntry(path, name) == readWholeFile(dir / name)) << name;
}

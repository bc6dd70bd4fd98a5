// The archive writer's parallel deflate, read back in this process: streams
// joined from blocks inflate to their input with every thread count, CRCs
// and sizes match zlib's whole-file figures, headers match minizip's own.
#include "core/archive/DeflateWorkerPool.h"
#include "core/archive/ParallelZipWriter.h"
#include "core/archive/ZipEntryHeader.h"
#include "tests/archive/DeflateTestSupport.h"
#include "tests/doubles/TestFiles.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>

using namespace deflate_tests;

namespace {

constexpr std::size_t BLOCK = ParallelZipWriter::BLOCK_SIZE;

struct Entry {
    std::string name;
    std::string data;
    // Bytes per read call, as a file read in odd pieces would give them.
    std::size_t readSize = 1 << 20;
    // What the entry is said to hold when it is opened.
    std::size_t expectedSize = 0;
};

Entry entryOf(std::string name, std::string data, std::size_t readSize = 1 << 20)
{
    const std::size_t size = data.size();
    return {std::move(name), std::move(data), readSize, size};
}

void writeArchive(const std::string& path, const std::vector<Entry>& entries, unsigned threads)
{
    zipFile archive = zipOpen64(path.c_str(), APPEND_STATUS_CREATE);
    ASSERT_NE(archive, nullptr);
    {
        ParallelZipWriter writer(archive, threads);
        for (const auto& entry : entries)
            addEntryRead(writer, {entry.name, zip_fileinfo{}, false}, entry.data, entry.readSize, entry.expectedSize);
        writer.flush();
    }
    ASSERT_EQ(zipClose(archive, nullptr), ZIP_OK);
}

void expectStoredExactly(const std::vector<StoredEntry>& stored, const std::vector<Entry>& entries)
{
    ASSERT_EQ(stored.size(), entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const auto& entry = entries[i];
        EXPECT_EQ(stored[i].name, entry.name);
        EXPECT_EQ(stored[i].method, Z_DEFLATED) << entry.name;
        EXPECT_TRUE(stored[i].wholeStream) << entry.name;
        EXPECT_EQ(stored[i].size, entry.data.size()) << entry.name;
        EXPECT_EQ(stored[i].crc, crcOf(entry.data)) << entry.name;
        EXPECT_TRUE(stored[i].inflated == entry.data) << entry.name << " does not inflate to its input";
    }
}

std::vector<Entry> entriesAroundTheBlockSize()
{
    // Text refers back across block ends; random bytes do not compress.
    std::vector<Entry> entries = {
        entryOf("empty", ""),
        entryOf("one-byte", "x"),
        entryOf("block-less-one", logText(BLOCK - 1, 1)),
        entryOf("block", logText(BLOCK, 2)),
        entryOf("block-plus-one", logText(BLOCK + 1, 3)),
        entryOf("blocks", logText(3 * BLOCK + 12345, 4), 70001),
        entryOf("random-blocks", testing_support::randomBytes(2 * BLOCK + 7, 5)),
    };
    // Small files packed into batches; one said to be empty that is not (a
    // file under /proc) starts late in a batch and runs on past it, so its
    // first dictionary is shorter than the window.
    for (int i = 0; i < 300; ++i)
        entries.push_back(
            entryOf("small/" + std::to_string(i), logText(static_cast<std::size_t>(i) * 37 % 4000, 6 + i)));
    Entry grown = entryOf("grown", logText(BLOCK + 100000, 400), 4096);
    grown.expectedSize = 0;
    entries.push_back(grown);
    entries.push_back(entryOf("last", "end"));
    return entries;
}

} // namespace

TEST(ParallelDeflate, JoinedBlocksInflateToTheInputWithAnyNumberOfThreads)
{
    const std::vector<Entry> entries = entriesAroundTheBlockSize();
    for (unsigned threads : {1u, 2u, 8u}) {
        SCOPED_TRACE(std::to_string(threads) + " threads");
        testing_support::TempDir dir;
        const std::string path = dir / "out.zip";
        writeArchive(path, entries, threads);
        expectStoredExactly(readStoredEntries(path), entries);
    }
}

TEST(ParallelDeflate, CompressesWithinTwoPercentOfOneZlibStream)
{
    const std::vector<Entry> entries = {entryOf("log", logText(8 * BLOCK + 999, 7))};
    testing_support::TempDir dir;
    writeArchive(dir / "out.zip", entries, 2);
    const auto stored = readStoredEntries(dir / "out.zip");
    ASSERT_EQ(stored.size(), 1u);
    const double single = static_cast<double>(deflateInOneStream(entries[0].data).size());
    EXPECT_LE(static_cast<double>(stored[0].compressedSize), single * 1.02);
}

// Raw entries must look to a reader exactly like the ones minizip deflates
// itself: version made by and needed, flags (UTF-8 among them), method, date,
// attributes, CRC, sizes and the text mark, in the local header and in the
// central directory.
TEST(ParallelDeflate, RawEntriesCarryTheHeadersOfMinizipsOwn)
{
    zip_fileinfo info{};
    info.tmz_date = {9, 5, 14, 7, 2, 111};
    const std::pair<const char*, std::string> contents[] = {
        {"text", logText(100000, 8)},
        {"binary", testing_support::randomBytes(3000, 9)},
        {"empty", ""},
    };
    for (const char* name : {"a/b.log", "Drucker/Grüße.log"})
        for (const auto& [kind, data] : contents)
            for (bool zip64 : {false, true}) {
                SCOPED_TRACE(std::string(name) + ", " + kind + (zip64 ? ", zip64" : ""));
                const ZipEntryHeader header{name, info, zip64};
                testing_support::TempDir dir;
                zipFile own = zipOpen64((dir / "own.zip").c_str(), APPEND_STATUS_CREATE);
                ASSERT_EQ(openZipEntry(own, header, EntryData::deflatedByMinizip), ZIP_OK);
                ASSERT_EQ(zipWriteInFileInZip(own, data.data(), static_cast<unsigned>(data.size())), ZIP_OK);
                ASSERT_EQ(zipCloseFileInZip(own), ZIP_OK);
                ASSERT_EQ(zipClose(own, nullptr), ZIP_OK);

                zipFile raw = zipOpen64((dir / "raw.zip").c_str(), APPEND_STATUS_CREATE);
                {
                    ParallelZipWriter writer(raw, 2);
                    addEntryRead(writer, header, data, 1 << 20, data.size());
                    writer.flush();
                    EXPECT_EQ(writer.entriesWritten(), 1u);
                }
                ASSERT_EQ(zipClose(raw, nullptr), ZIP_OK);

                const std::string ownBytes = testing_support::readWholeFile(dir / "own.zip");
                const std::string rawBytes = testing_support::readWholeFile(dir / "raw.zip");
                // The local header up to the compressed size, then the sizes and
                // name after it; with zip64 the sizes live in the extra field that
                // follows, the uncompressed one first.
                const std::size_t afterCompressedSize = zip64 ? 27 : 15;
                ASSERT_GT(ownBytes.size(), 22 + afterCompressedSize);
                ASSERT_GT(rawBytes.size(), 22 + afterCompressedSize);
                EXPECT_EQ(rawBytes.substr(0, 18), ownBytes.substr(0, 18));
                EXPECT_EQ(rawBytes.substr(22, afterCompressedSize), ownBytes.substr(22, afterCompressedSize));

                const auto ownEntries = readStoredEntries(dir / "own.zip");
                const auto rawEntries = readStoredEntries(dir / "raw.zip");
                ASSERT_EQ(ownEntries.size(), 1u);
                ASSERT_EQ(rawEntries.size(), 1u);
                const StoredEntry& theirs = ownEntries[0];
                const StoredEntry& mine = rawEntries[0];
                EXPECT_EQ((std::array{mine.versionMadeBy, mine.versionNeeded, mine.flags, mine.dosDate,
                                      mine.internalAttributes, mine.externalAttributes, mine.extraFieldSize, mine.crc}),
                          (std::array{theirs.versionMadeBy, theirs.versionNeeded, theirs.flags, theirs.dosDate,
                                      theirs.internalAttributes, theirs.externalAttributes, theirs.extraFieldSize,
                                      theirs.crc}));
                EXPECT_EQ(mine.method, theirs.method);
                EXPECT_EQ(mine.size, theirs.size);
                EXPECT_EQ(mine.inflated, data);
            }
}

// SIGINT and SIGTERM must reach the thread that holds them back while the
// archive is named, never a compressing thread that would act on them at once.
TEST(ParallelDeflate, TheThreadsLeaveSignalsToTheThreadThatStartedThem)
{
    auto blocksInterrupts = [](const std::string& statusFile) {
        std::ifstream status(statusFile);
        for (std::string line; std::getline(status, line);)
            if (line.rfind("SigBlk:", 0) == 0) {
                const unsigned long long mask = std::stoull(line.substr(7), nullptr, 16);
                const auto bit = [](int signalNumber) { return 1ull << (signalNumber - 1); };
                return (mask & bit(SIGINT)) != 0 && (mask & bit(SIGTERM)) != 0;
            }
        ADD_FAILURE() << "no signal mask in " << statusFile;
        return false;
    };
    auto threads = [] {
        std::set<std::filesystem::path> tasks;
        for (const auto& task : std::filesystem::directory_iterator("/proc/self/task"))
            tasks.insert(task.path());
        return tasks;
    };
    const std::string self = "/proc/self/task/" + std::to_string(gettid());
    // Only the pool's threads count: a sanitizer may run threads of its own.
    const auto before = threads();
    DeflateWorkerPool pool(3);
    int blocking = 0;
    for (const auto& task : threads())
        if (before.count(task) == 0 && blocksInterrupts(task / "status"))
            ++blocking;
    EXPECT_EQ(blocking, 3);
    EXPECT_FALSE(blocksInterrupts(self + "/status"));
}

// A process limit that lets only some of the threads start (a busy shared
// server) leaves fewer threads, not a failed report; one that lets none
// start leaves the work to the caller's thread.
TEST(ParallelDeflate, ALimitOnThreadsLeavesFewerThreadsNotAFailure)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "the limit is set for an unprivileged user, which needs root";
    const std::vector<Entry> entries = {entryOf("log", logText(3 * BLOCK + 5, 11)), entryOf("small", "x")};
    for (const int threadsLeft : {1, 0}) {
        SCOPED_TRACE(std::to_string(threadsLeft) + " threads may start");
        testing_support::TempDir dir;
        const std::string path = dir / "out.zip";
        EXPECT_EXIT(
            {
                zipFile archive = zipOpen64(path.c_str(), APPEND_STATUS_CREATE);
                // The limit counts the threads of the real user, one that
                // runs nothing else: this process's own (a sanitizer may
                // have some) and those left.
                const auto user = static_cast<uid_t>(2000000000 + getpid() % 1000000);
                const auto running = std::distance(std::filesystem::directory_iterator("/proc/self/task"),
                                                   std::filesystem::directory_iterator());
                rlimit limit{};
                limit.rlim_cur = limit.rlim_max = static_cast<rlim_t>(running + threadsLeft);
                if (archive == nullptr || setgid(user) != 0 || setuid(user) != 0 ||
                    setrlimit(RLIMIT_NPROC, &limit) != 0)
                    std::_Exit(3);
                {
                    ParallelZipWriter writer(archive, 4);
                    for (const auto& entry : entries)
                        addEntryRead(writer, {entry.name, zip_fileinfo{}, false}, entry.data, entry.readSize,
                                     entry.expectedSize);
                    writer.flush();
                }
                std::_Exit(zipClose(archive, nullptr) == ZIP_OK ? 0 : 4);
            },
            ::testing::ExitedWithCode(0), "");
        expectStoredExactly(readStoredEntries(path), entries);
    }
}

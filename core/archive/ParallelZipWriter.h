#pragma once
// Writes deflated zip entries with the compression spread over a pool of
// threads. Entries are read on the caller's thread, in order; small ones are
// packed several to a batch, large ones cut into blocks, each block deflated
// with the previous block's tail as dictionary, so that the blocks join into
// one ordinary deflate stream. Written through minizip's raw mode, in the
// order handed over, by the caller's thread. At most a fixed number of
// batches are in flight, so the memory of a run stays flat.

#include "core/archive/DeflateBatch.h"
#include "core/archive/DeflateWorkerPool.h"
#include "core/archive/WrittenEntry.h"
#include "core/archive/ZipEntryHeader.h"

#include <minizip/zip.h>

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <future>
#include <memory>
#include <span>
#include <string>
#include <vector>

class ParallelZipWriter {
public:
    // Data per batch: big enough that a dictionary and a thread hand-over
    // cost little against it, small enough to keep many in flight.
    static constexpr std::size_t BLOCK_SIZE = 512 << 10;
    // Bounds the memory of a run whatever the number of processors: a batch
    // holds at most about twice BLOCK_SIZE, input and output.
    static constexpr std::size_t MAX_BATCHES_IN_FLIGHT = 24;
    // More threads than batches in flight would only wait.
    static constexpr unsigned MAX_THREADS = MAX_BATCHES_IN_FLIGHT / 2;

    // Up to `capacity` bytes into the buffer; 0 at the end. May throw.
    using Reader = std::function<std::size_t(void* buffer, std::size_t capacity)>;

    // Writes into `archive`, which stays the caller's, on `threads` threads
    // (at most MAX_THREADS; with 0, or when none will start, on the caller's
    // own). Code 15 when the compression streams cannot be set up.
    ParallelZipWriter(zipFile archive, unsigned threads);
    // Drops whatever is still queued.
    ~ParallelZipWriter() = default;
    ParallelZipWriter(const ParallelZipWriter&) = delete;
    ParallelZipWriter& operator=(const ParallelZipWriter&) = delete;

    // Reads one entry to its end on this thread and queues it; `expectedSize`
    // only guides the packing. Whatever `read` throws propagates, and the
    // bytes read before it stay a shorter, valid entry (none when nothing was
    // read). Code 15 when writing an entry handed over earlier failed.
    void addEntry(ZipEntryHeader header, std::size_t expectedSize, const Reader& read);
    // Writes an entry at once, after everything queued, deflated by minizip
    // itself on this thread. For the report's own small texts, which carry no
    // file information: a raw entry could not be marked as text without it.
    // Code 15 when anything could not be written.
    void addEntryFromMemory(const ZipEntryHeader& header, std::span<const unsigned char> data);

    // Compresses and writes everything queued. Code 15 when any of it could
    // not be written.
    void flush();
    // The same after a failure elsewhere: writes what it can, never throws.
    void flushAfterFailure() noexcept;

    // Entries whole in the archive (opened, written and closed), in order.
    std::size_t entriesWritten() const { return writtenEntries_.size(); }
    const std::vector<WrittenEntry>& writtenEntries() const { return writtenEntries_; }
    // Batches handed to the threads and not yet written.
    std::size_t batchesInFlight() const { return inFlight_.size(); }

private:
    struct InFlight {
        std::unique_ptr<DeflateBatch> batch;
        std::future<void> done;
    };

    void continueEntryInNextBatch();
    void submitFilling();
    void makeRoom();
    void writeReadyBatches();
    void writeFrontBatch();
    void writeBatch(const DeflateBatch& batch);
    void writeBytes(std::span<const unsigned char> bytes);
    void check(int result);
    std::unique_ptr<DeflateBatch> takeSpareBatch();
    void dropQueued() noexcept;

    zipFile archive_;
    std::size_t maxInFlight_;
    std::unique_ptr<DeflateBatch> filling_;
    std::deque<InFlight> inFlight_;
    std::vector<std::unique_ptr<DeflateBatch>> spare_;
    // The entry being written: its CRC and size so far.
    unsigned long entryCrc_ = 0;
    std::uint64_t entrySize_ = 0;
    std::string entryName_;
    std::vector<WrittenEntry> writtenEntries_;
    bool failed_ = false;
    // Last, so that its threads stop before the batches they work on go.
    DeflateWorkerPool pool_;
};

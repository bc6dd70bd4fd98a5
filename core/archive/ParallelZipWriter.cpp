#include "core/archive/ParallelZipWriter.h"

#include "base/ErrorCodes.h"

#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <limits>
#include <utility>

ParallelZipWriter::ParallelZipWriter(zipFile archive, unsigned threads)
    : archive_(archive),
      maxInFlight_(std::clamp<std::size_t>(2 * std::size_t{threads} + 1, 2, MAX_BATCHES_IN_FLIGHT)),
      pool_(std::min(threads, MAX_THREADS))
{
    // Recycling a batch then never needs memory.
    spare_.reserve(maxInFlight_ + 1);
}

void ParallelZipWriter::addEntry(ZipEntryHeader header, std::size_t expectedSize, const Reader& read)
{
    if (failed_)
        throw CodedFailure{ERROR_ARCHIVE_WRITE};
    // An entry that would not fit beside the ones waiting starts a batch of
    // its own, rather than being cut at an arbitrary point. One that would
    // fill the batch exactly does too: its end is only seen in the next.
    if (filling_ && !filling_->empty() && expectedSize >= filling_->freeSpace())
        submitFilling();
    if (!filling_)
        filling_ = takeSpareBatch();
    filling_->openEntry(std::move(header));
    try {
        for (;;) {
            if (filling_->freeSpace() == 0)
                continueEntryInNextBatch();
            const std::size_t count = read(filling_->freeSpaceStart(), filling_->freeSpace());
            if (count == 0)
                break;
            filling_->extend(count);
        }
    } catch (...) {
        filling_->cutEntryShort();
        throw;
    }
    filling_->endEntry();
    writeReadyBatches();
}

void ParallelZipWriter::addEntryFromMemory(const ZipEntryHeader& header, std::span<const unsigned char> data)
{
    flush();
    check(openZipEntry(archive_, header, EntryData::deflatedByMinizip));
    writeBytes(data);
    check(zipCloseFileInZip(archive_));
    writtenEntries_.push_back({header.name, data.size()});
}

void ParallelZipWriter::flush()
{
    if (filling_ && !filling_->empty())
        submitFilling();
    while (!inFlight_.empty())
        writeFrontBatch();
    if (failed_)
        throw CodedFailure{ERROR_ARCHIVE_WRITE};
}

void ParallelZipWriter::flushAfterFailure() noexcept
{
    try {
        flush();
    } catch (...) {
        dropQueued();
    }
}

// Every step that can fail comes before the full batch is handed over, so
// that a failure leaves the entry's open piece in `filling_`.
void ParallelZipWriter::continueEntryInNextBatch()
{
    makeRoom();
    std::unique_ptr<DeflateBatch> next = takeSpareBatch();
    next->continueEntryOf(*filling_);
    submitFilling();
    filling_ = std::move(next);
}

void ParallelZipWriter::submitFilling()
{
    makeRoom();
    DeflateBatch* batch = filling_.get();
    inFlight_.emplace_back();
    try {
        inFlight_.back().done =
            pool_.submit(DeflateWorkerPool::Task([batch](BlockDeflater& deflater) { batch->compress(deflater); }));
    } catch (...) {
        inFlight_.pop_back();
        throw;
    }
    inFlight_.back().batch = std::move(filling_);
}

void ParallelZipWriter::makeRoom()
{
    while (inFlight_.size() >= maxInFlight_)
        writeFrontBatch();
}

void ParallelZipWriter::writeReadyBatches()
{
    using namespace std::chrono_literals;
    while (!inFlight_.empty() && inFlight_.front().done.wait_for(0s) == std::future_status::ready)
        writeFrontBatch();
}

void ParallelZipWriter::writeFrontBatch()
{
    InFlight front = std::move(inFlight_.front());
    inFlight_.pop_front();
    bool compressed = true;
    try {
        front.done.get();
    } catch (...) {
        compressed = false;
    }
    auto recycle = [&] {
        front.batch->clear();
        spare_.push_back(std::move(front.batch));
    };
    if (!compressed) {
        failed_ = true;
        recycle();
        throw CodedFailure{ERROR_ARCHIVE_WRITE};
    }
    // After a failed write the archive is lost; what is queued is only waited for.
    if (!failed_) {
        try {
            writeBatch(*front.batch);
        } catch (...) {
            recycle();
            throw;
        }
    }
    recycle();
}

void ParallelZipWriter::writeBatch(const DeflateBatch& batch)
{
    for (const BatchPiece& piece : batch.pieces()) {
        if (const auto& header = piece.opensEntry) {
            check(openZipEntry(archive_, *header, EntryData::alreadyDeflated, piece.looksLikeText));
            entryCrc_ = crc32(0, Z_NULL, 0);
            entrySize_ = 0;
            entryName_ = header->name;
        }
        writeBytes(batch.output(piece));
        entryCrc_ = crc32_combine(entryCrc_, piece.crc, static_cast<z_off_t>(piece.dataLength));
        entrySize_ += piece.dataLength;
        if (piece.endsEntry) {
            check(zipCloseFileInZipRaw64(archive_, entrySize_, entryCrc_));
            writtenEntries_.push_back({entryName_, entrySize_});
        }
    }
}

void ParallelZipWriter::writeBytes(std::span<const unsigned char> bytes)
{
    while (!bytes.empty()) {
        const auto part =
            static_cast<unsigned>(std::min<std::size_t>(bytes.size(), std::numeric_limits<unsigned>::max() / 2));
        check(zipWriteInFileInZip(archive_, bytes.data(), part));
        bytes = bytes.subspan(part);
    }
}

void ParallelZipWriter::check(int result)
{
    if (result != ZIP_OK) {
        failed_ = true;
        throw CodedFailure{ERROR_ARCHIVE_WRITE};
    }
}

std::unique_ptr<DeflateBatch> ParallelZipWriter::takeSpareBatch()
{
    if (spare_.empty())
        return std::make_unique<DeflateBatch>(BLOCK_SIZE);
    std::unique_ptr<DeflateBatch> batch = std::move(spare_.back());
    spare_.pop_back();
    return batch;
}

void ParallelZipWriter::dropQueued() noexcept
{
    for (InFlight& queued : inFlight_)
        if (queued.done.valid())
            queued.done.wait();
    inFlight_.clear();
    if (filling_)
        filling_->clear();
}

#pragma once
// Input for one compression job and, once compressed, its output: whole small
// entries side by side, or one block of a large entry. The caller's thread
// fills a batch, one worker compresses it, the caller's thread writes it.

#include "core/archive/BlockDeflater.h"
#include "core/archive/ZipEntryHeader.h"

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <vector>

// A run of one entry's bytes within a batch, with what compressing it gave.
struct BatchPiece {
    std::optional<ZipEntryHeader> opensEntry; // set on an entry's first piece
    std::size_t dataStart = 0;
    std::size_t dataLength = 0;
    bool endsEntry = false;
    // Filled in by compress().
    std::size_t outputStart = 0;
    std::size_t outputLength = 0;
    unsigned long crc = 0;
    bool looksLikeText = false; // of an entry's first piece
};

class DeflateBatch {
public:
    // Room for `capacity` bytes of entry data.
    explicit DeflateBatch(std::size_t capacity);

    bool empty() const { return pieces_.empty(); }
    std::size_t freeSpace() const { return input_.size() - used_; }
    // Where the next bytes of the last piece are read to.
    unsigned char* freeSpaceStart() { return input_.data() + used_; }

    // Starts the first piece of an entry.
    void openEntry(ZipEntryHeader header);
    // Starts this empty batch with a piece that goes on with the entry whose
    // piece ends `previous`, primed with the entry's last bytes before it.
    void continueEntryOf(const DeflateBatch& previous);
    // The last piece grew by `count` bytes, read to freeSpaceStart().
    void extend(std::size_t count);
    // The entry of the last piece ends with it: its stream is finished there.
    void endEntry();
    // After a failure to read the entry of the last piece: ends its stream
    // where its data stops, so that what was read stays a valid, shorter
    // entry; an entry that yielded nothing is dropped.
    void cutEntryShort();

    // On a worker: deflates every piece.
    void compress(BlockDeflater& deflater);
    const std::vector<BatchPiece>& pieces() const { return pieces_; }
    std::span<const unsigned char> output(const BatchPiece& piece) const;

    // Empties the batch for reuse, keeping its buffers.
    void clear();

private:
    std::span<const unsigned char> data(const BatchPiece& piece) const;

    std::vector<unsigned char> input_;
    std::size_t used_ = 0;
    // The dictionary of the first piece, when it continues an entry.
    std::array<unsigned char, BlockDeflater::WINDOW_SIZE> dictionary_{};
    std::size_t dictionaryLength_ = 0;
    std::vector<BatchPiece> pieces_;
    ByteBuffer output_;
};

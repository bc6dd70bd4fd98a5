#include "core/archive/DeflateBatch.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <utility>

DeflateBatch::DeflateBatch(std::size_t capacity) : input_(capacity) {}

void DeflateBatch::openEntry(ZipEntryHeader header)
{
    BatchPiece piece;
    piece.opensEntry = std::move(header);
    piece.dataStart = used_;
    pieces_.push_back(std::move(piece));
}

void DeflateBatch::continueEntryOf(const DeflateBatch& previous)
{
    const BatchPiece& last = previous.pieces_.back();
    // That piece holds the entry's data since it began, or a whole batch:
    // either way its tail is all the window the stream can see.
    dictionaryLength_ = std::min(last.dataLength, dictionary_.size());
    std::memcpy(dictionary_.data(), previous.input_.data() + last.dataStart + last.dataLength - dictionaryLength_,
                dictionaryLength_);
    pieces_.emplace_back();
}

void DeflateBatch::extend(std::size_t count)
{
    used_ += count;
    pieces_.back().dataLength += count;
}

void DeflateBatch::endEntry()
{
    pieces_.back().endsEntry = true;
}

void DeflateBatch::cutEntryShort()
{
    if (pieces_.empty())
        return;
    BatchPiece& last = pieces_.back();
    if (last.opensEntry && last.dataLength == 0)
        pieces_.pop_back();
    else
        last.endsEntry = true;
}

void DeflateBatch::compress(BlockDeflater& deflater)
{
    output_.size = 0;
    for (BatchPiece& piece : pieces_) {
        const bool continues = &piece == &pieces_.front() && !piece.opensEntry;
        const std::span<const unsigned char> dictionary(dictionary_.data(), continues ? dictionaryLength_ : 0);
        piece.outputStart = output_.size;
        deflater.deflateBlock(dictionary, data(piece), piece.endsEntry, output_);
        piece.outputLength = output_.size - piece.outputStart;
        piece.looksLikeText = deflater.lastBlockLooksLikeText();
        piece.crc = crc32(crc32(0, Z_NULL, 0), data(piece).data(), static_cast<uInt>(piece.dataLength));
    }
}

std::span<const unsigned char> DeflateBatch::output(const BatchPiece& piece) const
{
    return {output_.bytes.data() + piece.outputStart, piece.outputLength};
}

void DeflateBatch::clear()
{
    used_ = 0;
    dictionaryLength_ = 0;
    pieces_.clear();
    output_.size = 0;
}

std::span<const unsigned char> DeflateBatch::data(const BatchPiece& piece) const
{
    return {input_.data() + piece.dataStart, piece.dataLength};
}

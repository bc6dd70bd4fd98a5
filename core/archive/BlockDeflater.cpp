#include "core/archive/BlockDeflater.h"

#include "base/ErrorCodes.h"

#include <minizip/zip.h>

#include <algorithm>

namespace {

// The parameters minizip uses for its own deflated entries: a raw stream
// (no zlib wrapper) with the full window and default memory.
constexpr int RAW_WINDOW_BITS = -MAX_WBITS;

void check(int result)
{
    if (result != Z_OK)
        throw CodedFailure{ERROR_ARCHIVE_WRITE};
}

} // namespace

BlockDeflater::BlockDeflater()
{
    check(
        deflateInit2(&stream_, Z_DEFAULT_COMPRESSION, Z_DEFLATED, RAW_WINDOW_BITS, DEF_MEM_LEVEL, Z_DEFAULT_STRATEGY));
}

BlockDeflater::~BlockDeflater()
{
    deflateEnd(&stream_);
}

void BlockDeflater::deflateBlock(std::span<const unsigned char> dictionary, std::span<const unsigned char> input,
                                 bool last, ByteBuffer& output)
{
    check(deflateReset(&stream_));
    if (!dictionary.empty())
        check(deflateSetDictionary(&stream_, dictionary.data(), static_cast<uInt>(dictionary.size())));
    // Input blocks stay far below 4 GiB, so one call takes the whole block.
    stream_.next_in = const_cast<unsigned char*>(input.data());
    stream_.avail_in = static_cast<uInt>(input.size());
    const int flush = last ? Z_FINISH : Z_SYNC_FLUSH;
    // Room for the worst case (stored blocks) and the flush's empty block, so
    // that one deflate call normally does; the loop covers the rest.
    const std::size_t room = deflateBound(&stream_, static_cast<uLong>(input.size())) + 16;
    if (output.bytes.size() < output.size + room)
        output.bytes.resize(output.size + room);
    for (;;) {
        stream_.next_out = output.bytes.data() + output.size;
        stream_.avail_out = static_cast<uInt>(output.bytes.size() - output.size);
        const int result = deflate(&stream_, flush);
        output.size = output.bytes.size() - stream_.avail_out;
        if (result == Z_STREAM_END)
            return;
        if (result != Z_OK && result != Z_BUF_ERROR)
            throw CodedFailure{ERROR_ARCHIVE_WRITE};
        // Done once deflate leaves room: all input taken and the flush written.
        if (!last && stream_.avail_out > 0 && stream_.avail_in == 0)
            return;
        output.bytes.resize(std::max<std::size_t>(output.bytes.size() * 2, 4096));
    }
}

#pragma once
// One raw deflate stream, at zlib's default level, reused block after block.
// Blocks compressed one after the other with the previous block's tail as
// dictionary join into one ordinary deflate stream.

#include <zlib.h>

#include <cstddef>
#include <span>
#include <vector>

// Compressed bytes, grown as needed and kept for reuse; `size` counts the
// bytes in use, so that reusing the buffer never clears it again.
struct ByteBuffer {
    std::vector<unsigned char> bytes;
    std::size_t size = 0;
};

class BlockDeflater {
public:
    // The size of the deflate window: the most a block can refer back.
    static constexpr std::size_t WINDOW_SIZE = 32 << 10;

    BlockDeflater();
    ~BlockDeflater();
    BlockDeflater(const BlockDeflater&) = delete;
    BlockDeflater& operator=(const BlockDeflater&) = delete;

    // Appends `input` deflated to `output`. The stream may refer back into
    // `dictionary` (at most WINDOW_SIZE bytes: the data just before `input`).
    // A block that is not `last` ends on a byte boundary without closing the
    // stream, so that the next block can follow it. Code 15 when zlib fails.
    void deflateBlock(std::span<const unsigned char> dictionary, std::span<const unsigned char> input, bool last,
                      ByteBuffer& output);
    // Whether zlib took the last block for text, judged by its first deflate
    // block: minizip marks such entries as text in the central directory.
    bool lastBlockLooksLikeText() const { return stream_.data_type == Z_TEXT; }

private:
    z_stream stream_{};
};

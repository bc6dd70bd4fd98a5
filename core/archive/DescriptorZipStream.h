#pragma once
// minizip's file functions on an open descriptor, buffered. minizip writes an
// entry's local header a field at a time and, once the entry's data is
// written, goes back to put its CRC and sizes in: unbuffered, that is some
// twenty system calls per entry. Here the writes gather in one buffer that
// goes to the file in large positional writes; the position is kept here, so
// that telling it costs nothing, and a patch that falls inside the buffer is
// made there. One outside it (the header of an entry larger than the buffer)
// goes to the file after what is buffered.
//
// The first failure is kept, and nothing is written after it, so that
// minizip fails whatever it does next. Bytes still buffered are on disk only
// after flush() (or minizip's close) succeeded. The descriptor stays the
// caller's.

#include <minizip/ioapi.h>

#include <sys/types.h>

#include <cstddef>
#include <system_error>
#include <vector>

class DescriptorZipStream {
public:
    // Large enough that writes of minizip's own 64 KiB data blocks gather too.
    static constexpr std::size_t BUFFER_SIZE = 256 << 10;

    // Writes from the descriptor's current position on.
    explicit DescriptorZipStream(int descriptor, std::size_t bufferSize = BUFFER_SIZE);
    DescriptorZipStream(const DescriptorZipStream&) = delete;
    DescriptorZipStream& operator=(const DescriptorZipStream&) = delete;

    // For zipOpen2_64(name, APPEND_STATUS_CREATE, nullptr, &functions): the
    // name is ignored. Valid while this object lives.
    zlib_filefunc64_def fileFunctions();

    // Writes every buffered byte to the file; false, with error() set, when
    // they could not all be written or an earlier step failed.
    bool flush();
    // The system's reason for the first failure; empty when none.
    std::error_code error() const { return error_; }

private:
    friend struct DescriptorZipStreamCalls;
    unsigned long write(const void* bytes, unsigned long size);
    unsigned long read(void* bytes, unsigned long size);
    long seek(ZPOS64_T offset, int origin);
    ZPOS64_T tell() const { return static_cast<ZPOS64_T>(position_); }
    bool writeAt(const unsigned char* bytes, std::size_t size, off_t offset);
    // Keeps `error` unless an earlier failure was kept.
    void fail(std::error_code error);

    int descriptor_;
    std::vector<unsigned char> buffer_;
    // The buffer holds the bytes of [bufferStart_, bufferStart_ + buffered_).
    std::size_t buffered_ = 0;
    off_t bufferStart_ = 0;
    // Where the next read or write goes.
    off_t position_ = 0;
    std::error_code error_;
};

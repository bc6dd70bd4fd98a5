#include "core/archive/DescriptorZipStream.h"

#include "platform/posix/FullIo.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>

// minizip calls plain functions; each finds its stream in the opaque pointer.
struct DescriptorZipStreamCalls {
    static DescriptorZipStream& of(voidpf opaque) { return *static_cast<DescriptorZipStream*>(opaque); }

    static voidpf ZCALLBACK open(voidpf opaque, const void*, int) { return opaque; }
    static uLong ZCALLBACK read(voidpf, voidpf stream, void* buffer, uLong size)
    {
        return of(stream).read(buffer, size);
    }
    static uLong ZCALLBACK write(voidpf, voidpf stream, const void* buffer, uLong size)
    {
        return of(stream).write(buffer, size);
    }
    static ZPOS64_T ZCALLBACK tell(voidpf, voidpf stream) { return of(stream).tell(); }
    static long ZCALLBACK seek(voidpf, voidpf stream, ZPOS64_T offset, int origin)
    {
        return of(stream).seek(offset, origin);
    }
    // The descriptor stays open: the file still has to be flushed and named.
    static int ZCALLBACK close(voidpf, voidpf stream) { return of(stream).flush() ? 0 : -1; }
    static int ZCALLBACK error(voidpf, voidpf stream) { return of(stream).error().value(); }
};

DescriptorZipStream::DescriptorZipStream(int descriptor, std::size_t bufferSize)
    : descriptor_(descriptor),
      buffer_(std::max<std::size_t>(bufferSize, 1))
{
    position_ = lseek(descriptor_, 0, SEEK_CUR);
    if (position_ < 0) {
        fail({errno, std::system_category()});
        position_ = 0;
    }
    bufferStart_ = position_;
}

zlib_filefunc64_def DescriptorZipStream::fileFunctions()
{
    zlib_filefunc64_def functions{};
    functions.zopen64_file = DescriptorZipStreamCalls::open;
    functions.zread_file = DescriptorZipStreamCalls::read;
    functions.zwrite_file = DescriptorZipStreamCalls::write;
    functions.ztell64_file = DescriptorZipStreamCalls::tell;
    functions.zseek64_file = DescriptorZipStreamCalls::seek;
    functions.zclose_file = DescriptorZipStreamCalls::close;
    functions.zerror_file = DescriptorZipStreamCalls::error;
    functions.opaque = this;
    return functions;
}

void DescriptorZipStream::fail(std::error_code error)
{
    if (!error_)
        error_ = error;
}

bool DescriptorZipStream::writeAt(const unsigned char* bytes, std::size_t size, off_t offset)
{
    const std::error_code error = platform::pwriteFully(descriptor_, bytes, size, offset);
    fail(error);
    return !error;
}

bool DescriptorZipStream::flush()
{
    if (error_)
        return false;
    const bool written = buffered_ == 0 || writeAt(buffer_.data(), buffered_, bufferStart_);
    buffered_ = 0;
    return written;
}

unsigned long DescriptorZipStream::write(const void* data, unsigned long size)
{
    if (error_)
        return 0;
    const auto* bytes = static_cast<const unsigned char*>(data);
    // Only a write that continues the buffered bytes, or lands inside them,
    // goes into the buffer; anything else follows them to the file.
    if (buffered_ > 0 && (position_ < bufferStart_ || position_ > bufferStart_ + static_cast<off_t>(buffered_)) &&
        !flush())
        return 0;
    if (buffered_ == 0)
        bufferStart_ = position_;
    auto at = static_cast<std::size_t>(position_ - bufferStart_);
    if (size > buffer_.size() - at) {
        if (!flush())
            return 0;
        bufferStart_ = position_;
        at = 0;
        if (size >= buffer_.size()) {
            if (!writeAt(bytes, size, position_))
                return 0;
            position_ += static_cast<off_t>(size);
            return size;
        }
    }
    std::memcpy(buffer_.data() + at, bytes, size);
    buffered_ = std::max(buffered_, at + size);
    position_ += static_cast<off_t>(size);
    return size;
}

unsigned long DescriptorZipStream::read(void* bytes, unsigned long size)
{
    if (!flush())
        return 0;
    std::size_t count = 0;
    if (const std::error_code error = platform::preadFully(descriptor_, bytes, size, position_, &count)) {
        fail(error);
        return 0;
    }
    position_ += static_cast<off_t>(count);
    return count;
}

long DescriptorZipStream::seek(ZPOS64_T offset, int origin)
{
    constexpr auto LARGEST = static_cast<ZPOS64_T>(std::numeric_limits<off_t>::max());
    ZPOS64_T base = 0;
    if (origin == ZLIB_FILEFUNC_SEEK_CUR) {
        base = static_cast<ZPOS64_T>(position_);
    } else if (origin == ZLIB_FILEFUNC_SEEK_END) {
        // The end is the file's once the buffer is in it.
        struct stat status {};
        if (!flush())
            return -1;
        if (fstat(descriptor_, &status) != 0) {
            fail({errno, std::system_category()});
            return -1;
        }
        base = static_cast<ZPOS64_T>(status.st_size);
    }
    if (offset > LARGEST || base > LARGEST - offset) {
        fail(std::make_error_code(std::errc::value_too_large));
        return -1;
    }
    position_ = static_cast<off_t>(base + offset);
    return 0;
}

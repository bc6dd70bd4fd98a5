#include "core/archive/Zip64EndRecords.h"

#include "platform/posix/FullIo.h"

#include <sys/stat.h>

#include <array>
#include <cerrno>
#include <cstdint>
#include <vector>

namespace {

constexpr std::uint32_t END_RECORD_SIGNATURE = 0x06054b50;
constexpr std::uint32_t ZIP64_END_RECORD_SIGNATURE = 0x06064b50;
constexpr std::uint32_t ZIP64_LOCATOR_SIGNATURE = 0x07064b50;
constexpr std::uint32_t CENTRAL_HEADER_SIGNATURE = 0x02014b50;
constexpr std::size_t END_RECORD_SIZE = 22;
constexpr std::size_t ZIP64_END_RECORD_SIZE = 56;
constexpr std::size_t ZIP64_LOCATOR_SIZE = 20;
constexpr std::size_t CENTRAL_HEADER_SIZE = 46;
constexpr std::uint16_t COUNT_IN_ZIP64_RECORD = 0xFFFF;
constexpr std::uint32_t OFFSET_IN_ZIP64_RECORD = 0xFFFFFFFF;
// The version that knows zip64 (4.5), made on Unix as the entries say.
constexpr std::uint16_t ZIP64_VERSION = 45;
constexpr std::uint16_t MADE_ON_UNIX = 3 << 8;

std::uint64_t little(const unsigned char* at, int bytes)
{
    std::uint64_t value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = (value << 8) | at[i];
    return value;
}

void putLittle(std::vector<unsigned char>& out, std::uint64_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

std::error_code notAsMinizipEndsIt()
{
    return std::make_error_code(std::errc::invalid_argument);
}

// Exactly `size` bytes at `offset`; a file that ends sooner is damaged.
std::error_code readExactly(int descriptor, unsigned char* buffer, std::size_t size, off_t offset)
{
    std::size_t count = 0;
    if (const std::error_code error = platform::preadFully(descriptor, buffer, size, offset, &count))
        return error;
    return count == size ? std::error_code() : std::make_error_code(std::errc::io_error);
}

// The number of headers in the central directory at [offset, offset + size).
std::error_code countCentralHeaders(int descriptor, std::uint64_t offset, std::uint64_t size, std::uint64_t* count)
{
    *count = 0;
    std::uint64_t at = offset;
    const std::uint64_t end = offset + size;
    while (at < end) {
        std::array<unsigned char, CENTRAL_HEADER_SIZE> header{};
        if (end - at < header.size())
            return notAsMinizipEndsIt();
        if (const std::error_code error = readExactly(descriptor, header.data(), header.size(), static_cast<off_t>(at)))
            return error;
        if (little(header.data(), 4) != CENTRAL_HEADER_SIGNATURE)
            return notAsMinizipEndsIt();
        at += header.size() + little(header.data() + 28, 2) + little(header.data() + 30, 2) +
              little(header.data() + 32, 2);
        ++*count;
    }
    return at == end ? std::error_code() : notAsMinizipEndsIt();
}

} // namespace

std::error_code addMissingZip64EndRecords(int descriptor)
{
    struct stat status {};
    if (fstat(descriptor, &status) != 0)
        return {errno, std::system_category()};
    const auto fileSize = static_cast<std::uint64_t>(status.st_size);
    if (fileSize < END_RECORD_SIZE)
        return notAsMinizipEndsIt();
    // minizip writes no archive comment, so the end record is the last 22 bytes.
    const std::uint64_t endRecordAt = fileSize - END_RECORD_SIZE;
    std::array<unsigned char, END_RECORD_SIZE> endRecord{};
    if (const std::error_code error =
            readExactly(descriptor, endRecord.data(), endRecord.size(), static_cast<off_t>(endRecordAt)))
        return error;
    if (little(endRecord.data(), 4) != END_RECORD_SIGNATURE)
        return notAsMinizipEndsIt();
    if (little(endRecord.data() + 10, 2) != COUNT_IN_ZIP64_RECORD)
        return {};
    if (endRecordAt >= ZIP64_LOCATOR_SIZE) {
        std::array<unsigned char, 4> signature{};
        if (const std::error_code error = readExactly(descriptor, signature.data(), signature.size(),
                                                      static_cast<off_t>(endRecordAt - ZIP64_LOCATOR_SIZE)))
            return error;
        if (little(signature.data(), 4) == ZIP64_LOCATOR_SIGNATURE)
            return {}; // minizip wrote them (a directory beyond 4 GiB)
    }
    const std::uint64_t directorySize = little(endRecord.data() + 12, 4);
    const std::uint64_t directoryOffset = little(endRecord.data() + 16, 4);
    if (directoryOffset == OFFSET_IN_ZIP64_RECORD || directoryOffset + directorySize != endRecordAt)
        return notAsMinizipEndsIt();
    std::uint64_t entries = 0;
    if (const std::error_code error = countCentralHeaders(descriptor, directoryOffset, directorySize, &entries))
        return error;

    std::vector<unsigned char> tail;
    putLittle(tail, ZIP64_END_RECORD_SIGNATURE, 4);
    putLittle(tail, ZIP64_END_RECORD_SIZE - 12, 8); // the size of what follows this field
    putLittle(tail, MADE_ON_UNIX | ZIP64_VERSION, 2);
    putLittle(tail, ZIP64_VERSION, 2);
    putLittle(tail, 0, 4); // this disk
    putLittle(tail, 0, 4); // the disk the directory starts on
    putLittle(tail, entries, 8);
    putLittle(tail, entries, 8);
    putLittle(tail, directorySize, 8);
    putLittle(tail, directoryOffset, 8);
    putLittle(tail, ZIP64_LOCATOR_SIGNATURE, 4);
    putLittle(tail, 0, 4); // the disk of the zip64 end record
    putLittle(tail, endRecordAt, 8);
    putLittle(tail, 1, 4); // disks in all
    tail.insert(tail.end(), endRecord.begin(), endRecord.end());
    return platform::pwriteFully(descriptor, tail.data(), tail.size(), static_cast<off_t>(endRecordAt));
}

#include "tests/archive/DeflateTestSupport.h"

#include <gtest/gtest.h>
#include <minizip/unzip.h>
#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <utility>

namespace deflate_tests {

namespace {

// Inflates a raw stream; true when it ends with its final block and no byte follows.
bool inflateWhole(const std::string& raw, std::string* out)
{
    z_stream stream{};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK)
        return false;
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(raw.data()));
    stream.avail_in = static_cast<uInt>(raw.size());
    char chunk[1 << 16];
    int result = Z_OK;
    while (result == Z_OK) {
        stream.next_out = reinterpret_cast<Bytef*>(chunk);
        stream.avail_out = sizeof chunk;
        result = inflate(&stream, Z_NO_FLUSH);
        out->append(chunk, sizeof chunk - stream.avail_out);
        if (result == Z_BUF_ERROR && stream.avail_in == 0)
            break; // the stream stops without its final block
    }
    const bool whole = result == Z_STREAM_END && stream.avail_in == 0;
    inflateEnd(&stream);
    return whole;
}

} // namespace

void addEntryRead(ParallelZipWriter& writer, ZipEntryHeader header, const std::string& data, std::size_t readSize,
                  std::size_t expectedSize)
{
    std::size_t offset = 0;
    writer.addEntry(std::move(header), expectedSize, [&](void* buffer, std::size_t capacity) {
        const std::size_t count = std::min({capacity, readSize, data.size() - offset});
        std::memcpy(buffer, data.data() + offset, count);
        offset += count;
        return count;
    });
}

std::vector<StoredEntry> readStoredEntries(const std::string& archive)
{
    std::vector<StoredEntry> entries;
    unzFile file = unzOpen64(archive.c_str());
    if (file == nullptr) {
        ADD_FAILURE() << "cannot open " << archive;
        return entries;
    }
    for (int found = unzGoToFirstFile(file); found == UNZ_OK; found = unzGoToNextFile(file)) {
        unz_file_info64 info{};
        char name[4096];
        EXPECT_EQ(unzGetCurrentFileInfo64(file, &info, name, sizeof name, nullptr, 0, nullptr, 0), UNZ_OK);
        StoredEntry entry;
        entry.name = name;
        entry.method = static_cast<int>(info.compression_method);
        entry.crc = info.crc;
        entry.size = info.uncompressed_size;
        entry.compressedSize = info.compressed_size;
        entry.versionMadeBy = info.version;
        entry.versionNeeded = info.version_needed;
        entry.flags = info.flag;
        entry.dosDate = info.dosDate;
        entry.internalAttributes = info.internal_fa;
        entry.externalAttributes = info.external_fa;
        entry.extraFieldSize = info.size_file_extra;
        int method = 0;
        int level = 0;
        EXPECT_EQ(unzOpenCurrentFile2(file, &method, &level, 1), UNZ_OK) << entry.name;
        entry.raw.resize(info.compressed_size);
        if (!entry.raw.empty()) {
            EXPECT_EQ(unzReadCurrentFile(file, entry.raw.data(), static_cast<unsigned>(entry.raw.size())),
                      static_cast<int>(entry.raw.size()))
                << entry.name;
        }
        unzCloseCurrentFile(file);
        entry.wholeStream = inflateWhole(entry.raw, &entry.inflated);
        entries.push_back(std::move(entry));
    }
    unzClose(file);
    return entries;
}

std::string deflateInOneStream(const std::string& data)
{
    z_stream stream{};
    deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&stream, data.size()), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    stream.avail_in = static_cast<uInt>(data.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    EXPECT_EQ(deflate(&stream, Z_FINISH), Z_STREAM_END);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return out;
}

unsigned long crcOf(const std::string& data)
{
    return crc32(crc32(0, Z_NULL, 0), reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size()));
}

std::string logText(std::size_t size, unsigned seed)
{
    static const char* const words[] = {"usb", "bulk", "status", "job", "page", "retry", "ink", "idle", "0x", "C\n"};
    std::mt19937 random(seed);
    std::string text;
    text.reserve(size + 16);
    while (text.size() < size) {
        text += words[random() % std::size(words)];
        text += ' ';
        text += std::to_string(random() % 100000);
        text += random() % 4 == 0 ? "\n" : " ";
    }
    text.resize(size);
    return text;
}

} // namespace deflate_tests

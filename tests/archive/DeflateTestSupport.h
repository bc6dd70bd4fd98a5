#pragma once
// What the deflate tests share: entries handed over from memory in pieces,
// and the archives read back in this process, each entry's stored fields and
// its raw deflate stream inflated here with zlib.

#include "core/archive/ParallelZipWriter.h"
#include "core/archive/ZipEntryHeader.h"

#include <string>
#include <vector>

namespace deflate_tests {

struct StoredEntry {
    std::string name;
    int method = -1;
    unsigned long crc = 0;
    unsigned long long size = 0;
    unsigned long long compressedSize = 0;
    // The central directory's other fields.
    unsigned long versionMadeBy = 0, versionNeeded = 0, flags = 0, dosDate = 0;
    unsigned long internalAttributes = 0, externalAttributes = 0, extraFieldSize = 0;
    std::string raw;          // the compressed bytes as stored
    std::string inflated;     // `raw` inflated; empty when it is no whole stream
    bool wholeStream = false; // ends with the final block, nothing after it
};

// Hands `data` over as a file read `readSize` bytes at a time, said to
// hold `expectedSize` bytes when opened.
void addEntryRead(ParallelZipWriter& writer, ZipEntryHeader header, const std::string& data, std::size_t readSize,
                  std::size_t expectedSize);

// Every entry in archive order; fails the calling test when unreadable.
std::vector<StoredEntry> readStoredEntries(const std::string& archive);
// Raw deflate of `data` in one zlib stream at the default level.
std::string deflateInOneStream(const std::string& data);
unsigned long crcOf(const std::string& data);
// Text much like a printer log, the same for the same seed.
std::string logText(std::size_t size, unsigned seed);

} // namespace deflate_tests

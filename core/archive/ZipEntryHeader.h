#pragma once
// What an archive entry is opened with, and the opening itself: one place for
// the entries minizip deflates and the raw ones our threads deflate, so that a
// reader cannot tell the two apart.

#include <minizip/zip.h>

#include <optional>
#include <string>

struct ZipEntryHeader {
    std::string name;
    // None for the report's own texts: no date, no attributes.
    std::optional<zip_fileinfo> fileInfo;
    bool zip64 = false;
};

// How the entry's bytes reach the archive.
enum class EntryData {
    // Written as they are and deflated by minizip (zipCloseFileInZip).
    deflatedByMinizip,
    // Written already deflated, the entry closed with its size and CRC
    // (zipCloseFileInZipRaw64).
    alreadyDeflated,
};

// Opens `header`'s entry as the one being written to `archive`. An entry
// given already deflated cannot be judged by minizip, so the caller says
// whether zlib took it for text: minizip marks such entries in the central
// directory. ZIP_OK or minizip's error.
int openZipEntry(zipFile archive, const ZipEntryHeader& header, EntryData data, bool looksLikeText = false);

#include "core/archive/ZipEntryHeader.h"

#include "core/archive/EntryNameEncoding.h"

#include <sys/stat.h>
#include <zlib.h>

namespace {

// "Made by" Unix (3), zip format version 2.0.
constexpr uLong UNIX_MADE_BY = (3u << 8) | 20u;

} // namespace

int openZipEntry(zipFile archive, const ZipEntryHeader& header, EntryData data, bool looksLikeText)
{
    // zipOpenNewFileInZip64's own settings, with the name's flags added.
    const unsigned long flags = generalPurposeFlagsForEntryName(header.name);
    zip_fileinfo info{};
    const zip_fileinfo* fileInfo = nullptr;
    uLong versionMadeBy = 0;
    if (header.fileInfo) {
        info = *header.fileInfo;
        fileInfo = &info;
        if (looksLikeText)
            info.internal_fa |= Z_TEXT;
        // Info-ZIP's unzip converts the names of entries made on MS-DOS (the
        // default) from code page 437 whatever the flag says: a UTF-8 name
        // says it was made on Unix, as an ordinary rw-r--r-- file, so that
        // it extracts as written and readable. Other names keep minizip's
        // defaults, which every reader takes as they are.
        if ((flags & UTF8_NAME_FLAG) != 0) {
            info.external_fa = static_cast<uLong>(S_IFREG | 0644) << 16;
            versionMadeBy = UNIX_MADE_BY;
        }
    }
    const int raw = data == EntryData::alreadyDeflated ? 1 : 0;
    return zipOpenNewFileInZip4_64(archive, header.name.c_str(), fileInfo, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED,
                                   Z_DEFAULT_COMPRESSION, raw, -MAX_WBITS, DEF_MEM_LEVEL, Z_DEFAULT_STRATEGY, nullptr,
                                   0, versionMadeBy, flags, header.zip64 ? 1 : 0);
}

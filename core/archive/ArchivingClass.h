#pragma once
// The archive operations of a report run, on the ZipArchive that the run
// owns from createNewZipFile to closeZipFile. Every failure to create or
// write the archive raises code 15.

#include "core/archive/ZipArchive.h"
#include "core/reading/SourceFile.h"
#include "platform/CollectedSystem.h"

#include <minizip/zip.h>

#include <cstdint>
#include <ctime>
#include <memory>
#include <string>

class ArchivingClass {
public:
    ArchivingClass() = delete;

    // Creates the archive, replacing a file of that name.
    static std::unique_ptr<ZipArchive> createNewZipFile(const char* path, const ArchivePlacing& placing = {});
    // One entry from memory, deflated at the default level; `fileInfo` may
    // be null (no date, no attributes).
    static void addEntryToZipFile(const char* entryName, const void* data, unsigned int length, zip_fileinfo* fileInfo,
                                  ZipArchive* archive);
    static void addEntryToZipFile(const char* entryName, std::string data, ZipArchive* archive);
    // The file's bytes, read in chunks, dated with its modification time in
    // UTC. Code 4 when it cannot be read.
    static void copyFileToZipFileEntry(const char* sourcePath, const char* entryName, ZipArchive* archive);
    // False, doing nothing, when the source is missing, is not a regular
    // file, or is the archive itself.
    static bool tryToCopyFileToZipFileEntry(const char* sourcePath, const char* entryName, ZipArchive* archive);
    // The same, telling what the path names (FileKind::none for the archive
    // itself, which is never copied), and for a file copied how much
    // was stored, whether a file without a size was cut short at the limits
    // and whether one with a size ended sooner or went on (SourceFile).
    struct CopiedFile {
        bool copied = false;
        platform::FileKind kind = platform::FileKind::none;
        std::uint64_t bytes = 0;
        off_t sizeWhenOpened = 0;
        bool cutShort = false;
        SourceFile::SizeChange sizeChange = SourceFile::SizeChange::none;
    };
    static CopiedFile copyFileIfPresent(const char* sourcePath, const char* entryName, ZipArchive* archive);
    // Writes the central directory and closes the file.
    static void closeZipFile(ZipArchive* archive);
    // The same, telling where the archive went and what it holds.
    static ArchiveOutcome closeZipFileWithOutcome(ZipArchive* archive);

    // The entry date of a file modified at `modificationTime`: its UTC
    // broken-down time, clamped to the range a zip date can hold.
    static zip_fileinfo fileInfoForModificationTime(std::time_t modificationTime);
};

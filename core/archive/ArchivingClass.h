#pragma once
// Writes the report archive with minizip. The archive is an opaque handle from
// createNewZipFile to closeZipFile. Every failure to create or write the
// archive raises code 15, so that a run never claims a report it did not make.

#include <minizip/zip.h>

#include <ctime>
#include <string>

class SourceFile;

class ArchivingClass {
public:
    ArchivingClass() = delete;

    // Creates the archive, replacing a file of that name.
    static void* createNewZipFile(const char* path);
    // One entry from memory, deflated at the default level; `fileInfo` may
    // be null (no date, no attributes).
    static void addEntryToZipFile(const char* entryName, const void* data, unsigned int length,
                                  zip_fileinfo* fileInfo, void* archive);
    static void addEntryToZipFile(const char* entryName, std::string data, void* archive);
    // The file's bytes, read in chunks, dated with its modification time in
    // UTC. Code 4 when it cannot be read.
    static void copyFileToZipFileEntry(const char* sourcePath, const char* entryName, void* archive);
    // False, doing nothing, when the source is missing or is not a regular file.
    static bool tryToCopyFileToZipFileEntry(const char* sourcePath, const char* entryName, void* archive);
    // Writes the central directory and closes the file.
    static void closeZipFile(void* archive);
    // Closes an archive that a failure interrupted, keeping what was written
    // readable. Never throws.
    static void closeZipFileAfterFailure(void* archive) noexcept;

    // The entry date of a file modified at `modificationTime`: its UTC
    // broken-down time, clamped to the range a zip date can hold.
    static zip_fileinfo fileInfoForModificationTime(std::time_t modificationTime);

private:
    static void copyToEntry(SourceFile& source, const char* entryName, void* archive);
};

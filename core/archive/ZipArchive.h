#pragma once
// The report archive: owns minizip's handle from creation to closing. It is
// written unnamed (ArchiveFile) and takes its name only when closed. An
// archive that a failure leaves open is closed as written so far when the
// object goes, so that every entry added before the failure stays readable;
// it is then named only when it holds an entry and the name is free, so a
// failed run never replaces a report nor leaves an empty zip.
// Every failure to create, write or name the archive raises code 15, so that
// a run never claims a report it did not make.

#include <minizip/zip.h>

#include <sys/types.h>

#include <cstddef>
#include <memory>
#include <string>

class ArchiveFile;
class ParallelZipWriter;
class SourceFile;

class ZipArchive {
public:
    // A new archive that close() puts at `path`, replacing a file of that name.
    static std::unique_ptr<ZipArchive> create(const std::string& path);
    ~ZipArchive();
    ZipArchive(const ZipArchive&) = delete;
    ZipArchive& operator=(const ZipArchive&) = delete;

    // One entry from memory, deflated at the default level after every entry
    // added before it; `fileInfo` may be null (no date, no attributes).
    void addEntry(const char* entryName, const void* data, std::size_t length, const zip_fileinfo* fileInfo);
    // The file's bytes, read in chunks on this thread and deflated on all
    // processors, dated as `fileInfo` says. Read whole before this returns;
    // it is written to the archive in the order added.
    void addFile(SourceFile& source, const char* entryName, const zip_fileinfo& fileInfo);
    // Whether `source` is the archive's own file (a listed Desktop/*.zip
    // would otherwise copy the archive into itself, growing it without end).
    bool isArchiveItself(const SourceFile& source) const;
    // Writes the central directory, flushes the file to disk and names it.
    void close();

private:
    struct Handle {
        std::unique_ptr<ArchiveFile> file;
        std::string finalName;
        zipFile zip;
        std::unique_ptr<ParallelZipWriter> writer;
    };

public:
    // Only create() makes one.
    explicit ZipArchive(Handle handle);

private:
    std::unique_ptr<ArchiveFile> file_;
    std::string finalName_;
    zipFile handle_;
    // Writes every entry into handle_; goes before it is closed.
    std::unique_ptr<ParallelZipWriter> writer_;
};

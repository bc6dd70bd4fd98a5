#pragma once
// The report archive: owns minizip's handle from creation to closing. It is
// written unnamed (ArchiveFile) and takes its name only when closed. An
// archive that a failure leaves open is closed as written so far
// (keepPartial, or when the object goes), so that every entry added before
// the failure stays readable; it is then named only when it holds an entry
// and the name is free, so a failed run never replaces a report nor leaves
// an empty zip. Runs into one folder name their archives (and write or
// remove their checksum files) in turn, under a lock on the folder.
// Every failure to create, write or name the archive raises code 15, so that
// a run never claims a report it did not make; where the folder, the name or
// the system's reason is known, the failure carries them (CodedFailure).

#include "core/archive/WrittenEntry.h"
#include "core/archive/ZipHandle.h"
#include "platform/posix/FileSystemIdentity.h"

#include <minizip/zip.h>

#include <sys/types.h>

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

class ArchiveFile;
class ParallelZipWriter;
class RunMonitor;
class SourceFile;
struct CodedFailure;

// How the archive is put in its folder.
struct ArchivePlacing {
    // Whose rights open the folder and make, name and own the files there;
    // nothing for the owner of the folder itself (root writing into a
    // user's folder acts as that user).
    std::optional<platform::FileOwner> owner;
    // The SHA-256 of the finished file, taken before it is named.
    bool computeSha256 = false;
    // NAME.zip.sha256 beside a placed archive.
    bool writeChecksumFile = false;
};

// What a run left in the folder, as the archive knows it.
struct ArchiveOutcome {
    enum class State {
        none,    // no file left
        placed,  // the finished report
        partial, // the entries written before a failure, kept as a valid archive
    };
    State state = State::none;
    // Absolute, as the folder the file was written through was named when
    // the file took its name (a folder moved meanwhile shows its new place).
    std::string path;
    std::optional<std::string> sha256;
    std::optional<std::string> checksumFilePath;
    // Why the checksum file of a placed archive could not be written, or an
    // earlier archive's could not be removed; empty when nothing failed.
    std::error_code checksumFileError;
    // The entries written whole, in order; also those of a partial archive.
    std::vector<WrittenEntry> entries;
};

class ZipArchive {
public:
    // A new archive that close() puts at `path`, replacing a file of that
    // name. Code 15 when the folder cannot be written.
    static std::unique_ptr<ZipArchive> create(const std::string& path, const ArchivePlacing& placing = {});
    ~ZipArchive();
    ZipArchive(const ZipArchive&) = delete;
    ZipArchive& operator=(const ZipArchive&) = delete;

    // One entry from memory, deflated at the default level after every entry
    // added before it; `fileInfo` may be null (no date, no attributes).
    void addEntry(const char* entryName, const void* data, std::size_t length, const zip_fileinfo* fileInfo);
    // The file's bytes, read in chunks on this thread and deflated on all
    // processors, dated as `fileInfo` says. Read whole before this returns;
    // it is written to the archive in the order added. The monitor, where
    // one is set, hears of the file and of every chunk read, and may stop
    // the run between chunks.
    void addFile(SourceFile& source, const char* entryName, const zip_fileinfo& fileInfo);
    // The run's monitor (not owned); nothing for none.
    void reportProgressTo(RunMonitor* monitor) { monitor_ = monitor; }
    // Whether `source` is the archive's own file (a listed Desktop/*.zip
    // would otherwise copy the archive into itself, growing it without end).
    bool isArchiveItself(const SourceFile& source) const;
    // Writes the central directory, flushes the file to disk and names it.
    ArchiveOutcome close();
    // After a failure: closes the archive as written so far and names it
    // where it holds an entry and the name is free. Never throws.
    ArchiveOutcome keepPartial() noexcept;
    // After a cancelled run: drops the archive unnamed, whatever it holds,
    // so that nothing is left in the folder. Never throws.
    void discard() noexcept;

private:
    struct Handle {
        std::unique_ptr<ArchiveFile> file;
        std::string folder;
        std::string finalName;
        ZipHandle zip;
        std::unique_ptr<ParallelZipWriter> writer;
        ArchivePlacing placing;
    };
    ArchiveOutcome place(ArchiveOutcome::State state, std::vector<WrittenEntry> entries);
    // Runs `step` on the writer; its bare code 15 becomes one that names
    // the folder and the write's reason.
    template <typename Step>
    void writing(Step step);
    CodedFailure writeFailure(std::error_code reason) const;
    // Closes minizip's handle, which writes the central directory, and adds
    // the zip64 end records it left out; the system's reason on failure.
    std::error_code closeHandle();

public:
    // Only create() makes one.
    explicit ZipArchive(Handle handle);

private:
    std::unique_ptr<ArchiveFile> file_;
    // As the run named it; the path reported is the folder's current one.
    std::string folder_;
    std::string finalName_;
    ZipHandle handle_;
    // Writes every entry into handle_; goes before it is closed.
    std::unique_ptr<ParallelZipWriter> writer_;
    ArchivePlacing placing_;
    mutable std::optional<std::pair<dev_t, ino_t>> identity_;
    RunMonitor* monitor_ = nullptr;
};

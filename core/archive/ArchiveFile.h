#pragma once
// The file that becomes the report archive. It has no name while it is being
// written, so that a run stopped half-way, a failing run or a second run in
// the same minute never leaves an unfinished zip under a report's name, nor
// writes through a link planted at that name. Only a finished file, flushed
// to disk, is named.
//
// The folder is opened once; every later step works relative to that open
// folder, so a folder renamed or replaced during the run cannot redirect the
// file. Where the file system offers unnamed files (O_TMPFILE) nothing shows
// in the folder until the end; elsewhere the file carries a hidden name
// (".Telvarin_XXXXXX.zip.part") that is removed on every way out but naming,
// signals included (installInterruptCleanup).
//
// Every failure raises code 15 with what it concerns: the folder that could
// not take the file, or the name it could not take, and the system's reason.

#include <minizip/ioapi.h>

#include <memory>
#include <string>
#include <system_error>

class ArchiveFile {
public:
    enum class Creation {
        unnamedWhereSupported, // O_TMPFILE, or the hidden name where refused
        hiddenName,            // always the hidden name
    };

    // Creates the file in `folder` (a link to a folder is accepted: the
    // user may name one), readable by all as an ordinary file is.
    explicit ArchiveFile(const std::string& folder, Creation creation = Creation::unnamedWhereSupported);
    // Discards the file when it was never named.
    ~ArchiveFile();
    ArchiveFile(ArchiveFile&&) noexcept;
    ArchiveFile& operator=(ArchiveFile&&) noexcept;
    ArchiveFile(const ArchiveFile&) = delete;
    ArchiveFile& operator=(const ArchiveFile&) = delete;

    // For zipOpen2_64(name, APPEND_STATUS_CREATE, nullptr, &functions): the
    // archive is then written through this file's descriptor and never
    // opened by name (the name passed is ignored). A write that falls short
    // (ENOSPC, EIO) fails, and minizip reports it. Valid while this lives.
    zlib_filefunc64_def fileFunctions();
    // The first failure minizip met writing the file; empty when none.
    std::error_code writeError() const;

    // Flushes the file to disk and puts it at `finalName` (a bare name in the
    // folder), atomically replacing a file or symbolic link of that name
    // itself, never a link's target. A directory of that name, a folder that
    // is gone or an earlier write failure leave the file unnamed (code 15).
    void replaceName(const std::string& finalName);
    // The same, but only where nothing of that name exists: false, leaving
    // the existing one alone, where something does.
    bool nameIfFree(const std::string& finalName);

    bool isNamed() const;
    // Whether the file sits under a hidden name (no O_TMPFILE) until named.
    bool hasHiddenName() const;
    int descriptor() const;
    int folderDescriptor() const;

    // Makes every signal that would end the process remove the hidden files
    // of unfinished archives first (installSignalCleanup). For front ends,
    // once at start.
    static void installInterruptCleanup();

private:
    struct State;
    void checkNameable(const std::string& finalName);
    void markNamed();
    std::unique_ptr<State> state_;
};

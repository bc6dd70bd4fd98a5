#pragma once
// Where the file collection puts each file it finds: into the report archive
// (the report's ArchiveEntrySink), or into a listing of what a report would
// collect.

#include "platform/CollectedSystem.h"

#include <cstdint>
#include <string>
#include <vector>

class CollectedFileSink {
public:
    virtual ~CollectedFileSink() = default;
    // Takes the file at `sourcePath` (a path of the collected system) under
    // `entryName` when it is a regular file, and says what the path names:
    // FileKind::regular when it was taken, FileKind::none when nothing to
    // take is there, any other kind (a directory, a FIFO, a device) when it
    // was passed over without being opened.
    virtual platform::FileKind tryToAdd(const std::string& sourcePath, const std::string& entryName) = 0;
    // A configured path that named nothing: a plain path not found, or a
    // wildcard that matched no file.
    virtual void noteMissing(const std::string& /*path*/) {}
    // A plain configured path that names something other than a regular file.
    virtual void noteSkipped(const std::string& /*path*/, platform::FileKind /*kind*/) {}
    // One line of the collection's progress; on the reporter by default.
    virtual void progress(const std::string& line);
};

// A plain configured path that names something other than a regular file,
// and what it names.
struct SkippedPath {
    std::string path;
    platform::FileKind kind = platform::FileKind::other;
    bool operator==(const SkippedPath&) const = default;
};

// What a skipped path names, in one place: the token of listings and JSON
// ("directory", "fifo", "socket", "character-device", "block-device" or
// "other") and the words of the run's log and progress ("a FIFO").
struct FileKindWords {
    const char* token;
    const char* prose;
};
FileKindWords fileKindWords(platform::FileKind kind);
// The token alone.
const char* fileKindWord(platform::FileKind kind);

// One line of a listing: a file a report would collect, with its size, or a
// configured path (a wildcard included) that names nothing, or a plain path
// that names something other than a regular file (`kind` says what).
struct ListedPath {
    std::string path;
    bool found = false;
    std::uint64_t size = 0;
    platform::FileKind kind = platform::FileKind::none;
};

// Notes each file with its size, in the order of the collection, and reads
// nothing but the files' status.
class FileListingSink final : public CollectedFileSink {
public:
    platform::FileKind tryToAdd(const std::string& sourcePath, const std::string& entryName) override;
    void noteMissing(const std::string& path) override;
    void noteSkipped(const std::string& path, platform::FileKind kind) override;
    const std::vector<ListedPath>& paths() const { return paths_; }

private:
    std::vector<ListedPath> paths_;
};

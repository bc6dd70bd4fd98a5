#pragma once
// The file collection's files, into the report archive.

#include "core/filelist/CollectedFileSink.h"

#include <string>
#include <vector>

class RunLog;
class ZipArchive;

// What a run noted of the configured paths, in the order the collection
// met them.
struct CollectionNotes {
    // Every path that named nothing.
    std::vector<std::string> missing;
    // Every plain path that names something other than a regular file.
    std::vector<SkippedPath> skipped;
};

// Copies each file into the archive; a file stored other than whole (cut
// short at the limits without a size, ended before or gone on past its
// size) gets a line in the run's log, and every path that named nothing or
// no regular file is kept in `notes`.
class ArchiveEntrySink final : public CollectedFileSink {
public:
    ArchiveEntrySink(ZipArchive* archive, RunLog& log, CollectionNotes& notes)
        : archive_(archive),
          log_(log),
          notes_(notes)
    {
    }
    platform::FileKind tryToAdd(const std::string& sourcePath, const std::string& entryName) override;
    void noteMissing(const std::string& path) override { notes_.missing.push_back(path); }
    void noteSkipped(const std::string& path, platform::FileKind kind) override
    {
        notes_.skipped.push_back({path, kind});
    }

private:
    ZipArchive* archive_;
    RunLog& log_;
    CollectionNotes& notes_;
};

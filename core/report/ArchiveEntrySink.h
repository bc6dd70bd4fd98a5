#pragma once
// The file collection's files, into the report archive.

#include "core/filelist/CollectedFileSink.h"

#include <string>
#include <vector>

class RunLog;
class ZipArchive;

// Copies each file into the archive; a file without a size that was cut
// short at the limits gets a line in the run's log, and every path that
// named nothing is kept in `missing`, in order.
class ArchiveEntrySink final : public CollectedFileSink {
public:
    ArchiveEntrySink(ZipArchive* archive, RunLog& log, std::vector<std::string>& missing)
        : archive_(archive), log_(log), missing_(missing) {}
    bool tryToAdd(const std::string& sourcePath, const std::string& entryName) override;
    void noteMissing(const std::string& path) override { missing_.push_back(path); }

private:
    ZipArchive* archive_;
    RunLog& log_;
    std::vector<std::string>& missing_;
};

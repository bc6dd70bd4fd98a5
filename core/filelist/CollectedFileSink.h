#pragma once
// Where the file collection puts each file it finds: into the report archive,
// or into a listing of what a report would collect.

#include <string>

class ZipArchive;

class CollectedFileSink {
public:
    virtual ~CollectedFileSink() = default;
    // Takes the file at `sourcePath` (a path of the collected system) under
    // `entryName`; false, taking nothing, when no regular file is there.
    virtual bool tryToAdd(const std::string& sourcePath, const std::string& entryName) = 0;
};

// Copies each file into the archive.
class ArchiveEntrySink final : public CollectedFileSink {
public:
    explicit ArchiveEntrySink(ZipArchive* archive) : archive_(archive) {}
    bool tryToAdd(const std::string& sourcePath, const std::string& entryName) override;

private:
    ZipArchive* archive_;
};

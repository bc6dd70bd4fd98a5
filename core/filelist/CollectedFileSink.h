#pragma once
// Where the file collection puts each file it finds: into the report archive
// (the report's ArchiveEntrySink), or into a listing of what a report would
// collect.

#include <cstdint>
#include <string>
#include <vector>

class CollectedFileSink {
public:
    virtual ~CollectedFileSink() = default;
    // Takes the file at `sourcePath` (a path of the collected system) under
    // `entryName`; false, taking nothing, when no regular file is there.
    virtual bool tryToAdd(const std::string& sourcePath, const std::string& entryName) = 0;
    // A configured path that named nothing: a plain path not found, or a
    // wildcard that matched no file.
    virtual void noteMissing(const std::string& /*path*/) {}
    // One line of the collection's progress; on the reporter by default.
    virtual void progress(const std::string& line);
};

// One line of a listing: a file a report would collect, with its size, or a
// configured path (a wildcard included) that names nothing.
struct ListedPath {
    std::string path;
    bool found = false;
    std::uint64_t size = 0;
};

// Notes each file with its size, in the order of the collection, and reads
// nothing but the files' status.
class FileListingSink final : public CollectedFileSink {
public:
    bool tryToAdd(const std::string& sourcePath, const std::string& entryName) override;
    void noteMissing(const std::string& path) override;
    const std::vector<ListedPath>& paths() const { return paths_; }

private:
    std::vector<ListedPath> paths_;
};

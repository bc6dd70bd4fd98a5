#include "core/report/ArchiveEntrySink.h"

#include "base/RunLog.h"
#include "core/archive/ArchivingClass.h"

platform::FileKind ArchiveEntrySink::tryToAdd(const std::string& sourcePath, const std::string& entryName)
{
    const auto copied = ArchivingClass::copyFileIfPresent(sourcePath.c_str(), entryName.c_str(), archive_);
    const std::string path = "the path \"" + sourcePath + "\"";
    const std::string bytes = std::to_string(copied.bytes) + " bytes of " + path;
    if (copied.cutShort)
        log_.addLine("Stored only the first " + bytes + ": its size was unknown and it did not end");
    else if (copied.sizeChange == SourceFile::SizeChange::shrank)
        log_.addLine("Stored only " + bytes + ": it ended short of the " + std::to_string(copied.sizeWhenOpened) +
                     " bytes it had when opened");
    else if (copied.sizeChange == SourceFile::SizeChange::grew)
        log_.addLine("Stored only the first " + bytes + ": it grew while it was read");
    return copied.kind;
}

#include "core/report/ArchiveEntrySink.h"

#include "base/RunLog.h"
#include "core/archive/ArchivingClass.h"

bool ArchiveEntrySink::tryToAdd(const std::string& sourcePath, const std::string& entryName)
{
    const auto copied = ArchivingClass::copyFileIfPresent(sourcePath.c_str(), entryName.c_str(), archive_);
    if (copied && copied->cutShort)
        log_.addLine("Stored only the first " + std::to_string(copied->bytes) + " bytes of the path \"" + sourcePath +
                     "\": its size was unknown and it did not end");
    return copied.has_value();
}

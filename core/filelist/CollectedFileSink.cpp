#include "CollectedFileSink.h"

#include "ArchivingClass.h"

bool ArchiveEntrySink::tryToAdd(const std::string& sourcePath, const std::string& entryName)
{
    return ArchivingClass::tryToCopyFileToZipFileEntry(sourcePath.c_str(), entryName.c_str(), archive_);
}

#include "core/archive/ArchivingClass.h"

#include "base/CodedFailure.h"
#include "base/ErrorCodes.h"

#include <cerrno>

zip_fileinfo ArchivingClass::fileInfoForModificationTime(std::time_t modificationTime)
{
    const std::tm earliest{0, 0, 0, 1, 0, 80, 0, 0, 0, 0, nullptr};
    const std::tm latest{58, 59, 23, 31, 11, 207, 0, 0, 0, 0, nullptr};
    std::tm utc{};
    // A zip date runs from 1980 to 2107; outside that the stored year would
    // wrap round to a wrong date. A moment whose year does not even fit the
    // broken-down time leaves half-filled fields, so only its sign counts.
    if (gmtime_r(&modificationTime, &utc) == nullptr)
        utc = modificationTime < 0 ? earliest : latest;
    else if (utc.tm_year < 80)
        utc = earliest;
    else if (utc.tm_year > 207)
        utc = latest;
    zip_fileinfo info{};
    info.tmz_date.tm_sec = static_cast<uInt>(utc.tm_sec);
    info.tmz_date.tm_min = static_cast<uInt>(utc.tm_min);
    info.tmz_date.tm_hour = static_cast<uInt>(utc.tm_hour);
    info.tmz_date.tm_mday = static_cast<uInt>(utc.tm_mday);
    info.tmz_date.tm_mon = static_cast<uInt>(utc.tm_mon);
    info.tmz_date.tm_year = static_cast<uInt>(utc.tm_year);
    info.dosDate = 0;
    info.internal_fa = 0;
    info.external_fa = 0;
    return info;
}

std::unique_ptr<ZipArchive> ArchivingClass::createNewZipFile(const char* path, const ArchivePlacing& placing)
{
    return ZipArchive::create(path, placing);
}

void ArchivingClass::addEntryToZipFile(const char* entryName, const void* data, unsigned int length,
                                       zip_fileinfo* fileInfo, ZipArchive* archive)
{
    archive->addEntry(entryName, data, length, fileInfo);
}

void ArchivingClass::addEntryToZipFile(const char* entryName, std::string data, ZipArchive* archive)
{
    archive->addEntry(entryName, data.data(), data.size(), nullptr);
}

void ArchivingClass::copyFileToZipFileEntry(const char* sourcePath, const char* entryName, ZipArchive* archive)
{
    auto source = SourceFile::open(sourcePath);
    if (!source)
        throw CodedFailure{ERROR_FILE_READ, {FailedStep::readListedFile, sourcePath, ENOENT}};
    archive->addFile(*source, entryName, fileInfoForModificationTime(source->modificationTime()));
}

bool ArchivingClass::tryToCopyFileToZipFileEntry(const char* sourcePath, const char* entryName, ZipArchive* archive)
{
    return copyFileIfPresent(sourcePath, entryName, archive).copied;
}

ArchivingClass::CopiedFile ArchivingClass::copyFileIfPresent(const char* sourcePath, const char* entryName,
                                                             ZipArchive* archive)
{
    // Opening tells whether the file exists (as fileExists would): the path
    // is resolved once.
    SourceLookup found = SourceFile::lookUp(sourcePath);
    if (!found.file)
        return {.kind = found.kind};
    SourceFile& source = *found.file;
    // Not found: the archive has no name the list could have meant.
    if (archive->isArchiveItself(source))
        return {};
    archive->addFile(source, entryName, fileInfoForModificationTime(source.modificationTime()));
    return {.copied = true,
            .kind = platform::FileKind::regular,
            .bytes = source.bytesRead(),
            .sizeWhenOpened = source.sizeWhenOpened(),
            .cutShort = source.cutShort(),
            .sizeChange = source.sizeChange()};
}

void ArchivingClass::closeZipFile(ZipArchive* archive)
{
    archive->close();
}

ArchiveOutcome ArchivingClass::closeZipFileWithOutcome(ZipArchive* archive)
{
    return archive->close();
}

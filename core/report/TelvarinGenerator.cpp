#include "core/report/TelvarinGenerator.h"

#include "base/AbsolutePath.h"
#include "base/ErrorCodes.h"
#include "core/archive/ArchivingClass.h"
#include "core/printer/PrinterCommunicationClass.h"
#include "core/report/FileListing.h"
#include "platform/DesktopFolder.h"
#include "platform/Services.h"
#include "platform/posix/FileSystemIdentity.h"
#include "platform/posix/FolderCreation.h"

#include <locale.h>

#include <optional>
#include <system_error>
#include <utility>

const char* const DEVICE_REPORT_ENTRY_NAME = "reportData/deviceReport.dat";
const char* const GENERAL_INFORMATION_ENTRY_NAME = "reportData/generalInformation.dat";
const char* const REPORT_LOG_ENTRY_NAME = "reportData/reportGeneratorLog.log";

namespace {

// Formats in the POSIX locale, so that the name always carries AM or PM,
// whatever locale the desktop has set for the process.
std::string formatInPosixLocale(const char* pattern, const std::tm& moment)
{
    static const locale_t posix = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    char buffer[100];
    std::size_t length = strftime_l(buffer, sizeof buffer, pattern, &moment, posix);
    return std::string(buffer, length);
}

} // namespace

std::string TelvarinGenerator::getUnderscoreSeparatedCurrentTimeString()
{
    const auto& clock = platform::clock();
    return formatInPosixLocale("%m_%d_%Y__%I_%M_%p", clock.localTime(clock.now()));
}

std::string TelvarinGenerator::getNewReportFileName()
{
    return "Telvarin_" + getUnderscoreSeparatedCurrentTimeString() + ".zip";
}

std::string TelvarinGenerator::getNewReportFilePathToTheDesktop()
{
    return platform::desktopFolder() + "/" + getNewReportFileName();
}

void TelvarinGenerator::addToLog(std::string line)
{
    log_.addLine(std::move(line));
}

bool TelvarinGenerator::generateReport(const char* dataXmlPath)
{
    // As root in a user's home, the desktop is the user's to choose: the
    // folders file is read, its links and ".." followed and the folder made
    // with the home owner's rights, so that they lead where the user could
    // go and no further; the archive is placed with those rights too, not
    // with those of whoever owns the folder a link leads to.
    std::error_code ownerUnknown;
    placing_.owner = platform::ownerOfDirectory(platform::homeDirectory(), ownerUnknown);
    std::string archivePath;
    {
        std::optional<platform::ScopedFileSystemIdentity> owner;
        if (placing_.owner) {
            std::error_code refused;
            owner.emplace(*placing_.owner, refused);
            if (refused)
                throw CodedFailure{ERROR_ARCHIVE_WRITE};
        }
        archivePath = getNewReportFilePathToTheDesktop();
        // A fresh account may have no desktop folder yet; the archive needs
        // one. Should it not be made, creating the archive fails and says so.
        platform::makeFolderWithParents(folderOf(archivePath));
    }
    return generateReport(archivePath.c_str(), dataXmlPath);
}

bool TelvarinGenerator::generateReport(const char* archivePath, const char* dataXmlPath)
{
    archiveOutcome_ = {};
    deviceReportStored_ = false;
    notes_ = {};
    // Read first: a faulty file list leaves nothing behind.
    XmlDictionary fileList = XmlParserClass::getSingleLevelDepthXmlDict(dataXmlPath);
    // The whole to measure the copying against, only for someone who watches.
    if (monitor_.reportsProgress())
        monitor_.filesCounted(bytesOfConfiguredFiles(fileList));
    monitor_.checkpoint();

    std::unique_ptr<ZipArchive> archive = ArchivingClass::createNewZipFile(archivePath, placing_);
    archive->reportProgressTo(&monitor_);
    try {
        addXmlSpecifiedFilesToZip(std::move(fileList), archive.get());

        monitor_.stepStarted(RunStep::readingPrinter);
        std::string deviceReport;
        if (PrinterCommunicationClass::getReportData(&deviceReport)) {
            ArchivingClass::addEntryToZipFile(DEVICE_REPORT_ENTRY_NAME, deviceReport, archive.get());
            deviceReportStored_ = true;
        }

        monitor_.stepStarted(RunStep::describingComputer);
        ArchivingClass::addEntryToZipFile(GENERAL_INFORMATION_ENTRY_NAME, getGeneralData(), archive.get());

        monitor_.stepStarted(RunStep::finishing);
        ArchivingClass::addEntryToZipFile(REPORT_LOG_ENTRY_NAME, log_.text(), archive.get());

        archiveOutcome_ = ArchivingClass::closeZipFileWithOutcome(archive.get());
    } catch (const RunCancelled&) {
        // Asked to stop: nothing of the run stays, not even a partial archive.
        archive->discard();
        throw;
    } catch (...) {
        // Every entry added before the failure stays readable.
        archiveOutcome_ = archive->keepPartial();
        throw;
    }
    return true;
}

void TelvarinGenerator::chooseArchiveExtras(bool computeSha256, bool writeChecksumFile)
{
    placing_.computeSha256 = computeSha256;
    placing_.writeChecksumFile = writeChecksumFile;
}

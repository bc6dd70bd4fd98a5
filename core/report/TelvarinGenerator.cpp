#include "TelvarinGenerator.h"

#include "ArchivingClass.h"
#include "CollectedFileSink.h"
#include "ConfiguredFileCollection.h"
#include "ConfiguredPaths.h"
#include "DesktopFolder.h"
#include "FileSystemIdentity.h"
#include "FolderCreation.h"
#include "GeneralInformation.h"
#include "InstalledVersionScan.h"
#include "PrinterCommunicationClass.h"
#include "Services.h"
#include "SystemProbes.h"

#include <locale.h>

#include <optional>

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
    const std::string archivePath = getNewReportFilePathToTheDesktop();
    // A fresh account may have no desktop folder yet; the archive needs one.
    // Made with the home owner's rights, so that it is theirs under root;
    // should it not be made, creating the archive fails and says so.
    {
        const platform::ScopedFolderOwnerIdentity owner(platform::homeDirectory());
        platform::makeFolderWithParents(archivePath.substr(0, archivePath.rfind('/')));
    }
    return generateReport(archivePath.c_str(), dataXmlPath);
}

bool TelvarinGenerator::generateReport(const char* archivePath, const char* dataXmlPath)
{
    archivePath_ = archivePath;
    // Read first: a faulty file list leaves nothing behind.
    XmlDictionary fileList = XmlParserClass::getSingleLevelDepthXmlDict(dataXmlPath);

    // Should a failure leave the run, the archive is closed as written so
    // far when it goes, keeping every entry added before the failure readable.
    std::unique_ptr<ZipArchive> archive = ArchivingClass::createNewZipFile(archivePath);

    addXmlSpecifiedFilesToZip(fileList, archive.get());

    std::string deviceReport;
    if (PrinterCommunicationClass::getReportData(&deviceReport))
        ArchivingClass::addEntryToZipFile(DEVICE_REPORT_ENTRY_NAME, deviceReport, archive.get());

    ArchivingClass::addEntryToZipFile(GENERAL_INFORMATION_ENTRY_NAME, getGeneralData(), archive.get());

    ArchivingClass::addEntryToZipFile(REPORT_LOG_ENTRY_NAME, log_.text(), archive.get());

    ArchivingClass::closeZipFile(archive.get());
    return true;
}

std::list<std::string> TelvarinGenerator::accessXmlDictionaryElement(const char* sectionName, XmlDictionary dictionary)
{
    return ConfiguredFileCollection::section(sectionName, dictionary);
}

void TelvarinGenerator::addXmlSpecifiedFilesToZip(XmlDictionary dictionary, ZipArchive* archive)
{
    ArchiveEntrySink files(archive, log_, missingPaths_);
    ConfiguredFileCollection(log_, files).addXmlSpecifiedFiles(dictionary);
}

void TelvarinGenerator::addFilesRelativeToPath(std::list<std::string> pathTexts, std::string base, ZipArchive* archive)
{
    ArchiveEntrySink files(archive, log_, missingPaths_);
    ConfiguredFileCollection(log_, files).addFilesRelativeToPath(pathTexts, base);
}

int TelvarinGenerator::addFilesFromAsterickedPath(std::string wildcardPath, std::string entryName, ZipArchive* archive)
{
    ArchiveEntrySink files(archive, log_, missingPaths_);
    return ConfiguredFileCollection(log_, files).addFilesFromAsterickedPath(wildcardPath, entryName);
}

std::string TelvarinGenerator::getLastElementFromPath(std::string path)
{
    return lastElementOfPath(path);
}

std::string TelvarinGenerator::getPathWithoutLastElement(std::string path)
{
    return pathWithoutLastElement(path);
}

std::string TelvarinGenerator::getGeneralData()
{
    return GeneralInformation::text(log_);
}

std::string TelvarinGenerator::getOsVersionString()
{
    return SystemProbes::osVersionString();
}

std::string TelvarinGenerator::getProcessorSpeedInGhz()
{
    return SystemProbes::processorSpeedInGhz();
}

std::string TelvarinGenerator::convertTimes100NumberStringToDecimalString(std::string digits)
{
    return SystemProbes::times100NumberStringToDecimalString(std::move(digits));
}

std::string TelvarinGenerator::getProcessorDescription()
{
    return SystemProbes::processorDescription();
}

std::string TelvarinGenerator::getHarddriveData()
{
    return SystemProbes::harddriveData();
}

std::string TelvarinGenerator::getBundleVersion(std::string path)
{
    return InstalledVersionScan::bundleVersion(path);
}

std::string TelvarinGenerator::getDriverBundleVersions()
{
    return InstalledVersionScan::driverBundleVersions(log_);
}

std::string TelvarinGenerator::getApplicationVersionData()
{
    return InstalledVersionScan::applicationVersionData(log_);
}

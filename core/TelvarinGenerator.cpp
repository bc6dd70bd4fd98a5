#include "core/TelvarinGenerator.h"

#include "core/ArchivingClass.h"
#include "core/ErrorCodes.h"
#include "core/PrinterCommunicationClass.h"
#include "core/XmlParserClass.h"
#include "platform/Services.h"

#include <sys/stat.h>

#include <locale.h>

const char* const WINDOWS_NEWLINE = "\r\n";

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

// Closes the archive when a failure leaves the run, so that everything added
// before the failure stays readable.
class ArchiveGuard {
public:
    explicit ArchiveGuard(void* archive) : archive_(archive) {}
    ArchiveGuard(const ArchiveGuard&) = delete;
    ArchiveGuard& operator=(const ArchiveGuard&) = delete;
    ~ArchiveGuard()
    {
        if (archive_)
            ArchivingClass::closeZipFileAfterFailure(archive_);
    }
    void* handle() const { return archive_; }
    void close()
    {
        void* archive = archive_;
        archive_ = nullptr;
        ArchivingClass::closeZipFile(archive);
    }

private:
    void* archive_;
};

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
    return platform::homeDirectory() + "/Desktop/" + getNewReportFileName();
}

void TelvarinGenerator::addToLog(std::string line)
{
    log_ += line;
    log_ += WINDOWS_NEWLINE;
}

bool TelvarinGenerator::generateReport(const char* dataXmlPath)
{
    const std::string archivePath = getNewReportFilePathToTheDesktop();
    // A fresh account may have no desktop folder yet; the archive needs one.
    mkdir((platform::homeDirectory() + "/Desktop").c_str(), 0755);
    return generateReport(archivePath.c_str(), dataXmlPath);
}

bool TelvarinGenerator::generateReport(const char* archivePath, const char* dataXmlPath)
{
    archivePath_ = archivePath;
    // Read first: a faulty file list leaves nothing behind.
    XmlDictionary fileList = XmlParserClass::getSingleLevelDepthXmlDict(dataXmlPath);

    ArchiveGuard archive(ArchivingClass::createNewZipFile(archivePath));

    addXmlSpecifiedFilesToZip(fileList, archive.handle());

    std::string deviceReport;
    if (PrinterCommunicationClass::getReportData(&deviceReport))
        ArchivingClass::addEntryToZipFile(DEVICE_REPORT_ENTRY_NAME, deviceReport, archive.handle());

    ArchivingClass::addEntryToZipFile(GENERAL_INFORMATION_ENTRY_NAME, getGeneralData(), archive.handle());

    ArchivingClass::addEntryToZipFile(REPORT_LOG_ENTRY_NAME, log_, archive.handle());

    archive.close();
    return true;
}

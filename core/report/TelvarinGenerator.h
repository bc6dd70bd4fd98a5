#pragma once
// One report run: names the archive after the local time, reads the file list
// from data.xml, fills the archive in its fixed order and closes it. Keeps the
// run's own log, which is stored as the archive's last entry.

#include "base/RunLog.h"
#include "base/RunProgress.h"
#include "core/archive/ZipArchive.h"
#include "core/filelist/XmlParserClass.h"
#include "core/report/ArchiveEntrySink.h"

#include <list>
#include <string>
#include <vector>

extern const char* const DEVICE_REPORT_ENTRY_NAME;
extern const char* const GENERAL_INFORMATION_ENTRY_NAME;
extern const char* const REPORT_LOG_ENTRY_NAME;

class TelvarinGenerator {
public:
    // The run itself.
    static std::string getUnderscoreSeparatedCurrentTimeString();
    static std::string getNewReportFileName();
    static std::string getNewReportFilePathToTheDesktop();
    void addToLog(std::string line);
    const std::string& log() const { return log_.text(); }
    // Runs the report into an archive on the desktop, named and placed with
    // the rights of the home's owner; true when it got to the end.
    bool generateReport(const char* dataXmlPath);
    // Runs the report into the archive at `archivePath`, in the archive's
    // fixed order; every failure leaves by a thrown CodedFailure.
    bool generateReport(const char* archivePath, const char* dataXmlPath);

    // Every configured path that named nothing, as the collection noted it:
    // plain paths not found and wildcards that added no file.
    const std::vector<std::string>& missingPaths() const { return notes_.missing; }
    // Every plain configured path that names no regular file, passed over.
    const std::vector<SkippedPath>& skippedPaths() const { return notes_.skipped; }
    // What the next run computes and writes beside its archive.
    void chooseArchiveExtras(bool computeSha256, bool writeChecksumFile);
    // Who hears how the next run goes, and whether it should stop: a
    // cancelled run throws RunCancelled and leaves no archive.
    void watchWith(RunMonitor monitor) { monitor_ = monitor; }
    // Where the last run's archive went (or what was kept of it after a
    // failure), and what it holds.
    const ArchiveOutcome& archiveOutcome() const { return archiveOutcome_; }
    // Whether the last run stored the printer's device report.
    bool deviceReportStored() const { return deviceReportStored_; }

    // The file collection's and the general report's operations by the
    // names the rest of the tool knows them by. A run calls
    // addXmlSpecifiedFilesToZip and getGeneralData, which calls the probes
    // of its lines. The others hand on to core/filelist and core/sysinfo,
    // whose steps call one another there: a layer below cannot call back
    // up into the generator.
    static std::list<std::string> accessXmlDictionaryElement(const char* sectionName, XmlDictionary dictionary);
    void addXmlSpecifiedFilesToZip(XmlDictionary dictionary, ZipArchive* archive);
    void addFilesRelativeToPath(std::list<std::string> pathTexts, std::string base, ZipArchive* archive);
    int addFilesFromAsterickedPath(std::string wildcardPath, std::string entryName, ZipArchive* archive);
    static std::string getLastElementFromPath(std::string path);
    static std::string getPathWithoutLastElement(std::string path);
    std::string getGeneralData();
    static std::string getOsVersionString();
    static std::string getProcessorSpeedInGhz();
    static std::string convertTimes100NumberStringToDecimalString(std::string digits);
    static std::string getProcessorDescription();
    static std::string getHarddriveData();
    static std::string getBundleVersion(std::string path);
    std::string getDriverBundleVersions();
    std::string getApplicationVersionData();

private:
    RunLog log_;
    CollectionNotes notes_;
    // What the run computes beside the archive, and whose rights place it:
    // the home's owner once the desktop was chosen, else the folder's.
    ArchivePlacing placing_;
    ArchiveOutcome archiveOutcome_;
    bool deviceReportStored_ = false;
    RunMonitor monitor_;
};

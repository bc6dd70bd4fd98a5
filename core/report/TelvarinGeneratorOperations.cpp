#include "core/report/TelvarinGenerator.h"

#include "core/filelist/ConfiguredFileCollection.h"
#include "core/filelist/ConfiguredPaths.h"
#include "core/report/ArchiveEntrySink.h"
#include "core/sysinfo/GeneralInformation.h"
#include "core/sysinfo/InstalledVersionScan.h"
#include "core/sysinfo/SystemProbes.h"

#include <utility>

// The operations by which the rest of the tool knows the file collection and
// the general report, each handing on to the unit that does the work.

std::list<std::string> TelvarinGenerator::accessXmlDictionaryElement(const char* sectionName, XmlDictionary dictionary)
{
    return ConfiguredFileCollection::section(sectionName, dictionary);
}

void TelvarinGenerator::addXmlSpecifiedFilesToZip(XmlDictionary dictionary, ZipArchive* archive)
{
    ArchiveEntrySink files(archive, log_, notes_);
    ConfiguredFileCollection(log_, files).addXmlSpecifiedFiles(dictionary);
}

void TelvarinGenerator::addFilesRelativeToPath(std::list<std::string> pathTexts, std::string base, ZipArchive* archive)
{
    ArchiveEntrySink files(archive, log_, notes_);
    ConfiguredFileCollection(log_, files).addFilesRelativeToPath(pathTexts, base);
}

int TelvarinGenerator::addFilesFromAsterickedPath(std::string wildcardPath, std::string entryName, ZipArchive* archive)
{
    ArchiveEntrySink files(archive, log_, notes_);
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
    // Each value is read when its line is added, so the driver bundle scan
    // logs before the application scan, and a failing probe ends the text
    // where it stands.
    GeneralInformation report;
    report.addLine("OS:Mac OS X Version ", getOsVersionString());
    report.addLine("Processor:", getProcessorDescription());
    report.addLine("Model:", GeneralInformation::model());
    report.addLine("Total RAM:", GeneralInformation::totalRam());
    report.addLine("Harddrives data:", getHarddriveData());
    report.addLine("TimeStamp:", GeneralInformation::timeStamp());
    report.addLine("VersionID:", VERSION_ID);
    report.addLine("Driver Bundles Data:", getDriverBundleVersions());
    report.addLastLine("Application Data:", getApplicationVersionData());
    return report.text();
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

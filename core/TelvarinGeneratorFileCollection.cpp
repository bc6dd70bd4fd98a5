// The configured files: every path that data.xml lists under
// Absolute_Path_Files (from the root) and Home_Path_Files (from the user's
// home directory) is copied into the archive, a "*" in the last element
// standing for a family of files in one directory. Each path is reported on
// standard output; each miss is noted in the run's log and the run goes on.
#include "core/ArchivingClass.h"
#include "core/ConfiguredPaths.h"
#include "core/ErrorCodes.h"
#include "core/FileReaderClass.h"
#include "core/TelvarinGenerator.h"
#include "platform/Services.h"


#include <cstdio>

namespace {

const char* const ABSOLUTE_PATH_SECTION = "Absolute_Path_Files";
const char* const HOME_PATH_SECTION = "Home_Path_Files";

// One path text resolved against its section's base.
struct ResolvedPath {
    std::string fullSourcePath;
    std::string entryName;
    bool wildcard = false;
};

ResolvedPath resolvePathText(const std::string& baseWithSlash, const std::string& pathText)
{
    const ConfiguredPathText parts = ConfiguredPathText::split(pathText);
    ResolvedPath resolved;
    // The destination form names the entry after the source's last element,
    // which must hold a "." (code 8).
    if (parts.hasDestinationFolder)
        resolved.entryName = parts.destinationFolder + "/" + TelvarinGenerator::getLastElementFromPath(parts.sourcePath);
    resolved.fullSourcePath = baseWithSlash + parts.sourcePath;
    if (!parts.hasDestinationFolder)
        resolved.entryName = resolved.fullSourcePath;
    // Only the configured text can make a wildcard: a "*" in the home
    // directory's own name is an ordinary character.
    resolved.wildcard = parts.sourcePath.find('*') != std::string::npos;
    return resolved;
}

// The progress lines are read live by whoever runs the report from a
// terminal or a pipe, and must not be lost to a buffer should the run end.
void flushProgress()
{
    std::fflush(stdout);
}

void reportPathNotFound(TelvarinGenerator& generator, const std::string& path)
{
    std::printf("path not found: %s\n", path.c_str());
    flushProgress();
    generator.addToLog("Could not find the path \"" + path + "\"");
}

void reportAsterickedPathCount(TelvarinGenerator& generator, int count, const std::string& path)
{
    std::printf("added %i files from the astericked path: %s\n", count, path.c_str());
    flushProgress();
    if (count == 0)
        generator.addToLog("Added no files for the astricked path \"" + path + "\"");
}

// Without any home directory the home paths cannot be looked up: taken from
// the root they would collect other files than the ones listed. Each is
// reported missing, as written, after the same checks a run with a home
// directory makes.
void reportPathsWithoutHome(TelvarinGenerator& generator, const std::list<std::string>& pathTexts)
{
    for (const auto& pathText : pathTexts) {
        const ResolvedPath path = resolvePathText("", pathText);
        if (!path.wildcard) {
            reportPathNotFound(generator, path.fullSourcePath);
            continue;
        }
        // Codes 8 and 9 as under any home directory.
        WildcardPattern::split(TelvarinGenerator::getLastElementFromPath("/" + path.fullSourcePath));
        reportAsterickedPathCount(generator, 0, path.fullSourcePath);
    }
}

} // namespace

std::list<std::string> TelvarinGenerator::accessXmlDictionaryElement(const char* sectionName, XmlDictionary dictionary)
{
    if (sectionName == nullptr)
        throw ERROR_DATA_XML_MISSING_SECTION;
    auto section = dictionary.find(sectionName);
    if (section == dictionary.end())
        throw ERROR_DATA_XML_MISSING_SECTION;
    return section->second;
}

void TelvarinGenerator::addXmlSpecifiedFilesToZip(XmlDictionary dictionary, void* archive)
{
    addFilesRelativeToPath(accessXmlDictionaryElement(ABSOLUTE_PATH_SECTION, dictionary), "", archive);

    // Fetched only now: a missing section (code 7) leaves the absolute files
    // already in the archive.
    const std::list<std::string> homePaths = accessXmlDictionaryElement(HOME_PATH_SECTION, dictionary);
    const std::string home = platform::homeDirectory();
    if (home.empty())
        reportPathsWithoutHome(*this, homePaths);
    else
        addFilesRelativeToPath(homePaths, home, archive);
}

void TelvarinGenerator::addFilesRelativeToPath(std::list<std::string> pathTexts, std::string base, void* archive)
{
    const std::string baseWithSlash = base + "/";
    for (const auto& pathText : pathTexts) {
        const ResolvedPath path = resolvePathText(baseWithSlash, pathText);
        if (path.wildcard) {
            const int count = addFilesFromAsterickedPath(path.fullSourcePath, path.entryName, archive);
            reportAsterickedPathCount(*this, count, path.fullSourcePath);
        } else if (ArchivingClass::tryToCopyFileToZipFileEntry(path.fullSourcePath.c_str(), path.entryName.c_str(),
                                                               archive)) {
            std::printf("path found: %s\n", path.fullSourcePath.c_str());
            flushProgress();
        } else {
            reportPathNotFound(*this, path.fullSourcePath);
        }
    }
}

int TelvarinGenerator::addFilesFromAsterickedPath(std::string wildcardPath, std::string entryName, void* archive)
{
    const std::string directory = getPathWithoutLastElement(wildcardPath);
    const WildcardPattern pattern = WildcardPattern::split(getLastElementFromPath(wildcardPath));
    const std::string entryFolder = getPathWithoutLastElement(entryName);

    std::list<std::string> names;
    if (!FileReaderClass::listDir(directory, &names))
        return 0;

    int count = 0;
    for (const auto& name : names) {
        if (!pattern.matches(name))
            continue;
        const std::string source = directory + name;
        const std::string entry = entryFolder + name;
        std::printf("Trying to add path %s from astericked path %s\n", source.c_str(), wildcardPath.c_str());
        flushProgress();
        // Subdirectories, FIFOs and other special files whose names match
        // are passed over here, and so is the archive itself.
        if (ArchivingClass::tryToCopyFileToZipFileEntry(source.c_str(), entry.c_str(), archive)) {
            std::printf("Added path %s from astericked path %s\n", source.c_str(), wildcardPath.c_str());
            flushProgress();
            ++count;
        }
    }
    return count;
}

std::string TelvarinGenerator::getLastElementFromPath(std::string path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return path;
    std::string lastElement = path.substr(slash + 1);
    if (lastElement.find('.') == std::string::npos)
        throw ERROR_PATH_WITHOUT_DOT;
    return lastElement;
}

std::string TelvarinGenerator::getPathWithoutLastElement(std::string path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return {};
    return path.substr(0, slash + 1);
}

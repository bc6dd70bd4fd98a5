#include "core/filelist/ConfiguredFileCollection.h"

#include "base/ErrorCodes.h"
#include "base/RunLog.h"
#include "core/filelist/CollectedFileSink.h"
#include "core/filelist/ConfiguredPaths.h"
#include "core/reading/FileReaderClass.h"
#include "core/strings/BasicStringAlgorithmsClass.h"
#include "platform/CollectedSystem.h"
#include "platform/Services.h"
#include "platform/posix/FileSystemIdentity.h"

#include <sys/stat.h>

#include <optional>

const char* const ABSOLUTE_PATH_SECTION = "Absolute_Path_Files";
const char* const HOME_PATH_SECTION = "Home_Path_Files";

namespace {

// The two log lines that name a configured path that gave nothing; the path
// stands between the double quotes.
const char* const PATH_NOT_FOUND_LOG_START = "Could not find the path \"";
const char* const NO_FILES_FOR_WILDCARD_LOG_START = "Added no files for the astricked path \"";
// The line for a path that names something other than a regular file.
const char* const PATH_SKIPPED_LOG_START = "Did not collect the path \"";

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
        resolved.entryName = parts.destinationFolder + "/" + lastElementOfPath(parts.sourcePath);
    resolved.fullSourcePath = baseWithSlash + parts.sourcePath;
    if (!parts.hasDestinationFolder)
        resolved.entryName = resolved.fullSourcePath;
    // Only the configured text can make a wildcard: a "*" in the home
    // directory's own name is an ordinary character.
    resolved.wildcard = parts.sourcePath.find('*') != std::string::npos;
    return resolved;
}

} // namespace

std::list<std::string> ConfiguredFileCollection::section(const char* sectionName, const XmlDictionary& dictionary)
{
    if (sectionName == nullptr)
        throw CodedFailure{ERROR_DATA_XML_MISSING_SECTION};
    auto found = dictionary.find(sectionName);
    if (found == dictionary.end())
        throw CodedFailure{ERROR_DATA_XML_MISSING_SECTION};
    return found->second;
}

void ConfiguredFileCollection::addXmlSpecifiedFiles(const XmlDictionary& dictionary)
{
    addFilesRelativeToPath(section(ABSOLUTE_PATH_SECTION, dictionary), "");

    // Fetched only now: a missing section (code 7) leaves the absolute files
    // already in the archive.
    const std::list<std::string> homePaths = section(HOME_PATH_SECTION, dictionary);
    const std::string home = platform::homeDirectory();
    if (home.empty()) {
        reportPathsWithoutHome(homePaths);
        return;
    }
    // Root collecting a user's home reads there only what its owner could
    // read: a link the user planted to a root-only file is then code 4.
    // The owner is that of the directory itself, in the collected system.
    std::optional<platform::ScopedFileSystemIdentity> owner;
    std::error_code error;
    if (const auto status = platform::collectedSystem().status(home, error))
        owner.emplace(platform::FileOwner{status->st_uid, status->st_gid});
    addFilesRelativeToPath(homePaths, home);
}

void ConfiguredFileCollection::addFilesRelativeToPath(const std::list<std::string>& pathTexts, const std::string& base)
{
    const std::string baseWithSlash = base + "/";
    for (const auto& pathText : pathTexts) {
        const ResolvedPath path = resolvePathText(baseWithSlash, pathText);
        if (path.wildcard) {
            const int count = addFilesFromAsterickedPath(path.fullSourcePath, path.entryName);
            reportAsterickedPathCount(count, path.fullSourcePath);
            continue;
        }
        const platform::FileKind kind = files_.tryToAdd(path.fullSourcePath, path.entryName);
        if (kind == platform::FileKind::regular)
            files_.progress("path found: " + path.fullSourcePath);
        else if (kind == platform::FileKind::none)
            reportPathNotFound(path.fullSourcePath);
        else
            reportPathSkipped(path.fullSourcePath, kind);
    }
}

int ConfiguredFileCollection::addFilesFromAsterickedPath(const std::string& wildcardPath, const std::string& entryName)
{
    const std::string directory = pathWithoutLastElement(wildcardPath);
    const WildcardPattern pattern = WildcardPattern::split(lastElementOfPath(wildcardPath));
    const std::string entryFolder = pathWithoutLastElement(entryName);

    std::list<std::string> names;
    if (!FileReaderClass::listDir(directory, &names))
        return 0;

    int count = 0;
    for (const auto& name : names) {
        if (!pattern.matches(name))
            continue;
        const std::string source = directory + name;
        const std::string entry = entryFolder + name;
        files_.progress("Trying to add path " + source + " from astericked path " + wildcardPath);
        // Subdirectories, FIFOs and other special files whose names match
        // are passed over here, and so is the archive itself.
        if (files_.tryToAdd(source, entry) == platform::FileKind::regular) {
            files_.progress("Added path " + source + " from astericked path " + wildcardPath);
            ++count;
        }
    }
    return count;
}

void ConfiguredFileCollection::reportPathNotFound(const std::string& path)
{
    files_.progress("path not found: " + path);
    log_.addLine(PATH_NOT_FOUND_LOG_START + path + "\"");
    files_.noteMissing(path);
}

// Never opened, so that the run cannot hang on it, and said to be what it
// is rather than missing.
void ConfiguredFileCollection::reportPathSkipped(const std::string& path, platform::FileKind kind)
{
    const std::string what = fileKindWords(kind).prose;
    files_.progress("path skipped, " + what + ": " + path);
    log_.addLine(PATH_SKIPPED_LOG_START + path + "\": it is " + what + ", not a regular file");
    files_.noteSkipped(path, kind);
}

void ConfiguredFileCollection::reportAsterickedPathCount(int count, const std::string& path)
{
    files_.progress("added " + BasicStringAlgorithmsClass::convertToString(count) +
                    " files from the astericked path: " + path);
    if (count == 0) {
        log_.addLine(NO_FILES_FOR_WILDCARD_LOG_START + path + "\"");
        files_.noteMissing(path);
    }
}

// Without any home directory the home paths cannot be looked up: taken from
// the root they would collect other files than the ones listed. Each is
// reported missing, as written, after the same checks a run with a home
// directory makes.
void ConfiguredFileCollection::reportPathsWithoutHome(const std::list<std::string>& pathTexts)
{
    for (const auto& pathText : pathTexts) {
        const ResolvedPath path = resolvePathText("", pathText);
        if (!path.wildcard) {
            reportPathNotFound(path.fullSourcePath);
            continue;
        }
        // Codes 8 and 9 as under any home directory.
        WildcardPattern::split(lastElementOfPath("/" + path.fullSourcePath));
        reportAsterickedPathCount(0, path.fullSourcePath);
    }
}

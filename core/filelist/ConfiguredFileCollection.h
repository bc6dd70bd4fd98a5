#pragma once
// The configured files: every path that data.xml lists under
// Absolute_Path_Files (from the root) and Home_Path_Files (from the user's
// home directory) is copied into the archive, a "*" in the last element
// standing for a family of files in one directory. Each path is reported on
// the reporter as it goes; each miss, and each plain path that names no
// regular file, is noted in the run's log and the run goes on.

#include "core/filelist/XmlParserClass.h"
#include "platform/CollectedSystem.h"

#include <list>
#include <string>

class CollectedFileSink;
class RunLog;

extern const char* const ABSOLUTE_PATH_SECTION;
extern const char* const HOME_PATH_SECTION;

class ConfiguredFileCollection {
public:
    ConfiguredFileCollection(RunLog& log, CollectedFileSink& files) : log_(log), files_(files) {}

    // The section's path texts; code 7 when data.xml has no such section.
    static std::list<std::string> section(const char* sectionName, const XmlDictionary& dictionary);

    // Both sections, absolute paths first. Code 7 for a missing section is
    // raised only when it is reached.
    void addXmlSpecifiedFiles(const XmlDictionary& dictionary);
    // One section's path texts, taken below `base` (without its final "/").
    void addFilesRelativeToPath(const std::list<std::string>& pathTexts, const std::string& base);
    // The files a wildcard path names; the number added.
    int addFilesFromAsterickedPath(const std::string& wildcardPath, const std::string& entryName);

private:
    void reportPathNotFound(const std::string& path);
    void reportPathSkipped(const std::string& path, platform::FileKind kind);
    void reportAsterickedPathCount(int count, const std::string& path);
    void reportPathsWithoutHome(const std::list<std::string>& pathTexts);

    RunLog& log_;
    CollectedFileSink& files_;
};

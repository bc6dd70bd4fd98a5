#include "tests/doubles/CommandLineSupport.h"

#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <sstream>

namespace fs = std::filesystem;

namespace testing_support {

std::string buildDirectory()
{
    // TELVARIN_REPORT_EXECUTABLE is <build>/bin/telvarin-report.
    return fs::path(TELVARIN_REPORT_EXECUTABLE).parent_path().parent_path().string();
}

std::map<std::string, std::string> snapshotTree(const std::string& root)
{
    std::map<std::string, std::string> snapshot;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        const auto relative = fs::relative(entry.path(), root).string();
        if (entry.is_directory()) {
            snapshot[relative] = "directory";
            continue;
        }
        const auto modified = entry.last_write_time().time_since_epoch().count();
        snapshot[relative] = "file " + std::to_string(entry.file_size()) + " " + std::to_string(modified);
    }
    return snapshot;
}

std::vector<std::string> archivesIn(const std::string& directory)
{
    std::vector<std::string> names = listFolder(directory);
    std::erase_if(names,
                  [](const std::string& name) { return !name.starts_with("Telvarin_") || !name.ends_with(".zip"); });
    return names;
}

std::vector<std::string> splitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        auto end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

std::string canonicalPath(const std::string& path)
{
    char resolved[PATH_MAX];
    return realpath(path.c_str(), resolved) ? std::string(resolved) : path;
}

bool isOnPath(const std::string& program)
{
    const char* path = std::getenv("PATH");
    std::stringstream directories(path ? path : "");
    std::string directory;
    while (std::getline(directories, directory, ':'))
        if (!directory.empty() && access((directory + "/" + program).c_str(), X_OK) == 0)
            return true;
    return false;
}

void writeSampleFiles(const std::string& base, const std::string& home, const std::string& marker)
{
    writeFile(base + "/etc/quorvel/printer.conf", marker + " printer.conf\n");
    writeFile(base + "/var/log/quorvel/a.log", marker + " a.log\n");
    writeFile(base + "/var/log/quorvel/b.log", marker + " b.log\n");
    writeFile(base + "/var/log/quorvel/notes.txt", marker + " notes.txt\n");
    writeFile(base + home + "/.config/quorvel/settings.ini", marker + " settings.ini\n");
    writeFile(base + home + "/Library/Logs/printer.log", marker + " printer.log\n");
}

void writeSystemDirectories(const std::string& root)
{
    makeDirectories(root + "/Library/Printers/Quorvel");
    makeDirectories(root + "/Applications");
}

std::string sampleFileList(const std::string& prefix)
{
    // Absolute paths are written relative to the root, as the shipped list does.
    const std::string relative = prefix.empty() ? std::string() : prefix.substr(1) + "/";
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<configuration>\n"
           "  <Absolute_Path_Files>\n"
           "    <file>" +
           relative +
           "etc/quorvel/printer.conf</file>\n"
           "    <file>" +
           relative +
           "var/log/quorvel/*.log</file>\n"
           "    <file>" +
           relative +
           "etc/quorvel/printer.conf,Config</file>\n"
           "    <file>" +
           relative +
           "etc/quorvel/missing.conf</file>\n"
           "  </Absolute_Path_Files>\n"
           "  <Home_Path_Files>\n"
           "    <file>.config/quorvel/settings.ini</file>\n"
           "    <file>Library/Logs/printer.log,Logs</file>\n"
           "  </Home_Path_Files>\n"
           "</configuration>\n";
}

std::vector<std::string> sampleEntryNames(const std::string& prefix, const std::string& home)
{
    // The wildcard's files come in directory order; the caller sorts when
    // it compares against these.
    return {prefix + "/etc/quorvel/printer.conf",
            prefix + "/var/log/quorvel/a.log",
            prefix + "/var/log/quorvel/b.log",
            "Config/printer.conf",
            prefix + home + "/.config/quorvel/settings.ini",
            "Logs/printer.log"};
}

std::vector<std::string> configuredEntries(const std::string& archive)
{
    std::vector<std::string> names;
    for (const auto& name : readZipEntryNames(archive))
        if (name.rfind("reportData/", 0) != 0)
            names.push_back(name);
    return names;
}

} // namespace testing_support

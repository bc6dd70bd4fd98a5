#include "tests/doubles/TestFiles.h"

#include <gtest/gtest.h>

#include <dirent.h>
#include <fcntl.h>
#include <ftw.h>
#include <poll.h>
#include <pty.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

extern char** environ;

#ifndef TELVARIN_SOURCE_DIR
#define TELVARIN_SOURCE_DIR "."
#endif

namespace testing_support {

TempDir::TempDir()
{
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/telvarin-test-XXXXXX";
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

TempDir::~TempDir()
{
    // Tests may leave read-only directories behind; open them up first.
    nftw(
        path_.c_str(),
        [](const char* path, const struct stat* status, int type, FTW*) {
            if (type == FTW_D || type == FTW_DNR)
                chmod(path, status->st_mode | S_IRWXU);
            return 0;
        },
        16, FTW_PHYS);
    nftw(
        path_.c_str(), [](const char* path, const struct stat*, int, FTW*) { return ::remove(path); }, 16,
        FTW_DEPTH | FTW_PHYS);
}

void makeDirectories(const std::string& path)
{
    for (std::size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        mkdir(path.substr(0, slash).c_str(), 0755);
        if (slash == std::string::npos)
            break;
    }
}

void writeFile(const std::string& path, const std::string& contents)
{
    auto slash = path.rfind('/');
    if (slash != std::string::npos && slash > 0)
        makeDirectories(path.substr(0, slash));
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(contents.data(), static_cast<std::streamsize>(contents.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

void setModificationTime(const std::string& path, std::time_t moment)
{
    timespec times[2] = {{moment, 0}, {moment, 0}};
    // A file system that cannot hold the moment must not leave the test
    // comparing against a date that was never set.
    if (utimensat(AT_FDCWD, path.c_str(), times, 0) != 0)
        throw std::runtime_error("cannot set the modification time of " + path);
}

void makeMakersFolders(const std::string& root)
{
    makeDirectories(root + "/Library/Printers/Quorvel");
    makeDirectories(root + "/Applications");
}

std::string readWholeFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream contents;
    contents << in.rdbuf();
    return contents.str();
}

bool pathExists(const std::string& path)
{
    struct stat status {};
    return lstat(path.c_str(), &status) == 0;
}

std::vector<std::string> listFolder(const std::string& folder, NameOrder order)
{
    std::vector<std::string> names;
    if (DIR* directory = opendir(folder.c_str())) {
        while (const dirent* entry = readdir(directory)) {
            std::string name = entry->d_name;
            if (name != "." && name != "..")
                names.push_back(std::move(name));
        }
        closedir(directory);
    }
    if (order == NameOrder::sorted)
        std::sort(names.begin(), names.end());
    return names;
}

namespace {

std::string readZipScript()
{
    return std::string(TELVARIN_SOURCE_DIR) + "/tests/tools/read_zip.py";
}

} // namespace

std::vector<ZipEntryInfo> readZipEntries(const std::string& archive)
{
    ProcessResult listing = runProcess({"python3", readZipScript(), archive}, {});
    EXPECT_EQ(listing.exitStatus, 0) << "unreadable archive " << archive << ": " << listing.standardError;
    std::vector<ZipEntryInfo> entries;
    std::istringstream lines(listing.standardOutput);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        ZipEntryInfo entry;
        std::string method, size, crc, utf8;
        std::getline(fields, entry.name, '\t');
        std::getline(fields, method, '\t');
        std::getline(fields, entry.date, '\t');
        std::getline(fields, size, '\t');
        std::getline(fields, crc, '\t');
        std::getline(fields, utf8, '\t');
        entry.method = std::stoi(method);
        entry.size = std::stoull(size);
        entry.crcOk = crc == "1";
        entry.utf8Flag = utf8 == "1";
        entries.push_back(entry);
    }
    return entries;
}

std::vector<std::string> readZipEntryNames(const std::string& archive)
{
    std::vector<std::string> names;
    for (const auto& entry : readZipEntries(archive))
        names.push_back(entry.name);
    return names;
}

std::string readZipEntry(const std::string& archive, const std::string& entryName)
{
    ProcessResult entry = runProcess({"python3", readZipScript(), archive, entryName}, {});
    EXPECT_EQ(entry.exitStatus, 0) << entry.standardError;
    return entry.standardOutput;
}

bool unzipTestPasses(const std::string& archive)
{
    return runProcess({"unzip", "-tqq", archive}, {}).exitStatus == 0;
}

std::string complaintsOfEveryReader(const std::string& archive, long expectedEntries)
{
    std::string complaints;
    auto note = [&](const char* reader, const ProcessResult& result) {
        if (result.exitStatus != 0)
            complaints += std::string(reader) + " (status " + std::to_string(result.exitStatus) +
                          "): " + result.standardOutput.substr(0, 400) + result.standardError.substr(0, 400) + "\n";
    };
    note("unzip -t", runProcess({"unzip", "-tqq", archive}, {}));
    note("python zipfile", runProcess({"python3", "-c",
                                       "import sys, zipfile\n"
                                       "with zipfile.ZipFile(sys.argv[1]) as archive:\n"
                                       "    bad = archive.testzip()\n"
                                       "    if bad is not None: sys.exit('bad entry: %r' % bad)\n"
                                       "    count, expected = len(archive.infolist()), int(sys.argv[2])\n"
                                       "    if expected >= 0 and count != expected: sys.exit('%d entries' % count)\n",
                                       archive, std::to_string(expectedEntries)},
                                      {}));
    // Extracted to standard output: every entry inflated and checked, without
    // making tens of thousands of files.
    ProcessResult extracted = runProcess({"bsdtar", "-xOf", archive}, {});
    extracted.standardOutput.clear();
    note("bsdtar -x", extracted);
    return complaints;
}

namespace {

// Runs a program as runProcess describes, with `childOutput` and
// `childError` as its standard output and error, and reads what it writes
// from `outputEnd` and `errorEnd` (-1 for none) until it has closed them.
ProcessResult runWith(const std::vector<std::string>& arguments, const std::map<std::string, std::string>& environment,
                      const std::string& workingDirectory, int childOutput, int childError, int outputEnd, int errorEnd)
{
    std::map<std::string, std::string> merged;
    for (const char* inherited : {"PATH", "ASAN_OPTIONS", "UBSAN_OPTIONS", "LSAN_OPTIONS", "TMPDIR"})
        if (const char* value = std::getenv(inherited))
            merged[inherited] = value;
    for (const auto& [name, value] : environment)
        merged[name] = value;
    std::vector<std::string> environmentTexts;
    for (const auto& [name, value] : merged)
        environmentTexts.push_back(name + "=" + value);
    std::vector<char*> envp;
    for (auto& text : environmentTexts)
        envp.push_back(text.data());
    envp.push_back(nullptr);
    std::vector<std::string> argumentCopies = arguments;
    std::vector<char*> argv;
    for (auto& argument : argumentCopies)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, childOutput, 1);
    posix_spawn_file_actions_adddup2(&actions, childError, 2);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    if (!workingDirectory.empty())
        posix_spawn_file_actions_addchdir_np(&actions, workingDirectory.c_str());
    pid_t child = -1;
    int spawned = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(childOutput);
    if (childError != childOutput)
        close(childError);

    ProcessResult result;
    // A terminal ends with EIO once the program has closed its side.
    pollfd streams[2] = {{outputEnd, POLLIN, 0}, {errorEnd, POLLIN, 0}};
    std::string* targets[2] = {&result.standardOutput, &result.standardError};
    int open = (outputEnd >= 0) + (errorEnd >= 0);
    while (open > 0) {
        if (poll(streams, 2, -1) < 0 && errno != EINTR)
            break;
        for (int i = 0; i < 2; ++i) {
            if (streams[i].fd < 0 || !(streams[i].revents & (POLLIN | POLLHUP | POLLERR)))
                continue;
            char buffer[65536];
            ssize_t count = read(streams[i].fd, buffer, sizeof buffer);
            if (count > 0) {
                targets[i]->append(buffer, static_cast<std::size_t>(count));
            } else {
                close(streams[i].fd);
                streams[i].fd = -1;
                --open;
            }
        }
    }
    if (spawned != 0) {
        result.standardError = std::string("cannot start ") + argv[0] + ": " + std::strerror(spawned);
        return result;
    }
    int status = 0;
    waitpid(child, &status, 0);
    result.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return result;
}

} // namespace

ProcessResult runProcess(const std::vector<std::string>& arguments,
                         const std::map<std::string, std::string>& environment, const std::string& workingDirectory)
{
    int outPipe[2], errPipe[2];
    if (pipe2(outPipe, O_CLOEXEC) != 0 || pipe2(errPipe, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe failed");
    return runWith(arguments, environment, workingDirectory, outPipe[1], errPipe[1], outPipe[0], errPipe[0]);
}

ProcessResult runOnTerminal(const std::vector<std::string>& arguments,
                            const std::map<std::string, std::string>& environment)
{
    int terminal = -1;
    int side = -1;
    if (openpty(&terminal, &side, nullptr, nullptr, nullptr) != 0)
        throw std::runtime_error("openpty failed");
    fcntl(terminal, F_SETFD, FD_CLOEXEC);
    fcntl(side, F_SETFD, FD_CLOEXEC);
    ProcessResult result = runWith(arguments, environment, {}, side, side, terminal, -1);
    // The terminal ends each line with a carriage return.
    std::string& shown = result.standardOutput;
    for (auto at = shown.find("\r\n"); at != std::string::npos; at = shown.find("\r\n", at + 1))
        shown.erase(at, 1);
    return result;
}

std::string randomBytes(std::size_t count, unsigned seed)
{
    std::mt19937 generator(seed);
    std::string bytes(count, '\0');
    for (char& byte : bytes)
        byte = static_cast<char>(generator());
    return bytes;
}

} // namespace testing_support

#pragma once
// Temporary directories, files, archive read-back and child processes for the
// tests. Nothing here writes outside the temporary directory it made.

#include <ctime>
#include <map>
#include <string>
#include <vector>

namespace testing_support {

// A fresh directory under $TMPDIR (or /tmp), removed with everything in it.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }
    // path() + "/" + relative
    std::string operator/(const std::string& relative) const { return path_ + "/" + relative; }

private:
    std::string path_;
};

// Writes a file, making its parent directories; optionally sets its
// modification time.
void writeFile(const std::string& path, const std::string& contents);
void setModificationTime(const std::string& path, std::time_t moment);
void makeDirectories(const std::string& path);
std::string readWholeFile(const std::string& path);
// The maker's (empty) driver and application folders under `root`, without
// which a whole run ends at the general report.
void makeMakersFolders(const std::string& root);
bool pathExists(const std::string& path);
// The names in a folder, without "." and "..": sorted, or in the order the
// system reads them; none when it cannot be read.
enum class NameOrder { sorted, asRead };
std::vector<std::string> listFolder(const std::string& folder, NameOrder order = NameOrder::sorted);
// `count` bytes that do not compress, the same for the same seed.
std::string randomBytes(std::size_t count, unsigned seed);

// One entry of an archive as an independent reader (Python's zipfile) sees it.
struct ZipEntryInfo {
    std::string name;
    int method = -1;
    std::string date; // "YYYY-MM-DD HH:MM:SS"
    unsigned long long size = 0;
    bool crcOk = false;
    // General purpose bit 11: the reader takes the name for UTF-8.
    bool utf8Flag = false;
};

// Entries in archive order; fails the calling test when the archive is unreadable.
std::vector<ZipEntryInfo> readZipEntries(const std::string& archive);
std::vector<std::string> readZipEntryNames(const std::string& archive);
std::string readZipEntry(const std::string& archive, const std::string& entryName);
// Whether Info-ZIP's `unzip -t` finds the archive sound.
bool unzipTestPasses(const std::string& archive);
// What the three independent readers say of the archive: `unzip -t`,
// Python's zipfile reading every entry, and `bsdtar -x` extracting every
// entry (a listing would not inflate anything). Empty when all
// three read it whole (and, where given, Python sees `expectedEntries`
// entries); otherwise their complaints.
std::string complaintsOfEveryReader(const std::string& archive, long expectedEntries = -1);

struct ProcessResult {
    int exitStatus = -1;
    std::string standardOutput;
    std::string standardError;
};

// Runs a program with exactly the given environment (plus PATH and the
// sanitizer settings of this process), without a shell.
ProcessResult runProcess(const std::vector<std::string>& arguments,
                         const std::map<std::string, std::string>& environment,
                         const std::string& workingDirectory = {});
// The same with a pseudo-terminal as its standard output and error, as in an
// interactive shell: `standardOutput` is what the terminal received, each
// line ended by "\n".
ProcessResult runOnTerminal(const std::vector<std::string>& arguments,
                            const std::map<std::string, std::string>& environment);

} // namespace testing_support

#include "platform/DesktopFolder.h"

#include "base/AbsolutePath.h"
#include "platform/Services.h"
#include "platform/posix/BoundedRead.h"
#include "platform/posix/FileDescriptor.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <filesystem>
#include <string_view>
#include <system_error>

namespace platform {
namespace {

// Far beyond any real folders file; the rest of a larger one is not read.
constexpr std::size_t USER_DIRS_FILE_LIMIT = 64 * 1024;
// What a backslash escapes inside the shell's double quotes.
constexpr std::string_view ESCAPED = "\"\\`$";

std::string userDirsFile(const std::string& home, const std::optional<std::string>& configHome)
{
    // A relative XDG_CONFIG_HOME is invalid and ignored, as the XDG base
    // directory rules have it: it would depend on the working directory.
    const bool usable = configHome && !configHome->empty() && configHome->front() == '/';
    return (usable ? *configHome : home + "/.config") + "/user-dirs.dirs";
}

// The file's text; empty when it is missing, unreadable or no regular file
// (a FIFO would never end the read).
std::string userDirsText(const std::string& path)
{
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat status {};
    if (!file || fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode))
        return {};
    BoundedRead read = readAtMost(file.get(), USER_DIRS_FILE_LIMIT);
    return read.outcome == BoundedReadOutcome::failed ? std::string() : std::move(read.data);
}

// A folder as a line of the file names it.
struct NamedFolder {
    bool belowHome = false;
    // Below the home without its leading "/", else absolute.
    std::string path;
};

// What the line sets XDG_DESKTOP_DIR to: a double-quoted shell word,
// "$HOME/..." or "/...", in which \", \\, \` and \$ stand for the character
// after the backslash. Blanks may stand around the "=", and a comment after
// the word. Nothing for any other line, and for a word the shell would
// expand further (another "$" or "`"), which cannot be told without one.
std::optional<NamedFolder> desktopSetBy(std::string_view line)
{
    auto skipBlanks = [&line] {
        while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
            line.remove_prefix(1);
    };
    auto take = [&line](std::string_view word) {
        if (!line.starts_with(word))
            return false;
        line.remove_prefix(word.size());
        return true;
    };
    skipBlanks();
    if (!take("XDG_DESKTOP_DIR"))
        return std::nullopt;
    skipBlanks();
    if (!take("="))
        return std::nullopt;
    skipBlanks();
    if (!take("\""))
        return std::nullopt;
    NamedFolder folder;
    folder.belowHome = line.starts_with("$HOME/") || line.starts_with("$HOME\"");
    if (folder.belowHome)
        line.remove_prefix(line[5] == '/' ? 6 : 5);
    bool closed = false;
    while (!line.empty() && !closed) {
        const char c = line.front();
        line.remove_prefix(1);
        if (c == '"') {
            closed = true;
        } else if (c == '$' || c == '`') {
            return std::nullopt;
        } else if (c == '\\' && !line.empty() && ESCAPED.find(line.front()) != std::string_view::npos) {
            folder.path += line.front();
            line.remove_prefix(1);
        } else {
            folder.path += c;
        }
    }
    skipBlanks();
    if (!closed || !(line.empty() || line.front() == '#'))
        return std::nullopt;
    if (!folder.belowHome && !folder.path.starts_with('/'))
        return std::nullopt;
    return folder;
}

// The last line that sets the desktop counts, as when the shell reads the file.
std::optional<NamedFolder> desktopNamedIn(std::string_view text)
{
    std::optional<NamedFolder> named;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        if (auto folder = desktopSetBy(text.substr(0, end)))
            named = std::move(folder);
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
    return named;
}

std::string withoutTrailingSlashes(std::string path)
{
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

// Absolute, with "." and ".." and the links of the existing part resolved.
std::string absoluteFolder(const std::string& path)
{
    const std::string absolute = absoluteOrAsGiven(path);
    if (absolute.empty() || absolute.front() != '/')
        return path;
    std::error_code error;
    const std::filesystem::path resolved = std::filesystem::weakly_canonical(absolute, error);
    return withoutTrailingSlashes(error ? absolute : resolved.string());
}

} // namespace

std::string desktopFolderOf(const std::string& home, const std::optional<std::string>& configHome)
{
    const std::string base = withoutTrailingSlashes(home);
    const std::string homePrefix = base == "/" ? std::string() : base;
    const std::string fallback = homePrefix + "/Desktop";
    const std::optional<NamedFolder> named = desktopNamedIn(userDirsText(userDirsFile(home, configHome)));
    if (!named)
        return absoluteFolder(fallback);
    const std::string folder = withoutTrailingSlashes(named->belowHome ? homePrefix + "/" + named->path : named->path);
    // "$HOME/" is how a user says there is no desktop folder of its own.
    if (folder == base || (named->belowHome && withoutTrailingSlashes(named->path).empty()))
        return absoluteFolder(fallback);
    return absoluteFolder(folder);
}

std::string desktopFolder()
{
    return desktopFolderOf(homeDirectory(), environment().variable("XDG_CONFIG_HOME"));
}

} // namespace platform

#include "platform/DesktopFolder.h"

#include "base/AbsolutePath.h"
#include "platform/Services.h"

#include <glib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string_view>
#include <system_error>

namespace platform {
namespace {

// Sets one process variable for the object's lifetime, and only when it
// differs, so that a run with the process's own environment changes nothing.
class ProcessVariable {
public:
    ProcessVariable(const char* name, const std::optional<std::string>& value) : name_(name)
    {
        if (const char* current = std::getenv(name))
            previous_ = current;
        if (previous_ == value)
            return;
        changed_ = true;
        set(value);
    }
    ~ProcessVariable()
    {
        if (changed_)
            set(previous_);
    }
    ProcessVariable(const ProcessVariable&) = delete;
    ProcessVariable& operator=(const ProcessVariable&) = delete;

private:
    void set(const std::optional<std::string>& value) const
    {
        if (value)
            setenv(name_, value->c_str(), 1);
        else
            unsetenv(name_);
    }

    const char* name_;
    std::optional<std::string> previous_;
    bool changed_ = false;
};

std::string userDirsFile(const std::string& home, const std::optional<std::string>& configHome)
{
    const std::string configFolder = configHome && !configHome->empty() ? *configHome : home + "/.config";
    return configFolder + "/user-dirs.dirs";
}

// The line shapes from which GLib takes the desktop:
// XDG_DESKTOP_DIR="$HOME/..." or XDG_DESKTOP_DIR="/...", blanks allowed
// around the "=".
bool lineNamesDesktop(std::string_view line)
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
        return false;
    skipBlanks();
    if (!take("="))
        return false;
    skipBlanks();
    if (!take("\""))
        return false;
    if (!take("$HOME") && !line.starts_with('/'))
        return false;
    return line.find('"') != std::string_view::npos;
}

// After a reload GLib keeps its earlier answer for a desktop the file does
// not name, which would be another home's desktop; so the file is asked first.
bool fileNamesDesktop(const std::string& path)
{
    std::ifstream file(path);
    std::string line;
    while (std::getline(file, line))
        if (lineNamesDesktop(line))
            return true;
    return false;
}

std::optional<std::string> desktopNamedByGLib(const std::string& home, const std::optional<std::string>& configHome)
{
    static std::mutex lookup;
    std::lock_guard lock(lookup);
    ProcessVariable homeVariable("HOME", home);
    ProcessVariable configVariable("XDG_CONFIG_HOME", configHome);
    // GLib caches the folders it read; this run's home may not be the last one's.
    g_reload_user_special_dirs_cache();
    if (const char* named = g_get_user_special_dir(G_USER_DIRECTORY_DESKTOP))
        return std::string(named);
    return std::nullopt;
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
    const std::string fallback = (base == "/" ? std::string() : base) + "/Desktop";
    if (!fileNamesDesktop(userDirsFile(home, configHome)))
        return absoluteFolder(fallback);
    const std::optional<std::string> named = desktopNamedByGLib(home, configHome);
    // "$HOME/" is how a user says there is no desktop folder of its own.
    if (!named || named->empty() || withoutTrailingSlashes(*named) == base)
        return absoluteFolder(fallback);
    return absoluteFolder(*named);
}

std::string desktopFolder()
{
    return desktopFolderOf(homeDirectory(), environment().variable("XDG_CONFIG_HOME"));
}

} // namespace platform

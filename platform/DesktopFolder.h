#pragma once
// Where the archive goes when no other place is asked for: the user's
// desktop folder as the XDG user directories name it (~/Schreibtisch on a
// German desktop), else HOME + "/Desktop".

#include <optional>
#include <string>

namespace platform {

// The desktop folder that XDG_DESKTOP_DIR in `configHome`/user-dirs.dirs
// names (`home`/.config/user-dirs.dirs when `configHome` is unset or empty),
// read by GLib; `home` + "/Desktop" when the file names none or names the
// home itself. Always absolute, a relative home being taken from the working
// directory. GLib reads only the process environment, so HOME and
// XDG_CONFIG_HOME are set to these values for the lookup where they differ.
std::string desktopFolderOf(const std::string& home, const std::optional<std::string>& configHome);

// The desktop folder of the installed environment: homeDirectory() and its
// XDG_CONFIG_HOME.
std::string desktopFolder();

} // namespace platform

#pragma once
// Where the archive goes when no other place is asked for: the user's
// desktop folder as the XDG user directories name it (~/Schreibtisch on a
// German desktop), else HOME + "/Desktop".

#include <optional>
#include <string>

namespace platform {

// The desktop folder that XDG_DESKTOP_DIR in `configHome`/user-dirs.dirs
// names (`home`/.config/user-dirs.dirs when `configHome` is unset, empty or
// relative); `home` + "/Desktop" when the file names none or names the home
// itself. The file is read as the shell would read its quoted words: in
// XDG_DESKTOP_DIR="$HOME/a\"b" the folder is a"b below the home. Always
// absolute, a relative home being taken from the working directory.
std::string desktopFolderOf(const std::string& home, const std::optional<std::string>& configHome);

// The desktop folder of the installed environment: homeDirectory() and its
// XDG_CONFIG_HOME.
std::string desktopFolder();

} // namespace platform

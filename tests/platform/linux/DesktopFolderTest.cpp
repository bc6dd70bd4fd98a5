// Where the archive goes without --output: the desktop folder that the
// user's XDG user directories name, read as the shell reads the file.
#include "platform/DesktopFolder.h"
#include "tests/doubles/CommandLineSupport.h"
#include "tests/doubles/TestFiles.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <climits>
#include <optional>

using namespace testing_support;

TEST(DesktopFolder, IsTheFolderTheUserDirsNameElseHomeDesktop)
{
    TempDir dir;
    const std::string temp = canonicalPath(dir.path());
    struct Case {
        const char* what;
        std::optional<std::string> userDirs;   // nothing: no file at all
        std::optional<std::string> configHome; // a name below the case's home; "" for a relative path
        std::string expected;                  // below the case's home, or absolute
    };
    const Case cases[] = {
        {"German desktop", "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"", std::nullopt, "Schreibtisch"},
        {"absolute, blanks, trailing slash", "  XDG_DESKTOP_DIR = \"" + temp + "/shared/\"", std::nullopt,
         temp + "/shared"},
        {"XDG_CONFIG_HOME", "XDG_DESKTOP_DIR=\"$HOME/Bureau\"", "config", "Bureau"},
        {"relative XDG_CONFIG_HOME: ignored", "XDG_DESKTOP_DIR=\"$HOME/Bureau\"", "", "Bureau"},
        {"the shell's escapes", "XDG_DESKTOP_DIR=\"$HOME/a\\\"b \\\\ \\` \\$HOME \\n\" # mine", std::nullopt,
         "a\"b \\ ` $HOME \\n"},
        {"the last line counts", "XDG_DESKTOP_DIR=\"$HOME/First\"\nXDG_DESKTOP_DIR=\"$HOME/Last\"", std::nullopt,
         "Last"},
        {"other folders only", "XDG_DOWNLOAD_DIR=\"$HOME/Downloads\"", std::nullopt, "Desktop"},
        {"the home itself: no desktop folder", "XDG_DESKTOP_DIR=\"$HOME/\"", std::nullopt, "Desktop"},
        {"unquoted", "XDG_DESKTOP_DIR=Schreibtisch", std::nullopt, "Desktop"},
        {"a word the shell would expand", "XDG_DESKTOP_DIR=\"$HOME/$LANG\"", std::nullopt, "Desktop"},
        {"unclosed", "XDG_DESKTOP_DIR=\"$HOME/Open", std::nullopt, "Desktop"},
        {"no file", std::nullopt, std::nullopt, "Desktop"},
    };
    // A relative XDG_CONFIG_HOME would be found from here.
    char previous[PATH_MAX];
    ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
    ASSERT_EQ(chdir(temp.c_str()), 0);
    writeFile(temp + "/relative-config/user-dirs.dirs", "XDG_DESKTOP_DIR=\"$HOME/FromWorkingDirectory\"\n");
    int number = 0;
    for (const auto& [what, userDirs, caseConfig, expected] : cases) {
        SCOPED_TRACE(what);
        const std::string caseHome = temp + "/home" + std::to_string(++number);
        std::optional<std::string> config;
        if (caseConfig)
            config = caseConfig->empty() ? "relative-config" : caseHome + "-" + *caseConfig;
        makeDirectories(caseHome);
        if (userDirs)
            writeFile((caseConfig && !caseConfig->empty() ? *config : caseHome + "/.config") + "/user-dirs.dirs",
                      *userDirs + "\n");

        EXPECT_EQ(platform::desktopFolderOf(caseHome, config),
                  expected.front() == '/' ? expected : caseHome + "/" + expected);
    }

    // A relative home is taken from the working directory.
    const std::string fromRelativeHome = platform::desktopFolderOf("./home1/../home1", std::nullopt);
    ASSERT_EQ(chdir(previous), 0);
    EXPECT_EQ(fromRelativeHome, temp + "/home1/Schreibtisch");
}

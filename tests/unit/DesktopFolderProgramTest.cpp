// telvarin-report without --output: the archive goes to the desktop folder
// that the user-dirs.dirs of a temporary HOME names.
#include "CommandLineSupport.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <optional>

using namespace testing_support;

TEST(DesktopFolderProgram, PlacesTheArchiveInTheNamedDesktopAndPrintsItsAbsolutePath)
{
    TempDir temp;
    const std::string base = canonicalPath(temp.path());
    // Nothing of this machine is collected. Here the run may end early (no
    // driver directory); the archive is on its desktop by then all the same.
    const std::string list = base + "/data.xml";
    writeFile(list, "<configuration><Absolute_Path_Files/><Home_Path_Files/></configuration>\n");

    struct Case {
        const char* what;
        std::string home;                        // as HOME says it; relative to `base` when not absolute
        std::optional<std::string> configHome;   // XDG_CONFIG_HOME
        std::string userDirs;                    // written to the config folder's user-dirs.dirs
        std::string desktop;                     // where the archive must land, below `base`
        bool existsBefore;
    };
    const Case cases[] = {
        {"named and there", base + "/de", std::nullopt, "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n", "de/Schreibtisch",
         true},
        {"named and missing", base + "/es", std::nullopt, "XDG_DESKTOP_DIR=\"$HOME/Escritorio/Informes\"\n",
         "es/Escritorio/Informes", false},
        {"none named", base + "/en", std::nullopt, "XDG_MUSIC_DIR=\"$HOME/Music\"\n", "en/Desktop", false},
        {"XDG_CONFIG_HOME", base + "/fr", base + "/fr-config", "XDG_DESKTOP_DIR=\"$HOME/Bureau\"\n", "fr/Bureau",
         false},
        {"a relative HOME", "plain", std::nullopt, "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n", "plain/Schreibtisch",
         false},
    };
    for (const auto& [what, home, configHome, userDirs, desktop, existsBefore] : cases) {
        SCOPED_TRACE(what);
        const std::string absoluteHome = home.front() == '/' ? home : base + "/" + home;
        writeFile(configHome.value_or(absoluteHome + "/.config") + "/user-dirs.dirs", userDirs);
        const std::string folder = base + "/" + desktop;
        if (existsBefore)
            makeDirectories(folder);
        std::map<std::string, std::string> environment{{"HOME", home}};
        if (configHome)
            environment["XDG_CONFIG_HOME"] = *configHome;

        ProcessResult run = runProcess({TELVARIN_REPORT_EXECUTABLE, "--data-xml", list}, environment, base);

        const auto archives = archivesIn(folder);
        ASSERT_EQ(archives.size(), 1u) << run.standardOutput << run.standardError;
        EXPECT_TRUE(desktop.ends_with("/Desktop") || archivesIn(absoluteHome + "/Desktop").empty());
        if (run.exitStatus == 0) {
            const auto lines = splitLines(run.standardOutput);
            ASSERT_FALSE(lines.empty());
            EXPECT_EQ(lines.back(), folder + "/" + archives[0]);
        } else {
            EXPECT_EQ(run.exitStatus, 1) << run.standardError;
        }
    }
}

// telvarin-report without --output: the archive goes to the desktop folder
// that the user-dirs.dirs of a temporary HOME names.
#include "tests/doubles/CommandLineSupport.h"
#include "tests/doubles/TestFiles.h"

#include <gtest/gtest.h>

using namespace testing_support;

TEST(DesktopFolderProgram, PlacesTheArchiveInTheNamedDesktopAndPrintsItsAbsolutePath)
{
    TempDir temp;
    const std::string base = canonicalPath(temp.path());
    // One file of the test's own is collected. Here the run may end early (no
    // driver directory); the archive with that entry is on its desktop by
    // then all the same.
    const std::string list = base + "/data.xml";
    writeFile(base + "/note.log", "note\n");
    writeFile(list, "<configuration><Absolute_Path_Files><file>" + base.substr(1) +
                        "/note.log</file></Absolute_Path_Files><Home_Path_Files/></configuration>\n");
    struct Case {
        std::string home; // as HOME says it, from the working directory `base`
        std::string userDirs;
        std::string desktop; // below `base`
    };
    const Case cases[] = {
        {base + "/de", "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"", "de/Schreibtisch"},
        {base + "/es", "XDG_DESKTOP_DIR=\"$HOME/Escritorio/Informes\"", "es/Escritorio/Informes"},
        {base + "/en", "XDG_MUSIC_DIR=\"$HOME/Music\"", "en/Desktop"},
        {"relative", "XDG_DESKTOP_DIR=\"$HOME/Bureau\"", "relative/Bureau"},
    };
    makeDirectories(base + "/de/Schreibtisch");
    for (const auto& [home, userDirs, desktop] : cases) {
        SCOPED_TRACE(home);
        writeFile((home.front() == '/' ? home : base + "/" + home) + "/.config/user-dirs.dirs", userDirs + "\n");

        ProcessResult run = runProcess({TELVARIN_REPORT_EXECUTABLE, "--data-xml", list}, {{"HOME", home}}, base);

        const std::string folder = base + "/" + desktop;
        const auto archives = archivesIn(folder);
        ASSERT_EQ(archives.size(), 1u) << run.standardOutput << run.standardError;
        if (run.exitStatus == 0)
            EXPECT_EQ(splitLines(run.standardOutput).back(), folder + "/" + archives[0]);
        else
            EXPECT_EQ(run.exitStatus, 1) << run.standardError;
    }
}

// Where the archive goes without --output: the desktop folder that the
// user's XDG user directories name, looked up through GLib, and making it.
#include "CommandLineSupport.h"
#include "DesktopFolder.h"
#include "FakeServices.h"
#include "FolderCreation.h"
#include "ReportPress.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <optional>

using namespace testing_support;

namespace {

// A temporary directory by its canonical path, as the lookup answers.
struct CanonicalTemp {
    TempDir dir;
    std::string path = canonicalPath(dir.path());
    std::string operator/(const std::string& relative) const { return path + "/" + relative; }
};

void writeUserDirs(const std::string& configFolder, const std::string& lines)
{
    writeFile(configFolder + "/user-dirs.dirs", "# written by xdg-user-dirs-update\n" + lines);
}

std::optional<std::string> processVariable(const char* name)
{
    const char* value = std::getenv(name);
    return value ? std::optional<std::string>(value) : std::nullopt;
}

// Runs the test from another working directory, and returns to the old one.
class WorkingDirectory {
public:
    explicit WorkingDirectory(const std::string& path)
    {
        char current[PATH_MAX];
        if (getcwd(current, sizeof current))
            previous_ = current;
        EXPECT_EQ(chdir(path.c_str()), 0);
    }
    ~WorkingDirectory()
    {
        if (!previous_.empty() && chdir(previous_.c_str()) != 0)
            ADD_FAILURE() << "cannot return to " << previous_;
    }
    WorkingDirectory(const WorkingDirectory&) = delete;
    WorkingDirectory& operator=(const WorkingDirectory&) = delete;

private:
    std::string previous_;
};

mode_t permissionsOf(const std::string& path)
{
    struct stat status {};
    EXPECT_EQ(lstat(path.c_str(), &status), 0) << path;
    return status.st_mode & 07777;
}

} // namespace

TEST(DesktopFolder, IsTheFolderTheUserDirsNameElseHomeDesktop)
{
    CanonicalTemp temp;
    struct Case {
        const char* what;
        std::optional<std::string> userDirs; // nothing: no file at all
        std::string expected;                // below the case's home, or absolute
    };
    // Named cases come before unnamed ones: GLib keeps an earlier answer when
    // a reloaded file names no desktop, and that must not leak into the next.
    const Case cases[] = {
        {"German desktop", "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n", "Schreibtisch"},
        {"absolute, with blanks and a trailing slash", "  XDG_DESKTOP_DIR = \"" + temp / "shared-desk/" + "\"\n",
         temp / "shared-desk"},
        {"named twice, the last one counts", "XDG_DESKTOP_DIR=\"$HOME/Bureau\"\nXDG_DESKTOP_DIR=\"$HOME/Escritorio\"\n",
         "Escritorio"},
        {"other folders only", "XDG_DOWNLOAD_DIR=\"$HOME/Downloads\"\n", "Desktop"},
        {"the home itself means no desktop folder", "XDG_DESKTOP_DIR=\"$HOME/\"\n", "Desktop"},
        {"a line GLib does not take", "XDG_DESKTOP_DIR=Schreibtisch\n", "Desktop"},
        {"no file", std::nullopt, "Desktop"},
    };
    int number = 0;
    for (const auto& [what, userDirs, expected] : cases) {
        SCOPED_TRACE(what);
        const std::string home = temp / ("home" + std::to_string(++number));
        makeDirectories(home);
        if (userDirs)
            writeUserDirs(home + "/.config", *userDirs);
        const std::string wanted = expected.front() == '/' ? expected : home + "/" + expected;

        EXPECT_EQ(platform::desktopFolderOf(home, std::nullopt), wanted);
        EXPECT_EQ(platform::desktopFolderOf(home + "/", std::string()), wanted) << "an empty XDG_CONFIG_HOME is none";
    }
}

TEST(DesktopFolder, XdgConfigHomeTakesThePlaceOfDotConfig)
{
    CanonicalTemp temp;
    const std::string home = temp / "home";
    writeUserDirs(home + "/.config", "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n");
    writeUserDirs(temp / "config", "XDG_DESKTOP_DIR=\"$HOME/Escritorio\"\n");
    makeDirectories(temp / "empty-config");

    EXPECT_EQ(platform::desktopFolderOf(home, temp / "config"), home + "/Escritorio");
    EXPECT_EQ(platform::desktopFolderOf(home, temp / "empty-config"), home + "/Desktop");
}

TEST(DesktopFolder, ARelativeHomeGivesAnAbsoluteFolder)
{
    CanonicalTemp temp;
    WorkingDirectory inTemp(temp.path);
    const std::string& here = temp.path;
    makeDirectories(temp / "plain");
    writeUserDirs(temp / "spanish/.config", "XDG_DESKTOP_DIR=\"$HOME/Escritorio\"\n");

    EXPECT_EQ(platform::desktopFolderOf("plain", std::nullopt), here + "/plain/Desktop");
    EXPECT_EQ(platform::desktopFolderOf("./spanish/../spanish", std::nullopt), here + "/spanish/Escritorio");
}

TEST(DesktopFolder, TheLookupLeavesTheProcessEnvironmentAsItWas)
{
    CanonicalTemp temp;
    writeUserDirs(temp / "home/.config", "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n");
    const auto home = processVariable("HOME");
    const auto configHome = processVariable("XDG_CONFIG_HOME");

    EXPECT_EQ(platform::desktopFolderOf(temp / "home", std::nullopt), temp / "home/Schreibtisch");
    EXPECT_EQ(processVariable("HOME"), home);
    EXPECT_EQ(processVariable("XDG_CONFIG_HOME"), configHome);
}

TEST(DesktopFolder, FollowsTheInstalledEnvironmentNotTheProcesses)
{
    CanonicalTemp temp;
    writeUserDirs(temp / "config", "XDG_DESKTOP_DIR=\"$HOME/Bureau\"\n");
    FakeMachine machine;
    machine.environment.variables["HOME"] = temp / "home";
    machine.environment.variables["XDG_CONFIG_HOME"] = temp / "config";
    auto installed = machine.install();
    EXPECT_EQ(platform::desktopFolder(), temp / "home/Bureau");

    // Without HOME, the account's home from the password database.
    machine.environment.variables.erase("HOME");
    machine.environment.accountHome = temp / "account";
    EXPECT_EQ(platform::desktopFolder(), temp / "account/Bureau");
}

TEST(DesktopFolder, APressWithARelativeHomePlacesTheArchiveThereByItsAbsolutePath)
{
    CanonicalTemp temp;
    WorkingDirectory inTemp(temp.path);
    makeMakersFolders(temp / "root");
    writeFile(temp / "data.xml", "<configuration><Absolute_Path_Files/><Home_Path_Files/></configuration>\n");
    writeUserDirs(temp / "plain/.config", "XDG_DESKTOP_DIR=\"$HOME/Escritorio\"\n");
    FakeMachine machine;
    machine.environment.variables["HOME"] = "plain";
    machine.clock = FakeClock(utcTime(2011, 3, 7, 14, 5));
    machine.collectFrom(temp / "root");
    auto installed = machine.install();

    struct : BusyIndicator {
        void startAnimation() override {}
        void stopAnimation() override {}
    } indicator;
    const PressResult result = runReportPress(indicator, ReportRequest{temp / "data.xml", std::nullopt});

    ASSERT_TRUE(result.reportPlaced) << result.message;
    EXPECT_EQ(result.archivePath, temp / "plain/Escritorio/Telvarin_03_07_2011__02_05_PM.zip");
    EXPECT_TRUE(pathExists(result.archivePath));
}

TEST(FolderCreation, MakesTheMissingParentsWithMode0755)
{
    CanonicalTemp temp;
    const mode_t previousMask = umask(022);
    const std::string folder = temp / "home/Escritorio/Informes";

    EXPECT_TRUE(platform::makeFolderWithParents(folder));
    EXPECT_TRUE(platform::makeFolderWithParents(folder)) << "an existing folder is fine";
    umask(previousMask);
    EXPECT_EQ(permissionsOf(temp / "home"), 0755u);
    EXPECT_EQ(permissionsOf(temp / "home/Escritorio"), 0755u);
    EXPECT_EQ(permissionsOf(folder), 0755u);
}

TEST(FolderCreation, TakesALinkToAFolderButMakesNothingThroughADanglingOne)
{
    CanonicalTemp temp;
    makeDirectories(temp / "home/elsewhere");
    ASSERT_EQ(symlink("elsewhere", (temp / "home/Desktop").c_str()), 0);
    ASSERT_EQ(symlink(".missing-target", (temp / "home/Bureau").c_str()), 0);
    writeFile(temp / "home/Schreibtisch", "a file in the way\n");

    EXPECT_TRUE(platform::makeFolderWithParents(temp / "home/Desktop"));
    EXPECT_TRUE(platform::makeFolderWithParents(temp / "home/Desktop/Reports"));
    EXPECT_TRUE(pathExists(temp / "home/elsewhere/Reports"));
    EXPECT_FALSE(platform::makeFolderWithParents(temp / "home/Bureau"));
    EXPECT_FALSE(pathExists(temp / "home/.missing-target"));
    EXPECT_FALSE(platform::makeFolderWithParents(temp / "home/Schreibtisch"));
}

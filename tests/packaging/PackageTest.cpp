// The Debian package, built with CPack into a temporary directory: what it
// declares, what it holds, what lintian says at a reviewer's level, how its
// programs are hardened, and what its maintainer scripts do with and without
// a udev daemon.
#include "tests/doubles/CommandLineSupport.h"
#include "tests/doubles/TestFiles.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <regex>

using namespace testing_support;

namespace {

class DebianPackage : public ::testing::Test {
protected:
    TempDir temp;
    std::string package;

    void SetUp() override
    {
        if (!isOnPath("cpack") || !isOnPath("dpkg-deb") || !isOnPath("dpkg-shlibdeps"))
            GTEST_SKIP() << "cpack or the dpkg tools are not installed";
        const std::string out = temp / "package";
        ProcessResult build =
            runProcess({"cpack", "-G", "DEB", "-B", out, "--config", buildDirectory() + "/CPackConfig.cmake"}, {});
        ASSERT_EQ(build.exitStatus, 0) << build.standardOutput << build.standardError;
        for (const std::string& name : listFolder(out))
            if (name.ends_with(".deb"))
                package = out + "/" + name;
        ASSERT_FALSE(package.empty()) << build.standardOutput;
    }

    std::string field(const std::string& name)
    {
        ProcessResult shown = runProcess({"dpkg-deb", "--field", package, name}, {});
        EXPECT_EQ(shown.exitStatus, 0) << shown.standardError;
        return shown.standardOutput.empty() ? std::string()
                                            : shown.standardOutput.substr(0, shown.standardOutput.size() - 1);
    }

    std::vector<std::string> contents()
    {
        ProcessResult listing = runProcess({"dpkg-deb", "--contents", package}, {});
        EXPECT_EQ(listing.exitStatus, 0) << listing.standardError;
        std::vector<std::string> paths;
        for (const auto& line : splitLines(listing.standardOutput)) {
            // The path is the last column ("-rw-r--r-- root/root 591 date time ./usr/...").
            auto start = line.find(" ./");
            if (start != std::string::npos)
                paths.push_back(line.substr(start + 1));
        }
        return paths;
    }

    // The maintainer scripts, unpacked into a directory.
    std::string controlDirectory()
    {
        const std::string directory = temp / "control";
        ProcessResult unpacked = runProcess({"dpkg-deb", "--control", package, directory}, {});
        EXPECT_EQ(unpacked.exitStatus, 0) << unpacked.standardError;
        return directory;
    }
};

bool contains(const std::vector<std::string>& list, const std::string& item)
{
    return std::find(list.begin(), list.end(), item) != list.end();
}

bool mentions(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

} // namespace

TEST_F(DebianPackage, DeclaresItselfAndItsLibrariesAndInstallsUnderUsr)
{
    EXPECT_EQ(field("Package"), "telvarin-generator");
    EXPECT_EQ(field("Version"), std::string(TELVARIN_VERSION) + "-1");
    EXPECT_EQ(field("Section"), "utils");
    EXPECT_EQ(field("Priority"), "optional");
    EXPECT_TRUE(mentions(field("Maintainer"), "<")) << field("Maintainer");
    EXPECT_EQ(field("Homepage").rfind("https://", 0), 0u);
    EXPECT_TRUE(mentions(field("Description"), "\n")) << "an extended description";

    const auto paths = contents();
    ASSERT_FALSE(paths.empty());
    for (const auto& path : paths)
        EXPECT_EQ(path.rfind("./usr/", 0), 0u) << path;
    for (const char* path :
         {"./usr/bin/telvarin-report", "./usr/share/telvarin-generator/data.xml",
          "./usr/share/man/man1/telvarin-report.1.gz", "./usr/share/doc/telvarin-generator/copyright",
          "./usr/share/bash-completion/completions/telvarin-report",
          "./usr/share/doc/telvarin-generator/changelog.Debian.gz"})
        EXPECT_TRUE(contains(paths, path)) << path;

    // The dependencies come from the programs' libraries; the archive
    // writer's is always there.
    const std::string depends = field("Depends");
    EXPECT_TRUE(mentions(depends, "libminizip1")) << depends;
    if (contains(paths, "./usr/bin/telvarin-generator")) {
        EXPECT_TRUE(mentions(depends, "libqt6widgets6")) << depends;
        // Loaded at run time, so no library scan finds them.
        EXPECT_TRUE(mentions(depends, "qt6-qpa-plugins")) << depends;
        EXPECT_TRUE(mentions(depends, "libqt6svg6")) << depends;
        EXPECT_TRUE(contains(paths, "./usr/share/applications/com.quorvel.TelvarinGenerator.desktop"));
    }

    if (contains(paths, "./usr/bin/telvarin-generator")) {
        // Open Folder falls back to xdg-open; Qt's buttons speak the window's language.
        EXPECT_EQ(field("Recommends"), "xdg-utils, qt6-translations-l10n");
    }
}

TEST_F(DebianPackage, LintianAtAReviewersLevelFindsNothingButTheOverridesWithTheirReasons)
{
    if (!isOnPath("lintian"))
        GTEST_SKIP() << "lintian is not installed";
    if (!TELVARIN_PACKAGE_HARDENED)
        GTEST_SKIP() << "a sanitizer, fuzzer or unoptimised build: not what a package is made of";
    ProcessResult lint =
        runProcess({"lintian", "--display-info", "--pedantic", "--fail-on", "error,warning,info,pedantic", package},
                   {{"HOME", temp.path()}});
    EXPECT_EQ(lint.exitStatus, 0) << lint.standardOutput << lint.standardError;
    // An override that no longer matches is a tag of its own.
    for (const auto& line : splitLines(lint.standardOutput))
        EXPECT_EQ(line, "") << "not overridden";

    // Every override says why, in the comment right above it.
    const auto overrides =
        splitLines(readWholeFile(std::string(TELVARIN_SOURCE_DIR) + "/packaging/debian/lintian-overrides"));
    for (std::size_t i = 0; i < overrides.size(); ++i) {
        if (overrides[i].empty() || overrides[i][0] == '#')
            continue;
        EXPECT_TRUE(i > 0 && overrides[i - 1].size() > 2 && overrides[i - 1][0] == '#')
            << "no reason for: " << overrides[i];
    }
}

TEST_F(DebianPackage, ProgramsAreHardenedAndStripped)
{
    if (!isOnPath("readelf"))
        GTEST_SKIP() << "readelf (binutils) is not installed";
    if (!TELVARIN_PACKAGE_HARDENED)
        GTEST_SKIP() << "a sanitizer, fuzzer or unoptimised build: not what a package is made of";
    const std::string tree = temp / "tree";
    ProcessResult unpacked = runProcess({"dpkg-deb", "--extract", package, tree}, {});
    ASSERT_EQ(unpacked.exitStatus, 0) << unpacked.standardError;
    auto readelf = [](const std::string& option, const std::string& binary) {
        ProcessResult shown = runProcess({"readelf", "--wide", option, binary}, {{"LC_ALL", "C"}});
        EXPECT_EQ(shown.exitStatus, 0) << shown.standardError;
        return shown.standardOutput;
    };

    const auto programs = listFolder(tree + "/usr/bin");
    ASSERT_FALSE(programs.empty());
    for (const std::string& name : programs) {
        const std::string program = tree + "/usr/bin/" + name;
        SCOPED_TRACE(program);
        EXPECT_TRUE(mentions(readelf("--file-header", program), "DYN (Position-Independent Executable"));
        EXPECT_TRUE(mentions(readelf("--program-headers", program), "GNU_RELRO"));
        EXPECT_TRUE(mentions(readelf("--dynamic", program), "BIND_NOW"));

        // Both programs print and log through functions that glibc fortifies
        // (fprintf, syslog), so a fortified build imports their checked forms.
        const std::string symbols = readelf("--dyn-syms", program);
        EXPECT_TRUE(mentions(symbols, " __stack_chk_fail"));
        std::smatch checked;
        EXPECT_TRUE(std::regex_search(symbols, checked, std::regex(" __(?!stack_chk_fail)[a-z_0-9]+_chk\\b")))
            << symbols;

        const std::string sections = readelf("--section-headers", program);
        EXPECT_FALSE(mentions(sections, " .comment "));
        EXPECT_FALSE(mentions(sections, " .debug_"));
        EXPECT_FALSE(mentions(sections, " .symtab "));
    }
}

TEST_F(DebianPackage, MaintainerScriptsReloadUdevRulesWhereUdevRunsAndNeverFailWithoutIt)
{
    const std::string control = controlDirectory();
    const std::string udevadmLog = temp / "udevadm.log";
    const std::string fakes = temp / "fakes";
    const std::string empty = temp / "empty";
    makeDirectories(empty);
    // A udevadm that records its arguments and answers with a given status.
    auto installFakeUdevadm = [&](int status) {
        const std::string fake = fakes + "/udevadm";
        writeFile(fake, "#!/bin/sh\necho \"$*\" >> '" + udevadmLog + "'\nexit " + std::to_string(status) + "\n");
        chmod(fake.c_str(), 0755);
        std::filesystem::remove(udevadmLog);
    };
    auto runScript = [&](const std::string& script, const std::string& argument, const std::string& path) {
        return runProcess({"/bin/sh", control + "/" + script, argument}, {{"PATH", path}});
    };
    const std::string trigger =
        std::string("trigger --subsystem-match=usb --attr-match=idVendor=") + TELVARIN_QUORVEL_VID;

    for (const char* script : {"postinst", "postrm"}) {
        SCOPED_TRACE(script);
        struct stat status {};
        ASSERT_EQ(stat((control + "/" + script).c_str(), &status), 0);
        EXPECT_EQ(status.st_mode & 07777, 0755u);
        const std::string action = std::string(script) == "postinst" ? "configure" : "remove";

        installFakeUdevadm(0);
        ProcessResult withUdev = runScript(script, action, fakes + ":/usr/bin:/bin");
        EXPECT_EQ(withUdev.exitStatus, 0) << withUdev.standardError;
        EXPECT_EQ(readWholeFile(udevadmLog), "control --reload-rules\n" + trigger + "\n");

        // No udev daemon (a chroot, a container): nothing to trigger, no failure.
        installFakeUdevadm(1);
        ProcessResult withoutDaemon = runScript(script, action, fakes + ":/usr/bin:/bin");
        EXPECT_EQ(withoutDaemon.exitStatus, 0) << withoutDaemon.standardError;
        EXPECT_EQ(readWholeFile(udevadmLog), "control --reload-rules\n");

        // No udevadm at all.
        ProcessResult withoutUdevadm = runScript(script, action, empty);
        EXPECT_EQ(withoutUdevadm.exitStatus, 0) << withoutUdevadm.standardError;
        EXPECT_EQ(withoutUdevadm.standardError, "");
    }

    // An upgrade's old-version removal leaves the rules alone.
    installFakeUdevadm(0);
    EXPECT_EQ(runScript("postrm", "upgrade", fakes + ":/usr/bin:/bin").exitStatus, 0);
    EXPECT_FALSE(pathExists(udevadmLog));
}

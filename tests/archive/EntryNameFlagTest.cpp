// Names beyond ASCII as other readers see them: a name without the UTF-8 flag
// is taken for code page 437 (Python's zipfile, libarchive, Windows).
#include "core/archive/ArchivingClass.h"
#include "tests/doubles/TestFiles.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace testing_support;

TEST(ArchiveEntryNames, UnicodeNamesCarryTheUtf8FlagAndOthersAreStoredAsBefore)
{
    TempDir dir;
    const std::string archivePath = dir / "report.zip";
    const std::string utf8Name = "Config/dr\xC3\xBC"
                                 "cker-b\xC3\xBC"
                                 "ro.conf";
    const std::string asciiName = "Config/plain.conf";
    const std::string latin1Name = "Config/b\xFCro.conf"; // not UTF-8: its bytes as they come
    writeFile(dir / "source.conf", "collected\n");
    {
        auto archive = ArchivingClass::createNewZipFile(archivePath.c_str());
        ArchivingClass::copyFileToZipFileEntry((dir / "source.conf").c_str(), utf8Name.c_str(), archive.get());
        ArchivingClass::addEntryToZipFile(asciiName.c_str(), "plain\n", archive.get());
        ArchivingClass::addEntryToZipFile(latin1Name.c_str(), "latin-1\n", archive.get());
        ArchivingClass::closeZipFile(archive.get());
    }

    ASSERT_TRUE(unzipTestPasses(archivePath));
    const auto entries = readZipEntries(archivePath);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].name, utf8Name);
    EXPECT_TRUE(entries[0].utf8Flag);
    EXPECT_EQ(entries[1].name, asciiName);
    EXPECT_FALSE(entries[1].utf8Flag);
    EXPECT_EQ(entries[2].name, latin1Name);
    EXPECT_FALSE(entries[2].utf8Flag);

    // Info-ZIP's unzip extracts the UTF-8 name as written, readable, and the
    // ASCII name exact.
    const std::string extracted = dir / "extracted";
    ProcessResult unzip = runProcess({"unzip", "-qq", archivePath, "-d", extracted}, {{"LC_ALL", "C.UTF-8"}});
    EXPECT_EQ(unzip.exitStatus, 0) << unzip.standardError;
    EXPECT_EQ(readWholeFile(extracted + "/" + utf8Name), "collected\n");
    struct stat status {};
    ASSERT_EQ(stat((extracted + "/" + utf8Name).c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0444, 0444u);
    EXPECT_EQ(readWholeFile(extracted + "/" + asciiName), "plain\n");
}

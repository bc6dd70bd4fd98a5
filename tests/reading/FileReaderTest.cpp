// File-system access of the report: existence, directory listings and whole
// files, on the running system and under a file-system root.
#include "base/ErrorCodes.h"
#include "core/reading/FileReaderClass.h"
#include "tests/doubles/Expectations.h"
#include "tests/doubles/FakeServices.h"
#include "tests/doubles/TestFiles.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

using namespace testing_support;
using namespace std::string_literals;

TEST(FileReader, ListsNamesInDirectoryOrderWithoutDotsAndDsStore)
{
    TempDir dir;
    for (const char* name : {"a.log", ".DS_Store", "b.log", ".hidden", "c d.log"})
        writeFile(dir / name, "x");
    makeDirectories(dir / "sub");

    std::list<std::string> names = {"kept"};
    ASSERT_TRUE(FileReaderClass::listDir(dir.path(), &names));
    // The system's own order, as an independent directory walk sees it.
    std::list<std::string> expected = {"kept"};
    for (const std::string& name : listFolder(dir.path(), NameOrder::asRead))
        if (name != ".DS_Store")
            expected.push_back(name);
    EXPECT_EQ(names, expected);
    EXPECT_EQ(names.size(), 6u);
    EXPECT_EQ(std::count(names.begin(), names.end(), "sub"), 1);

    std::list<std::string> untouched = {"kept"};
    for (const std::string& path : {dir / "a.log", dir / "missing", ""s}) {
        EXPECT_FALSE(FileReaderClass::listDir(path, &untouched)) << path;
        EXPECT_EQ(untouched, std::list<std::string>{"kept"});
    }
}

TEST(FileReader, AnythingWhoseStatusCanBeReadExists)
{
    TempDir dir;
    writeFile(dir / "file", "");
    makeDirectories(dir / "directory");
    ASSERT_EQ(mkfifo((dir / "fifo").c_str(), 0600), 0);
    ASSERT_EQ(symlink("nowhere", (dir / "dangling").c_str()), 0);
    for (const std::string& path : {dir / "file", dir / "directory", dir / "fifo", "/dev/null"s})
        EXPECT_TRUE(FileReaderClass::fileExists(path.c_str())) << path;
    for (const std::string& path : {dir / "missing", dir / "dangling", dir / "file/below"})
        EXPECT_FALSE(FileReaderClass::fileExists(path.c_str())) << path;
    EXPECT_FALSE(FileReaderClass::fileExists(nullptr));
}

TEST(FileReader, ReadsEveryByteOfAFile)
{
    TempDir dir;
    std::string large(200000, 'a');
    large[100000] = '\0';
    const std::pair<std::string, std::string> files[] = {{"empty", ""}, {"binary", "\0\xFF\r\n\0"s}, {"large", large}};
    for (const auto& [name, contents] : files) {
        writeFile(dir / name, contents);
        EXPECT_EQ(FileReaderClass::readFileData((dir / name).c_str()), contents) << name;
    }
    // Files that stat calls empty still hold text.
    EXPECT_EQ(FileReaderClass::readFileData("/proc/version"), readWholeFile("/proc/version"));
}

TEST(FileReader, ReadingWhatIsNotAReadableFileRaisesCode4)
{
    TempDir dir;
    makeDirectories(dir / "directory");
    ASSERT_EQ(mkfifo((dir / "fifo").c_str(), 0600), 0);
    // A FIFO without a writer must not block the read.
    EXPECT_EXIT(
        {
            alarm(10);
            std::_Exit(codeThrownBy([&] { FileReaderClass::readFileData((dir / "fifo").c_str()); }));
        },
        ::testing::ExitedWithCode(ERROR_FILE_READ), "");
    for (const std::string& path : {dir / "missing", dir / "directory", "/dev/zero"s, "/proc/self/mem"s})
        expectCode(
            ERROR_FILE_READ, [&] { FileReaderClass::readFileData(path.c_str()); }, path);
}

TEST(FileReader, PathsAreTakenUnderTheFileSystemRoot)
{
    TempDir root;
    writeFile(root / "etc/x.conf", "rooted");
    writeFile(root / "etc/y.conf", "");
    FakeMachine machine;
    platform::Services services;
    machine.collectFrom(root.path());
    auto installed = machine.install(services);

    EXPECT_TRUE(FileReaderClass::fileExists("/etc/x.conf"));
    EXPECT_FALSE(FileReaderClass::fileExists((root / "etc/x.conf").c_str()));
    EXPECT_EQ(FileReaderClass::readFileData("/etc/x.conf"), "rooted");
    std::list<std::string> names;
    ASSERT_TRUE(FileReaderClass::listDir("/etc", &names));
    names.sort();
    EXPECT_EQ(names, (std::list<std::string>{"x.conf", "y.conf"}));
}

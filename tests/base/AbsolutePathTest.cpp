// A path split into its folder and its name, and joined again.
#include "base/AbsolutePath.h"

#include <gtest/gtest.h>

TEST(AbsolutePath, SplitsAPathIntoTheFolderAndTheNameThatPathInFolderJoins)
{
    const struct {
        const char* path;
        const char* folder;
        const char* name;
    } rows[] = {
        {"/home/anna/Desktop/Telvarin_x.zip", "/home/anna/Desktop", "Telvarin_x.zip"},
        {"/Telvarin_x.zip", "/", "Telvarin_x.zip"},
        {"Telvarin_x.zip", ".", "Telvarin_x.zip"},
        {"/home/anna/Bericht \xff\n/a.zip", "/home/anna/Bericht \xff\n", "a.zip"},
    };
    for (const auto& [path, folder, name] : rows) {
        SCOPED_TRACE(path);
        EXPECT_EQ(folderOf(path), folder);
        EXPECT_EQ(fileNameOf(path), name);
        if (folderOf(path) != ".") {
            EXPECT_EQ(pathInFolder(folderOf(path), fileNameOf(path)), path);
        }
    }
}

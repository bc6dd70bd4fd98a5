// What telvarin-report says a failure concerns, under its sentence and as
// the detail of --json's error.
#include "core/summary/FailureText.h"

#include <gtest/gtest.h>

#include <cerrno>

TEST(FailureText, NamesThePathInPlainQuotesGivesTheReasonWhereThereIsOneAndEndsWithWhatToDo)
{
    const struct {
        FailureDetail detail;
        std::string text;
    } cases[] = {
        {{FailedStep::readListedFile, "/var/log/“a”.log", EACCES},
         "The file \"/var/log/“a”.log\" could not be read: Permission denied. Check that you may read it, then try "
         "again."},
        {{FailedStep::writeArchive, "/out", 0},
         "Writing the report in the folder \"/out\" failed. Check that the disk has room and is still connected, "
         "then try again."},
        {{FailedStep::openPrinter, {}, EBUSY},
         "The printer was found on USB but could not be opened. Close any other program that uses it, then try again."},
        {{FailedStep::loadFileList, {}, 0},
         "No list of the files to collect (data.xml) is installed. Reinstall the Telvarin Generator."},
        // A list of the user's own (--data-xml) may be the one at fault.
        {{FailedStep::loadFileList, "/my.xml", ENOENT},
         "The list of the files to collect \"/my.xml\" could not be read: No such file or directory. Check that "
         "file, or reinstall the Telvarin Generator."},
        {{FailedStep::unknown, "/x", EIO}, ""},
    };
    for (const auto& [detail, text] : cases)
        EXPECT_EQ(failureDetailText(detail), text);

    // No step leaves a placeholder or a typographic quote of the window's.
    for (int step = 0; step <= static_cast<int>(FailedStep::readComputerFacts); ++step) {
        const std::string text = failureDetailText({static_cast<FailedStep>(step), "/p", EIO});
        EXPECT_EQ(text.find('%'), std::string::npos) << text;
        EXPECT_EQ(text.find("“"), std::string::npos) << text;
    }
}

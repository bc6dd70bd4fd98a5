#include "core/summary/FailureWording.h"

// A text the window translates in `context`. The core has no Qt: lupdate is
// told to read this as QT_TRANSLATE_NOOP (app/CMakeLists.txt), and takes the
// "//:" comments before it to the translators.
#define TRANSLATABLE(context, text) text

namespace {

//: What the user can do when the tool's own list of files to collect is missing or damaged.
const char* const REINSTALL = TRANSLATABLE("FailureExplanation", "Reinstall the Telvarin Generator.");
const char* const CHECK_THE_LIST_OR_REINSTALL = "Check that file, or reinstall the Telvarin Generator.";

// data.xml: none installed, one read that is no file list, or one that could
// not be read.
FailureWording fileListWording(const FailureDetail& detail)
{
    if (detail.path.empty())
        return {
            //: Under "Could not find data.xml" when the tool's list of files to collect is not installed.
            .what = TRANSLATABLE("FailureExplanation", "No list of the files to collect (data.xml) is installed."),
            .isWholeSentence = true,
            .advice = REINSTALL,
        };
    if (detail.errorNumber == 0)
        return {
            //: Under "Could not find data.xml" when the list was read but is damaged. %1 is its path.
            .what =
                TRANSLATABLE("FailureExplanation", "The list of the files to collect “%1” is not a valid file list."),
            .isWholeSentence = true,
            .advice = REINSTALL,
            .commandLineAdvice = CHECK_THE_LIST_OR_REINSTALL,
        };
    return {
        //: Under "Could not find data.xml" when the list of files to collect cannot be read. %1 is its path.
        .what = TRANSLATABLE("FailureExplanation", "The list of the files to collect “%1” could not be read"),
        .advice = REINSTALL,
        .commandLineAdvice = CHECK_THE_LIST_OR_REINSTALL,
    };
}

} // namespace

std::optional<FailureWording> failureWording(const FailureDetail& detail)
{
    switch (detail.step) {
    case FailedStep::readListedFile:
        return FailureWording{
            //: Under "An error occured while trying to read a file". %1 is the file.
            .what = TRANSLATABLE("FailureExplanation", "The file “%1” could not be read"),
            //: What the user can do when a file to collect could not be read.
            .advice = TRANSLATABLE("FailureExplanation", "Check that you may read it, then try again."),
        };
    case FailedStep::writeInArchiveFolder:
        return FailureWording{
            //: Under "Error code 15 occured" when the report could not be made in a folder. %1 is the folder.
            .what = TRANSLATABLE("FailureExplanation", "The report cannot be written in the folder “%1”"),
            //: What the user can do when the report's folder cannot be written.
            .advice = TRANSLATABLE("FailureExplanation", "Check that the folder exists and that you may write in it."),
        };
    case FailedStep::writeArchive:
        return FailureWording{
            //: Under "Error code 15 occured" when writing the report failed part-way. %1 is the folder.
            .what = TRANSLATABLE("FailureExplanation", "Writing the report in the folder “%1” failed"),
            //: What the user can do when writing the report failed part-way (a full or removed disk).
            .advice = TRANSLATABLE("FailureExplanation",
                                   "Check that the disk has room and is still connected, then try again."),
        };
    case FailedStep::nameArchive:
        return FailureWording{
            //: Under "Error code 15 occured" when the finished report could not take its name. %1 is its path.
            .what = TRANSLATABLE("FailureExplanation", "The report could not be saved as “%1”"),
            //: What the user can do when the finished report could not take its name.
            .advice = TRANSLATABLE("FailureExplanation",
                                   "Check that the folder still exists and that nothing else has that name, "
                                   "then try again."),
        };
    case FailedStep::writeChecksumFile:
        return FailureWording{
            //: Under "Could not write the checksum file beside the report". %1 is the checksum file.
            .what = TRANSLATABLE("FailureExplanation", "The checksum file “%1” could not be written"),
            //: When only the checksum file beside a placed report could not be written.
            .advice = TRANSLATABLE("FailureExplanation",
                                   "The report itself was placed; check that you may write in its folder."),
        };
    case FailedStep::loadFileList:
        return fileListWording(detail);
    case FailedStep::listDriverDirectory:
        return FailureWording{
            //: Under "Could not find driver directory". %1 is the folder; "Quorvel" is the printer maker.
            .what =
                TRANSLATABLE("FailureExplanation", "The folder of the Quorvel printer drivers “%1” could not be read"),
            //: What the user can do when the printer driver's folder is missing.
            .advice = TRANSLATABLE("FailureExplanation", "Install the Quorvel printer driver, then try again."),
        };
    case FailedStep::listApplicationDirectory:
        return FailureWording{
            //: Under "Error code 11 occured". %1 is the applications folder.
            .what = TRANSLATABLE("FailureExplanation", "The applications folder “%1” could not be read"),
            //: What the user can do when the applications folder cannot be read.
            .advice = TRANSLATABLE("FailureExplanation", "Check that it exists and that you may read it."),
        };
    case FailedStep::openPrinter:
        return FailureWording{
            //: Under "An error occured while trying to communicate with the printer"
            //: when the printer could not be opened.
            .what = TRANSLATABLE("FailureExplanation", "The printer was found on USB but could not be opened."),
            .isWholeSentence = true,
            //: What the user can do when the printer could not be opened.
            .advice = TRANSLATABLE("FailureExplanation", "Close any other program that uses it, then try again."),
        };
    case FailedStep::talkToPrinter:
        return FailureWording{
            //: Under "An error occured while trying to communicate with the printer" when it stopped answering.
            .what = TRANSLATABLE("FailureExplanation", "The printer stopped answering."),
            .isWholeSentence = true,
            //: What the user can do when the printer stopped answering.
            .advice = TRANSLATABLE("FailureExplanation",
                                   "Connect the printer with its USB cable and switch it on, then try again."),
        };
    case FailedStep::listUsbDevices:
        return FailureWording{
            //: Under "Error code -99 occured" (or another negative code)
            //: when the system's USB layer could not start.
            .what = TRANSLATABLE("FailureExplanation", "The USB devices of this computer could not be listed"),
            //: What the user can do when the USB layer could not start (too many open files or processes).
            .advice = TRANSLATABLE("FailureExplanation",
                                   "Close programs you do not need, or raise the limits on open files and processes, "
                                   "then try again."),
        };
    case FailedStep::readComputerFacts:
        return FailureWording{
            //: Under "Error code 10 occured". %1 is a system file such as /proc/meminfo.
            .what = TRANSLATABLE("FailureExplanation", "The facts about this computer could not be read from “%1”"),
            //: What the user can do when the system's /proc or /sys files cannot be read. Keep /proc and /sys.
            .advice = TRANSLATABLE("FailureExplanation",
                                   "Check that /proc and /sys are mounted and readable, then try again."),
        };
    case FailedStep::unknown:
        break;
    }
    return std::nullopt;
}

#include "core/summary/FailureText.h"

#include <system_error>

namespace {

std::string quoted(const std::string& path)
{
    return "\"" + path + "\"";
}

// ": REASON." after what failed, or only the full stop when the system gave
// no reason.
std::string because(int errorNumber)
{
    if (errorNumber == 0)
        return ".";
    return ": " + std::error_code(errorNumber, std::system_category()).message() + ".";
}

} // namespace

std::string failureDetailText(const FailureDetail& detail)
{
    const std::string& path = detail.path;
    const int error = detail.errorNumber;
    switch (detail.step) {
    case FailedStep::readListedFile:
        return "The file " + quoted(path) + " could not be read" + because(error) +
               " Check that you may read it, then try again.";
    case FailedStep::writeInArchiveFolder:
        return "The report cannot be written in the folder " + quoted(path) + because(error) +
               " Check that the folder exists and that you may write in it.";
    case FailedStep::writeArchive:
        return "Writing the report in the folder " + quoted(path) + " failed" + because(error) +
               " Check that the disk has room and is still connected, then try again.";
    case FailedStep::nameArchive:
        return "The report could not be saved as " + quoted(path) + because(error) +
               " Check that the folder still exists and that nothing else has that name, then try again.";
    case FailedStep::writeChecksumFile:
        return "The checksum file " + quoted(path) + " could not be written" + because(error) +
               " The report itself was placed; check that you may write in its folder.";
    case FailedStep::loadFileList:
        if (path.empty())
            return "No list of the files to collect (data.xml) is installed. Reinstall the Telvarin Generator.";
        if (error == 0)
            return "The list of the files to collect " + quoted(path) +
                   " is not a valid file list. Check that file, or reinstall the Telvarin Generator.";
        return "The list of the files to collect " + quoted(path) + " could not be read" + because(error) +
               " Check that file, or reinstall the Telvarin Generator.";
    case FailedStep::listDriverDirectory:
        return "The folder of the Quorvel printer drivers " + quoted(path) + " could not be read" + because(error) +
               " Install the Quorvel printer driver, then try again.";
    case FailedStep::listApplicationDirectory:
        return "The applications folder " + quoted(path) + " could not be read" + because(error) +
               " Check that it exists and that you may read it.";
    case FailedStep::openPrinter:
        return "The printer was found on USB but could not be opened. Close any other program that uses it, "
               "then try again.";
    case FailedStep::talkToPrinter:
        return "The printer stopped answering. Connect the printer with its USB cable and switch it on, "
               "then try again.";
    case FailedStep::listUsbDevices:
        return "The USB devices of this computer could not be listed" + because(error) +
               " Close programs you do not need, or raise the limits on open files and processes, then try again.";
    case FailedStep::readComputerFacts:
        return "The facts about this computer could not be read from " + quoted(path) + because(error) +
               " Check that /proc and /sys are mounted and readable, then try again.";
    case FailedStep::unknown:
        break;
    }
    return {};
}

#include "app/FailureExplanation.h"

#include "app/DisplayText.h"

#include <system_error>

QString FailureExplanation::partialReport(const QString& shownName)
{
    //: After a failure that left a valid zip file of what it had gathered. %1 is its path or name.
    return tr("What was gathered until then is in the partial report “%1”.").arg(shownName);
}

QString FailureExplanation::text(const FailureDetail& detail)
{
    const QString path = displayText::inSentence(detail.path);
    QString what;
    QString advice;
    switch (detail.step) {
    case FailedStep::readListedFile:
        //: Under "An error occured while trying to read a file". %1 is the file.
        what = tr("The file “%1” could not be read").arg(path);
        //: What the user can do when a file to collect could not be read.
        advice = tr("Check that you may read it, then try again.");
        break;
    case FailedStep::writeInArchiveFolder:
        //: Under "Error code 15 occured" when the report could not be made in a folder. %1 is the folder.
        what = tr("The report cannot be written in the folder “%1”").arg(path);
        //: What the user can do when the report's folder cannot be written.
        advice = tr("Check that the folder exists and that you may write in it.");
        break;
    case FailedStep::writeArchive:
        //: Under "Error code 15 occured" when writing the report failed part-way. %1 is the folder.
        what = tr("Writing the report in the folder “%1” failed").arg(path);
        //: What the user can do when writing the report failed part-way (a full or removed disk).
        advice = tr("Check that the disk has room and is still connected, then try again.");
        break;
    case FailedStep::nameArchive:
        //: Under "Error code 15 occured" when the finished report could not take its name. %1 is its path.
        what = tr("The report could not be saved as “%1”").arg(path);
        //: What the user can do when the finished report could not take its name.
        advice = tr("Check that the folder still exists and that nothing else has that name, then try again.");
        break;
    case FailedStep::writeChecksumFile:
        //: Under "Could not write the checksum file beside the report". %1 is the checksum file.
        what = tr("The checksum file “%1” could not be written").arg(path);
        //: When only the checksum file beside a placed report could not be written.
        advice = tr("The report itself was placed; check that you may write in its folder.");
        break;
    case FailedStep::loadFileList:
        //: What the user can do when the tool's own list of files to collect is missing or damaged.
        advice = tr("Reinstall the Telvarin Generator.");
        if (detail.path.empty())
            //: Under "Could not find data.xml" when the tool's list of files to collect is not installed.
            return tr("No list of the files to collect (data.xml) is installed.") + QLatin1Char('\n') + advice;
        if (detail.errorNumber == 0)
            //: Under "Could not find data.xml" when the list was read but is damaged. %1 is its path.
            return tr("The list of the files to collect “%1” is not a valid file list.").arg(path) +
                   QLatin1Char('\n') + advice;
        //: Under "Could not find data.xml" when the list of files to collect cannot be read. %1 is its path.
        what = tr("The list of the files to collect “%1” could not be read").arg(path);
        break;
    case FailedStep::listDriverDirectory:
        //: Under "Could not find driver directory". %1 is the folder; "Quorvel" is the printer maker.
        what = tr("The folder of the Quorvel printer drivers “%1” could not be read").arg(path);
        //: What the user can do when the printer driver's folder is missing.
        advice = tr("Install the Quorvel printer driver, then try again.");
        break;
    case FailedStep::listApplicationDirectory:
        //: Under "Error code 11 occured". %1 is the applications folder.
        what = tr("The applications folder “%1” could not be read").arg(path);
        //: What the user can do when the applications folder cannot be read.
        advice = tr("Check that it exists and that you may read it.");
        break;
    case FailedStep::openPrinter:
        //: Under "An error occured while trying to communicate with the printer" when the printer could not be opened.
        return tr("The printer was found on USB but could not be opened.") + QLatin1Char('\n') +
               //: What the user can do when the printer could not be opened.
               tr("Close any other program that uses it, then try again.");
    case FailedStep::talkToPrinter:
        //: Under "An error occured while trying to communicate with the printer" when it stopped answering.
        return tr("The printer stopped answering.") + QLatin1Char('\n') +
               //: What the user can do when the printer stopped answering.
               tr("Connect the printer with its USB cable and switch it on, then try again.");
    case FailedStep::listUsbDevices:
        //: Under "Error code -99 occured" (or another negative code) when the system's USB layer could not start.
        what = tr("The USB devices of this computer could not be listed");
        //: What the user can do when the USB layer could not start (too many open files or processes).
        advice = tr("Close programs you do not need, or raise the limits on open files and processes, "
                    "then try again.");
        break;
    case FailedStep::readComputerFacts:
        //: Under "Error code 10 occured". %1 is a system file such as /proc/meminfo.
        what = tr("The facts about this computer could not be read from “%1”").arg(path);
        //: What the user can do when the system's /proc or /sys files cannot be read. Keep /proc and /sys.
        advice = tr("Check that /proc and /sys are mounted and readable, then try again.");
        break;
    case FailedStep::unknown:
        return {};
    }
    QString whatAndWhy;
    if (detail.errorNumber == 0) {
        //: What failed (%1) when the system gave no reason: the sentence's end.
        whatAndWhy = tr("%1.").arg(what);
    } else {
        // The system's reason comes in the user's language where the system has it.
        const QString reason =
            QString::fromLocal8Bit(std::error_code(detail.errorNumber, std::system_category()).message());
        //: What failed (%1) and the system's reason for it (%2), such as "Permission denied".
        whatAndWhy = tr("%1: %2.").arg(what, reason);
    }
    return whatAndWhy + QLatin1Char('\n') + advice;
}

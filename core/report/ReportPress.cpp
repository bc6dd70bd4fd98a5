#include "core/report/ReportPress.h"

#include "base/ErrorCodes.h"
#include "core/report/ErrorMessages.h"
#include "core/report/TelvarinGenerator.h"
#include "platform/Services.h"

#include <cerrno>

std::string currentDateLogLine()
{
    std::time_t now = platform::clock().now();
    std::tm utc{};
    gmtime_r(&now, &utc);
    char text[64];
    std::size_t length = std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S +0000", &utc);
    return "The current date and time is: " + std::string(text, length);
}

PressResult runReportPress(BusyIndicator& indicator, const ReportRequest& request)
{
    platform::systemLog().write(currentDateLogLine());
    indicator.startAnimation();
    TelvarinGenerator generator;
    for (const std::string& line : request.logLines)
        generator.addToLog(line);
    PressResult result;

    auto takeOutcome = [&] {
        const ArchiveOutcome& archive = generator.archiveOutcome();
        if (archive.state != ArchiveOutcome::State::none) {
            result.archivePath = archive.path;
            result.sha256 = archive.sha256;
            result.entries = archive.entries;
            result.deviceReportStored = generator.deviceReportStored();
        }
        result.checksumFilePath = archive.checksumFilePath;
        result.checksumFileError = archive.checksumFileError.value();
        result.missing = generator.missingPaths();
        result.skipped = generator.skippedPaths();
        result.log = generator.log();
    };
    auto fail = [&](UserMessage message) {
        takeOutcome();
        indicator.stopAnimation();
        message.archivePath = result.archivePath;
        result.message = message.text;
        result.failure = message;
        platform::reporter().showError(message);
    };

    try {
        if (!request.dataXmlPath)
            throw CodedFailure{ERROR_DATA_XML_NOT_LOADED, {FailedStep::loadFileList, {}, ENOENT}};
        generator.chooseArchiveExtras(request.computeSha256 || request.writeChecksumFile, request.writeChecksumFile);
        generator.watchWith(RunMonitor(request.progress, request.cancellation));
        if (request.archivePath)
            generator.generateReport(request.archivePath->c_str(), request.dataXmlPath->c_str());
        else
            generator.generateReport(request.dataXmlPath->c_str());
        takeOutcome();
        indicator.stopAnimation();
        result.reportPlaced = true;
        UserMessage placed = reportPlacedMessage();
        placed.archivePath = result.archivePath;
        result.message = placed.text;
        platform::reporter().showInformation(placed);
    } catch (const RunCancelled&) {
        // The user asked for it: no box, and the run left no file.
        takeOutcome();
        indicator.stopAnimation();
        result.cancelled = true;
        result.message = REPORT_CANCELLED_MESSAGE;
    } catch (...) {
        fail(currentFailure());
    }
    return result;
}

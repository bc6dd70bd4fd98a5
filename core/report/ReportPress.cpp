#include "ReportPress.h"

#include "ErrorCodes.h"
#include "ErrorMessages.h"
#include "TelvarinGenerator.h"
#include "Services.h"

#include <utility>

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
        result.checksumFileError = archive.checksumFileError;
        result.missing = generator.missingPaths();
        result.log = generator.log();
    };
    auto fail = [&](std::string message) {
        takeOutcome();
        indicator.stopAnimation();
        result.message = std::move(message);
        platform::reporter().showError(result.message);
    };

    try {
        if (!request.dataXmlPath)
            throw ERROR_DATA_XML_NOT_LOADED;
        generator.chooseArchiveExtras(request.computeSha256 || request.writeChecksumFile, request.writeChecksumFile);
        if (request.archivePath)
            generator.generateReport(request.archivePath->c_str(), request.dataXmlPath->c_str());
        else
            generator.generateReport(request.dataXmlPath->c_str());
        takeOutcome();
        indicator.stopAnimation();
        result.reportPlaced = true;
        result.message = REPORT_PLACED_MESSAGE;
        platform::reporter().showInformation(result.message);
    } catch (...) {
        HandledFailure failure = currentFailure();
        result.errorCode = failure.code;
        fail(std::move(failure.message));
    }
    return result;
}

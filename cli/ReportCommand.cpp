#include "ReportCommand.h"

#include "CommandServices.h"
#include "ReportPress.h"
#include "RunSummary.h"
#include "TelvarinGenerator.h"
#include "TerminalText.h"

#include <unistd.h>

#include <cstdio>

namespace cli {
namespace {

// Without a window there is nothing to animate.
class SilentIndicator final : public BusyIndicator {
public:
    void startAnimation() override {}
    void stopAnimation() override {}
};

std::string archivePathIn(const std::string& directory)
{
    std::string path = directory;
    if (path.empty() || path.back() != '/')
        path += '/';
    return path + TelvarinGenerator::getNewReportFileName();
}

} // namespace

int runReportCommand(const Options& options)
{
    CommandServices services(options, options.json ? Progress::Dropped : Progress::Shown);

    ReportRequest request;
    request.dataXmlPath = fileListPath(options);
    if (options.outputDirectory)
        request.archivePath = archivePathIn(*options.outputDirectory);
    request.computeSha256 = options.json;
    request.writeChecksumFile = options.checksum;

    SilentIndicator indicator;
    PressResult result = runReportPress(indicator, request);

    const RunSummary summary = summarizeRun(result);
    const int status = summary.error ? 1 : 0;
    if (options.json)
        return writeToStandardOutput(runSummaryJson(summary)) ? status : 1;
    if (!result.reportPlaced)
        return 1;
    // Absolute, for scp and scripts, which may run from anywhere.
    std::printf("%s\n", shownOn(STDOUT_FILENO, result.archivePath).c_str());
    std::fflush(stdout);
    return status;
}

} // namespace cli

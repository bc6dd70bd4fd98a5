#include "cli/ReportCommand.h"

#include "base/TerminalText.h"
#include "cli/CommandServices.h"
#include "cli/StandardOutput.h"
#include "core/report/ReportPress.h"
#include "core/report/RunInterrupts.h"
#include "core/report/TelvarinGenerator.h"
#include "core/summary/RunSummary.h"

#include <unistd.h>

namespace cli {
namespace {

// Without a window there is nothing to animate.
class SilentIndicator final : public BusyIndicator {
public:
    void startAnimation() override {}
    void stopAnimation() override {}
};

// The status of a run stopped by SIGINT or SIGTERM, as a shell reports one
// ended by SIGINT.
constexpr int EXIT_CANCELLED = 130;

std::string archivePathIn(const std::string& directory)
{
    std::string path = directory;
    if (path.empty() || path.back() != '/')
        path += '/';
    return path + TelvarinGenerator::getNewReportFileName();
}

void sayWhereTheArchiveIs(const PressResult& result)
{
    if (result.archivePath.empty())
        return;
    const std::string path = shownOn(STDERR_FILENO, result.archivePath);
    if (result.reportPlaced)
        writeLineToStandardError("telvarin-report: the report was placed all the same: " + path);
    else
        writeLineToStandardError("telvarin-report: what was gathered before the failure is in " + path);
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

    // Static: a signal may still read it while the run comes to its end.
    static CancellationFlag cancellation;
    request.cancellation = &cancellation;

    SilentIndicator indicator;
    PressResult result;
    {
        const InterruptsCancelTheRun interrupts(cancellation);
        result = runReportPress(indicator, request);
    }
    if (result.cancelled)
        writeLineToStandardError(result.message);

    const RunSummary summary = summarizeRun(result);
    if (options.json)
        writeToStandardOutput(runSummaryJson(summary));
    else if (result.reportPlaced)
        // Absolute, for scp and scripts, which may run from anywhere.
        writeToStandardOutput(shownOn(STDOUT_FILENO, result.archivePath) + "\n");
    if (result.cancelled)
        return EXIT_CANCELLED;
    // A result that did not reach its reader is no success; the archive
    // stays, and the reader of standard error learns where it is.
    if (!standardOutputDelivered()) {
        sayWhereTheArchiveIs(result);
        return 1;
    }
    return summary.error ? 1 : 0;
}

} // namespace cli

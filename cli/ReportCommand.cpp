#include "cli/ReportCommand.h"

#include "base/TerminalText.h"
#include "cli/CommandServices.h"
#include "core/report/ReportPress.h"
#include "core/report/RunInterrupts.h"
#include "core/report/TelvarinGenerator.h"
#include "core/summary/RunSummary.h"

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
    if (result.cancelled) {
        std::fprintf(stderr, "%s\n", result.message.c_str());
        std::fflush(stderr);
    }

    const RunSummary summary = summarizeRun(result);
    const int status = result.cancelled ? EXIT_CANCELLED : summary.error ? 1 : 0;
    if (options.json) {
        const bool written = writeToStandardOutput(runSummaryJson(summary));
        return written || result.cancelled ? status : 1;
    }
    if (!result.reportPlaced)
        return status;
    // Absolute, for scp and scripts, which may run from anywhere.
    std::printf("%s\n", shownOn(STDOUT_FILENO, result.archivePath).c_str());
    std::fflush(stdout);
    return status;
}

} // namespace cli

#include "ReportCommand.h"

#include "CommandServices.h"
#include "ReportPress.h"
#include "RunSummary.h"
#include "TelvarinGenerator.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

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

// The last line is for scp and scripts, which may run from anywhere.
std::string absolutePath(const std::string& path)
{
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return error ? path : absolute.string();
}

} // namespace

int runReportCommand(const Options& options)
{
    CommandServices services(options, options.json ? Progress::Dropped : Progress::Shown);

    ReportRequest request;
    request.dataXmlPath = fileListPath(options);
    if (options.outputDirectory)
        request.archivePath = archivePathIn(*options.outputDirectory);

    SilentIndicator indicator;
    PressResult result = runReportPress(indicator, request);

    const RunSummary summary = summarizeRun(result, {options.checksum, options.json});
    const int status = summary.error ? 1 : 0;
    if (options.json)
        return writeToStandardOutput(runSummaryJson(summary)) ? status : 1;
    if (!result.reportPlaced)
        return 1;
    std::printf("%s\n", absolutePath(result.archivePath).c_str());
    std::fflush(stdout);
    return status;
}

} // namespace cli

#include "ReportCommand.h"

#include "CollectedSystem.h"
#include "ReportPress.h"
#include "TelvarinGenerator.h"
#include "ResourceLocator.h"
#include "Services.h"

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
    const platform::CollectedSystem collected =
        options.sysroot ? platform::CollectedSystem(*options.sysroot) : platform::CollectedSystem();
    platform::Services services = platform::currentServices();
    services.collectedSystem = &collected;
    platform::ScopedServices collectedSystem(services);

    ReportRequest request;
    // The file list belongs to the tool, so it is read on this machine even
    // when the report collects from another root.
    request.dataXmlPath = options.dataXml ? options.dataXml : platform::findResource("data.xml");
    if (options.outputDirectory)
        request.archivePath = archivePathIn(*options.outputDirectory);

    SilentIndicator indicator;
    PressResult result = runReportPress(indicator, request);
    if (!result.reportPlaced)
        return 1;
    std::printf("%s\n", absolutePath(result.archivePath).c_str());
    std::fflush(stdout);
    return 0;
}

} // namespace cli

// telvarin-report: the report of one press of the Telvarin Generator's button,
// without a window. What the window's message boxes would show is printed,
// errors on standard error; the exit status is 0 only when a report was placed.

#include "core/ReportPress.h"
#include "platform/ResourceLocator.h"

#include <cstdio>
#include <cstring>

namespace {

const char USAGE[] =
    "Usage: telvarin-report [--help] [--version]\n"
    "\n"
    "Gathers the maker's log and configuration files, the printer's device report\n"
    "and a report on this computer into Telvarin_<date>.zip on the desktop.\n"
    "\n"
    "  --help     show this text and exit\n"
    "  --version  show the version and exit\n";

class SilentIndicator final : public BusyIndicator {
public:
    void startAnimation() override {}
    void stopAnimation() override {}
};

} // namespace

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0) {
            std::fputs(USAGE, stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("telvarin-report %s\n", TELVARIN_VERSION);
            return 0;
        }
        std::fprintf(stderr, "telvarin-report: unknown option '%s'\n%s", argv[i], USAGE);
        return 2;
    }

    SilentIndicator indicator;
    ReportRequest request;
    request.dataXmlPath = platform::findResource("data.xml");
    PressResult result = runReportPress(indicator, request);
    return result.reportPlaced ? 0 : 1;
}

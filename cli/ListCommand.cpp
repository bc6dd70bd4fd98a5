#include "cli/ListCommand.h"

#include "cli/CommandServices.h"
#include "cli/StandardOutput.h"
#include "core/report/FileListing.h"
#include "core/summary/ListingJson.h"
#include "core/summary/ListingText.h"

namespace cli {

int runListCommand(const Options& options)
{
    CommandServices services(options, Progress::Dropped);
    const ListingResult listing = listConfiguredFiles(fileListPath(options));
    if (!listing.listed)
        return 1;
    // Names are escaped only for a person reading them, as `ls` does; a
    // pipe gets the bytes as they are.
    writeToStandardOutput(options.json ? listingJson(listing.paths)
                                       : listingText(listing.paths, standardOutputIsTerminal()));
    return standardOutputDelivered() ? 0 : 1;
}

} // namespace cli

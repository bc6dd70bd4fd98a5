#include "ListCommand.h"

#include "CommandServices.h"
#include "FileListing.h"
#include "ListingJson.h"
#include "ListingText.h"

#include <unistd.h>

namespace cli {

int runListCommand(const Options& options)
{
    CommandServices services(options, Progress::Dropped);
    const ListingResult listing = listConfiguredFiles(fileListPath(options));
    if (!listing.listed)
        return 1;
    if (options.json)
        return writeToStandardOutput(listingJson(listing.paths)) ? 0 : 1;
    // Names are escaped only for a person reading them, as `ls` does; a
    // pipe gets the bytes as they are.
    const bool forTerminal = isatty(STDOUT_FILENO) == 1;
    return writeToStandardOutput(listingText(listing.paths, forTerminal)) ? 0 : 1;
}

} // namespace cli

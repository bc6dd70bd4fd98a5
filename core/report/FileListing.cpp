#include "FileListing.h"

#include "ConfiguredFileCollection.h"
#include "ErrorCodes.h"
#include "ErrorMessages.h"
#include "RunLog.h"
#include "Services.h"
#include "XmlParserClass.h"

#include <utility>

ListingResult listConfiguredFiles(const std::optional<std::string>& dataXmlPath)
{
    ListingResult result;
    auto fail = [&](std::string message) {
        result.message = std::move(message);
        platform::reporter().showError(result.message);
    };
    try {
        if (!dataXmlPath)
            throw ERROR_DATA_XML_NOT_LOADED;
        const XmlDictionary fileList = XmlParserClass::getSingleLevelDepthXmlDict(dataXmlPath->c_str());
        // The misses go to the listing; the log has no archive to end up in.
        RunLog unusedLog;
        FileListingSink listing;
        ConfiguredFileCollection(unusedLog, listing).addXmlSpecifiedFiles(fileList);
        result.paths = listing.paths();
        result.listed = true;
    } catch (...) {
        HandledFailure failure = currentFailure();
        result.errorCode = failure.code;
        fail(std::move(failure.message));
    }
    return result;
}

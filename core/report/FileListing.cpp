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
    auto fail = [&](const platform::Message& message) {
        result.errorCode = message.code;
        result.message = message.text;
        platform::reporter().showError(message);
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
        fail(currentFailure());
    }
    return result;
}

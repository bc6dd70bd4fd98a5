#include "core/report/FileListing.h"

#include "base/CodedFailure.h"
#include "base/ErrorCodes.h"
#include "base/RunLog.h"
#include "core/filelist/ConfiguredFileCollection.h"
#include "core/filelist/XmlParserClass.h"
#include "core/report/ErrorMessages.h"
#include "platform/Services.h"

#include <cerrno>
#include <utility>

namespace {

// A listing that keeps no lines and shows no progress, only the total.
class ByteCount final : public CollectedFileSink {
public:
    platform::FileKind tryToAdd(const std::string& sourcePath, const std::string& entryName) override
    {
        FileListingSink file;
        const platform::FileKind kind = file.tryToAdd(sourcePath, entryName);
        if (kind == platform::FileKind::regular)
            bytes += file.paths().front().size;
        return kind;
    }
    void progress(const std::string&) override {}
    std::uint64_t bytes = 0;
};

} // namespace

ListingResult listConfiguredFiles(const std::optional<std::string>& dataXmlPath)
{
    ListingResult result;
    auto fail = [&](const UserMessage& message) {
        result.failure = message;
        platform::reporter().showError(message);
    };
    try {
        if (!dataXmlPath)
            throw CodedFailure{ERROR_DATA_XML_NOT_LOADED, {FailedStep::loadFileList, {}, ENOENT}};
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

std::uint64_t bytesOfConfiguredFiles(const XmlDictionary& fileList)
{
    RunLog unusedLog;
    ByteCount count;
    try {
        ConfiguredFileCollection(unusedLog, count).addXmlSpecifiedFiles(fileList);
    } catch (...) {
        // Counted as far as it got.
    }
    return count.bytes;
}

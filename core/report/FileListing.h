#pragma once
// What a report would collect, without making one: data.xml read as a run
// reads it and its files looked up in the collected system, with no archive,
// no printer and no facts about the computer.

#include "base/CodedFailure.h"
#include "base/UserMessage.h"
#include "core/filelist/CollectedFileSink.h"
#include "core/filelist/XmlParserClass.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct ListingResult {
    bool listed = false;
    // The failure that ended the listing (codes 5 to 9 for a faulty
    // data.xml), as it was shown; nothing after success.
    std::optional<UserMessage> failure;
    // Every file found and every path that named nothing, in collection order.
    std::vector<ListedPath> paths;
};

// Lists the files of the file list at `dataXmlPath` (nothing: code 5). A
// failure is shown on the reporter with the message a run would show.
ListingResult listConfiguredFiles(const std::optional<std::string>& dataXmlPath);

// The bytes of every file of `fileList` that a run would copy, found by the
// same walk, quietly: no progress lines, no log, nothing read but the files'
// status. A failure ends the count where it stands; the run itself meets it
// again at the same point.
std::uint64_t bytesOfConfiguredFiles(const XmlDictionary& fileList);

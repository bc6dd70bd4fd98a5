#pragma once
// The real bundle reader: <bundle>/Contents/Info.plist, XML or binary, parsed
// with libplist.

#include "platform/BundleReader.h"

#include <string_view>

namespace platform {

class InfoPlistBundleReader final : public BundleReader {
public:
    std::optional<std::string> infoDictionaryString(const std::string& bundlePath,
                                                    const std::string& key) const override;
};

// The text under `key` of the dictionary that a property list (XML or binary)
// holds at its top; nothing when the data is malformed, exceeds the limits of
// PropertyListLimits.h, or has no such text. Texts must be valid UTF-8.
std::optional<std::string> topLevelDictionaryString(std::string_view propertyList, const std::string& key);

} // namespace platform

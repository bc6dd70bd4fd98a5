#pragma once
// Reads values from the information dictionary of a bundle directory
// (<bundle>/Contents/Info.plist).

#include <optional>
#include <string>

namespace platform {

class BundleReader {
public:
    virtual ~BundleReader() = default;
    // The text stored under `key` in the information dictionary of the bundle
    // directory at `bundlePath` (a path of the collected system), as UTF-8.
    // Nothing when there is no bundle directory there, when its dictionary
    // is missing, unreadable, malformed or too large, and when the value is
    // missing or not a text.
    virtual std::optional<std::string> infoDictionaryString(const std::string& bundlePath,
                                                            const std::string& key) const = 0;
};

// Reads the bundles of the installed collected system.
BundleReader& realBundleReader();

} // namespace platform

#include "platform/linux/InfoPlistBundleReader.h"

#include "base/Utf8.h"
#include "platform/CollectedSystem.h"
#include "platform/Services.h"
#include "platform/linux/PropertyListLimits.h"
#include "platform/posix/BoundedRead.h"

#include <plist/plist.h>

#include <sys/stat.h>

#include <cstdint>
#include <memory>

namespace platform {
namespace {

struct PlistFree {
    void operator()(plist_t node) const { plist_free(node); }
};
using PlistHandle = std::unique_ptr<std::remove_pointer_t<plist_t>, PlistFree>;

} // namespace

std::optional<std::string> topLevelDictionaryString(std::string_view propertyList, const std::string& key)
{
    if (propertyList.size() > PROPERTY_LIST_MAX_BYTES)
        return std::nullopt;
    const auto length = static_cast<std::uint32_t>(propertyList.size());
    plist_t parsed = nullptr;
    if (looksLikeBinaryPropertyList(propertyList)) {
        if (!binaryPropertyListWithinLimits(propertyList))
            return std::nullopt;
        plist_from_bin(propertyList.data(), length, &parsed);
    } else {
        if (propertyList.empty() || !xmlPropertyListWithinLimits(propertyList))
            return std::nullopt;
        plist_from_xml(propertyList.data(), length, &parsed);
    }
    PlistHandle root(parsed);
    if (!root || plist_get_node_type(root.get()) != PLIST_DICT)
        return std::nullopt;
    plist_t value = plist_dict_get_item(root.get(), key.c_str());
    if (value == nullptr || plist_get_node_type(value) != PLIST_STRING)
        return std::nullopt;
    // By pointer and length: the library's copying accessor aborts the
    // whole program on a text that holds a NUL byte.
    std::uint64_t size = 0;
    const char* text = plist_get_string_ptr(value, &size);
    if (text == nullptr)
        return std::nullopt;
    std::string result(text, static_cast<std::size_t>(size));
    // Text with a NUL or that is not UTF-8 is a malformed dictionary, not a version.
    if (result.find('\0') != std::string::npos || !isValidUtf8(result))
        return std::nullopt;
    return result;
}

std::optional<std::string> InfoPlistBundleReader::infoDictionaryString(const std::string& bundlePath,
                                                                       const std::string& key) const
{
    const CollectedSystem& system = collectedSystem();
    std::error_code error;
    // A bundle is a directory; a plain file that carries a bundle's name is none.
    const auto bundle = system.status(bundlePath, error);
    if (!bundle || !S_ISDIR(bundle->st_mode))
        return std::nullopt;
    FileDescriptor file = system.openForReading(bundlePath + "/Contents/Info.plist", error);
    struct stat status {};
    if (!file || fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode))
        return std::nullopt;
    BoundedRead data = readAtMost(file.get(), PROPERTY_LIST_MAX_BYTES);
    if (data.outcome != BoundedReadOutcome::complete)
        return std::nullopt;
    return topLevelDictionaryString(data.data, key);
}

BundleReader& realBundleReader()
{
    static InfoPlistBundleReader instance;
    return instance;
}

} // namespace platform

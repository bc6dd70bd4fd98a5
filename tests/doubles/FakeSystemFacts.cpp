#include "FakeSystemFacts.h"

#include "TestFiles.h"

#include <cstdlib>
#include <memory>

namespace testing_support {

std::string dictionaryPropertyList(std::initializer_list<std::pair<std::string, plist_t>> items, PlistFormat format)
{
    std::unique_ptr<std::remove_pointer_t<plist_t>, void (*)(plist_t)> dictionary(plist_new_dict(), plist_free);
    for (const auto& [key, value] : items)
        plist_dict_set_item(dictionary.get(), key.c_str(), value);
    char* bytes = nullptr;
    std::uint32_t length = 0;
    if (format == PlistFormat::xml)
        plist_to_xml(dictionary.get(), &bytes, &length);
    else
        plist_to_bin(dictionary.get(), &bytes, &length);
    std::string result(bytes, length);
    std::free(bytes);
    return result;
}

std::string versionPropertyList(const std::string& version, PlistFormat format)
{
    return dictionaryPropertyList({{"CFBundleName", plist_new_string("Tool")},
                                   {"CFBundleVersion", plist_new_string(version.c_str())}},
                                  format);
}

void writeBundle(const std::string& bundleDirectory, const std::string& infoPlist)
{
    writeFile(bundleDirectory + "/Contents/Info.plist", infoPlist);
}

} // namespace testing_support

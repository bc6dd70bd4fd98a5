#include "tests/doubles/FakeSystemFacts.h"

#include "tests/doubles/TestFiles.h"

#include <cstdint>
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
    return dictionaryPropertyList(
        {{"CFBundleName", plist_new_string("Tool")}, {"CFBundleVersion", plist_new_string(version.c_str())}}, format);
}

void writeBundle(const std::string& bundleDirectory, const std::string& infoPlist)
{
    writeFile(bundleDirectory + "/Contents/Info.plist", infoPlist);
}

// A binary property list made by hand, for shapes no writer produces.
// Objects are given with 2-byte references; offsets are 4 bytes wide.
std::string handMadeBinaryPlist(const std::vector<std::string>& objects)
{
    std::string out = "bplist00";
    std::vector<std::uint32_t> offsets;
    for (const std::string& object : objects) {
        offsets.push_back(static_cast<std::uint32_t>(out.size()));
        out += object;
    }
    const std::uint64_t table = out.size();
    for (std::uint32_t offset : offsets)
        for (int shift = 24; shift >= 0; shift -= 8)
            out += static_cast<char>((offset >> shift) & 0xFF);
    out += std::string(6, '\0');
    out += '\x04';
    out += '\x02';
    auto put64 = [&](std::uint64_t value) {
        for (int shift = 56; shift >= 0; shift -= 8)
            out += static_cast<char>((value >> shift) & 0xFF);
    };
    put64(objects.size());
    put64(0);
    put64(table);
    return out;
}

std::string binaryArrayOf(std::initializer_list<std::uint16_t> references)
{
    std::string object(1, static_cast<char>(0xA0 | references.size()));
    for (std::uint16_t reference : references) {
        object += static_cast<char>(reference >> 8);
        object += static_cast<char>(reference & 0xFF);
    }
    return object;
}

} // namespace testing_support

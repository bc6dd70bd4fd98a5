#include "InfoPlistBundleReader.h"

#include "PropertyListLimits.h"
#include "Services.h"

#include <plist/plist.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <memory>

namespace platform {
namespace {

struct PlistFree {
    void operator()(plist_t node) const { plist_free(node); }
};
using PlistHandle = std::unique_ptr<std::remove_pointer_t<plist_t>, PlistFree>;

struct CharFree {
    void operator()(char* text) const { std::free(text); }
};

class Descriptor {
public:
    explicit Descriptor(int descriptor) : descriptor_(descriptor) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor()
    {
        if (descriptor_ >= 0)
            ::close(descriptor_);
    }
    int get() const { return descriptor_; }

private:
    int descriptor_;
};

// The whole file, when it is a regular file of at most `limit` bytes.
std::optional<std::string> readBoundedRegularFile(const std::string& path, std::size_t limit)
{
    // Never wait on a FIFO put where the dictionary should be.
    Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat status {};
    if (file.get() < 0 || fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode))
        return std::nullopt;
    if (status.st_size < 0 || static_cast<std::uint64_t>(status.st_size) > limit)
        return std::nullopt;
    std::string data;
    char chunk[65536];
    for (;;) {
        ssize_t count = ::read(file.get(), chunk, sizeof chunk);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            return std::nullopt;
        if (count == 0)
            return data;
        // The file may have grown since its size was taken.
        if (data.size() + static_cast<std::size_t>(count) > limit)
            return std::nullopt;
        data.append(chunk, static_cast<std::size_t>(count));
    }
}

bool isValidUtf8(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size()) {
        auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x80) {
            ++i;
            continue;
        }
        std::size_t length;
        std::uint32_t codePoint;
        std::uint32_t smallest;
        if ((byte & 0xE0) == 0xC0) {
            length = 2, codePoint = byte & 0x1Fu, smallest = 0x80;
        } else if ((byte & 0xF0) == 0xE0) {
            length = 3, codePoint = byte & 0x0Fu, smallest = 0x800;
        } else if ((byte & 0xF8) == 0xF0) {
            length = 4, codePoint = byte & 0x07u, smallest = 0x10000;
        } else {
            return false;
        }
        if (text.size() - i < length)
            return false;
        for (std::size_t k = 1; k < length; ++k) {
            auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80)
                return false;
            codePoint = (codePoint << 6) | (next & 0x3Fu);
        }
        if (codePoint < smallest || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
            return false;
        i += length;
    }
    return true;
}

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
    char* raw = nullptr;
    plist_get_string_val(value, &raw);
    std::unique_ptr<char, CharFree> text(raw);
    if (!text)
        return std::nullopt;
    std::string result(text.get());
    // Text that is not UTF-8 is a malformed dictionary, not a version.
    if (!isValidUtf8(result))
        return std::nullopt;
    return result;
}

std::optional<std::string> InfoPlistBundleReader::infoDictionaryString(const std::string& bundlePath,
                                                                       const std::string& key) const
{
    const std::string bundle = hostPath(bundlePath);
    struct stat status {};
    // A bundle is a directory; a plain file that carries a bundle's name is none.
    if (stat(bundle.c_str(), &status) != 0 || !S_ISDIR(status.st_mode))
        return std::nullopt;
    auto data = readBoundedRegularFile(bundle + "/Contents/Info.plist", PROPERTY_LIST_MAX_BYTES);
    if (!data)
        return std::nullopt;
    return topLevelDictionaryString(*data, key);
}

BundleReader& realBundleReader()
{
    static InfoPlistBundleReader instance;
    return instance;
}

BundleReader& bundles()
{
    BundleReader* installed = currentServices().bundles;
    return installed ? *installed : realBundleReader();
}

} // namespace platform

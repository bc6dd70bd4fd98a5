// Arbitrary bytes as an information dictionary: whatever comes out, nothing
// may crash, hang, read out of bounds or exhaust the memory, and a version
// that comes out is valid UTF-8 no longer than the input.
#include "base/Utf8.h"
#include "platform/linux/InfoPlistBundleReader.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view list(reinterpret_cast<const char*>(data), size);
    auto version = platform::topLevelDictionaryString(list, "CFBundleVersion");
    if (version && (version->size() > size || !isValidUtf8(*version)))
        std::abort();
    return 0;
}

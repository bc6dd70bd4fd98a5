#include "core/archive/EntryNameEncoding.h"

#include "base/Utf8.h"

#include <algorithm>

namespace {

bool isPlainAscii(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char byte) { return static_cast<unsigned char>(byte) < 0x80; });
}

} // namespace

unsigned long generalPurposeFlagsForEntryName(std::string_view name)
{
    if (isPlainAscii(name) || !isValidUtf8(name))
        return 0;
    return UTF8_NAME_FLAG;
}

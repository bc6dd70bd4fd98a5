#pragma once
// The one UTF-8 check: well-formed sequences of shortest form, no surrogates,
// nothing beyond U+10FFFF.

#include <cstddef>
#include <optional>
#include <string_view>

// The number of UTF-16 code units the text takes; nothing when it is not
// valid UTF-8.
std::optional<std::size_t> utf16UnitCount(std::string_view text);

inline bool isValidUtf8(std::string_view text)
{
    return utf16UnitCount(text).has_value();
}

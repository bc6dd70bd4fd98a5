#pragma once
// The one UTF-8 check: well-formed sequences of shortest form, no surrogates,
// nothing beyond U+10FFFF.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

// One character decoded from the start of a text.
struct Utf8Character {
    std::uint32_t codePoint = 0;
    std::size_t length = 0;
};

// The character that starts at `at`; nothing when the bytes there are not a
// valid UTF-8 sequence.
std::optional<Utf8Character> utf8CharacterAt(std::string_view text, std::size_t at);

// The number of UTF-16 code units the text takes; nothing when it is not
// valid UTF-8.
std::optional<std::size_t> utf16UnitCount(std::string_view text);

inline bool isValidUtf8(std::string_view text)
{
    return utf16UnitCount(text).has_value();
}

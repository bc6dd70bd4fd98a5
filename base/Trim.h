#pragma once

#include <string_view>

// The characters a text is trimmed of: blank, tab, carriage return, line feed.
inline constexpr std::string_view WHITE_SPACE = " \t\r\n";

// The text without white space at its start.
constexpr std::string_view trimmedAtStart(std::string_view text)
{
    const auto first = text.find_first_not_of(WHITE_SPACE);
    return first == std::string_view::npos ? std::string_view{} : text.substr(first);
}

// The text without white space at either end.
constexpr std::string_view trimmed(std::string_view text)
{
    text = trimmedAtStart(text);
    const auto last = text.find_last_not_of(WHITE_SPACE);
    return last == std::string_view::npos ? std::string_view{} : text.substr(0, last + 1);
}

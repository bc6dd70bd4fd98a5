#include "base/Utf8.h"

std::optional<Utf8Character> utf8CharacterAt(std::string_view text, std::size_t at)
{
    if (at >= text.size())
        return std::nullopt;
    const auto lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x80)
        return Utf8Character{lead, 1};
    std::size_t length;
    std::uint32_t codePoint;
    std::uint32_t smallest;
    if ((lead & 0xE0) == 0xC0) {
        length = 2, codePoint = lead & 0x1Fu, smallest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, codePoint = lead & 0x0Fu, smallest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, codePoint = lead & 0x07u, smallest = 0x10000;
    } else {
        return std::nullopt;
    }
    if (text.size() - at < length)
        return std::nullopt;
    for (std::size_t k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[at + k]);
        if ((next & 0xC0) != 0x80)
            return std::nullopt;
        codePoint = (codePoint << 6) | (next & 0x3Fu);
    }
    if (codePoint < smallest || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
        return std::nullopt;
    return Utf8Character{codePoint, length};
}

std::optional<std::size_t> utf16UnitCount(std::string_view text)
{
    std::size_t units = 0;
    for (std::size_t i = 0; i < text.size();) {
        const auto character = utf8CharacterAt(text, i);
        if (!character)
            return std::nullopt;
        units += character->codePoint >= 0x10000 ? 2 : 1;
        i += character->length;
    }
    return units;
}

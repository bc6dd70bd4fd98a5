#include "base/TerminalText.h"

#include "base/Utf8.h"

#include <unistd.h>

namespace {

void appendOctalEscape(std::string& out, unsigned char byte)
{
    out += '\\';
    out += static_cast<char>('0' + ((byte >> 6) & 7));
    out += static_cast<char>('0' + ((byte >> 3) & 7));
    out += static_cast<char>('0' + (byte & 7));
}

void appendControlEscape(std::string& out, unsigned char byte)
{
    switch (byte) {
    case '\a':
        out += "\\a";
        return;
    case '\b':
        out += "\\b";
        return;
    case '\t':
        out += "\\t";
        return;
    case '\n':
        out += "\\n";
        return;
    case '\v':
        out += "\\v";
        return;
    case '\f':
        out += "\\f";
        return;
    case '\r':
        out += "\\r";
        return;
    default:
        appendOctalEscape(out, byte);
        return;
    }
}

bool isControl(std::uint32_t codePoint)
{
    return codePoint < 0x20 || (codePoint >= 0x7F && codePoint <= 0x9F);
}

} // namespace

std::string escapedForTerminal(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto character = utf8CharacterAt(text, i);
        if (!character) {
            // A stray byte such as 0x9B is a control sequence introducer to
            // a terminal that reads eight-bit controls.
            appendOctalEscape(out, static_cast<unsigned char>(text[i]));
            ++i;
            continue;
        }
        if (character->codePoint == '\\') {
            out += "\\\\";
        } else if (character->length == 1 && isControl(character->codePoint)) {
            appendControlEscape(out, static_cast<unsigned char>(text[i]));
        } else if (isControl(character->codePoint)) {
            for (std::size_t k = 0; k < character->length; ++k)
                appendOctalEscape(out, static_cast<unsigned char>(text[i + k]));
        } else {
            out.append(text.substr(i, character->length));
        }
        i += character->length;
    }
    return out;
}

std::string shownOn(int descriptor, std::string_view text)
{
    return isatty(descriptor) == 1 ? escapedForTerminal(text) : std::string(text);
}

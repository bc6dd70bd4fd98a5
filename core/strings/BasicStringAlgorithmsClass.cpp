#include "core/strings/BasicStringAlgorithmsClass.h"

#include "base/ErrorCodes.h"
#include "base/HexDigits.h"
#include "base/Trim.h"
#include "base/Utf8.h"

#include <iconv.h>

#include <cerrno>
#include <charconv>
#include <memory>
#include <vector>

// The same four characters as every other trim of the tool.
const char* const TRAILING_CHARACTERS = WHITE_SPACE.data();

namespace {

const char LOWER_HEX_DIGITS[] = "0123456789abcdef";
const char UPPER_HEX_DIGITS[] = "0123456789ABCDEF";

template <typename Number>
std::string decimalText(Number value)
{
    // to_chars never consults the locale, so the digits stay plain whatever
    // the user's settings.
    char buffer[32];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

const char* iconvName(CFStringEncoding encoding)
{
    switch (encoding) {
    case kCFStringEncodingMacRoman:
        return "MACINTOSH";
    case kCFStringEncodingUTF8:
        return "UTF-8";
    default:
        return nullptr;
    }
}

struct IconvCloser {
    void operator()(void* descriptor) const { iconv_close(static_cast<iconv_t>(descriptor)); }
};

} // namespace

bool BasicStringAlgorithmsClass::doesStringStartWithTestString(std::string text, std::string test)
{
    return text.size() >= test.size() && text.compare(0, test.size(), test) == 0;
}

bool BasicStringAlgorithmsClass::doesStringEndWithTestString(std::string text, std::string test)
{
    return text.size() >= test.size() && text.compare(text.size() - test.size(), test.size(), test) == 0;
}

std::string BasicStringAlgorithmsClass::getStringStrippedFromTheBeginning(std::string text)
{
    return std::string(trimmedAtStart(text));
}

std::string BasicStringAlgorithmsClass::convertToString(unsigned long long value)
{
    return decimalText(value);
}

std::string BasicStringAlgorithmsClass::convertToString(int value)
{
    return decimalText(value);
}

std::string BasicStringAlgorithmsClass::convertUnsignedCharArrayToString(const unsigned char* data, int length)
{
    if (length <= 0 || data == nullptr)
        return {};
    return std::string(reinterpret_cast<const char*>(data), static_cast<std::size_t>(length));
}

std::string BasicStringAlgorithmsClass::stringReplace(std::string text, std::string from, std::string to)
{
    // An empty search text would match everywhere for ever; nothing to replace.
    if (from == to || from.empty())
        return text;
    std::size_t position = 0;
    while ((position = text.find(from, position)) != std::string::npos) {
        text.replace(position, from.size(), to);
        position += to.size();
    }
    return text;
}

std::string BasicStringAlgorithmsClass::stringToLowercase(std::string text)
{
    // The POSIX locale's mapping: only the 26 ASCII letters change.
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

std::string BasicStringAlgorithmsClass::stringToUppercase(std::string text)
{
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

std::string BasicStringAlgorithmsClass::joinList(std::list<std::string> items, std::string separator)
{
    std::string joined;
    bool first = true;
    for (const auto& item : items) {
        if (!first)
            joined += separator;
        joined += item;
        first = false;
    }
    return joined;
}

std::string BasicStringAlgorithmsClass::convertIntToTwoByteHexString(int value)
{
    if (value > 0xFFFF)
        throw CodedFailure{ERROR_HEX_CONVERSION};
    // A negative value is written as its 32-bit two's complement, as callers
    // never pass one.
    auto bits = static_cast<std::uint32_t>(value);
    char buffer[16];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, bits, 16);
    std::string digits(buffer, result.ptr);
    if (digits.size() < 4)
        digits.insert(0, 4 - digits.size(), '0');
    return digits;
}

std::string BasicStringAlgorithmsClass::convertCharToHexPair(char byte)
{
    auto value = static_cast<unsigned char>(byte);
    return {LOWER_HEX_DIGITS[value >> 4], LOWER_HEX_DIGITS[value & 0x0F]};
}

std::string BasicStringAlgorithmsClass::convertCharacterStringToHex(std::string bytes)
{
    std::string hex;
    if (bytes.empty())
        return hex;
    hex.reserve(bytes.size() * 3 - 1);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        auto value = static_cast<unsigned char>(bytes[i]);
        if (i > 0)
            hex += ' ';
        hex += UPPER_HEX_DIGITS[value >> 4];
        hex += UPPER_HEX_DIGITS[value & 0x0F];
    }
    return hex;
}

char BasicStringAlgorithmsClass::convertHexPairToCharacter(std::string pair)
{
    if (pair.size() != 2)
        throw CodedFailure{ERROR_HEX_CONVERSION};
    int high = hexDigitValue(pair[0]);
    if (high < 0)
        throw CodedFailure{ERROR_HEX_CONVERSION};
    int low = hexDigitValue(pair[1]);
    if (low < 0)
        throw CodedFailure{ERROR_HEX_CONVERSION};
    return static_cast<char>(high * 16 + low);
}

std::string BasicStringAlgorithmsClass::convertHexStringToCommandString(std::string hexText)
{
    std::string digits = stringToLowercase(stringReplace(std::move(hexText), " ", ""));
    std::size_t pairs = digits.size() / 2;
    std::string command;
    command.reserve(pairs);
    for (std::size_t i = 0; i < pairs; ++i)
        command += convertHexPairToCharacter(digits.substr(2 * i, 2));
    return command;
}

std::string BasicStringAlgorithmsClass::getStringFromCFStringRef(CFStringRef string, CFStringEncoding encoding)
{
    if (string == nullptr)
        throw CodedFailure{ERROR_STRING_CONVERSION};
    const char* target = iconvName(encoding);
    const std::optional<std::size_t> units = utf16UnitCount(string->utf8);
    if (target == nullptr || !units)
        throw CodedFailure{ERROR_STRING_CONVERSION};

    // The result must fit in one byte per UTF-16 unit, the terminating NUL
    // aside, just as the platform's conversion into such a buffer would.
    const std::size_t capacity = *units;
    std::unique_ptr<void, IconvCloser> converter(iconv_open(target, "UTF-8"));
    if (converter.get() == reinterpret_cast<void*>(-1)) {
        converter.release();
        throw CodedFailure{ERROR_STRING_CONVERSION};
    }
    std::string input = string->utf8;
    std::vector<char> output(capacity + 1);
    char* in = input.data();
    std::size_t inLeft = input.size();
    char* out = output.data();
    std::size_t outLeft = capacity;
    if (iconv(static_cast<iconv_t>(converter.get()), &in, &inLeft, &out, &outLeft) == static_cast<std::size_t>(-1))
        throw CodedFailure{ERROR_STRING_CONVERSION};
    if (iconv(static_cast<iconv_t>(converter.get()), nullptr, nullptr, &out, &outLeft) == static_cast<std::size_t>(-1))
        throw CodedFailure{ERROR_STRING_CONVERSION};
    *out = '\0';
    // The text ends at its first NUL, as a C string would.
    return std::string(output.data());
}

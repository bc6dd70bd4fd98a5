#pragma once
// The small text operations every part of the report uses: decimal and
// hexadecimal conversions, prefix and suffix tests, leading white-space
// removal, replacement, ASCII case mapping and list joining. Strings are byte
// strings: one character is one byte, NUL bytes allowed.

#include <cstdint>
#include <list>
#include <string>

// The characters getStringStrippedFromTheBeginning removes: blank, tab,
// carriage return, line feed.
extern const char* const TRAILING_CHARACTERS;

// There is no CoreFoundation here. A platform string is a text that the
// system handed over as UTF-8 (a bundle's version, for instance); the handle
// and the encoding numbers keep the names and values the report was written
// against.
struct PlatformString {
    std::string utf8;
};
using CFStringRef = const PlatformString*;
using CFStringEncoding = std::uint32_t;
constexpr CFStringEncoding kCFStringEncodingMacRoman = 0;
constexpr CFStringEncoding kCFStringEncodingUTF8 = 0x08000100;

class BasicStringAlgorithmsClass {
public:
    BasicStringAlgorithmsClass() = delete;

    static bool doesStringStartWithTestString(std::string text, std::string test);
    static bool doesStringEndWithTestString(std::string text, std::string test);
    static std::string getStringStrippedFromTheBeginning(std::string text);

    static std::string convertToString(unsigned long long value);
    static std::string convertToString(int value);
    static std::string convertUnsignedCharArrayToString(const unsigned char* data, int length);

    static std::string stringReplace(std::string text, std::string from, std::string to);
    static std::string stringToLowercase(std::string text);
    static std::string stringToUppercase(std::string text);
    static std::string joinList(std::list<std::string> items, std::string separator);

    // Four lowercase hexadecimal digits of a USB ID; code 12 above 65535.
    static std::string convertIntToTwoByteHexString(int value);
    static std::string convertCharToHexPair(char byte);
    // Answer hex: "0A FF 00", two uppercase digits per byte, one blank between.
    static std::string convertCharacterStringToHex(std::string bytes);
    // Two lowercase hexadecimal digits to their byte; code 12 otherwise.
    static char convertHexPairToCharacter(std::string pair);
    // Command text such as "A5 00 07" to its bytes; code 12 for a bad digit.
    static std::string convertHexStringToCommandString(std::string hexText);

    // The string's bytes in the encoding, within one byte per UTF-16 unit of
    // the string; code 3 when the string cannot be converted.
    static std::string getStringFromCFStringRef(CFStringRef string, CFStringEncoding encoding);
};

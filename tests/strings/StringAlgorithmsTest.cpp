// The text operations whose formats the device report, the printer commands
// and the file collection rely on.
#include "base/ErrorCodes.h"
#include "core/strings/BasicStringAlgorithmsClass.h"
#include "tests/doubles/Expectations.h"
#include "tests/doubles/TestFiles.h"

#include <gtest/gtest.h>

using testing_support::expectCode;

#include <langinfo.h>

#include <climits>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <locale>
#include <stdexcept>

using S = BasicStringAlgorithmsClass;
using namespace std::string_literals;

namespace {

// Switches the process to a locale (C and C++) and back.
class ProcessLocale {
public:
    explicit ProcessLocale(const std::string& name)
        : previousC_(std::setlocale(LC_ALL, nullptr)),
          previousCpp_(std::locale())
    {
        try {
            std::locale::global(std::locale(name));
            active_ = true;
        } catch (const std::runtime_error&) {
        }
    }
    ~ProcessLocale()
    {
        std::locale::global(previousCpp_);
        std::setlocale(LC_ALL, previousC_.c_str());
    }
    ProcessLocale(const ProcessLocale&) = delete;
    ProcessLocale& operator=(const ProcessLocale&) = delete;
    bool active() const { return active_; }

private:
    std::string previousC_;
    std::locale previousCpp_;
    bool active_ = false;
};

} // namespace

TEST(StringAlgorithms, PrefixAndSuffixTestsAreExactAndByteWise)
{
    struct Case {
        std::string text, test;
        bool starts, ends;
    } cases[] = {
        {"", "", true, true},
        {"abc", "", true, true},
        {"ab", "abc", false, false},
        {"ABC", "a", false, false},
        {"/var/log/a.log", "/var", true, false},
        {"/var/log/a.log", ".log", false, true},
        {"abc", "abc", true, true},
        {"aXa", "a", true, true},
        {"a\0b"s, "a\0"s, true, false},
        {"a\0b"s, "\0b"s, false, true},
        {"a\0b"s, "a"s, true, false},
        {"x\xFF", "\xFF", false, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(S::doesStringStartWithTestString(c.text, c.test), c.starts) << c.text << " / " << c.test;
        EXPECT_EQ(S::doesStringEndWithTestString(c.text, c.test), c.ends) << c.text << " / " << c.test;
    }
}

TEST(StringAlgorithms, StripsOnlyLeadingBlanksTabsAndLineEnds)
{
    EXPECT_STREQ(TRAILING_CHARACTERS, " \t\r\n");
    const std::pair<std::string, std::string> cases[] = {
        {"", ""},           {" \r\n\t", ""}, {" \t/Users/x/log.txt \n", "/Users/x/log.txt \n"},
        {"\v\fx", "\v\fx"}, // vertical tab and form feed are not stripped
        {"\0 x"s, "\0 x"s}, // neither is a NUL byte
        {"\r\n\0"s, "\0"s}, {"x", "x"},
    };
    for (const auto& [text, stripped] : cases)
        EXPECT_EQ(S::getStringStrippedFromTheBeginning(text), stripped) << text;
}

TEST(StringAlgorithms, DecimalTextIsPlainInAnyLocale)
{
    ProcessLocale german("de_DE.UTF-8");
    if (!german.active())
        GTEST_SKIP() << "de_DE.UTF-8 is not installed";
    EXPECT_EQ(S::convertToString(-5), "-5");
    EXPECT_EQ(S::convertToString(0), "0");
    EXPECT_EQ(S::convertToString(1234567), "1234567");
    EXPECT_EQ(S::convertToString(INT_MIN), "-2147483648");
    EXPECT_EQ(S::convertToString(0ULL), "0");
    EXPECT_EQ(S::convertToString(1234567ULL), "1234567");
    EXPECT_EQ(S::convertToString(18446744073709551615ULL), "18446744073709551615");
}

namespace {

// Every byte whose case map is not plain ASCII, described; empty when all are.
std::string caseMapFaults()
{
    std::string all;
    for (int byte = 0; byte < 256; ++byte)
        all += static_cast<char>(byte);
    const std::string lower = S::stringToLowercase(all);
    const std::string upper = S::stringToUppercase(all);
    if (lower.size() != 256 || upper.size() != 256)
        return "length changed\n";
    std::string faults;
    for (int byte = 0; byte < 256; ++byte) {
        const int expectedLower = byte >= 'A' && byte <= 'Z' ? byte + 32 : byte;
        const int expectedUpper = byte >= 'a' && byte <= 'z' ? byte - 32 : byte;
        if (static_cast<unsigned char>(lower[byte]) != expectedLower ||
            static_cast<unsigned char>(upper[byte]) != expectedUpper)
            faults += "byte " + std::to_string(byte) + "\n";
    }
    return faults;
}

} // namespace

// Umlauts, in ISO-8859-1 (0xC4, 0xE4, ...) or UTF-8, never change case.
TEST(StringAlgorithms, CaseMapsChangeOnlyAsciiLettersInAnyLocale)
{
    {
        ProcessLocale german("de_DE.UTF-8");
        if (german.active()) {
            EXPECT_EQ(caseMapFaults(), "");
        }
    }
    // In a German single-byte locale the C library itself maps 0xC4 and 0xE4
    // onto each other. Debian installs none, so one is compiled into a
    // temporary directory and used through LOCPATH, in a child process: the C
    // library keeps a few bytes for LOCPATH for good, which the leak checker
    // would report.
    testing_support::TempDir dir;
    const auto built = testing_support::runProcess(
        {"localedef", "--no-archive", "-i", "de_DE", "-f", "ISO-8859-1", dir / "de_DE.ISO-8859-1"}, {});
    if (built.exitStatus != 0)
        GTEST_SKIP() << "no German ISO-8859-1 locale could be built";
    EXPECT_EXIT(
        {
            setenv("LOCPATH", dir.path().c_str(), 1);
            ProcessLocale latin1("de_DE.ISO-8859-1");
            if (!latin1.active() || std::string(nl_langinfo(CODESET)) != "ISO-8859-1") {
                std::fputs("the ISO-8859-1 locale is not in effect\n", stderr);
                std::_Exit(2);
            }
            const std::string faults = caseMapFaults();
            std::fputs(faults.c_str(), stderr);
            std::_Exit(faults.empty() ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST(StringAlgorithms, BytesFromAnArrayKeepNulAndIgnoreNonPositiveLengths)
{
    const unsigned char bytes[] = {0x41, 0x00, 0x42, 0xFF};
    EXPECT_EQ(S::convertUnsignedCharArrayToString(bytes, 3), "A\0B"s);
    EXPECT_EQ(S::convertUnsignedCharArrayToString(bytes, 4), "A\0B\xFF"s);
    EXPECT_EQ(S::convertUnsignedCharArrayToString(bytes, 0), "");
    EXPECT_EQ(S::convertUnsignedCharArrayToString(bytes, -1), "");
}

TEST(StringAlgorithms, ReplacementGoesLeftToRightWithoutRescanningInsertedText)
{
    struct Case {
        std::string text, from, to, result;
    } cases[] = {
        {"a  b", " ", "", "ab"},
        {"aba", "a", "aa", "aabaa"},
        {"aaa", "aa", "b", "ba"}, // occurrences do not overlap
        {"xax", "a", "ab", "xabx"},
        {"same", "am", "am", "same"},
        {"abc", "", "x", "abc"}, // an empty search text must terminate
        {"", "a", "b", ""},
        {"a\0b\0"s, "\0"s, "-", "a-b-"},
        {"A5 00 07", " ", "", "A50007"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(S::stringReplace(c.text, c.from, c.to), c.result) << c.text << ": " << c.from << " -> " << c.to;
}

TEST(StringAlgorithms, JoinPutsTheSeparatorOnlyBetweenItems)
{
    struct Case {
        std::list<std::string> items;
        std::string separator, joined;
    } cases[] = {
        {{}, ";", ""},
        {{}, "", ""},
        {{"only"}, ";", "only"},
        {{"a", "b", "c"}, ";", "a;b;c"},
        {{"a", "", "b"}, ";", "a;;b"},
        {{"", ""}, "\r\n", "\r\n"},
        {{"1", "2"}, "", "12"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(S::joinList(c.items, c.separator), c.joined);
}

TEST(StringAlgorithms, UsbIdsAreFourLowercaseDigits)
{
    const std::pair<int, const char*> cases[] = {
        {0, "0000"}, {38, "0026"}, {0xabc, "0abc"}, {0xF0C7, "f0c7"}, {65535, "ffff"}, {-1, "ffffffff"},
    };
    for (const auto& [value, text] : cases)
        EXPECT_EQ(S::convertIntToTwoByteHexString(value), text) << value;
    for (int tooLarge : {65536, 0x12345, INT_MAX})
        expectCode(
            ERROR_HEX_CONVERSION, [&] { S::convertIntToTwoByteHexString(tooLarge); }, std::to_string(tooLarge));
}

TEST(StringAlgorithms, EveryByteRoundTripsThroughItsHexPairUnsigned)
{
    for (int value = 0; value < 256; ++value) {
        const char byte = static_cast<char>(value);
        char expected[3];
        std::snprintf(expected, sizeof expected, "%02x", value);
        const std::string pair = S::convertCharToHexPair(byte);
        EXPECT_EQ(pair, expected);
        EXPECT_EQ(S::convertHexPairToCharacter(pair), byte) << pair;
        EXPECT_EQ(S::convertCharacterStringToHex(std::string(1, byte)), S::stringToUppercase(expected));
    }
}

TEST(StringAlgorithms, HexPairRefusesAnythingButTwoLowercaseDigits)
{
    for (const std::string& bad : {"0A"s, "0"s, ""s, "0x"s, "abc"s, "g0"s, "0g"s, " 0"s, "0 "s, "\0\0"s, "-1"s, "+1"s})
        expectCode(
            ERROR_HEX_CONVERSION, [&] { S::convertHexPairToCharacter(bad); }, "pair '" + bad + "'");
}

TEST(StringAlgorithms, AnswerHexHasOneBlankBetweenUppercasePairs)
{
    EXPECT_EQ(S::convertCharacterStringToHex(""), "");
    EXPECT_EQ(S::convertCharacterStringToHex("\x0A"), "0A");
    EXPECT_EQ(S::convertCharacterStringToHex("\xFF"), "FF");
    EXPECT_EQ(S::convertCharacterStringToHex("\x01\x00\x3F"s), "01 00 3F");
    EXPECT_EQ(S::convertCharacterStringToHex("\xAB\xCD\xEF\x80"), "AB CD EF 80");
    std::string all;
    for (int byte = 0; byte < 256; ++byte)
        all += static_cast<char>(byte);
    const std::string hex = S::convertCharacterStringToHex(all);
    ASSERT_EQ(hex.size(), 3u * 256u - 1u);
    EXPECT_EQ(hex.substr(0, 8), "00 01 02");
    EXPECT_EQ(hex.substr(hex.size() - 5), "FE FF");
}

TEST(StringAlgorithms, CommandTextBecomesItsBytes)
{
    const std::pair<std::string, std::string> cases[] = {
        {"a5 00 07", "\xA5\x00\x07"s},
        {"A50007", "\xA5\x00\x07"s},
        {"A500074", "\xA5\x00\x07"s}, // a lone last digit is dropped untested
        {"A50", "\xA5"},
        {"A5 0", "\xA5"},
        {"A 500", "\xA5\x00"s}, // blanks need not stand between pairs
        {"  ", ""},
        {"", ""},
        {"A5000440200000", "\xA5\x00\x04\x40\x20\x00\x00"s},
        {"FFff", "\xFF\xFF"},
        {"A5g", "\xA5"}, // the odd last character is never tested
    };
    for (const auto& [text, bytes] : cases)
        EXPECT_EQ(S::convertHexStringToCommandString(text), bytes) << text;
    for (const std::string& bad : {"A5\t00"s, "a5\r\n"s, "\nA5"s, "0x41"s, "G0"s, "a\0"s, "A5-0"s})
        expectCode(
            ERROR_HEX_CONVERSION, [&] { S::convertHexStringToCommandString(bad); }, "command " + bad);
}

TEST(StringAlgorithms, PlatformStringsConvertToMacRomanOrFailWithCode3)
{
    auto convert = [](const std::string& utf8, CFStringEncoding encoding = kCFStringEncodingMacRoman) {
        PlatformString text{utf8};
        return S::getStringFromCFStringRef(&text, encoding);
    };
    const std::pair<std::string, std::string> convertible[] = {
        {"", ""},
        {"1.2.3", "1.2.3"},
        {"\xC3\xA9", "\x8E"}, // é
        {"Caf\xC3\xA9 2.0", "Caf\x8E 2.0"},
        {"\xC2\xA9 \xE2\x84\xA2", "\xA9 \xAA"}, // © ™: three UTF-8 bytes, one Mac Roman byte
        {"\xC3\x9C", "\x86"},                   // Ü
    };
    for (const auto& [utf8, macRoman] : convertible)
        EXPECT_EQ(convert(utf8), macRoman) << utf8;
    EXPECT_EQ(convert("1.2.3", kCFStringEncodingUTF8), "1.2.3");

    const std::pair<std::string, CFStringEncoding> failing[] = {
        {"\xE4\xB8\xAD", kCFStringEncodingMacRoman},      // a CJK character
        {"v\xF0\x9F\x98\x80", kCFStringEncodingMacRoman}, // an emoji
        {"\xC3", kCFStringEncodingMacRoman},              // cut UTF-8
        {"\xC3(", kCFStringEncodingMacRoman},             // bad continuation
        {"\xC0\xAF", kCFStringEncodingMacRoman},          // overlong
        {"\xED\xA0\x80", kCFStringEncodingMacRoman},      // a lone surrogate
        {"\xFF", kCFStringEncodingMacRoman},
        {"1.2.3", 0x0600},                   // an encoding we do not know
        {"\xC3\xA9", kCFStringEncodingUTF8}, // two bytes for one UTF-16 unit
    };
    for (const auto& [utf8, encoding] : failing)
        expectCode(
            ERROR_STRING_CONVERSION, [&] { convert(utf8, encoding); }, "'" + utf8 + "'");
    expectCode(
        ERROR_STRING_CONVERSION, [] { S::getStringFromCFStringRef(nullptr, kCFStringEncodingMacRoman); },
        "null string");
}

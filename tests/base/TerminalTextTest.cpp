// Text shown on a terminal: control characters and bytes that are not UTF-8
// escaped, every printable character passed as it is.
#include "base/TerminalText.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <utility>

TEST(TerminalText, EscapesBytesThatAreNotUtf8AndKeepsEveryPrintableCharacter)
{
    const std::pair<std::string, std::string> cases[] = {
        {"Grüße, 日本, 🖨.log", "Grüße, 日本, 🖨.log"},
        {"\x9b"
         "31m",
         "\\23331m"},
        {"caf\xe9.log", "caf\\351.log"},
        {"\xc3(", "\\303("},
        // An encoded surrogate and an overlong "/" are no UTF-8 either.
        {"\xed\xa0\x80", "\\355\\240\\200"},
        {"\xc0\xaf", "\\300\\257"},
    };
    for (const auto& [text, escaped] : cases)
        EXPECT_EQ(escapedForTerminal(text), escaped) << text;
}

TEST(TerminalText, ControlCharactersAreEscapedAndOtherTextPasses)
{
    EXPECT_EQ(escapedForTerminal("plain/path é.log"), "plain/path é.log");
    EXPECT_EQ(escapedForTerminal("a\nb"), "a\\nb");
    EXPECT_EQ(escapedForTerminal("\033]0;title\a"), "\\033]0;title\\a");
    EXPECT_EQ(escapedForTerminal("t\tr\r\x7f"), "t\\tr\\r\\177");
    EXPECT_EQ(escapedForTerminal("back\\slash"), "back\\\\slash");
    // A UTF-8 C1 control (U+009B, CSI) is escaped byte by byte.
    EXPECT_EQ(escapedForTerminal("x\xc2\x9b"
                                 "1m"),
              "x\\302\\2331m");
    EXPECT_EQ(escapedForTerminal(std::string_view("\0z", 2)), "\\000z");
}

// Bytes that are not UTF-8 shown on a terminal: escaped, while every valid
// character beyond ASCII passes as it is.
#include "base/TerminalText.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

TEST(TerminalText, EscapesBytesThatAreNotUtf8AndKeepsEveryPrintableCharacter)
{
    const std::pair<std::string, std::string> cases[] = {
        {"Grüße, 日本, 🖨.log", "Grüße, 日本, 🖨.log"},
        {"\x9b" "31m", "\\23331m"},
        {"caf\xe9.log", "caf\\351.log"},
        {"\xc3(", "\\303("},
        // An encoded surrogate and an overlong "/" are no UTF-8 either.
        {"\xed\xa0\x80", "\\355\\240\\200"},
        {"\xc0\xaf", "\\300\\257"},
    };
    for (const auto& [text, escaped] : cases)
        EXPECT_EQ(escapedForTerminal(text), escaped) << text;
}

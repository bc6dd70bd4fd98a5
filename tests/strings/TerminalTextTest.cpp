// Names shown on a terminal: every byte a terminal acts on comes out escaped.
#include "TerminalText.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

TEST(TerminalText, EscapesEveryByteATerminalActsOnAndKeepsPrintableUtf8)
{
    const std::pair<std::string, std::string> cases[] = {
        {"plain name.log", "plain name.log"},
        {"Grüße, 日本, 🖨.log", "Grüße, 日本, 🖨.log"},
        {"a\tb\nc\rd\ae\bf\vg\fh", "a\\tb\\nc\\rd\\ae\\bf\\vg\\fh"},
        {"\x1b]0;title\x07", "\\033]0;title\\a"},
        {std::string("nul\0byte", 8), "nul\\000byte"},
        {"del\x7f", "del\\177"},
        {"back\\slash", "back\\\\slash"},
        // C1 controls, as UTF-8 and as stray bytes; broken sequences.
        {"\xc2\x9b" "31m", "\\302\\23331m"},
        {"\x9b" "31m", "\\23331m"},
        {"\xc3(", "\\303("},
        {"\xed\xa0\x80", "\\355\\240\\200"},
    };
    for (const auto& [text, escaped] : cases)
        EXPECT_EQ(escapedForTerminal(text), escaped) << text;
}

#pragma once
// Text bound for a terminal. Collected file names are the collected system's
// bytes: a name holding escape sequences would retitle or recolour the
// terminal, and one holding a newline would forge lines of the report's
// output. Shown on a terminal, such bytes are escaped as C does (and as
// `ls -b`): "\n", "\t", "\r", "\a", "\b", "\f", "\v", and "\ooo" (three octal
// digits, "\033" for ESC) for other control characters, DEL, the two bytes of
// a UTF-8 C1 control (U+0080 to U+009F) and every byte that is not part of
// valid UTF-8 (a lone 0x9B is a control sequence introducer to some
// terminals). A backslash is doubled so that the escaped form reads back
// unambiguously. Printable UTF-8 passes unchanged.

#include <string>
#include <string_view>

std::string escapedForTerminal(std::string_view text);

// `text` as it may go to the descriptor: escaped when that is a terminal, as
// it stands otherwise (a pipe or a file gets the bytes).
std::string shownOn(int descriptor, std::string_view text);

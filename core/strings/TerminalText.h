#pragma once
// Text bound for a terminal. Collected file names are the collected system's
// bytes: a name holding escape sequences would retitle or recolour the
// terminal, and one holding a newline would forge lines of the report's
// output. Shown on a terminal, such bytes are escaped as C does: "\n", "\t",
// "\r", "\a", "\b", "\f", "\v", and "\ooo" (three octal digits, "\033" for
// ESC) for other control characters, DEL and the two bytes of a UTF-8 C1
// control (U+0080 to U+009F). A backslash is doubled so that the escaped
// form reads back unambiguously. Everything else passes unchanged.

#include <string>
#include <string_view>

std::string escapedForTerminal(std::string_view text);

#pragma once
// Text from outside the tool (file names, paths from data.xml) shown on a
// terminal. A name may hold escape sequences that would move the cursor,
// retitle the window or hide what follows; shown escaped, it is read as it is.

#include <string>
#include <string_view>

// The text with every byte a terminal could act on written as a C escape, as
// `ls -b` does: \a \b \t \n \v \f \r for those controls, \ooo (three octal
// digits) for the other C0 controls, DEL, the C1 controls U+0080 to U+009F
// and every byte that is not part of valid UTF-8. A backslash becomes \\, so
// that the escaped text is unambiguous. Printable UTF-8 stays as it is.
std::string escapedForTerminal(std::string_view text);

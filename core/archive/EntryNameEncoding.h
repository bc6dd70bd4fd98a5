#pragma once
// How an entry's name is declared in the archive. Readers take a name without
// the UTF-8 flag for code page 437, which garbles every name beyond ASCII
// ("drücker" comes out as "dr├╝cker"). The name's bytes never change.

#include <string_view>

// General purpose bit 11: the name and comment are UTF-8.
constexpr unsigned long UTF8_NAME_FLAG = 1ul << 11;

// The general purpose flags an entry called `name` starts from: the UTF-8
// flag when the name is valid UTF-8 beyond plain ASCII, else none, so that
// ASCII names and names in another encoding are stored as they always were.
unsigned long generalPurposeFlagsForEntryName(std::string_view name);

#pragma once

// The value of one lowercase hexadecimal digit, 0 to 15; -1 for any other
// character (capitals included: callers lowercase first where they accept them).
constexpr int hexDigitValue(char digit)
{
    if (digit >= '0' && digit <= '9')
        return digit - '0';
    if (digit >= 'a' && digit <= 'f')
        return digit - 'a' + 10;
    return -1;
}

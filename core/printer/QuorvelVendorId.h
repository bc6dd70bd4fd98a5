#pragma once
// The maker's USB vendor ID, chosen when the program is configured
// (QUORVEL_VID in CMake). Discovery compares its text form with the four
// lowercase digits of each device's vendor ID; the transport matches the
// device by its numeric value.

#ifndef TELVARIN_QUORVEL_VID
#error "TELVARIN_QUORVEL_VID must be defined by the build"
#endif

#include "base/HexDigits.h"

// Four lowercase hexadecimal digits, zero-padded on the left.
inline constexpr char QUORVEL_VID[] = TELVARIN_QUORVEL_VID;

namespace quorvel_vendor_detail {

constexpr bool isFourLowercaseHexDigits(const char* text)
{
    for (int i = 0; i < 4; ++i)
        if (hexDigitValue(text[i]) < 0)
            return false;
    return text[4] == '\0';
}

constexpr int valueOfFourHexDigits(const char* text)
{
    int value = 0;
    for (int i = 0; i < 4; ++i)
        value = value * 16 + hexDigitValue(text[i]);
    return value;
}

} // namespace quorvel_vendor_detail

static_assert(quorvel_vendor_detail::isFourLowercaseHexDigits(QUORVEL_VID),
              "the vendor ID must be four lowercase hexadecimal digits, or no device would ever match");

// The same vendor ID as a number, for the device match.
inline constexpr int QUORVEL_VENDOR_ID = quorvel_vendor_detail::valueOfFourHexDigits(QUORVEL_VID);

#pragma once
// The machine's facts read by the two-level names the report was written
// against: the first names the group, the second the fact.

#include <cstdint>
#include <string>

constexpr int CTL_HW = 6;
constexpr int HW_MODEL = 2;
constexpr int HW_NCPU = 3;
constexpr int HW_PHYSMEM = 5;

class SysctlReadingClass {
public:
    SysctlReadingClass() = delete;

    // The text of a fact (HW_MODEL), up to its first NUL; code 10 when it
    // cannot be read, is not a text, or takes more than 1000 bytes with its
    // terminating NUL.
    static std::string getSysctlString(int first, int second);
    // A fact that fits in a 4-byte int (HW_NCPU; HW_PHYSMEM below 2 GiB);
    // code 10 when it cannot be read or does not fit.
    static int getSysctlInt(int first, int second);
    // A fact as a 64-bit count (HW_PHYSMEM, HW_NCPU); code 10 when it cannot
    // be read.
    static std::uint64_t getSysctlUInt64(int first, int second);
};

#pragma once
// The reports' time stamp: ticks of 100 ns since 0001-01-01 00:00:00 UTC,
// made from whole seconds since the epoch.

#include <cstdint>
#include <ctime>

constexpr std::uint64_t TICKS_PER_SECOND = 10000000ULL;
// Ticks from 0001-01-01 to 1970-01-01.
constexpr std::uint64_t TICKS_FROM_YEAR_ONE_TO_1970 = 621355968000000000ULL;

constexpr std::uint64_t ticksSinceYearOne(std::time_t secondsSinceEpoch)
{
    return static_cast<std::uint64_t>(secondsSinceEpoch) * TICKS_PER_SECOND + TICKS_FROM_YEAR_ONE_TO_1970;
}

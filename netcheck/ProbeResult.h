#pragma once

#include <cstdint>

// The verdict of one row of the network check page. No other value is stored.
using ProbeResult = std::int32_t;

inline constexpr ProbeResult kNotTested = 0;
inline constexpr ProbeResult kPassed = 1;
inline constexpr ProbeResult kFailed = 2;

constexpr ProbeResult ResultOf(bool passed)
{
    return passed ? kPassed : kFailed;
}

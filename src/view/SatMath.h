#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

// Layout arithmetic that saturates instead of overflowing: a huge list or
// setting gives the largest figure, never a wrapped one.

inline std::int64_t SatAdd(std::int64_t a, std::int64_t b) {
    std::int64_t r = 0;
    if (__builtin_add_overflow(a, b, &r)) {
        return b > 0 ? std::numeric_limits<std::int64_t>::max()
                     : std::numeric_limits<std::int64_t>::min();
    }
    return r;
}

inline std::int64_t SatMul(std::int64_t a, std::int64_t b) {
    std::int64_t r = 0;
    if (__builtin_mul_overflow(a, b, &r)) {
        return (a < 0) != (b < 0) ? std::numeric_limits<std::int64_t>::min()
                                  : std::numeric_limits<std::int64_t>::max();
    }
    return r;
}

// n / d rounded down and up; d is not 0.
inline std::int64_t FloorDiv(std::int64_t n, std::int64_t d) {
    const std::int64_t q = n / d;
    return (n % d != 0 && (n < 0) != (d < 0)) ? q - 1 : q;
}

inline std::int64_t CeilDiv(std::int64_t n, std::int64_t d) {
    const std::int64_t q = n / d;
    return (n % d != 0 && (n < 0) == (d < 0)) ? q + 1 : q;
}

// Double to int, truncated towards zero and saturated.
inline int TruncSat(double v) {
    if (!(v == v)) {
        return 0;
    }
    return static_cast<int>(std::clamp(std::trunc(v), double(std::numeric_limits<int>::min()),
                                       double(std::numeric_limits<int>::max())));
}

// Saturates a 64-bit value into 32 bits.
inline int SaturateInt(std::int64_t v) {
    return static_cast<int>(std::clamp<std::int64_t>(v, std::numeric_limits<int>::min(),
                                                     std::numeric_limits<int>::max()));
}

#pragma once

#include <cstdint>

// (a * b) / c with a 64-bit intermediate, rounded half away from zero.
// -1 for a zero divisor or a result outside 32 bits.
inline int MulDiv(int a, int b, int c) {
    if (c == 0) {
        return -1;
    }
    const std::int64_t p = static_cast<std::int64_t>(a) * b;
    const bool negative = (p < 0) != (c < 0);
    const std::uint64_t up =
        p < 0 ? 0 - static_cast<std::uint64_t>(p) : static_cast<std::uint64_t>(p);
    const std::uint64_t uc = c < 0 ? 0 - static_cast<std::uint64_t>(static_cast<std::int64_t>(c))
                                   : static_cast<std::uint64_t>(c);
    const std::uint64_t q = (up + uc / 2) / uc;
    if (q > (negative ? 0x80000000ull : 0x7FFFFFFFull)) {
        return -1;
    }
    return negative ? static_cast<int>(-static_cast<std::int64_t>(q)) : static_cast<int>(q);
}

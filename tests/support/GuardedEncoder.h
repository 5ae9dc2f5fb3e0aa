#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

// An encoder with marker bytes right after its element buffer (wideRatio) and
// after the object, to show that nothing is written past the 4096 elements.
template <typename Encoder> struct GuardedEncoder {
    Encoder code;
    std::array<std::uint8_t, 32> guard;

    GuardedEncoder() {
        code.Clear();
        code.wideRatio = 0x5A5A;
        guard.fill(0xA5);
    }
    bool Intact() const {
        return code.wideRatio == 0x5A5A &&
               std::all_of(guard.begin(), guard.end(), [](auto b) { return b == 0xA5; });
    }
    std::vector<int> Elements() const {
        return std::vector<int>(code.elements, code.elements + code.length);
    }
};

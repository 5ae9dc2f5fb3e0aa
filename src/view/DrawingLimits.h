#pragma once

#include <cstdint>

// The largest drawing written as an image or copied: units a side and square
// units in all, after scaling.
struct DrawingLimits {
    static constexpr int kMaxSide = 32767;
    static constexpr std::int64_t kMaxArea = 64LL << 20;
};

#pragma once

#include "DrawSurface.h"

#include <cstddef>
#include <cstdint>

// Element flags: one byte per element (bar or space, or one module).
constexpr std::uint8_t ELEMENT_BAR = 1;
constexpr std::uint8_t ELEMENT_WIDE = 2;
constexpr std::uint8_t ELEMENT_LONG = 4;

// The element buffer every encoder fills and the routine that paints it.
class CBarcodeBase {
public:
    static constexpr int CAPACITY = 4096;

    std::uint8_t elements[CAPACITY] = {};
    std::int32_t length = 0;
    std::int32_t wideRatio = 3;

    // All elements 0 and length 0; wideRatio is kept.
    void Clear();
    // The modules the elements take: a wide one wideRatio, any other one.
    std::int64_t ModuleCount() const;

    void DrawLines(CDrawSurface& dc, int x, int y, int bottom, COLORREF barColour,
                   COLORREF spaceColour, int lineWidth) const;
    void DrawLinesLong(CDrawSurface& dc, int x, int y, int bottom, int longBottom,
                       COLORREF barColour, COLORREF spaceColour, int lineWidth) const;

protected:
    // True when count elements starting at out lie inside the buffer.
    bool Fits(const std::uint8_t* out, std::size_t count) const {
        return out != nullptr && out >= elements &&
               static_cast<std::size_t>(elements + CAPACITY - out) >= count;
    }
    std::int32_t LengthTo(const std::uint8_t* end) const {
        return static_cast<std::int32_t>(end - elements);
    }
};

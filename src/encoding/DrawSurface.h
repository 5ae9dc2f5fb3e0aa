#pragma once

#include <cstdint>

// Colour reference as the drawing layer expects it: 0x00BBGGRR.
using COLORREF = std::uint32_t;

constexpr COLORREF RGB(int r, int g, int b) {
    return static_cast<COLORREF>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int GetRValue(COLORREF c) {
    return static_cast<int>(c & 0xFF);
}
constexpr int GetGValue(COLORREF c) {
    return static_cast<int>((c >> 8) & 0xFF);
}
constexpr int GetBValue(COLORREF c) {
    return static_cast<int>((c >> 16) & 0xFF);
}

// The few pen operations the line renderer needs. Any drawing layer can serve
// them. Geometry: a pen of width w centred on x covers columns x - w/2 .. x - w/2 + w - 1;
// a line ends one unit short of its end point.
class CDrawSurface {
public:
    using Pen = std::intptr_t; // opaque handle, 0 means "no pen"

    virtual ~CDrawSurface() = default;

    virtual Pen CreateSolidPen(int width, COLORREF colour) = 0;
    // Selects a pen and returns the one it replaces.
    virtual Pen SelectPen(Pen pen) = 0;
    virtual void MoveTo(int x, int y) = 0;
    virtual void LineTo(int x, int y) = 0;
    virtual void DeletePen(Pen pen) = 0;
};

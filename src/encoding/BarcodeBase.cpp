#include "BarcodeBase.h"

#include <cstring>

void CBarcodeBase::Clear()
{
    std::memset(elements, 0, sizeof elements);
    length = 0;
}

void CBarcodeBase::DrawLines(CDrawSurface& dc, int x, int y, int bottom, COLORREF barColour,
                             COLORREF spaceColour, int lineWidth) const
{
    DrawLinesLong(dc, x, y, bottom, bottom, barColour, spaceColour, lineWidth);
}

void CBarcodeBase::DrawLinesLong(CDrawSurface& dc, int x, int y, int bottom, int longBottom,
                                 COLORREF barColour, COLORREF spaceColour, int lineWidth) const
{
    const CDrawSurface::Pen barPen = dc.CreateSolidPen(lineWidth, barColour);
    const CDrawSurface::Pen spacePen = dc.CreateSolidPen(lineWidth, spaceColour);
    const CDrawSurface::Pen oldPen = dc.SelectPen(barPen);

    // x advances in 64 bits and stops once it leaves the int range, so a huge
    // line width cannot overflow.
    long long px = x;
    const int count = length < 0 ? 0 : (length > CAPACITY ? CAPACITY : length);
    for (int i = 0; i < count; ++i) {
        const std::uint8_t e = elements[i];
        const bool bar = (e & ELEMENT_BAR) != 0;
        const int repeat = (e & ELEMENT_WIDE) ? wideRatio : 1;
        const int endY = (e & ELEMENT_LONG) ? longBottom : bottom;
        for (int r = 0; r < repeat; ++r) {
            if (px < INT32_MIN || px > INT32_MAX) {
                break;
            }
            dc.SelectPen(bar ? barPen : spacePen);
            dc.MoveTo(static_cast<int>(px), y);
            dc.LineTo(static_cast<int>(px), endY);
            px += lineWidth;
        }
    }

    dc.SelectPen(oldPen);
    dc.DeletePen(barPen);
    dc.DeletePen(spacePen);
}

#pragma once

#include "Gdi.h"

#include <QRawFont>
#include <QRect>
#include <QRectF>
#include <QTransform>

#include <array>
#include <string_view>
#include <vector>

// What a device context draws on instead of a QPainter: filled rectangles and
// lines of text, placed in device dots. The context lays everything out; a
// target only records it (a file of our own, for instance).
class CPaintTarget {
public:
    virtual ~CPaintTarget() = default;
    // Rectangles filled with colour as one shape; toDots maps them to device dots.
    virtual void FillRects(COLORREF colour, const QTransform& toDots, const QRectF* rects,
                           qsizetype count) = 0;
    // The same for rectangles of whole numbers (a row's bars in parts of a dot).
    virtual void FillBoxes(COLORREF colour, const QTransform& toDots, const QRect* boxes,
                           qsizetype count);
    // 8-bit text in font (of its pixel size), its baseline's left end at origin;
    // character c shows glyph glyphs[c] and moves the next one advances[c] along.
    // toDots maps origin and the font's units to device dots.
    virtual void DrawText(const QRawFont& font, COLORREF colour, const QTransform& toDots,
                          QPointF origin, std::string_view text,
                          const std::array<quint32, 256>& glyphs,
                          const std::array<qreal, 256>& advances) = 0;
};

inline void CPaintTarget::FillBoxes(COLORREF colour, const QTransform& toDots, const QRect* boxes,
                                    qsizetype count) {
    std::vector<QRectF> rects(boxes, boxes + count);
    FillRects(colour, toDots, rects.data(), count);
}

#pragma once

#include "BarcodeSettings.h"
#include "DC.h"

#include <cstdint>

// The layout figures of the rows, named once; every surface lays rows out with them.
namespace RowLayout {
// Units each character of the text is estimated to take beyond the bar width, for the
// drawing's width before its rows are measured: length x (bar width + this) + origin x.
inline constexpr std::int64_t kCharWidthEstimate = 40;
// EAN-13's guard bars reach this many bar heights down.
inline constexpr double kGuardBarLength = 1.2;
// The text under EAN-13 bars moves down by this share of the bar height.
inline constexpr double kGuardTextShare = 0.2;
// Units between a barcode-font row's top and its text, before half the font's height.
inline constexpr int kFontOffsetBase = 10;
// The initial fonts: the text's and the barcode font's character heights in points.
inline constexpr int kTextFontHeight = -14;
inline constexpr int kBarcodeFontHeight = -29;
} // namespace RowLayout

// Rows in the layout: the list's lines, else the settings' repeat count.
std::int64_t LayoutRowCount(const BarcodeSettings& s);
// The drawing's width before its rows are measured, from the text's length.
std::int64_t EstimatedWidth(const BarcodeSettings& s);
// The right edge of the widest row, widest beyond the origin (INT64_MIN: none drawn).
std::int64_t DrawnRight(const BarcodeSettings& s, std::int64_t widest);
// The layout's size for rows pitch apart: rows x pitch + origin y high, as wide as the
// estimate or the widest drawn row's right edge (INT64_MIN: none) plus origin x.
QSize LayoutSize(const BarcodeSettings& s, int pitch, std::int64_t drawnRight);

// The initial text and barcode fonts' descriptions.
void InitialFonts(BarcodeSettings& s);
// After the settings change (a Settings OK, tavik-batch's options): the fonts remade
// from their descriptions, and the offsets that follow the fonts and bar height.
void SettleSettings(BarcodeSettings& s, CFont& textFont, CFont& barcodeFont,
                    CDC::Resolution screen);

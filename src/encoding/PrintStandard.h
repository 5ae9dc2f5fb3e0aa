#pragma once

// What a symbology's standard asks of a printed symbol: its narrow element (X),
// its quiet zones and, where one is set, its nominal size. Lengths in mm; 0 where
// the standard sets no figure.
struct PrintStandard {
    const char* source;        // the document the figures come from
    double minXMm;             // smallest X the standard allows
    double maxXMm;             // largest X (0: no largest)
    double nominalXMm;         // X at 100 % magnification (0: none)
    int quietLeftModules;      // light margin before the first bar, in X
    int quietRightModules;     // after the last bar
    double nominalBarHeightMm; // bar height at 100 % (0: none)
};

namespace standards {

// GS1 General Specifications, symbol specification table 1 (retail point of
// sale): X from 0.264 to 0.660 mm, target 0.330 mm; bar height 22.85 mm at the
// target X; quiet zones 11 X on the left and 7 X on the right.
inline constexpr PrintStandard kEan13Retail{
    "GS1 General Specifications, retail", 0.264, 0.660, 0.330, 11, 7, 22.85};

// ISO/IEC 16388 (Code 39), AIM USS-93 (Code 93), ISO/IEC 15417 (Code 128) and
// ISO/IEC 16390 (Interleaved 2 of 5): quiet zones of at least 10 X on each side.
// They leave X to the application; 0.191 mm (7.5 mil) is the smallest X of the
// AIM uniform symbology specifications that these standards grew from.
inline constexpr double kLinearMinXMm = 0.191;
inline constexpr PrintStandard kCode39{"ISO/IEC 16388", kLinearMinXMm, 0, 0, 10, 10, 0};
inline constexpr PrintStandard kCode93{"AIM USS-93", kLinearMinXMm, 0, 0, 10, 10, 0};
inline constexpr PrintStandard kCode128{"ISO/IEC 15417", kLinearMinXMm, 0, 0, 10, 10, 0};
inline constexpr PrintStandard kI2of5{"ISO/IEC 16390", kLinearMinXMm, 0, 0, 10, 10, 0};

constexpr bool Sound(const PrintStandard& s) {
    return s.minXMm > 0 && (s.maxXMm == 0 || s.maxXMm >= s.minXMm) &&
           (s.nominalXMm == 0 ||
            (s.nominalXMm >= s.minXMm && (s.maxXMm == 0 || s.nominalXMm <= s.maxXMm))) &&
           s.quietLeftModules > 0 && s.quietRightModules > 0 && s.nominalBarHeightMm >= 0;
}
static_assert(Sound(kEan13Retail) && Sound(kCode39) && Sound(kCode93) && Sound(kCode128) &&
              Sound(kI2of5));
// 0.264 mm is 80 % of 0.330 mm and 0.660 mm 200 %, as the table's range says.
constexpr bool Near(double a, double b) {
    return a - b < 1e-9 && b - a < 1e-9;
}
static_assert(Near(kEan13Retail.minXMm / kEan13Retail.nominalXMm, 0.8));
static_assert(Near(kEan13Retail.maxXMm / kEan13Retail.nominalXMm, 2.0));

} // namespace standards

#pragma once

#include "BarcodeSettings.h"

#include <string>

struct PrintStandard;

// How big a symbol comes out on a surface of some resolution, and how that
// measures against its symbology's standard. A narrow element (X) and a bar
// height are whole dots of the surface; lengths are in mm.
namespace PrintSize {

inline constexpr double kMmPerInch = 25.4;

// A length as whole dots at dpi: the nearest, at least 1.
int Dots(double mm, int dpi);
// Dots as a length.
inline double Millimetres(int dots, int dpi) {
    return dots * kMmPerInch / dpi;
}

// The standard of the settings' symbology (null for an unknown one).
const PrintStandard* StandardOf(const BarcodeSettings& s);

// The dots of one module on a printing surface at dpi. A physical X is the
// nearest whole number of dots. An X from display units is too, unless that
// falls below the standard's smallest X: then it is the next whole dot above.
int ModuleDots(const BarcodeSettings& s, int dpi, int displayDpi);
// The dots of the bars' height on a printing surface at dpi (0: from the layout,
// the bar height in display units on the surface's scale).
int BarHeightDots(const BarcodeSettings& s, int dpi);

// On the screen and in images: the display-unit line width and bar height that a
// physical X and bar height come to at the display's resolution (whole pixels).
void SettleLengths(BarcodeSettings& s, int displayDpiX, int displayDpiY);

// "X 0.375 mm (114 %)": the X printed at dpi, with the magnification where the
// standard has a nominal X.
std::string DescribeX(const BarcodeSettings& s, int dpi, int displayDpi);
// Why that X is outside the standard's range, in one line; empty when it is not
// (or the bars come from a font).
std::string XProblem(const BarcodeSettings& s, int dpi, int displayDpi);

// Why a symbol leaves a quiet zone shorter than its standard's: leftMm and rightMm
// are the light space from its first and last bar to the edge of its page (or
// label); empty when both are long enough.
std::string QuietZoneProblem(const BarcodeSettings& s, int dpi, int displayDpi, double leftMm,
                             double rightMm);

// Why taking reduction dots off every bar at dpi leaves a narrow bar no dot:
// "would leave bars narrower than one dot: a narrow bar is 3 dots at 203 dpi";
// empty when a dot is left (or the bars come from a font, which keeps its own).
std::string BarReductionProblem(const BarcodeSettings& s, int reduction, int dpi, int displayDpi);

} // namespace PrintSize

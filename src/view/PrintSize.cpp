#include "PrintSize.h"

#include "PrintStandard.h"
#include "SettingsBounds.h"
#include "Symbology.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace PrintSize {

namespace {

// Figures are compared to the standard's to a thousandth of a micrometre, so a
// length converted back and forth is not taken for a shorter one.
constexpr double kSlack = 1e-6;

int ClampedRound(double v) {
    return static_cast<int>(std::clamp(std::round(v), 1.0, std::numeric_limits<int>::max() / 2.0));
}

std::string Mm(double mm) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f mm", mm);
    return text;
}

const char* NameOf(const BarcodeSettings& s) {
    const SymbologyInfo* info = FindSymbology(s.m_nType);
    return info != nullptr ? info->checkName : "the symbology";
}

} // namespace

int Dots(double mm, int dpi) {
    return ClampedRound(mm * dpi / kMmPerInch);
}

const PrintStandard* StandardOf(const BarcodeSettings& s) {
    const SymbologyInfo* info = FindSymbology(s.m_nType);
    return info != nullptr ? info->standard : nullptr;
}

int ModuleDots(const BarcodeSettings& s, int dpi, int displayDpi) {
    if (s.m_print.xMm > 0) {
        return Dots(s.m_print.xMm, dpi);
    }
    const int dots = ClampedRound(double(s.m_nBarWidth) * dpi / std::max(1, displayDpi));
    const PrintStandard* standard = StandardOf(s);
    if (standard == nullptr || Millimetres(dots, dpi) + kSlack >= standard->minXMm) {
        return dots;
    }
    return static_cast<int>(std::ceil(standard->minXMm * dpi / kMmPerInch - kSlack));
}

int BarHeightDots(const BarcodeSettings& s, int dpi) {
    return s.m_print.barHeightMm > 0 ? Dots(s.m_print.barHeightMm, dpi) : 0;
}

void SettleLengths(BarcodeSettings& s, int displayDpiX, int displayDpiY) {
    if (s.m_print.xMm > 0) {
        s.m_nBarWidth = std::clamp(Dots(s.m_print.xMm, displayDpiX), kLineWidthBound.lowest,
                                   kLineWidthBound.highest);
    }
    if (s.m_print.barHeightMm > 0) {
        s.m_nBarHeight = std::clamp(Dots(s.m_print.barHeightMm, displayDpiY),
                                    kBarHeightBound.lowest, kBarHeightBound.highest);
    }
}

std::string DescribeX(const BarcodeSettings& s, int dpi, int displayDpi) {
    const int dots = ModuleDots(s, dpi, displayDpi);
    const double mm = Millimetres(dots, dpi);
    std::string text = "X " + Mm(mm);
    if (const PrintStandard* standard = StandardOf(s); standard && standard->nominalXMm > 0) {
        text += " (" + std::to_string(std::lround(100 * mm / standard->nominalXMm)) + " %)";
    }
    return text + ", " + std::to_string(dots) + (dots == 1 ? " dot" : " dots") + " at " +
           std::to_string(dpi) + " dpi";
}

std::string XProblem(const BarcodeSettings& s, int dpi, int displayDpi) {
    const PrintStandard* standard = StandardOf(s);
    if (s.m_bTrueType || standard == nullptr) {
        return {};
    }
    const int dots = ModuleDots(s, dpi, displayDpi);
    const double mm = Millimetres(dots, dpi);
    const std::string printed =
        Mm(mm) + " (" + std::to_string(dots) + " at " + std::to_string(dpi) + " dpi) against ";
    if (mm + kSlack < standard->minXMm) {
        return "X below the smallest of " + std::string(NameOf(s)) + ": " + printed +
               Mm(standard->minXMm) + " (" + standard->source + ")";
    }
    if (standard->maxXMm > 0 && mm > standard->maxXMm + kSlack) {
        return "X above the largest of " + std::string(NameOf(s)) + ": " + printed +
               Mm(standard->maxXMm) + " (" + standard->source + ")";
    }
    return {};
}

std::string QuietZoneProblem(const BarcodeSettings& s, int dpi, int displayDpi, double leftMm,
                             double rightMm) {
    const PrintStandard* standard = StandardOf(s);
    if (s.m_bTrueType || standard == nullptr) {
        return {};
    }
    const double x = Millimetres(ModuleDots(s, dpi, displayDpi), dpi);
    std::string problem;
    auto side = [&](const char* name, double have, int modules) {
        const double need = modules * x;
        if (have + kSlack >= need) {
            return;
        }
        problem += (problem.empty() ? "the quiet zone " : "; the quiet zone ") + std::string(name) +
                   " is " + Mm(std::max(0.0, have)) + ", " + NameOf(s) + " needs " + Mm(need) +
                   " (" + std::to_string(modules) + " X)";
    };
    side("on the left", leftMm, standard->quietLeftModules);
    side("on the right", rightMm, standard->quietRightModules);
    return problem;
}

std::string BarReductionProblem(const BarcodeSettings& s, int reduction, int dpi, int displayDpi) {
    const int dots = ModuleDots(s, dpi, displayDpi);
    if (s.m_bTrueType || reduction < dots) {
        return {};
    }
    return "would leave bars narrower than one dot: a narrow bar is " + std::to_string(dots) +
           (dots == 1 ? " dot" : " dots") + " at " + std::to_string(dpi) + " dpi";
}

} // namespace PrintSize

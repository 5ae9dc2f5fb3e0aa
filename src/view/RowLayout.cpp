#include "RowLayout.h"

#include "LineList.h"
#include "MulDiv.h"
#include "PrintSize.h"
#include "SatMath.h"

#include <algorithm>
#include <cstdio>
#include <limits>

std::int64_t LayoutRowCount(const BarcodeSettings& s) {
    return s.m_pLines != nullptr ? static_cast<std::int64_t>(s.m_pLines->GetSize())
                                 : std::max<std::int64_t>(0, s.m_nRepeat);
}

std::int64_t EstimatedWidth(const BarcodeSettings& s) {
    return SatAdd(SatMul(static_cast<std::int64_t>(s.m_strText.size()),
                         std::int64_t{s.m_nBarWidth} + RowLayout::kCharWidthEstimate),
                  s.m_nOriginX);
}

std::int64_t DrawnRight(const BarcodeSettings& s, std::int64_t widest) {
    return widest == std::numeric_limits<std::int64_t>::min() ? widest
                                                              : SatAdd(s.m_nOriginX, widest);
}

QSize LayoutSize(const BarcodeSettings& s, int pitch, std::int64_t drawnRight) {
    const std::int64_t height = SatAdd(SatMul(LayoutRowCount(s), pitch), s.m_nOriginY);
    std::int64_t width = EstimatedWidth(s);
    if (drawnRight != std::numeric_limits<std::int64_t>::min()) {
        // Wide rows stay reachable: their right edge plus the origin as a margin.
        width = std::max(width, SatAdd(drawnRight, s.m_nOriginX));
    }
    return QSize(SaturateInt(width), SaturateInt(height));
}

namespace {

void InitFont(LOGFONT& lf, int height, const char* face) {
    lf = LOGFONT{};
    lf.lfHeight = height;
    std::snprintf(lf.lfFaceName, LF_FACESIZE, "%s", face);
}

} // namespace

void InitialFonts(BarcodeSettings& s) {
    InitFont(s.m_lfText, RowLayout::kTextFontHeight, "Arial");
    InitFont(s.m_lfBarcode, RowLayout::kBarcodeFontHeight, "Free 3 of 9");
}

void SettleSettings(BarcodeSettings& s, CFont& textFont, CFont& barcodeFont,
                    CDC::Resolution screen) {
    PrintSize::SettleLengths(s, screen.x, screen.y);
    textFont.DeleteObject();
    textFont.CreateFontIndirect(&s.m_lfText);
    barcodeFont.DeleteObject();
    barcodeFont.CreateFontIndirect(&s.m_lfBarcode);
    if (s.m_bTrueType) {
        s.m_nFontOffset =
            RowLayout::kFontOffsetBase - MulDiv(s.m_lfBarcode.lfHeight, screen.y, 72) / 2;
    }
    s.m_nGuardExtra =
        HasGuardBars(s.m_nType) ? static_cast<int>(s.m_nBarHeight * RowLayout::kGuardTextShare) : 0;
}

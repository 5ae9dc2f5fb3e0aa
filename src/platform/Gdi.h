#pragma once

#include "DrawSurface.h"

#include <cstdint>

// Mapping modes and device capabilities the views use.
constexpr int MM_TEXT = 1;
constexpr int MM_ANISOTROPIC = 8;
constexpr int LOGPIXELSX = 88;
constexpr int LOGPIXELSY = 90;

constexpr int FW_DONTCARE = 0;
constexpr int FW_NORMAL = 400;
constexpr int FW_BOLD = 700;
constexpr int LF_FACESIZE = 32;

// Font description; lfHeight in logical units, negative = character height,
// positive = cell height, 0 = default height. Face name in 8-bit characters.
struct LOGFONT {
    std::int32_t lfHeight = 0;
    std::int32_t lfWidth = 0;
    std::int32_t lfEscapement = 0;
    std::int32_t lfOrientation = 0;
    std::int32_t lfWeight = 0;
    std::uint8_t lfItalic = 0;
    std::uint8_t lfUnderline = 0;
    std::uint8_t lfStrikeOut = 0;
    std::uint8_t lfCharSet = 0;
    std::uint8_t lfOutPrecision = 0;
    std::uint8_t lfClipPrecision = 0;
    std::uint8_t lfQuality = 0;
    std::uint8_t lfPitchAndFamily = 0;
    char lfFaceName[LF_FACESIZE] = {};
};

// A font object made from a description; it has a font only after CreateFontIndirect.
class CFont {
public:
    bool CreateFontIndirect(const LOGFONT* lf) {
        if (lf == nullptr) {
            return false;
        }
        m_lf = *lf;
        m_lf.lfFaceName[LF_FACESIZE - 1] = '\0';
        m_created = true;
        return true;
    }
    bool DeleteObject() {
        const bool had = m_created;
        m_created = false;
        return had;
    }
    bool HasFont() const { return m_created; }
    const LOGFONT& Description() const { return m_lf; }

private:
    LOGFONT m_lf;
    bool m_created = false;
};

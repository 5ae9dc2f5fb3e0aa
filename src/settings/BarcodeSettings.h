#pragma once

#include "DrawSurface.h"
#include "Gdi.h"
#include "LabelSheet.h"
#include "Symbology.h"

#include <cstdint>
#include <string>

class CLineList;

// Symbologies in the order of the Settings dialog's list: the symbology table's index.
enum BarcodeType : std::int32_t {
    BARCODE_39 = static_cast<std::int32_t>(Symbology::Code39),
    BARCODE_93 = static_cast<std::int32_t>(Symbology::Code93),
    BARCODE_128A = static_cast<std::int32_t>(Symbology::Code128A),
    BARCODE_128B = static_cast<std::int32_t>(Symbology::Code128B),
    BARCODE_128C = static_cast<std::int32_t>(Symbology::Code128C),
    BARCODE_EAN13 = static_cast<std::int32_t>(Symbology::Ean13),
    BARCODE_I2OF5 = static_cast<std::int32_t>(Symbology::I2of5),
};

// Sizes on paper: physical lengths in mm, 0 where the display-unit setting holds;
// the resolution an exported PDF is laid out for; the dots taken off every
// printed bar and given to the space after it.
struct PrintSizes {
    double xMm = 0;         // the narrow element (X-dimension)
    double barHeightMm = 0; // the bars' height
    std::int32_t pdfDpi = 600;
    std::int32_t barReduction = 0;
};

// The settings of one view, edited in place by the Settings dialog.
struct BarcodeSettings {
    bool m_bShowText = true;
    bool m_bTrueType = false;
    std::int32_t m_nBarHeight = 50;
    std::int32_t m_nBarWidth = 1;
    std::int32_t m_nType = BARCODE_39;
    std::int32_t m_nGuardExtra = 0;
    // Offset of the text below a barcode drawn in the barcode font; starts at what
    // the Settings command computes for the initial barcode font at 96 dpi.
    std::int32_t m_nFontOffset = 29;
    std::int32_t m_nRepeat = 1;
    std::string m_strText = "0123456789";
    std::int32_t m_nOriginX = 10;
    std::int32_t m_nOriginY = 10;
    const CLineList* m_pLines = nullptr; // the document's lines, not owned
    LOGFONT m_lfText;
    LOGFONT m_lfBarcode;
    COLORREF m_crBar = RGB(0, 0, 0);
    COLORREF m_crSpace = RGB(255, 255, 255);
    COLORREF m_crText = RGB(0, 0, 0);
    COLORREF m_crBarcodeFont = RGB(0, 0, 0);
    PrintSizes m_print;
    LabelChoice m_labels; // the sheet printed pages lay their rows on
};

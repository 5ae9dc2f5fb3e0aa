#include "RowRenderer.h"

#include "LabelSheets.h"
#include "LineList.h"
#include "MulDiv.h"
#include "PrintChecks.h"
#include "PrintSize.h"
#include "RowLayout.h"
#include "SatMath.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Where a row far down a list may be drawn: within the int range, as the
// surfaces take coordinates.
bool InIntRange(std::int64_t v) {
    return v >= std::numeric_limits<int>::min() && v <= std::numeric_limits<int>::max();
}

// Moves dc's logical origin down by dy units for the life of the object, so
// rows far down a list are drawn with small coordinates: text and fill paths
// lose precision, or draw nothing, far from their origin.
class OriginShift {
public:
    OriginShift(CDC& dc, std::int64_t dy) : m_dc(dc), m_old(dc.GetWindowOrg()) {
        dc.SetWindowOrg(m_old.x(), SaturateInt(std::int64_t{m_old.y()} - dy));
    }
    ~OriginShift() { m_dc.SetWindowOrg(m_old.x(), m_old.y()); }
    OriginShift(const OriginShift&) = delete;
    OriginShift& operator=(const OriginShift&) = delete;

private:
    CDC& m_dc;
    QPoint m_old;
};

// A label's outline in the preview: faint, one device pixel wide, in logical units.
void DrawOutline(CDC& dc, const QRectF& rect) {
    if (QPainter* painter = dc.Painter()) {
        dc.Flush();
        painter->save();
        painter->setPen(QPen(QColor(200, 200, 200), 0, Qt::DotLine));
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(rect);
        painter->restore();
    }
}

} // namespace

CRowRenderer::CRowRenderer(const BarcodeSettings& settings, const CFont& textFont,
                           const CFont& barcodeFont, const EncoderSet& encoders,
                           CDC::Resolution display)
    : m_s(settings), m_textFont(textFont), m_barcodeFont(barcodeFont), m_encoders(encoders),
      m_display(display) {}

std::int64_t CRowRenderer::RowCount() const {
    return LayoutRowCount(m_s);
}

int CRowRenderer::RowPitch(const CDC& dc) const {
    const int dpi = dc.IsPrinting() ? m_display.y : dc.GetDeviceCaps(LOGPIXELSY);
    const std::int64_t textHeight = -std::int64_t{MulDiv(m_s.m_lfText.lfHeight, dpi, 72)};
    if (!m_s.m_bTrueType) {
        return SaturateInt(
            SatAdd(SatAdd(m_s.m_nBarHeight, SatMul(2, m_s.m_nGuardExtra)), textHeight));
    }
    const int barcodeHeight = MulDiv(m_s.m_lfBarcode.lfHeight, dpi, 72);
    return TruncSat(static_cast<double>(textHeight) - 0.75 * barcodeHeight);
}

void CRowRenderer::PreparePrinting(CDC& dc) const {
    dc.SetMapMode(MM_ANISOTROPIC);
    dc.SetWindowExt(m_display.x, m_display.y);
    dc.SetViewportExt(dc.GetAttribDeviceCaps(LOGPIXELSX), dc.GetAttribDeviceCaps(LOGPIXELSY));
    dc.SetWindowOrg(0, 0);
    dc.SetViewportOrg(0, 0);
    // The grid makes a module max(1, round(w * dpi / display)) dots; where the
    // print size asks for other dots, the lines are scaled to come out at them.
    const int dpiX = dc.GetAttribDeviceCaps(LOGPIXELSX);
    const int dpiY = dc.GetAttribDeviceCaps(LOGPIXELSY);
    const int width = std::max(1, m_s.m_nBarWidth);
    const int dots = PrintSize::ModuleDots(m_s, dpiX, m_display.x);
    const bool gridDots = dots == std::max(1, qRound(double(width) * dpiX / m_display.x));
    const int heightDots = PrintSize::BarHeightDots(m_s, dpiY);
    dc.SetLineScale(gridDots ? 1 : double(dots) * m_display.x / (double(width) * dpiX),
                    heightDots <= 0 || m_s.m_nBarHeight <= 0
                        ? 1
                        : double(heightDots) * m_display.y / (double(m_s.m_nBarHeight) * dpiY));
}

void CRowRenderer::DrawBarcode(CDC& dc, int x, int y, std::string_view text) const {
    if (text.empty()) {
        return;
    }
    const BarcodeSettings& s = m_s;
    // The CDC only reads the fonts it is given.
    auto* textFont = const_cast<CFont*>(&m_textFont);
    auto* barcodeFont = const_cast<CFont*>(&m_barcodeFont);
    CFont* oldFont = dc.SelectObject(textFont);
    dc.SetTextColor(s.m_crText);

    const int bottom = SaturateInt(std::int64_t{y} + s.m_nBarHeight);
    if (s.m_bTrueType) {
        dc.SelectObject(barcodeFont);
        dc.SetTextColor(s.m_crBarcodeFont);
        dc.TextOut(x, y, text);
    } else if (const CBarcodeBase* encoder = m_encoders.For(s.m_nType)) {
        if (HasGuardBars(s.m_nType)) {
            const int longBottom = TruncSat(s.m_nBarHeight * RowLayout::kGuardBarLength + y);
            encoder->DrawLinesLong(dc, x, y, bottom, longBottom, s.m_crBar, s.m_crSpace,
                                   s.m_nBarWidth);
        } else {
            encoder->DrawLines(dc, x, y, bottom, s.m_crBar, s.m_crSpace, s.m_nBarWidth);
        }
    }

    if (s.m_bShowText) {
        dc.SelectObject(textFont);
        dc.SetTextColor(s.m_crText);
        const std::int64_t below =
            s.m_bTrueType ? std::int64_t{s.m_nFontOffset} + s.m_nGuardExtra
                          : std::int64_t{s.m_nGuardExtra} + s.m_nBarWidth + s.m_nBarHeight;
        dc.TextOut(x, SaturateInt(y + below), text);
    }
    dc.SelectObject(oldFont);
}

CRowRenderer::RowExtent CRowRenderer::RowExtentOf(const CDC& dc) const {
    const BarcodeSettings& s = m_s;
    const std::int64_t textCell = dc.GetTextExtent("Ag", &m_textFont).height();
    std::int64_t top = 0;
    std::int64_t bottom = 0;
    auto cover = [&](std::int64_t a, std::int64_t b) {
        top = std::min({top, a, b});
        bottom = std::max({bottom, a, b});
    };
    std::int64_t textTop = 0;
    if (s.m_bTrueType) {
        cover(0, dc.GetTextExtent("Ag", &m_barcodeFont).height());
        textTop = std::int64_t{s.m_nFontOffset} + s.m_nGuardExtra;
    } else {
        const std::int64_t h = s.m_nBarHeight;
        cover(0, h);
        cover(h, static_cast<std::int64_t>(h * RowLayout::kGuardBarLength));
        textTop = std::int64_t{s.m_nGuardExtra} + s.m_nBarWidth + h;
    }
    if (s.m_bShowText) {
        cover(textTop, textTop + textCell);
    }
    return RowExtent{top - 2, bottom + 2};
}

std::string_view CRowRenderer::RowText(std::int64_t k) const {
    return m_s.m_pLines != nullptr ? m_s.m_pLines->GetAt(static_cast<std::size_t>(k))
                                   : std::string_view(m_s.m_strText);
}

void CRowRenderer::DrawRow(CDC& dc, std::int64_t k, std::int64_t y, const Encode& encode,
                           const CPageFit* fit, int left) const {
    if (!InIntRange(y)) {
        return;
    }
    const std::string_view text = RowText(k);
    if (m_s.m_pLines != nullptr && !encode(text)) {
        return; // a refused line leaves its row empty
    }
    // (The settings' text too wide for the page refuses the whole job instead.)
    if (fit != nullptr && m_s.m_pLines != nullptr &&
        !fit->RowFits(m_s.m_bTrueType ? nullptr : m_encoders.For(m_s.m_nType), text)) {
        return; // so does one too wide for the page
    }
    DrawBarcode(dc, SaturateInt(std::int64_t{m_s.m_nOriginX} + left), static_cast<int>(y), text);
}

// Only the rows that reach into the area being painted are encoded and drawn,
// in coordinates relative to the first of them.
void CRowRenderer::DrawScreen(CDC& dc, const Encode& encode) const {
    const std::int64_t rows = RowCount();
    if (rows <= 0 || dc.Painter() == nullptr) {
        return; // a surface that only measures needs no row drawn
    }
    const bool list = m_s.m_pLines != nullptr;
    const int pitch = RowPitch(dc);
    std::int64_t first = 0;
    std::int64_t last = rows - 1;
    if (pitch != 0) {
        // Row k reaches into the clip when k * pitch lies strictly between
        // these two bounds; integer arithmetic keeps the row range exact.
        const RowExtent ext = RowExtentOf(dc);
        const auto [clipTop, clipBottom] = dc.GetClipRows();
        const std::int64_t above = std::int64_t{clipTop} - m_s.m_nOriginY - ext.bottom;
        const std::int64_t below = std::int64_t{clipBottom} + 1 - m_s.m_nOriginY - ext.top;
        first = std::max(first, FloorDiv(pitch > 0 ? above : below, pitch) + 1);
        last = std::min(last, CeilDiv(pitch > 0 ? below : above, pitch) - 1);
    } else if (!list) {
        first = last; // every row lies on the same place with the same pixels
    }
    if (first > last) {
        return;
    }
    const std::int64_t base = SatAdd(m_s.m_nOriginY, SatMul(first, pitch));
    const OriginShift shift(dc, base);
    for (std::int64_t k = first; k <= last; ++k) {
        DrawRow(dc, k, SatMul(k - first, pitch), encode);
    }
}

void CRowRenderer::DrawLabels(CDC& dc, CPrintInfo& info, const Encode& encode) const {
    const LabelChoice& labels = m_s.m_labels;
    const std::int64_t rows = RowCount();
    info.SetMaxPage(SaturateInt(Labels::PageCount(labels, rows)));
    const LabelSheet& sheet = labels.sheet;
    const CPageFit fit(m_s, m_textFont, m_barcodeFont, m_display, m_display,
                       dc.GetAttribDeviceCaps(LOGPIXELSX),
                       Labels::Units(sheet.labelWidth, m_display.x),
                       Labels::Units(sheet.labelHeight, m_display.y));
    auto units = [](double mm, int dpi) { return std::llround(mm * dpi / PrintSize::kMmPerInch); };
    for (std::int64_t i = 0; i < sheet.PerPage(); ++i) {
        const QPointF corner = Labels::LabelCornerMm(labels, i);
        const int left = SaturateInt(info.m_ptPaper.x() + units(corner.x(), m_display.x));
        const int top = SaturateInt(info.m_ptPaper.y() + units(corner.y(), m_display.y));
        if (info.m_bPreview) {
            DrawOutline(dc,
                        QRectF(left, top, sheet.labelWidth * m_display.x / PrintSize::kMmPerInch,
                               sheet.labelHeight * m_display.y / PrintSize::kMmPerInch));
        }
        const std::int64_t row = Labels::RowOnLabel(labels, info.m_nCurPage - 1, i, rows);
        if (row >= 0) {
            DrawRow(dc, row, SatAdd(top, m_s.m_nOriginY), encode, &fit, left);
        }
    }
}

void CRowRenderer::DrawPage(CDC& dc, CPrintInfo& info, const Encode& encode) const {
    if (m_s.m_labels.Active()) {
        DrawLabels(dc, info, encode);
        return;
    }
    const std::int64_t rows = RowCount();
    const int pitch = RowPitch(dc);
    const std::int64_t pageHeight =
        std::int64_t{info.m_rectDraw.bottom()} + 1 - info.m_rectDraw.top();
    const std::int64_t perPage = pitch > 0 ? pageHeight / pitch : 0;
    if (perPage <= 0) {
        info.SetMaxPage(1); // nothing fits: one empty page
        return;
    }
    info.SetMaxPage(SaturateInt((rows + perPage - 1) / perPage));
    const std::int64_t pageWidth =
        std::int64_t{info.m_rectDraw.right()} + 1 - info.m_rectDraw.left();
    const CPageFit fit(m_s, m_textFont, m_barcodeFont, m_display, m_display,
                       dc.GetAttribDeviceCaps(LOGPIXELSX), pageWidth, pageHeight);
    for (std::int64_t k = 0; k < perPage; ++k) {
        const std::int64_t index = SatAdd(SatMul(info.m_nCurPage - 1, perPage), k);
        if (index >= rows) {
            break;
        }
        DrawRow(dc, index, SatAdd(m_s.m_nOriginY, SatMul(k, pitch)), encode, &fit);
    }
}

CRowSnapshot::CRowSnapshot(const BarcodeSettings& settings, const CFont& textFont,
                           const CFont& barcodeFont, const EncoderSet& encoders,
                           CDC::Resolution display, CDC::Resolution screen)
    : m_settings(settings), m_textFont(textFont), m_barcodeFont(barcodeFont), m_encoders(encoders),
      m_screen(screen), m_renderer(m_settings, m_textFont, m_barcodeFont, m_encoders, display) {}

RowPassInput CRowSnapshot::PassInput() const {
    return RowPassInput{m_settings, m_textFont, m_barcodeFont, m_screen};
}

bool CRowSnapshot::Encode(std::string_view text) {
    return m_encoders.EncodeQuietly(m_settings.m_nType, text);
}

void CRowPages::PreparePage(CDC& dc, CPrintInfo& /*info*/) {
    dc.SetMapMode(MM_TEXT);
    if (dc.IsPrinting()) {
        m_rows.Renderer().PreparePrinting(dc);
    }
}

void CRowPages::DrawPage(CDC& dc, CPrintInfo& info) {
    if (dc.IsPrinting()) {
        m_rows.Renderer().DrawPage(dc, info, m_encode);
    }
}

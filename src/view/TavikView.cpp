#include "TavikView.h"

#include "MessageBox.h"
#include "MessageText.h"
#include "MulDiv.h"
#include "TavikDoc.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace {

constexpr std::array<const char*, 7> kSymbologyNames = {
    "Barcode_39",   "Barcode_93",    "Barcode_128A", "Barcode_128B",
    "Barcode_128C", "Barcode_Ean13", "Barcode_I2of5"};

std::int64_t SatAdd(std::int64_t a, std::int64_t b) {
    std::int64_t r = 0;
    if (__builtin_add_overflow(a, b, &r)) {
        return b > 0 ? std::numeric_limits<std::int64_t>::max()
                     : std::numeric_limits<std::int64_t>::min();
    }
    return r;
}

std::int64_t SatMul(std::int64_t a, std::int64_t b) {
    std::int64_t r = 0;
    if (__builtin_mul_overflow(a, b, &r)) {
        return (a < 0) != (b < 0) ? std::numeric_limits<std::int64_t>::min()
                                  : std::numeric_limits<std::int64_t>::max();
    }
    return r;
}

// n / d rounded down and up; d is not 0.
std::int64_t FloorDiv(std::int64_t n, std::int64_t d) {
    const std::int64_t q = n / d;
    return (n % d != 0 && (n < 0) != (d < 0)) ? q - 1 : q;
}

std::int64_t CeilDiv(std::int64_t n, std::int64_t d) {
    const std::int64_t q = n / d;
    return (n % d != 0 && (n < 0) == (d < 0)) ? q + 1 : q;
}

// Double to int, truncated towards zero and saturated.
int TruncSat(double v) {
    if (!(v == v)) {
        return 0;
    }
    return static_cast<int>(std::clamp(std::trunc(v), double(std::numeric_limits<int>::min()),
                                       double(std::numeric_limits<int>::max())));
}

void InitFont(LOGFONT& lf, int height, const char* face) {
    lf = LOGFONT{};
    lf.lfHeight = height;
    std::snprintf(lf.lfFaceName, LF_FACESIZE, "%s", face);
}

} // namespace

int SaturateInt(std::int64_t v) {
    return static_cast<int>(std::clamp<std::int64_t>(v, std::numeric_limits<int>::min(),
                                                     std::numeric_limits<int>::max()));
}

CTavikView::CTavikView(QWidget* parent) : CScrollView(parent) {
    Encoders().Reset();
    m_code39.Encode(m_settings.m_strText.c_str());
    CreateViewActions();
}

CTavikView::~CTavikView() {
    m_rowPass.Cancel();
    m_fontText.DeleteObject();
    m_fontBarcode.DeleteObject();
}

CTavikDoc* CTavikView::GetDocument() const {
    return static_cast<CTavikDoc*>(CScrollView::GetDocument());
}

void CTavikView::OnInitialUpdate() {
    CScrollView::OnInitialUpdate();
    BarcodeSettings& s = m_settings;
    const std::int64_t width = SatAdd(
        SatMul(static_cast<std::int64_t>(s.m_strText.size()), std::int64_t{s.m_nBarWidth} + 40),
        s.m_nOriginX);
    const std::int64_t height = SatAdd(SatAdd(s.m_nOriginY, s.m_nBarHeight), 20);
    SetScrollSizes(MM_TEXT, QSize(SaturateInt(width), SaturateInt(height)));

    InitFont(s.m_lfText, -14, "Arial");
    m_fontText.CreateFontIndirect(&s.m_lfText);
    InitFont(s.m_lfBarcode, -29, "Free 3 of 9");
    m_fontBarcode.CreateFontIndirect(&s.m_lfBarcode);
    s.m_nFontOffset = 10 - MulDiv(s.m_lfBarcode.lfHeight, ScreenResolution().y, 72) / 2;

    CTavikDoc* doc = GetDocument();
    if (doc != nullptr && !doc->m_lines.IsEmpty()) {
        s.m_pLines = &doc->m_lines;
    } else if (doc != nullptr) {
        doc->SetTitle(
            QString::fromLatin1(s.m_strText.data(), static_cast<qsizetype>(s.m_strText.size())));
    }
    // A view in a window checks its rows too; tavik-batch checks them itself.
    if (!m_checkRows && parentWidget() != nullptr) {
        m_checkRows = true;
        AddRowCheck();
    }
    StartRowPass();
}

EncoderSet CTavikView::Encoders() {
    return EncoderSet{&m_code39, &m_code93, &m_code128, &m_ean13, &m_i2of5};
}

CBarcodeBase* CTavikView::EncoderFor(int type) {
    return Encoders().For(type);
}

bool CTavikView::EncodeText(std::string text) {
    std::string name;
    const int type = m_settings.m_nType;
    if (static_cast<std::uint32_t>(type) > 6) {
        return false;
    }
    bool result = false;
    try {
        name = kSymbologyNames[static_cast<std::size_t>(type)];
        EncoderFor(type)->Clear();
        if (m_beforeEncode) {
            m_beforeEncode();
        }
        // The encoders read up to the first NUL byte; a text holding one would
        // be drawn with bars for only part of it, so it is refused instead.
        if (text.find('\0') != std::string::npos) {
            return false;
        }
        result = Encoders().Encode(type, text.c_str());
    } catch (...) {
        m_strScratch = "Can not encode text \"" + MessageText(text) + "\" to " + name + ".";
        AfxMessageBox(QString::fromStdString(m_strScratch));
        result = false;
    }
    return result;
}

void CTavikView::DrawBarcode(CDC* pDC, int x, int y, std::string_view text) {
    if (text.empty()) {
        return;
    }
    const BarcodeSettings& s = m_settings;
    CFont* oldFont = pDC->SelectObject(&m_fontText);
    pDC->SetTextColor(s.m_crText);

    const int bottom = SaturateInt(std::int64_t{y} + s.m_nBarHeight);
    if (s.m_bTrueType) {
        pDC->SelectObject(&m_fontBarcode);
        pDC->SetTextColor(s.m_crBarcodeFont);
        pDC->TextOut(x, y, text);
    } else if (s.m_nType == BARCODE_EAN13) {
        const int longBottom = TruncSat(s.m_nBarHeight * 1.2 + y);
        m_ean13.DrawLinesLong(*pDC, x, y, bottom, longBottom, s.m_crBar, s.m_crSpace,
                              s.m_nBarWidth);
    } else if (CBarcodeBase* encoder = EncoderFor(s.m_nType)) {
        encoder->DrawLines(*pDC, x, y, bottom, s.m_crBar, s.m_crSpace, s.m_nBarWidth);
    }

    if (s.m_bShowText) {
        pDC->SelectObject(&m_fontText);
        pDC->SetTextColor(s.m_crText);
        const std::int64_t below =
            s.m_bTrueType ? std::int64_t{s.m_nFontOffset} + s.m_nGuardExtra
                          : std::int64_t{s.m_nGuardExtra} + s.m_nBarWidth + s.m_nBarHeight;
        pDC->TextOut(x, SaturateInt(y + below), text);
    }
    pDC->SelectObject(oldFont);
}

// Font terms come from the display's resolution on every surface, so a row
// has the same pitch on the screen, in a preview and on paper.
int CTavikView::RowPitch(CDC* pDC) const {
    const BarcodeSettings& s = m_settings;
    const int dpi = pDC->IsPrinting() ? DisplayResolution().y : pDC->GetDeviceCaps(LOGPIXELSY);
    const std::int64_t textHeight = -std::int64_t{MulDiv(s.m_lfText.lfHeight, dpi, 72)};
    if (!s.m_bTrueType) {
        return SaturateInt(SatAdd(SatAdd(s.m_nBarHeight, SatMul(2, s.m_nGuardExtra)), textHeight));
    }
    const int barcodeHeight = MulDiv(s.m_lfBarcode.lfHeight, dpi, 72);
    return TruncSat(static_cast<double>(textHeight) - 0.75 * barcodeHeight);
}

void CTavikView::OnPrepareDC(CDC* pDC, CPrintInfo* pInfo) {
    CScrollView::OnPrepareDC(pDC, pInfo);
    if (!pDC->IsPrinting()) {
        return;
    }
    const CDC::Resolution display = DisplayResolution();
    pDC->SetMapMode(MM_ANISOTROPIC);
    pDC->SetWindowExt(display.x, display.y);
    pDC->SetViewportExt(pDC->GetAttribDeviceCaps(LOGPIXELSX), pDC->GetAttribDeviceCaps(LOGPIXELSY));
    pDC->SetWindowOrg(0, 0);
    pDC->SetViewportOrg(0, 0);
}

void CTavikView::OnPrint(CDC* pDC, CPrintInfo* pInfo) {
    m_pPrintInfo = pInfo;
    OnDraw(pDC);
}

// Drawing never changes the scroll sizes: they follow the layout and the row
// pass, not which rows a surface happened to show.
void CTavikView::OnDraw(CDC* pDC) {
    const BarcodeSettings& s = m_settings;
    const int pitch = RowPitch(pDC);
    const std::int64_t rows = s.m_pLines != nullptr
                                  ? static_cast<std::int64_t>(s.m_pLines->GetSize())
                                  : std::max<std::int64_t>(0, s.m_nRepeat);
    if (pDC->IsPrinting()) {
        DrawPage(pDC, pitch, rows);
    } else {
        DrawScreen(pDC, pitch, rows);
    }
}

CTavikView::RowExtent CTavikView::RowExtentOf(CDC* pDC) const {
    const BarcodeSettings& s = m_settings;
    const std::int64_t textCell = pDC->GetTextExtent("Ag", &m_fontText).height();
    std::int64_t top = 0;
    std::int64_t bottom = 0;
    auto cover = [&](std::int64_t a, std::int64_t b) {
        top = std::min({top, a, b});
        bottom = std::max({bottom, a, b});
    };
    std::int64_t textTop = 0;
    if (s.m_bTrueType) {
        cover(0, pDC->GetTextExtent("Ag", &m_fontBarcode).height());
        textTop = std::int64_t{s.m_nFontOffset} + s.m_nGuardExtra;
    } else {
        const std::int64_t h = s.m_nBarHeight;
        cover(0, h);
        cover(h, static_cast<std::int64_t>(h * 1.2));
        textTop = std::int64_t{s.m_nGuardExtra} + s.m_nBarWidth + h;
    }
    if (s.m_bShowText) {
        cover(textTop, textTop + textCell);
    }
    return RowExtent{top - 2, bottom + 2};
}

void CTavikView::DrawRow(CDC* pDC, std::int64_t k, int pitch, std::string_view text, bool encode) {
    const BarcodeSettings& s = m_settings;
    const std::int64_t y = SatAdd(s.m_nOriginY, SatMul(k, pitch));
    if (y < std::numeric_limits<int>::min() || y > std::numeric_limits<int>::max()) {
        return;
    }
    if (encode) {
        m_strScratch.assign(text);
        if (!EncodeText(m_strScratch)) {
            return; // a refused line leaves its row empty
        }
    }
    DrawBarcode(pDC, s.m_nOriginX, static_cast<int>(y), text);
}

// Only the rows that reach into the area being painted are encoded and drawn.
void CTavikView::DrawScreen(CDC* pDC, int pitch, std::int64_t rows) {
    if (rows <= 0) {
        return;
    }
    const BarcodeSettings& s = m_settings;
    const bool list = s.m_pLines != nullptr;
    if (pDC->Painter() == nullptr) {
        return; // a surface that only measures needs no row drawn
    }
    std::int64_t first = 0;
    std::int64_t last = rows - 1;
    if (pitch != 0) {
        // Row k reaches into the clip when k * pitch lies strictly between
        // these two bounds; integer arithmetic keeps the row range exact.
        const RowExtent ext = RowExtentOf(pDC);
        const QRect clip = pDC->GetClipBox();
        const std::int64_t above = std::int64_t{clip.top()} - s.m_nOriginY - ext.bottom;
        const std::int64_t below = std::int64_t{clip.bottom()} + 1 - s.m_nOriginY - ext.top;
        first = std::max(first, FloorDiv(pitch > 0 ? above : below, pitch) + 1);
        last = std::min(last, CeilDiv(pitch > 0 ? below : above, pitch) - 1);
    } else if (!list) {
        first = last; // every row lies on the same place with the same pixels
    }
    for (std::int64_t k = first; k <= last; ++k) {
        if (list) {
            if (static_cast<std::size_t>(k) >= s.m_pLines->GetSize()) {
                break;
            }
            DrawRow(pDC, k, pitch, s.m_pLines->GetAt(static_cast<std::size_t>(k)), true);
        } else {
            DrawRow(pDC, k, pitch, s.m_strText, false);
        }
    }
}

// One page of rows; every page starts again at the origin.
void CTavikView::DrawPage(CDC* pDC, int pitch, std::int64_t rows) {
    CPrintInfo* info = m_pPrintInfo;
    if (info == nullptr) {
        return;
    }
    const BarcodeSettings& s = m_settings;
    const std::int64_t pageHeight =
        std::int64_t{info->m_rectDraw.bottom()} + 1 - info->m_rectDraw.top();
    const std::int64_t perPage = pitch > 0 ? pageHeight / pitch : 0;
    if (perPage <= 0) {
        info->SetMaxPage(1); // nothing fits: one empty page
        return;
    }
    info->SetMaxPage(SaturateInt((rows + perPage - 1) / perPage));
    for (std::int64_t k = 0; k < perPage; ++k) {
        const std::int64_t index = SatAdd(SatMul(info->m_nCurPage - 1, perPage), k);
        if (index >= rows) {
            break;
        }
        if (s.m_pLines != nullptr) {
            DrawRow(pDC, k, pitch, s.m_pLines->GetAt(static_cast<std::size_t>(index)), true);
        } else {
            DrawRow(pDC, k, pitch, s.m_strText, false);
        }
    }
}

namespace {

// Measures the widest row of a pass, beyond the origin. A list line the
// symbology refuses leaves its row empty; the settings text is drawn anyway.
class CWidthVisitor : public CRowVisitor {
public:
    explicit CWidthVisitor(std::function<void(std::int64_t)> done) : m_done(std::move(done)) {}

    void Visit(const PassRow& row) override {
        const BarcodeSettings& s = row.input.settings;
        if (row.text.empty() || (s.m_pLines != nullptr && !row.accepted)) {
            return;
        }
        const std::int64_t right = RowRight(s, row.encoder, row.surface, row.input.textFont,
                                            row.input.barcodeFont, row.text);
        m_widest = std::max(m_widest, right - s.m_nOriginX);
    }
    void Finish() override { m_done(m_widest); }

private:
    std::function<void(std::int64_t)> m_done;
    std::int64_t m_widest = std::numeric_limits<std::int64_t>::min();
};

} // namespace

std::int64_t CTavikView::DrawnRight() const {
    return m_nRowsWidth == std::numeric_limits<std::int64_t>::min()
               ? m_nRowsWidth
               : SatAdd(m_settings.m_nOriginX, m_nRowsWidth);
}

void CTavikView::SetLayoutScrollSizes() {
    const BarcodeSettings& s = m_settings;
    const CDC::Resolution screen = ScreenResolution();
    CDC dc(nullptr, screen, screen, false);
    const int pitch = RowPitch(&dc);
    const std::int64_t rows = s.m_pLines != nullptr
                                  ? static_cast<std::int64_t>(s.m_pLines->GetSize())
                                  : std::max<std::int64_t>(0, s.m_nRepeat);
    const std::int64_t height = SatAdd(SatMul(rows, pitch), s.m_nOriginY);
    std::int64_t width = SatAdd(
        SatMul(static_cast<std::int64_t>(s.m_strText.size()), std::int64_t{s.m_nBarWidth} + 40),
        s.m_nOriginX);
    if (const std::int64_t right = DrawnRight();
        right != std::numeric_limits<std::int64_t>::min()) {
        // Wide rows stay reachable: their right edge plus the origin as a margin.
        width = std::max(width, SatAdd(right, s.m_nOriginX));
    }
    const int line = std::max(1, pitch);
    SetScrollSizes(MM_TEXT, QSize(SaturateInt(width), SaturateInt(height)), sizeDefault,
                   QSize(line, line));
    UpdateViewActions();
}

RowPassInput CTavikView::PassInput() const {
    return RowPassInput{m_settings, m_fontText, m_fontBarcode, ScreenResolution()};
}

CRowPass::Visitors CTavikView::MakeVisitors() {
    CRowPass::Visitors visitors;
    visitors.push_back(
        std::make_unique<CWidthVisitor>([this](std::int64_t w) { OnRowsMeasured(w); }));
    for (const RowVisitorMaker& make : m_rowVisitors) {
        visitors.push_back(make());
    }
    return visitors;
}

void CTavikView::OnRowsMeasured(std::int64_t widest) {
    m_nRowsWidth = widest;
    SetLayoutScrollSizes();
}

void CTavikView::StartRowPass() {
    m_rowPass.Cancel();
    m_nRowsWidth = std::numeric_limits<std::int64_t>::min();
    SetLayoutScrollSizes();
    if (m_settings.m_pLines == nullptr) {
        RunRowPassNow(); // one text: nothing worth a thread
        return;
    }
    m_rowPass.Start(PassInput(), MakeVisitors(), this);
}

void CTavikView::RunRowPassNow() {
    m_rowPass.Cancel();
    const CRowPass::Visitors visitors = MakeVisitors();
    const std::atomic<bool> never{false};
    if (CRowPass::Run(PassInput(), visitors, never)) {
        for (const auto& v : visitors) {
            v->Finish();
        }
    }
}

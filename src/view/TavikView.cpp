#include "TavikView.h"

#include "Document.h"
#include "LineList.h"
#include "MessageBox.h"
#include "MessageText.h"
#include "MulDiv.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace {

constexpr std::array<const char*, 7> kSymbologyNames = {
    "Barcode_39",   "Barcode_93",    "Barcode_128A", "Barcode_128B",
    "Barcode_128C", "Barcode_Ean13", "Barcode_I2of5"};

void InitFont(LOGFONT& lf, int height, const char* face) {
    lf = LOGFONT{};
    lf.lfHeight = height;
    std::snprintf(lf.lfFaceName, LF_FACESIZE, "%s", face);
}

} // namespace

CTavikView::CTavikView(QWidget* parent) : CScrollView(parent) {
    Encoders().Reset();
    m_code39.Encode(m_settings.m_strText.c_str());
    CreateViewActions();
}

CTavikView::~CTavikView() {
    OnDocumentLeaving();
    m_fontText.DeleteObject();
    m_fontBarcode.DeleteObject();
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

    CDocument* doc = GetDocument();
    if (doc != nullptr && doc->GetLines() != nullptr && !doc->GetLines()->IsEmpty()) {
        s.m_pLines = doc->GetLines();
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

EncoderSet CTavikView::Encoders() const {
    // Drawing only reads the encoders; encoding goes through the view's own members.
    auto* self = const_cast<CTavikView*>(this);
    return EncoderSet{&self->m_code39, &self->m_code93, &self->m_code128, &self->m_ean13,
                      &self->m_i2of5};
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

CRowRenderer CTavikView::Renderer() const {
    return CRowRenderer(m_settings, m_fontText, m_fontBarcode, Encoders(), DisplayResolution());
}

std::unique_ptr<CRowSnapshot> CTavikView::Snapshot() const {
    return std::make_unique<CRowSnapshot>(m_settings, m_fontText, m_fontBarcode, Encoders(),
                                          DisplayResolution(), ScreenResolution());
}

void CTavikView::DrawBarcode(CDC* pDC, int x, int y, std::string_view text) {
    Renderer().DrawBarcode(*pDC, x, y, text);
}

int CTavikView::RowPitch(CDC* pDC) const {
    return Renderer().RowPitch(*pDC);
}

void CTavikView::OnPrepareDC(CDC* pDC, CPrintInfo* pInfo) {
    CScrollView::OnPrepareDC(pDC, pInfo);
    if (pDC->IsPrinting()) {
        Renderer().PreparePrinting(*pDC);
    }
}

void CTavikView::OnPrint(CDC* pDC, CPrintInfo* pInfo) {
    m_pPrintInfo = pInfo;
    OnDraw(pDC);
}

// Drawing never changes the scroll sizes: they follow the layout and the row
// pass, not which rows a surface happened to show.
void CTavikView::OnDraw(CDC* pDC) {
    const CRowRenderer::Encode encode = [this](std::string_view text) {
        m_strScratch.assign(text);
        return EncodeText(m_strScratch);
    };
    if (!pDC->IsPrinting()) {
        Renderer().DrawScreen(*pDC, encode);
    } else if (m_pPrintInfo != nullptr) {
        Renderer().DrawPage(*pDC, *m_pPrintInfo, encode);
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

#include "TavikView.h"

#include "Document.h"
#include "LineList.h"
#include "MulDiv.h"
#include "RowLayout.h"
#include "TestSeam.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {


} // namespace

CTavikView::CTavikView(QWidget* parent) : CScrollView(parent) {
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
    const std::int64_t height = SatAdd(SatAdd(s.m_nOriginY, s.m_nBarHeight), 20);
    SetScrollSizes(MM_TEXT, QSize(SaturateInt(EstimatedWidth(s)), SaturateInt(height)));

    InitialFonts(s);
    SettleSettings(s, m_fontText, m_fontBarcode, ScreenResolution());

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

CBarcodeBase* CTavikView::EncoderFor(int type) {
    return m_encoders.For(type);
}

bool CTavikView::EncodeUnguarded(std::string_view text) {
    const int type = m_settings.m_nType;
    CBarcodeBase* encoder = m_encoders.For(type);
    if (encoder == nullptr) {
        return false;
    }
    encoder->Clear();
    g_beforeEncode.Pass();
    return m_encoders.Encode(type, text);
}

bool CTavikView::EncodeRow(std::string_view text) {
    try {
        return EncodeUnguarded(text);
    } catch (...) {
        return false; // the row check reports the row as refused
    }
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
        return EncodeRow(m_strScratch);
    };
    if (!pDC->IsPrinting()) {
        Renderer().DrawScreen(*pDC, encode);
    } else if (m_pPrintInfo != nullptr) {
        Renderer().DrawPage(*pDC, *m_pPrintInfo, encode);
    }
}

std::int64_t CTavikView::DrawnRight() const {
    return ::DrawnRight(m_settings, m_nRowsWidth);
}

void CTavikView::SetLayoutScrollSizes() {
    const CDC::Resolution screen = ScreenResolution();
    CDC dc(nullptr, screen, screen, false);
    const int pitch = RowPitch(&dc);
    const int line = std::max(1, pitch);
    SetScrollSizes(MM_TEXT, LayoutSize(m_settings, pitch, DrawnRight()), sizeDefault,
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

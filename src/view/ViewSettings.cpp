// The Settings command and the mouse drags of the barcode view.
#include "TavikView.h"

#include "Document.h"
#include "MDIFrameWnd.h"
#include "MessageBox.h"
#include "MessageText.h"
#include "PrinterResolution.h"
#include "RowCheck.h"
#include "RowLayout.h"
#include "WinApp.h"

#include <QPageLayout>
#include <QPrinter>

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <memory>

namespace {

QString FromLatin1(const std::string& text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// The message for a refused text (shown: shortened to a line, as UTF-8), the reason below it.
void ShowEncodingError(const std::string& shown, const std::string& reason) {
    AfxMessageBox(
        QStringLiteral("Error while encoding text \"%1\".").arg(QString::fromStdString(shown)),
        QString::fromStdString(reason), MB_OK);
}

} // namespace

void CTavikView::OnShowSettings() {
    OnLButtonDblClk(0, QPoint(m_settings.m_nOriginX, m_settings.m_nOriginY));
}

// Where the double click falls does not matter.
void CTavikView::OnLButtonDblClk(UINT /*nFlags*/, QPoint /*point*/) {
    if (!m_dialogs.settings) {
        return;
    }
    const int originX = m_settings.m_nOriginX;
    const int originY = m_settings.m_nOriginY;
    const int width = m_settings.m_nBarWidth;
    const int height = m_settings.m_nBarHeight;
    const SettingsDialogResult dlg = m_dialogs.settings(m_settings);
    if (!dlg.accepted) {
        // Cancel restores the origin only; mode, colours and fonts chosen stay.
        m_settings.m_nOriginX = originX;
        m_settings.m_nOriginY = originY;
        return;
    }
    // A width or height typed over what a length in mm gave wins over that length.
    if (m_settings.m_nBarWidth != width) {
        m_settings.m_print.xMm = 0;
    }
    if (m_settings.m_nBarHeight != height) {
        m_settings.m_print.barHeightMm = 0;
    }
    if (!dlg.clampNotes.isEmpty()) {
        if (CMDIFrameWnd* frame = AfxGetMainWnd()) {
            frame->SetMessageText(dlg.clampNotes.join(QStringLiteral("; ")));
        }
    }
    if (dlg.no8BitText.has_value()) {
        // A text without an 8-bit form is refused; the old text stays, and
        // the rest of this OK is applied to it below.
        ShowEncodingError(MessageTextUtf8(dlg.no8BitText->toStdString()),
                          "The text has characters beyond Latin-1 (8-bit).");
    }
    if (!EncodeText(m_settings.m_strText)) {
        const auto checker = std::make_unique<CRowChecker>();
        const std::string& text = m_settings.m_strText;
        ShowEncodingError(MessageText(text),
                          checker->Check(text, static_cast<Symbology>(m_settings.m_nType)).reason);
    } else {
        ApplySettings();
    }
    // The layout's sizes follow the new settings (a paint does not set them).
    StartRowPass();
    RedrawWindow();
}

void CTavikView::OnPageLayout(QWidget* parent) {
    if (!m_dialogs.pageLayout) {
        return;
    }
    PageLayoutContext context;
    if (CWinApp* app = AfxGetApp()) {
        const QPrinter& printer = app->GetPrinter();
        context.printerName = printer.printerName();
        context.printerDpi = PrintedResolution(printer);
        context.paperMm = printer.pageLayout().fullRect(QPageLayout::Millimeter).size();
    }
    context.displayDpi = DisplayResolution().x;
    if (!m_dialogs.pageLayout(parent, m_settings, context)) {
        return;
    }
    // Lengths in mm become the screen's pixels.
    SettleSettings(m_settings, m_fontText, m_fontBarcode, ScreenResolution());
    StartRowPass();
    RedrawWindow();
}

bool CTavikView::EncodeText(std::string text) {
    const SymbologyInfo* symbology = FindSymbology(m_settings.m_nType);
    if (symbology == nullptr) {
        return false;
    }
    try {
        return EncodeUnguarded(text);
    } catch (...) {
        m_strScratch =
            "Can not encode text \"" + MessageText(text) + "\" to " + symbology->messageName + ".";
        AfxMessageBox(QString::fromStdString(m_strScratch));
        return false;
    }
}

void CTavikView::ApplySettings() {
    BarcodeSettings& s = m_settings;
    SetSettingsScrollSizes(s.m_nBarHeight);
    if (s.m_pLines == nullptr) {
        m_strScratch = s.m_strText;
        if (s.m_nRepeat > 1) {
            m_strScratch += " ( x" + std::to_string(s.m_nRepeat) + " )";
        }
        if (CDocument* doc = GetDocument()) {
            doc->SetTitle(FromLatin1(m_strScratch));
        }
    }
    SettleSettings(s, m_fontText, m_fontBarcode, ScreenResolution());
}

void CTavikView::SetSettingsScrollSizes(int height) {
    const BarcodeSettings& s = m_settings;
    const std::int64_t total = std::int64_t{s.m_nOriginY} + height + 20;
    SetScrollSizes(MM_TEXT, QSize(SaturateInt(EstimatedWidth(s)), SaturateInt(total)), sizeDefault,
                   sizeDefault);
}

// Hit test in document coordinates: the bars' bottom line (lines mode only,
// at any x) first, then the 19 x 19 square around the origin.
void CTavikView::OnLButtonDown(UINT /*nFlags*/, QPoint point) {
    const BarcodeSettings& s = m_settings;
    const QPoint scroll = GetScrollPosition();
    const std::int64_t docX = std::int64_t{point.x()} + scroll.x();
    const std::int64_t dy = std::int64_t{point.y()} + scroll.y() - s.m_nOriginY;
    if (std::llabs(dy - s.m_nBarHeight) < 10 && !s.m_bTrueType) {
        m_bResizingHeight = true;
        return;
    }
    if (std::llabs(docX - s.m_nOriginX) < 10 && std::llabs(dy) < 10) {
        m_bMovingOrigin = true;
    }
}

// Drags act only with exactly the left button held (no Shift, no Ctrl).
void CTavikView::OnMouseMove(UINT nFlags, QPoint point) {
    if (!m_bMovingOrigin && !m_bResizingHeight) {
        return;
    }
    if (nFlags != MK_LBUTTON) {
        return;
    }
    BarcodeSettings& s = m_settings;
    const QPoint scroll = GetScrollPosition();
    const std::int64_t docX = std::int64_t{point.x()} + scroll.x();
    const std::int64_t docY = std::int64_t{point.y()} + scroll.y();
    if (m_bResizingHeight) {
        s.m_nBarHeight = SaturateInt(docY - s.m_nOriginY);
        s.m_print.barHeightMm = 0; // the dragged height wins over a length in mm
    } else {
        s.m_nOriginX = SaturateInt(docX);
        s.m_nOriginY = SaturateInt(docY);
    }
    RedrawWindow();
    SetSettingsScrollSizes(s.m_bTrueType ? s.m_nFontOffset : s.m_nBarHeight);
}

// The release ends any drag, also one released outside the view (the press
// grabbed the mouse, so the release comes here).
void CTavikView::OnLButtonUp(UINT nFlags, QPoint point) {
    if (m_bMovingOrigin || m_bResizingHeight) {
        SetLayoutScrollSizes(); // the drag's own sizes stood while it lasted
    }
    m_bMovingOrigin = false;
    m_bResizingHeight = false;
    CScrollView::OnLButtonUp(nFlags, point);
}

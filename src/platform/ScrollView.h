#pragma once

#include "AfxRes.h"
#include "DC.h"
#include "Document.h"
#include "PrintInfo.h"
#include "PrintLoop.h"

#include <QAbstractScrollArea>
#include <QSize>
#include <QString>

#include <functional>

class QKeyEvent;
class QPrinter;
class QMouseEvent;
class QWheelEvent;
class QScrollBar;

// Flags of a mouse message: the buttons and keys held when it happened.
constexpr UINT MK_LBUTTON = 0x0001;
constexpr UINT MK_RBUTTON = 0x0002;
constexpr UINT MK_SHIFT = 0x0004;
constexpr UINT MK_CONTROL = 0x0008;
constexpr UINT MK_MBUTTON = 0x0010;
constexpr UINT MK_XBUTTON1 = 0x0020;
constexpr UINT MK_XBUTTON2 = 0x0040;

// The MK_* flags of a mouse event.
UINT MouseFlags(const QMouseEvent& event);

// Scrolling view base: a scroll area whose viewport paints through
// OnPrepareDC and OnDraw with one logical unit per pixel.
class CScrollView : public QAbstractScrollArea, public CDocumentView {
public:
    // Page and line sizes left to the defaults: a page is the visible area less
    // one line, a line a tenth of the visible area.
    static constexpr QSize sizeDefault{0, 0};
    // Whole zoom factors: each logical unit is zoom pixels on the screen.
    static constexpr int kMinZoom = 1;
    static constexpr int kMaxZoom = 8;

    explicit CScrollView(QWidget* parent = nullptr);
    ~CScrollView() override;

    void SetScrollSizes(int mapMode, QSize total, QSize page = sizeDefault,
                        QSize line = sizeDefault);
    QSize GetTotalSize() const { return m_totalSize; }
    // In logical units, whatever the zoom.
    QPoint GetScrollPosition() const;
    void ScrollToPosition(QPoint position);

    virtual void OnInitialUpdate();
    virtual void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = nullptr);
    virtual void OnDraw(CDC* pDC) = 0;
    // Called for every printed or previewed page; draws it with OnDraw.
    virtual void OnPrint(CDC* pDC, CPrintInfo* pInfo);

    // The screen's zoom, clamped to [kMinZoom, kMaxZoom]; the scroll position
    // in logical units is kept.
    void SetZoom(int zoom);
    int GetZoom() const { return m_nZoom; }
    // After the zoom changed.
    virtual void OnZoomChanged() {}
    // Before printing or a preview: the view's own page on printer (a label
    // sheet's). By default the printer's page stays.
    virtual void PreparePrinter(QPrinter& /*printer*/) {}
    // Before a print job is spooled on printer: why its pages cannot be
    // printed, in one line, or empty. By default nothing stops it.
    virtual QString CheckPrintable(const QPrinter& /*printer*/) { return {}; }
    // Prints the pages on printer as the print dialog (or the caller) set it
    // up; by default the print loop on this thread.
    virtual PrintResult PrintPages(QPrinter& printer);
    // Dots the print loop takes off every printed bar and gives to the space
    // after it (Print, Preview); none by default.
    virtual int BarReduction() const { return 0; }
    // Calls report with one line for each part that will print empty on
    // printer; false when there is any. By default there is none.
    virtual bool ReportPrintGaps(const QPrinter& /*printer*/,
                                 const std::function<void(const QString&)>& /*report*/) {
        return true;
    }

    // Invalidates, erases and repaints the whole view before returning.
    void RedrawWindow();

    // The screen's resolution as the view's surfaces report it.
    CDC::Resolution ScreenResolution() const;

    // Left-button messages of the viewport, point in client coordinates
    // (logical units: pixels divided by the zoom, rounded down).
    // The release reaches the view wherever it happens (the press grabs the
    // mouse), so every press is followed by its release.
    virtual void OnLButtonDown(UINT nFlags, QPoint point);
    virtual void OnLButtonUp(UINT nFlags, QPoint point);
    virtual void OnLButtonDblClk(UINT nFlags, QPoint point);
    virtual void OnMouseMove(UINT nFlags, QPoint point);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // Ctrl+wheel zooms by one step a notch.
    void wheelEvent(QWheelEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void UpdateScrollBars();
    void OnPageAction(QScrollBar* bar, int action);
    QPoint ClientPoint(QPointF pixels) const;

    int m_nMapMode = MM_TEXT;
    QSize m_totalSize{0, 0};
    QSize m_pageSize{0, 0};
    QSize m_lineSize{0, 0};
    int m_nZoom = 1;
};

// A view's pages: OnPrepareDC, then OnPrint.
class CViewPages : public CPageSource {
public:
    explicit CViewPages(CScrollView& view) : m_view(view) {}
    void PreparePage(CDC& dc, CPrintInfo& info) override;
    void DrawPage(CDC& dc, CPrintInfo& info) override;

private:
    CScrollView& m_view;
};

// The print loop and page drawing of PrintLoop.h over a view's pages.
PrintResult RunPrintLoop(CScrollView& view, QPrinter& printer, int barReduction = 0);
int DrawPrintPage(CScrollView& view, QPainter* painter, const QPrinter& printer, int page,
                  int barReduction = 0, bool preview = false);
int CountPrintPages(CScrollView& view, const QPrinter& printer);

// The scroll view a document lists: CScrollView is the only kind of document view.
inline CScrollView* ScrollViewOf(CDocumentView* view) {
    return static_cast<CScrollView*>(view);
}

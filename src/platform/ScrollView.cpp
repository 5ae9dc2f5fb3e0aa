#include "ScrollView.h"

#include "Document.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <limits>

CScrollView::CScrollView(QWidget* parent) : QAbstractScrollArea(parent) {
    QPalette p = viewport()->palette();
    p.setColor(QPalette::Window, Qt::white);
    viewport()->setPalette(p);
    viewport()->setAutoFillBackground(true);
    viewport()->setMouseTracking(true);
    for (QScrollBar* bar : {horizontalScrollBar(), verticalScrollBar()}) {
        connect(bar, &QAbstractSlider::actionTriggered, this,
                [this, bar](int action) { OnPageAction(bar, action); });
    }
}

CScrollView::~CScrollView() {
    if (CDocument* doc = GetDocument()) {
        doc->RemoveView(this);
    }
}

void CScrollView::SetScrollSizes(int mapMode, QSize total, QSize page, QSize line) {
    m_nMapMode = mapMode;
    m_totalSize = QSize(std::max(0, total.width()), std::max(0, total.height()));
    // A size given as 0 follows the visible area (see UpdateScrollBars): a page
    // or line that is a fraction of the whole list would step thousands of rows.
    m_pageSize = page;
    m_lineSize = line;
    UpdateScrollBars();
}

QPoint CScrollView::GetScrollPosition() const {
    return QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value());
}

void CScrollView::ScrollToPosition(QPoint position) {
    horizontalScrollBar()->setValue(position.x());
    verticalScrollBar()->setValue(position.y());
}

void CScrollView::OnInitialUpdate() {}

// Only the view's own window is scrolled and zoomed; other surfaces (images,
// files, the clipboard) get the whole drawing at one unit per pixel.
void CScrollView::OnPrepareDC(CDC* pDC, CPrintInfo* /*pInfo*/) {
    pDC->SetMapMode(MM_TEXT);
    QPainter* painter = pDC->Painter();
    if (pDC->IsPrinting() || painter == nullptr || painter->device() != viewport()) {
        return;
    }
    const QPoint pos = GetScrollPosition();
    if (m_nZoom != 1) {
        // The window extent stays the resolution, so font sizes keep their units.
        const int dpi = pDC->GetDeviceCaps(LOGPIXELSY);
        pDC->SetMapMode(MM_ANISOTROPIC);
        pDC->SetWindowExt(dpi, dpi);
        pDC->SetViewportExt(dpi * m_nZoom, dpi * m_nZoom);
    }
    // The scroll position is the window's origin: the offset in device pixels
    // may pass the int range far down a huge layout at a high zoom.
    pDC->SetWindowOrg(pos.x(), pos.y());
    // Where a unit is not a whole number of device pixels (a fractional scale
    // factor), bars are laid on the pixel grid so every module is as wide.
    const qreal dpr = painter->device()->devicePixelRatioF();
    const qreal pixels = dpr * m_nZoom;
    pDC->SetDevicePixelRatio(dpr);
    pDC->SetDotGrid(std::abs(pixels - std::round(pixels)) > 1e-9);
}

void CScrollView::SetZoom(int zoom) {
    zoom = std::clamp(zoom, kMinZoom, kMaxZoom);
    if (zoom == m_nZoom) {
        return;
    }
    const QPoint pos = GetScrollPosition();
    m_nZoom = zoom;
    UpdateScrollBars();
    ScrollToPosition(pos);
    viewport()->update();
    OnZoomChanged();
}

void CScrollView::wheelEvent(QWheelEvent* event) {
    if (!event->modifiers().testFlag(Qt::ControlModifier)) {
        QAbstractScrollArea::wheelEvent(event);
        return;
    }
    const int notch = event->angleDelta().y();
    if (notch != 0) {
        SetZoom(m_nZoom + (notch > 0 ? 1 : -1));
    }
    event->accept();
}

void CViewPages::PreparePage(CDC& dc, CPrintInfo& info) {
    m_view.OnPrepareDC(&dc, &info);
}

void CViewPages::DrawPage(CDC& dc, CPrintInfo& info) {
    m_view.OnPrint(&dc, &info);
}

PrintResult RunPrintLoop(CScrollView& view, QPrinter& printer, int barReduction) {
    CViewPages pages(view);
    return RunPrintLoop(pages, printer, barReduction, {});
}

int DrawPrintPage(CScrollView& view, QPainter* painter, const QPrinter& printer, int page,
                  int barReduction, bool preview) {
    CViewPages pages(view);
    return DrawPrintPage(pages, painter, printer, page, barReduction, preview);
}

int CountPrintPages(CScrollView& view, const QPrinter& printer) {
    CViewPages pages(view);
    return CountPrintPages(pages, printer);
}

PrintResult CScrollView::PrintPages(QPrinter& printer) {
    return RunPrintLoop(*this, printer, BarReduction());
}

void CScrollView::OnPrint(CDC* pDC, CPrintInfo* /*pInfo*/) {
    OnDraw(pDC);
}

void CScrollView::RedrawWindow() {
    viewport()->repaint();
}

CDC::Resolution CScrollView::ScreenResolution() const {
    return CDC::Resolution{viewport()->logicalDpiX(), viewport()->logicalDpiY()};
}

QPoint CScrollView::ClientPoint(QPointF pixels) const {
    return QPoint(static_cast<int>(std::floor(pixels.x() / m_nZoom)),
                  static_cast<int>(std::floor(pixels.y() / m_nZoom)));
}

void CScrollView::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    const CDC::Resolution screen = ScreenResolution();
    CDC dc(&painter, screen, screen, false);
    dc.SetDeviceClip(event->rect());
    OnPrepareDC(&dc, nullptr);
    OnDraw(&dc);
}

void CScrollView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
}

// Every scroll repaints the whole viewport: each paint sees all visible rows.
void CScrollView::scrollContentsBy(int, int) {
    viewport()->update();
}

// Scroll bars count logical units; the visible area is the viewport divided by the zoom.
void CScrollView::UpdateScrollBars() {
    const QSize view(viewport()->width() / m_nZoom, viewport()->height() / m_nZoom);
    auto apply = [](QScrollBar* bar, int total, int visible, int line) {
        bar->setRange(0, std::max(0, total - visible));
        bar->setPageStep(std::max(1, visible));
        bar->setSingleStep(std::max(1, line != 0 ? line : visible / 10));
    };
    apply(horizontalScrollBar(), m_totalSize.width(), view.width(), m_lineSize.width());
    apply(verticalScrollBar(), m_totalSize.height(), view.height(), m_lineSize.height());
}

// Home and End go to the left and right edges, with Ctrl to the top and
// bottom; the other keys scroll as the scroll area does.
void CScrollView::keyPressEvent(QKeyEvent* event) {
    const bool home = event->key() == Qt::Key_Home;
    if (!home && event->key() != Qt::Key_End) {
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    QScrollBar* bar = event->modifiers().testFlag(Qt::ControlModifier) ? verticalScrollBar()
                                                                       : horizontalScrollBar();
    bar->triggerAction(home ? QAbstractSlider::SliderToMinimum : QAbstractSlider::SliderToMaximum);
}

// A page step (a click in the trough, a Page key) moves by the page size of
// the scroll sizes, by default the visible area less one line; the handle
// keeps the visible size.
void CScrollView::OnPageAction(QScrollBar* bar, int action) {
    const bool forward = action == QAbstractSlider::SliderPageStepAdd;
    if (!forward && action != QAbstractSlider::SliderPageStepSub) {
        return;
    }
    const bool across = bar->orientation() == Qt::Horizontal;
    int page = across ? m_pageSize.width() : m_pageSize.height();
    if (page == 0) {
        page = std::max(1, bar->pageStep() - bar->singleStep());
    }
    if (page > 0) {
        const long long to = static_cast<long long>(bar->value()) + (forward ? page : -page);
        bar->setSliderPosition(static_cast<int>(std::clamp<long long>(to, 0, bar->maximum())));
    }
}

UINT MouseFlags(const QMouseEvent& event) {
    const Qt::MouseButtons buttons = event.buttons();
    const Qt::KeyboardModifiers keys = event.modifiers();
    UINT flags = 0;
    flags |= buttons.testFlag(Qt::LeftButton) ? MK_LBUTTON : 0;
    flags |= buttons.testFlag(Qt::RightButton) ? MK_RBUTTON : 0;
    flags |= buttons.testFlag(Qt::MiddleButton) ? MK_MBUTTON : 0;
    flags |= buttons.testFlag(Qt::XButton1) ? MK_XBUTTON1 : 0;
    flags |= buttons.testFlag(Qt::XButton2) ? MK_XBUTTON2 : 0;
    flags |= keys.testFlag(Qt::ShiftModifier) ? MK_SHIFT : 0;
    flags |= keys.testFlag(Qt::ControlModifier) ? MK_CONTROL : 0;
    return flags;
}

void CScrollView::OnLButtonDown(UINT, QPoint) {}
void CScrollView::OnLButtonUp(UINT, QPoint) {}
void CScrollView::OnLButtonDblClk(UINT, QPoint) {}
void CScrollView::OnMouseMove(UINT, QPoint) {}

// Viewport mouse events arrive here in viewport (client) coordinates; other
// buttons than the left one go to the default processing.
void CScrollView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    OnLButtonDown(MouseFlags(*event), ClientPoint(event->position()));
}

void CScrollView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mouseReleaseEvent(event);
        return;
    }
    OnLButtonUp(MouseFlags(*event), ClientPoint(event->position()));
}

void CScrollView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mouseDoubleClickEvent(event);
        return;
    }
    OnLButtonDblClk(MouseFlags(*event), ClientPoint(event->position()));
}

void CScrollView::mouseMoveEvent(QMouseEvent* event) {
    OnMouseMove(MouseFlags(*event), ClientPoint(event->position()));
}

#include "ScrollView.h"

#include "Document.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

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
    if (m_pDocument != nullptr) {
        m_pDocument->RemoveView(this);
    }
}

void CScrollView::SetScrollSizes(int mapMode, QSize total, QSize page, QSize line) {
    m_nMapMode = mapMode;
    m_totalSize = QSize(std::max(0, total.width()), std::max(0, total.height()));
    // Defaults, for each direction given as 0: a page is a tenth of the
    // total, a line a tenth of a page.
    auto orDefault = [](QSize given, QSize whole) {
        return QSize(given.width() != 0 ? given.width() : whole.width() / 10,
                     given.height() != 0 ? given.height() : whole.height() / 10);
    };
    m_pageSize = orDefault(page, m_totalSize);
    m_lineSize = orDefault(line, m_pageSize);
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

void CScrollView::OnPrepareDC(CDC* pDC, CPrintInfo* /*pInfo*/) {
    pDC->SetMapMode(MM_TEXT);
    if (!pDC->IsPrinting()) {
        const QPoint pos = GetScrollPosition();
        pDC->SetViewportOrg(-pos.x(), -pos.y());
    }
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

void CScrollView::UpdateScrollBars() {
    const QSize view = viewport()->size();
    auto apply = [](QScrollBar* bar, int total, int visible, int line) {
        bar->setRange(0, std::max(0, total - visible));
        bar->setPageStep(std::max(1, visible));
        bar->setSingleStep(std::max(1, line));
    };
    apply(horizontalScrollBar(), m_totalSize.width(), view.width(), m_lineSize.width());
    apply(verticalScrollBar(), m_totalSize.height(), view.height(), m_lineSize.height());
}

// A page step (a click in the trough, a Page key) moves by the page size of
// the scroll sizes; the handle keeps the visible size.
void CScrollView::OnPageAction(QScrollBar* bar, int action) {
    const bool forward = action == QAbstractSlider::SliderPageStepAdd;
    if (!forward && action != QAbstractSlider::SliderPageStepSub) {
        return;
    }
    const int page =
        bar->orientation() == Qt::Horizontal ? m_pageSize.width() : m_pageSize.height();
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
    OnLButtonDown(MouseFlags(*event), event->position().toPoint());
}

void CScrollView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mouseReleaseEvent(event);
        return;
    }
    OnLButtonUp(MouseFlags(*event), event->position().toPoint());
}

void CScrollView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mouseDoubleClickEvent(event);
        return;
    }
    OnLButtonDblClk(MouseFlags(*event), event->position().toPoint());
}

void CScrollView::mouseMoveEvent(QMouseEvent* event) {
    OnMouseMove(MouseFlags(*event), event->position().toPoint());
}

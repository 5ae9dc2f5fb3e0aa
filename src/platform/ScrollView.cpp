#include "ScrollView.h"

#include "Document.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

CScrollView::CScrollView(QWidget* parent) : QAbstractScrollArea(parent)
{
    QPalette p = viewport()->palette();
    p.setColor(QPalette::Window, Qt::white);
    viewport()->setPalette(p);
    viewport()->setAutoFillBackground(true);
    viewport()->setMouseTracking(true);
}

CScrollView::~CScrollView()
{
    if (m_pDocument != nullptr) {
        m_pDocument->RemoveView(this);
    }
}

void CScrollView::SetScrollSizes(int mapMode, QSize total, QSize page, QSize line)
{
    m_nMapMode = mapMode;
    m_totalSize = QSize(std::max(0, total.width()), std::max(0, total.height()));
    // Defaults: a page is a tenth of the total, a line a tenth of a page.
    m_pageSize = page.isEmpty() ? m_totalSize / 10 : page;
    m_lineSize = line.isEmpty() ? m_pageSize / 10 : line;
    UpdateScrollBars();
}

QPoint CScrollView::GetScrollPosition() const
{
    return QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value());
}

void CScrollView::ScrollToPosition(QPoint position)
{
    horizontalScrollBar()->setValue(position.x());
    verticalScrollBar()->setValue(position.y());
}

void CScrollView::OnInitialUpdate() {}

void CScrollView::OnPrepareDC(CDC* pDC, CPrintInfo* /*pInfo*/)
{
    pDC->SetMapMode(MM_TEXT);
    if (!pDC->IsPrinting()) {
        const QPoint pos = GetScrollPosition();
        pDC->SetViewportOrg(-pos.x(), -pos.y());
    }
}

void CScrollView::OnPrint(CDC* pDC, CPrintInfo* /*pInfo*/) { OnDraw(pDC); }

void CScrollView::RedrawWindow() { viewport()->repaint(); }

CDC::Resolution CScrollView::ScreenResolution() const
{
    return CDC::Resolution{viewport()->logicalDpiX(), viewport()->logicalDpiY()};
}

void CScrollView::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    const CDC::Resolution screen = ScreenResolution();
    CDC dc(&painter, screen, screen, false);
    dc.SetDeviceClip(event->rect());
    OnPrepareDC(&dc, nullptr);
    OnDraw(&dc);
}

void CScrollView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
}

// Every scroll repaints the whole viewport: each paint sees all visible rows.
void CScrollView::scrollContentsBy(int, int) { viewport()->update(); }

void CScrollView::UpdateScrollBars()
{
    const QSize view = viewport()->size();
    auto apply = [](QScrollBar* bar, int total, int visible, int line) {
        bar->setRange(0, std::max(0, total - visible));
        bar->setPageStep(std::max(1, visible));
        bar->setSingleStep(std::max(1, line));
    };
    apply(horizontalScrollBar(), m_totalSize.width(), view.width(), m_lineSize.width());
    apply(verticalScrollBar(), m_totalSize.height(), view.height(), m_lineSize.height());
}

#pragma once

#include "DC.h"
#include "PrintInfo.h"

#include <QAbstractScrollArea>
#include <QSize>

class CDocument;

// Scrolling view base: a scroll area whose viewport paints through
// OnPrepareDC and OnDraw with one logical unit per pixel.
class CScrollView : public QAbstractScrollArea {
public:
    // Page and line sizes left to the defaults.
    static constexpr QSize sizeDefault{0, 0};

    explicit CScrollView(QWidget* parent = nullptr);
    ~CScrollView() override;

    CDocument* GetDocument() const { return m_pDocument; }

    void SetScrollSizes(int mapMode, QSize total, QSize page = sizeDefault,
                        QSize line = sizeDefault);
    QSize GetTotalSize() const { return m_totalSize; }
    QPoint GetScrollPosition() const;
    void ScrollToPosition(QPoint position);

    virtual void OnInitialUpdate();
    virtual void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = nullptr);
    virtual void OnDraw(CDC* pDC) = 0;
    // Called for every printed or previewed page; draws it with OnDraw.
    virtual void OnPrint(CDC* pDC, CPrintInfo* pInfo);

    // Invalidates, erases and repaints the whole view before returning.
    void RedrawWindow();

    // The screen's resolution as the view's surfaces report it.
    CDC::Resolution ScreenResolution() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    friend class CDocument;
    void UpdateScrollBars();

    CDocument* m_pDocument = nullptr;
    int m_nMapMode = MM_TEXT;
    QSize m_totalSize{0, 0};
    QSize m_pageSize{0, 0};
    QSize m_lineSize{0, 0};
};

#pragma once

#include <QPoint>
#include <QRect>

// Information about the page being printed or previewed.
struct CPrintInfo {
    int m_nCurPage = 1;  // counted from 1
    QRect m_rectDraw;    // drawable area in logical units, set after OnPrepareDC
    int m_nMaxPage = -1; // -1 until the view reports a count
    // The paper's top-left corner in logical units, set with m_rectDraw.
    QPoint m_ptPaper;
    // Drawn for the print preview, not for paper.
    bool m_bPreview = false;

    void SetMaxPage(int maxPage) { m_nMaxPage = maxPage; }
    int GetMaxPage() const { return m_nMaxPage; }
};

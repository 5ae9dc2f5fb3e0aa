#pragma once

#include <QRect>

// Information about the page being printed or previewed.
struct CPrintInfo {
    int m_nCurPage = 1;  // counted from 1
    QRect m_rectDraw;    // drawable area in logical units, set after OnPrepareDC
    int m_nMaxPage = -1; // -1 until the view reports a count

    void SetMaxPage(int maxPage) { m_nMaxPage = maxPage; }
    int GetMaxPage() const { return m_nMaxPage; }
};

#include "PrintLoop.h"

#include "ScrollView.h"

#include <QPainter>
#include <QPrinter>

#include <algorithm>

namespace {

// The printable area in device pixels; the painter's origin is its top-left corner.
QRect PageRect(const QPrinter& printer) {
    return QRect(QPoint(0, 0), printer.pageLayout().paintRectPixels(printer.resolution()).size());
}

// The same in the view's logical units.
QRect DrawableRect(const CDC& dc, const QPrinter& printer) {
    return dc.LogicalToDevice().inverted().mapRect(PageRect(printer));
}

} // namespace

PrintResult RunPrintLoop(CScrollView& view, QPrinter& printer) {
    PrintResult result;
    QPainter painter;
    if (!painter.begin(&printer)) {
        return result;
    }
    const CDC::Resolution dpi{printer.logicalDpiX(), printer.logicalDpiY()};
    CPrintInfo info;
    int lastPage = 1;
    for (info.m_nCurPage = 1; info.m_nCurPage <= lastPage; ++info.m_nCurPage) {
        if (info.m_nCurPage > 1 && !printer.newPage()) {
            return result;
        }
        {
            CDC dc(&painter, dpi, dpi, true);
            view.OnPrepareDC(&dc, &info);
            info.m_rectDraw = DrawableRect(dc, printer);
            dc.SetDeviceClip(PageRect(printer));
            view.OnPrint(&dc, &info);
        }
        if (info.m_nCurPage == 1) {
            lastPage = std::max(1, info.GetMaxPage());
        }
        ++result.pages;
    }
    result.ok = painter.end();
    return result;
}

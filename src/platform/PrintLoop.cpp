#include "PrintLoop.h"

#include "PrinterResolution.h"
#include "ScrollView.h"

#include <QPainter>
#include <QPicture>
#include <QPrinter>

#include <algorithm>
#include <climits>

namespace {

// The printable area in device pixels; the painter's origin is its top-left corner.
QRect PageRect(const QPrinter& printer) {
    return QRect(QPoint(0, 0), printer.pageLayout().paintRectPixels(printer.resolution()).size());
}

// The same in the view's logical units.
QRect DrawableRect(const CDC& dc, const QPrinter& printer) {
    return dc.LogicalToDevice().inverted().mapRect(PageRect(printer));
}

// Prepares and prints page info.m_nCurPage of view with painter, at the printer's resolution.
void PrintPage(CScrollView& view, QPainter& painter, const QPrinter& printer, CPrintInfo& info,
               int barReduction) {
    const CDC::Resolution dpi{printer.logicalDpiX(), printer.logicalDpiY()};
    CDC dc(&painter, dpi, dpi, true);
    dc.SetBarReduction(barReduction);
    view.OnPrepareDC(&dc, &info);
    info.m_rectDraw = DrawableRect(dc, printer);
    dc.SetDeviceClip(PageRect(printer));
    view.OnPrint(&dc, &info);
}

// The page count the view reports for its first page, drawn on a scratch surface.
int CountPages(CScrollView& view, const QPrinter& printer) {
    QPicture scratch;
    QPainter painter(&scratch);
    CPrintInfo info;
    PrintPage(view, painter, printer, info, 0);
    return std::max(1, info.GetMaxPage());
}

} // namespace

PrintResult RunPrintLoop(CScrollView& view, QPrinter& printer, int barReduction) {
    UseQueueResolution(printer); // lines are laid on the dots the printer prints
    int first = 1;
    int last = INT_MAX;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        first = printer.fromPage();
        last = std::max(first, printer.toPage());
    }
    // From page 1 its own count bounds the loop; a later first page needs the count first.
    int lastPage = first == 1 ? 1 : std::min(last, CountPages(view, printer));
    PrintResult result;
    if (first > lastPage) {
        result.ok = true; // the range lies beyond the last page: nothing to print
        return result;
    }
    QPainter painter;
    if (!painter.begin(&printer)) {
        return result;
    }
    CPrintInfo info;
    for (info.m_nCurPage = first; info.m_nCurPage <= lastPage; ++info.m_nCurPage) {
        if (info.m_nCurPage > first && !printer.newPage()) {
            return result;
        }
        PrintPage(view, painter, printer, info, barReduction);
        if (info.m_nCurPage == 1) {
            lastPage = std::min(last, std::max(1, info.GetMaxPage()));
        }
        ++result.pages;
    }
    result.ok = painter.end();
    return result;
}

#include "PrintLoop.h"

#include "CupsJob.h"
#include "PrinterResolution.h"
#include "ScrollView.h"

#include <QDir>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryFile>

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

} // namespace

int DrawPrintPage(CScrollView& view, QPainter* painter, const QPrinter& printer, int page,
                  int barReduction) {
    const CDC::Resolution dpi{printer.logicalDpiX(), printer.logicalDpiY()};
    CDC dc(painter, dpi, dpi, true);
    dc.SetBarReduction(barReduction);
    CPrintInfo info;
    info.m_nCurPage = page;
    view.OnPrepareDC(&dc, &info);
    info.m_rectDraw = DrawableRect(dc, printer);
    dc.SetDeviceClip(PageRect(printer));
    view.OnPrint(&dc, &info);
    return std::max(1, info.GetMaxPage());
}

int CountPrintPages(CScrollView& view, const QPrinter& printer) {
    return DrawPrintPage(view, nullptr, printer, 1);
}

namespace {

// Draws the pages printer's range asks for.
PrintResult DrawPages(CScrollView& view, QPrinter& printer, int barReduction) {
    int first = 1;
    int last = INT_MAX;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        first = printer.fromPage();
        last = std::max(first, printer.toPage());
    }
    // From page 1 its own count bounds the loop; a later first page needs the count first.
    int lastPage = first == 1 ? 1 : std::min(last, CountPrintPages(view, printer));
    PrintResult result;
    if (first > lastPage) {
        result.ok = true; // the range lies beyond the last page: nothing to print
        return result;
    }
    QPainter painter;
    if (!painter.begin(&printer)) {
        return result;
    }
    for (int page = first; page <= lastPage; ++page) {
        if (page > first && !printer.newPage()) {
            return result;
        }
        const int count = DrawPrintPage(view, &painter, printer, page, barReduction);
        if (page == 1) {
            lastPage = std::min(last, count);
        }
        ++result.pages;
    }
    result.ok = painter.end();
    return result;
}

// A printer on a print queue: the pages go into a PDF file, sent as one job.
PrintResult PrintOnQueue(CScrollView& view, QPrinter& printer, int barReduction) {
    PrintResult result;
    const CupsJobSpec spec = JobSpecFor(printer, &result.error);
    if (spec.options.empty()) {
        return result;
    }
    QTemporaryFile file(QDir::tempPath() + QStringLiteral("/tavik-job-XXXXXX.pdf"));
    if (!file.open()) {
        result.error = QStringLiteral("cannot make a temporary file: ") + file.errorString();
        return result;
    }
    file.close();
    const std::unique_ptr<QPrinter> pdf = JobPdfPrinter(printer, file.fileName());
    result = DrawPages(view, *pdf, barReduction);
    if (!result.ok) {
        result.error = QStringLiteral("cannot write the pages to ") + file.fileName();
        return result;
    }
    if (result.pages == 0) {
        return result;
    }
    const CupsJobResult job = SubmitPdfJob(file.fileName(), spec);
    result.ok = job.jobId > 0;
    result.jobId = job.jobId;
    result.error = job.error;
    return result;
}

} // namespace

std::unique_ptr<QPrinter> JobPdfPrinter(const QPrinter& printer, const QString& path) {
    auto pdf = std::make_unique<QPrinter>(QPrinter::HighResolution);
    pdf->setOutputFormat(QPrinter::PdfFormat);
    pdf->setOutputFileName(path);
    pdf->setResolution(printer.resolution());
    pdf->setPageLayout(printer.pageLayout());
    pdf->setFullPage(printer.fullPage());
    pdf->setColorMode(printer.colorMode());
    pdf->setDocName(printer.docName());
    pdf->setCreator(printer.creator());
    pdf->setPrintRange(printer.printRange());
    pdf->setFromTo(printer.fromPage(), printer.toPage());
    return pdf;
}

PrintResult RunPrintLoop(CScrollView& view, QPrinter& printer, int barReduction) {
    if (printer.outputFormat() != QPrinter::NativeFormat) {
        return DrawPages(view, printer, barReduction);
    }
    UseQueueResolution(printer); // lines are laid on the dots the printer prints
    return PrintOnQueue(view, printer, barReduction);
}

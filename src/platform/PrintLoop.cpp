#include "PrintLoop.h"

#include "CupsJob.h"
#include "DC.h"
#include "PrintInfo.h"
#include "PrinterResolution.h"

#include <QDir>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
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

int DrawPrintPage(CPageSource& pages, QPainter* painter, const QPrinter& printer, int page,
                  int barReduction, bool preview) {
    const CDC::Resolution dpi{printer.logicalDpiX(), printer.logicalDpiY()};
    CDC dc(painter, dpi, dpi, true);
    dc.SetBarReduction(barReduction);
    CPrintInfo info;
    info.m_nCurPage = page;
    pages.PreparePage(dc, info);
    info.m_rectDraw = DrawableRect(dc, printer);
    // The painter's origin is the printable area's corner, inside the paper's.
    const QPoint printable = printer.pageLayout().paintRectPixels(printer.resolution()).topLeft();
    info.m_ptPaper = dc.LogicalToDevice().inverted().map(-printable);
    info.m_bPreview = preview;
    dc.SetDeviceClip(PageRect(printer));
    pages.DrawPage(dc, info);
    return std::max(1, info.GetMaxPage());
}

int CountPrintPages(CPageSource& pages, const QPrinter& printer) {
    return DrawPrintPage(pages, nullptr, printer, 1);
}

namespace {

// Draws the pages printer's range asks for.
PrintResult DrawPages(CPageSource& pages, QPrinter& printer, int barReduction,
                      const PageProgress& progress) {
    int first = 1;
    int last = INT_MAX;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        first = printer.fromPage();
        last = std::max(first, printer.toPage());
    }
    // From page 1 its own count bounds the loop; a later first page needs the count first.
    int lastPage = first == 1 ? 1 : std::min(last, CountPrintPages(pages, printer));
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
        const int count = DrawPrintPage(pages, &painter, printer, page, barReduction);
        if (page == 1) {
            lastPage = std::min(last, count);
        }
        ++result.pages;
        if (progress && !progress(result.pages, lastPage - first + 1)) {
            printer.abort();
            result.cancelled = true;
            return result;
        }
    }
    result.ok = painter.end();
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

CQueueJob PrepareQueueJob(QPrinter& printer) {
    CQueueJob job;
    UseQueueResolution(printer); // lines are laid on the dots the printer prints
    job.request = JobSpecFor(printer, &job.error);
    if (job.request.options.empty()) {
        return job;
    }
    job.file = std::make_unique<QTemporaryFile>(QDir::tempPath() +
                                                QStringLiteral("/tavik-job-XXXXXX.pdf"));
    if (!job.file->open()) {
        job.error = QStringLiteral("cannot make a temporary file: ") + job.file->errorString();
        job.file.reset();
        return job;
    }
    job.file->close();
    job.pdf = JobPdfPrinter(printer, job.file->fileName());
    return job;
}

CQueueJob::CQueueJob() = default;
CQueueJob::CQueueJob(CQueueJob&&) noexcept = default;
CQueueJob::~CQueueJob() = default;

PrintResult RunQueueJob(CPageSource& pages, CQueueJob& job, int barReduction,
                        const PageProgress& progress, const std::atomic<bool>* cancel) {
    PrintResult result;
    if (!job.pdf) {
        result.error = job.error;
        return result;
    }
    result = DrawPages(pages, *job.pdf, barReduction, progress);
    if (result.cancelled) {
        return result;
    }
    if (!result.ok) {
        result.error = QStringLiteral("cannot write the pages to ") + job.file->fileName();
        return result;
    }
    if (result.pages == 0) {
        return result;
    }
    const CupsJobResult sent = SubmitPdfJob(job.file->fileName(), job.request, cancel);
    result.cancelled = sent.cancelled;
    result.ok = sent.jobId > 0;
    result.jobId = sent.jobId;
    result.error = sent.error;
    return result;
}

PrintResult RunPrintLoop(CPageSource& pages, QPrinter& printer, int barReduction,
                         const PageProgress& progress) {
    if (printer.outputFormat() != QPrinter::NativeFormat) {
        return DrawPages(pages, printer, barReduction, progress);
    }
    CQueueJob job = PrepareQueueJob(printer);
    return RunQueueJob(pages, job, barReduction, progress, nullptr);
}

QPrinterInfo CommandLinePrinter(const std::optional<QString>& name, QString* error) {
    const QPrinterInfo info =
        name ? QPrinterInfo::printerInfo(*name) : QPrinterInfo::defaultPrinter();
    if (info.isNull()) {
        *error = name ? QStringLiteral("no printer named \"%1\"").arg(*name)
                      : QStringLiteral("no default printer");
    }
    return info;
}

CommandLinePrint PrintFromCommandLine(CPageSource& pages, QPrinter& printer, int barReduction,
                                      const std::function<QString()>& refusal,
                                      const std::function<bool()>& reportRows) {
    CommandLinePrint out;
    // Pages that cannot come out right are not spooled at all.
    out.refusal = refusal();
    if (!out.refusal.isEmpty()) {
        return out;
    }
    out.allRows = reportRows();
    out.printed = RunPrintLoop(pages, printer, barReduction, {});
    return out;
}

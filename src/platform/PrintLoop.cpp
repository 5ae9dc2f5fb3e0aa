#include "PrintLoop.h"

#include "CupsJob.h"
#include "DC.h"
#include "PdfPages.h"
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

} // namespace

int DrawPrintPage(CPageSource& pages, CDC& dc, QRect printable, int page, int barReduction,
                  bool preview) {
    dc.SetBarReduction(barReduction);
    CPrintInfo info;
    info.m_nCurPage = page;
    pages.PreparePage(dc, info);
    const QRect device(QPoint(0, 0), printable.size());
    const QTransform toLogical = dc.LogicalToDevice().inverted();
    info.m_rectDraw = toLogical.mapRect(device);
    info.m_ptPaper = toLogical.map(-printable.topLeft());
    info.m_bPreview = preview;
    dc.SetDeviceClip(device);
    pages.DrawPage(dc, info);
    return std::max(1, info.GetMaxPage());
}

int DrawPrintPage(CPageSource& pages, QPainter* painter, const QPrinter& printer, int page,
                  int barReduction, bool preview) {
    const CDC::Resolution dpi{printer.logicalDpiX(), printer.logicalDpiY()};
    CDC dc(painter, dpi, dpi, true);
    // The painter's origin is the printable area's corner, inside the paper's.
    const QRect printable(printer.pageLayout().paintRectPixels(printer.resolution()).topLeft(),
                          PageRect(printer).size());
    return DrawPrintPage(pages, dc, printable, page, barReduction, preview);
}

int CountPrintPages(CPageSource& pages, const QPrinter& printer) {
    return DrawPrintPage(pages, nullptr, printer, 1);
}

namespace {

// Draws the pages printer's range asks for.
PrintResult DrawPages(CPageSource& pages, QPrinter& printer, int barReduction,
                      const PageProgress& progress) {
    QPainter painter;
    bool begun = false;
    PrintResult result = RunPageRange(
        PrintRange(printer), [&] { return CountPrintPages(pages, printer); },
        [&](int page, bool firstPage) {
            if (firstPage ? !(begun = painter.begin(&printer)) : !printer.newPage()) {
                return 0;
            }
            return DrawPrintPage(pages, &painter, printer, page, barReduction);
        },
        progress);
    if (result.cancelled) {
        printer.abort();
    } else if (begun && result.ok) {
        result.ok = painter.end();
    }
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

PageRange PrintRange(const QPrinter& printer) {
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        return PageRange{printer.fromPage(), std::max(printer.fromPage(), printer.toPage())};
    }
    return PageRange{};
}

PrintResult RunPageRange(PageRange range, const std::function<int()>& count,
                         const std::function<int(int page, bool first)>& draw,
                         const PageProgress& progress) {
    // From page 1 its own count bounds the loop; a later first page needs the count first.
    int lastPage = range.first == 1 ? 1 : std::min(range.last, count());
    PrintResult result;
    if (range.first > lastPage) {
        result.ok = true; // the range lies beyond the last page: nothing to print
        return result;
    }
    for (int page = range.first; page <= lastPage; ++page) {
        const int pages = draw(page, page == range.first);
        if (pages <= 0) {
            return result;
        }
        if (page == 1) {
            lastPage = std::min(range.last, pages);
        }
        ++result.pages;
        if (progress && !progress(result.pages, lastPage - range.first + 1)) {
            result.cancelled = true;
            return result;
        }
    }
    result.ok = true;
    return result;
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
    result =
        WritePdfPages(pages, PdfLayoutOf(*job.pdf), job.file->fileName(), barReduction, progress);
    if (result.cancelled) {
        return result;
    }
    if (!result.ok) {
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

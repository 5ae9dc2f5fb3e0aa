#pragma once

#include "CupsJob.h"

#include <QSize>
#include <QRect>
#include <QString>

#include <atomic>
#include <climits>
#include <functional>
#include <memory>
#include <optional>

class CDC;
class QPainter;
class QPrinter;
class QTemporaryFile;
struct CPrintInfo;

// What a print run produced.
struct PrintResult {
    bool ok = false;
    int pages = 0;
    int jobId = 0;          // the print queue's job, when one was sent
    QString error;          // why not ok, when the reason is known
    bool cancelled = false; // stopped by its progress callback; nothing was printed
    bool reported = false;  // refused, and the user was told why
};

// What printed pages are laid out and drawn from.
class CPageSource {
public:
    virtual ~CPageSource() = default;
    // Maps dc for page info.m_nCurPage.
    virtual void PreparePage(CDC& dc, CPrintInfo& info) = 0;
    // Draws that page and sets the page count in info.
    virtual void DrawPage(CDC& dc, CPrintInfo& info) = 0;
};

// Called after each printed page with the pages done and the page count; false
// cancels the run.
using PageProgress = std::function<bool(int done, int count)>;

// Prints pages page by page on printer: for each page PreparePage, then
// DrawPage (a view's: OnPrepareDC, then OnPrint, see CViewPages). The first page's reported page
// count bounds the loop; a view that reports none, or fewer than one, prints one page. A page range
// chosen on the printer prints only those pages; a range wholly past the last
// page prints nothing and starts no job. A printer on a print queue is set to
// the resolution its job prints at; lines are laid on its dot grid, bars
// barReduction dots narrower and spaces as much wider. Its pages are drawn into
// a temporary PDF file that goes to the queue as one job (JobSpecFor,
// SubmitPdfJob in CupsJob.h) carrying that resolution and the page.
// Runs on any thread; a cancelled run aborts the job.
PrintResult RunPrintLoop(CPageSource& pages, QPrinter& printer, int barReduction,
                         const PageProgress& progress);

// A job for a printer on a print queue, prepared on the thread that owns the
// printer, to be drawn and sent on any other: the queue's resolution set on
// printer, the job's options, a temporary file for its PDF and a PDF printer
// of its own that holds the job's page layout (the pages are written by
// WritePdfPages, PdfPages.h).
struct CQueueJob {
    CQueueJob();
    CQueueJob(CQueueJob&&) noexcept;
    ~CQueueJob();
    CupsJobSpec request;
    std::unique_ptr<QTemporaryFile> file;
    std::unique_ptr<QPrinter> pdf; // null when the job cannot be made
    QString error;                 // why not
};
CQueueJob PrepareQueueJob(QPrinter& printer);
// Draws the job's pages and sends them as one job; progress may cancel the
// drawing and a set *cancel the sending, which leaves no job in the queue.
PrintResult RunQueueJob(CPageSource& pages, CQueueJob& job, int barReduction,
                        const PageProgress& progress, const std::atomic<bool>* cancel);

// The PDF printer that draws the pages of a job for printer (on a print queue)
// into the file at path: the same resolution, page layout, range and name.
std::unique_ptr<QPrinter> JobPdfPrinter(const QPrinter& printer, const QString& path);

// A range of pages, from 1; last INT_MAX: to the last page.
struct PageRange {
    int first = 1;
    int last = INT_MAX;
};
// The range chosen on printer, else all pages.
PageRange PrintRange(const QPrinter& printer);
// The loop of a print run over range: draw(page, first) draws a page (first:
// the run's first) and returns the page count the view reports, 0 when the
// page cannot be drawn. Page 1's count bounds the loop; a later first page
// needs count() first. progress may cancel the run.
PrintResult RunPageRange(PageRange range, const std::function<int()>& count,
                         const std::function<int(int page, bool first)>& draw,
                         const PageProgress& progress);

// Lays out page `page` of pages on dc (a printing context) for the printable
// area printable, in device dots from the paper's top-left corner (dc's origin
// at its own corner), and draws it, for the preview when preview is true; the
// page count, at least 1.
int DrawPrintPage(CPageSource& pages, CDC& dc, QRect printable, int page, int barReduction,
                  bool preview = false);
// Lays out page `page` (from 1) of view for printer and draws it with painter
// (its origin at the printable area's top-left corner, in printer dots); a null
// painter draws nothing. Returns the page count the view reports, at least 1.
// The print loop and the print preview (preview true) both draw pages through it.
int DrawPrintPage(CPageSource& pages, QPainter* painter, const QPrinter& printer, int page,
                  int barReduction = 0, bool preview = false);
// The page count from the layout alone: nothing is drawn.
int CountPrintPages(CPageSource& pages, const QPrinter& printer);
// Printing from the command line, without a dialog: tavik --print and tavik-batch --print.
// The printer of a print queue by name, or the default one without a name; a null
// printer info and error ("no default printer", "no printer named "NAME"") when there
// is none.
class QPrinterInfo;
QPrinterInfo CommandLinePrinter(const std::optional<QString>& name, QString* error);
// What printing from the command line came to.
struct CommandLinePrint {
    QString refusal;      // why no page may print: nothing was sent
    bool allRows = false; // no row was left empty
    PrintResult printed;  // the run, when there was no refusal
};
// Checks the pages (refusal gives why none may print, empty when they may), reports
// the rows left empty (reportRows: false when there are any), then prints the pages
// on printer.
CommandLinePrint PrintFromCommandLine(CPageSource& pages, QPrinter& printer, int barReduction,
                                      const std::function<QString()>& refusal,
                                      const std::function<bool()>& reportRows);

#pragma once

#include <QString>

#include <memory>

class CScrollView;
class QPainter;
class QPrinter;

// What a print run produced.
struct PrintResult {
    bool ok = false;
    int pages = 0;
    int jobId = 0; // the print queue's job, when one was sent
    QString error; // why not ok, when the reason is known
};

// Prints a view page by page on printer: for each page OnPrepareDC, then
// OnPrint (which draws). The first page's reported page count bounds the loop;
// a view that reports none, or fewer than one, prints one page. A page range
// chosen on the printer prints only those pages; a range wholly past the last
// page prints nothing and starts no job. A printer on a print queue is set to
// the resolution its job prints at; lines are laid on its dot grid, bars
// barReduction dots narrower and spaces as much wider. Its pages are drawn into
// a temporary PDF file that goes to the queue as one job (JobSpecFor,
// SubmitPdfJob in CupsJob.h) carrying that resolution and the page.
PrintResult RunPrintLoop(CScrollView& view, QPrinter& printer, int barReduction = 0);

// The PDF printer that draws the pages of a job for printer (on a print queue)
// into the file at path: the same resolution, page layout, range and name.
std::unique_ptr<QPrinter> JobPdfPrinter(const QPrinter& printer, const QString& path);

// Lays out page `page` (from 1) of view for printer and draws it with painter
// (its origin at the printable area's top-left corner, in printer dots); a null
// painter draws nothing. Returns the page count the view reports, at least 1.
// The print loop and the print preview both draw pages through it.
int DrawPrintPage(CScrollView& view, QPainter* painter, const QPrinter& printer, int page,
                  int barReduction = 0);
// The page count from the layout alone: nothing is drawn.
int CountPrintPages(CScrollView& view, const QPrinter& printer);

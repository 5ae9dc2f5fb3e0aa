#pragma once

class CScrollView;
class QPrinter;

// What a print run produced.
struct PrintResult {
    bool ok = false;
    int pages = 0;
};

// Prints a view page by page on printer: for each page OnPrepareDC, then
// OnPrint (which draws). The first page's reported page count bounds the loop;
// a view that reports none, or fewer than one, prints one page. A page range
// chosen on the printer prints only those pages; a range wholly past the last
// page prints nothing and starts no job. A printer on a print queue is set to
// the queue's resolution; lines are laid on its dot grid, bars barReduction
// dots narrower and spaces as much wider.
PrintResult RunPrintLoop(CScrollView& view, QPrinter& printer, int barReduction = 0);

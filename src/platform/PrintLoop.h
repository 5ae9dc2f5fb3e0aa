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
// a view that reports none, or fewer than one, prints one page.
PrintResult RunPrintLoop(CScrollView& view, QPrinter& printer);

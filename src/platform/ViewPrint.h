#pragma once

class CScrollView;
class QPrinter;

// A view's print commands over the print loop, on the application's printer.

// The print dialog for printer: all pages or a range; false when cancelled.
bool DoPreparePrinting(CScrollView& view, QPrinter& printer);
// Print: the dialog, then the loop. Direct: the loop on printer as it is set
// up, every page. A job that cannot start is reported in a message box; false then or
// when cancelled.
bool OnFilePrint(CScrollView& view, QPrinter& printer, bool direct);
// Print Preview: a preview window whose pages the loop paints.
void OnFilePrintPreview(CScrollView& view, QPrinter& printer);

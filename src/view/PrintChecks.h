#pragma once

#include <functional>
#include <string>
#include <string_view>

class CTavikView;
class QPrinter;
struct BarcodeSettings;

// Checks made before a view's rows are printed, shared by the window's Print
// command, tavik --print and tavik-batch.

// Paper holds the drawing at display scale; a row that does not fit on the
// printable area would come out clipped or not at all. Empty when it fits,
// else the reason in one line.
std::string CheckPageFit(CTavikView& view, const QPrinter& printer);

// Whole dots of a narrow element on the printer's grid.
int NarrowDots(const BarcodeSettings& s, const QPrinter& printer);

// Calls report with one line for every row the symbology refuses (such a row is
// drawn empty); true when there is none.
bool ReportRefusedRows(CTavikView& view, const std::function<void(const std::string&)>& report);

// The line reporting a refused row: shown is its text as UTF-8, lineNumber its
// line in the file (0 for the view's own text).
std::string RefusedRowMessage(std::string_view shown, long lineNumber);

// The text for an error message: control characters shown as \xHH, so that
// no input can drive the terminal.
std::string Shown(std::string_view text);

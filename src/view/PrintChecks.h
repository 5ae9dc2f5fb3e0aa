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

// Calls report with one line for every problem row (a refused row is drawn empty; a row
// whose bars read differently is reported too); true when no row was refused.
bool ReportRefusedRows(CTavikView& view, const std::function<void(const std::string&)>& report);

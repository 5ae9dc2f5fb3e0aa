#pragma once

#include "DC.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class CBarcodeBase;
class CTavikView;
class QPrinter;
struct BarcodeSettings;
struct RowPassInput;

// Checks made before a view's rows are printed, shared by the window's Print
// command, tavik --print and tavik-batch.

// What the checks need of a printer's page, read once (a QPrinter belongs to one thread):
// its resolution, printable area in display units, and where that lies on the paper.
struct PrintedPage {
    int dpi = 600;
    std::int64_t width = 0, height = 0; // the printable area (or a label), in display units
    double paperWidthMm = 0;
    double paintLeftMm = 0;
};
PrintedPage PrintedPageOf(const BarcodeSettings& s, const QPrinter& printer);

// How rows fit across the printable area of a printer's page. Paper holds the drawing at
// display scale; bars laid on the printer's dots can come out wider, and a row is held to
// the wider figure. A row that does not fit is refused (drawn empty), as a refused text is.
class CPageFit {
public:
    // For the settings and fonts of rows, which must outlive it; it measures text with a
    // surface of its own, so a fit is for one thread at a time (make one per worker).
    CPageFit(const RowPassInput& rows, const QPrinter& printer);
    CPageFit(const RowPassInput& rows, const PrintedPage& page);
    // The same from what rows are drawn with (which must outlive it), for a page (or,
    // with a label sheet in the settings, a label) of pageWidth x pageHeight display
    // units printed at printerDpi.
    CPageFit(const BarcodeSettings& settings, const CFont& textFont, const CFont& barcodeFont,
             CDC::Resolution screen, CDC::Resolution display, int printerDpi,
             std::int64_t pageWidth, std::int64_t pageHeight);

    // The right edge of a row on paper: its text drawn with bars (null: none), in units.
    std::int64_t RowRight(const CBarcodeBase* bars, std::string_view text) const;
    // A right edge at display scale as it comes out on paper.
    std::int64_t OnPaper(std::int64_t right) const;
    // Whether that row fits across the page (on labels: inside its label with its quiet
    // zones); the page drawing skips a row that does not.
    bool RowFits(const CBarcodeBase* bars, std::string_view text) const;
    // Why the row does not fit, in one line; empty when it fits.
    std::string RowProblem(const CBarcodeBase* bars, std::string_view text) const;
    // Why the row's bars leave a quiet zone shorter than their standard's between them and
    // the paper's edges; empty when they do not, or when the fit knows no paper.
    std::string QuietZoneProblem(const CBarcodeBase* bars, std::string_view text) const;

    std::int64_t PageWidth() const { return m_pageWidth; }
    std::int64_t PageHeight() const { return m_pageHeight; }
    // " the page's printable area is W x H units" (" the label is W x H units").
    std::string PageArea() const;

private:
    const BarcodeSettings& m_settings;
    const CFont& m_textFont;
    const CFont& m_barcodeFont;
    CDC m_surface;
    std::int64_t m_pageWidth;
    std::int64_t m_pageHeight;
    std::int64_t m_gridUnits;    // a narrow element on the printer's dots, times display dpi
    std::int64_t m_logicalUnits; // the same at display scale
    int m_printerDpi;
    int m_displayDpi;
    double m_paperWidthMm = 0; // the whole sheet, 0 when not known
    double m_paintLeftMm = 0;  // the printable area's left edge on it
    bool m_labels;             // the area is one label of the settings' sheet

    // Why the bars leave their label too little quiet zone; empty when they do not.
    std::string LabelQuietZone(const CBarcodeBase* bars) const;
};

// Refuses the whole job when no row can fit on the page: the drawing starts off the page,
// a row is taller than the page, or no row of the list (the text without one) fits across.
// Rows that do not fit among rows that do are refused one by one (ReportRefusedRows,
// CheckViewRows). drawnRight gives the widest row's right edge (INT64_MIN: none drawn),
// measured only when it is needed. Empty when some row fits, else the reason in one line.
std::string CheckPageFit(const RowPassInput& rows, const QPrinter& printer,
                         const std::function<std::int64_t()>& drawnRight);
// The same for a view's rows, measured by the view.
std::string CheckPageFit(CTavikView& view, const QPrinter& printer);

// Why the X printed on printer is outside its standard's range; empty when it is not.
std::string PrintedXProblem(const BarcodeSettings& s, const QPrinter& printer);

// Checks and reports every row drawn from rows as CheckViewRows does (RowReport.h), each
// list line held to printer's page when there is a printer; the one check of the window's
// Print, tavik --print and tavik-batch. failed is told of each row that fails.
class RowReporter;
void CheckRowsForPage(const RowPassInput& rows, RowReporter& report, const QPrinter* printer,
                      const std::function<void(std::size_t, bool tooWide)>& failed = {});

// The print-size problems of rows on page, as the checks report them: the X outside its
// standard's range, then each row with a short quiet zone ("line N: ..."); at most most
// lines, then one that counts the others. Empty when there are none or cancel was raised.
std::vector<std::string> PrintSizeProblems(const RowPassInput& rows, const PrintedPage& page,
                                           std::size_t most, const std::atomic<bool>& cancel);

// Calls report with one line for every problem row (a refused row is drawn empty, and so
// is a row that does not fit on printer's page; a row whose bars read differently is
// reported too); true when no row was refused.
bool ReportRefusedRows(CTavikView& view, const QPrinter& printer,
                       const std::function<void(const std::string&)>& report);

#include "PrintChecks.h"

#include "LabelSheets.h"
#include "PrintSize.h"
#include "RowPass.h"
#include "RowRenderer.h"
#include "RowReport.h"

#include <QPrinter>

#include <algorithm>
#include <atomic>
#include <limits>
#include <memory>
#include <optional>

std::string PrintedXProblem(const BarcodeSettings& s, const QPrinter& printer) {
    return PrintSize::XProblem(s, printer.resolution(), DisplayResolution().x);
}

namespace {

// The area a row must fit in: the page's printable area, or one label of a sheet.
std::int64_t PrintableUnits(const BarcodeSettings& s, const QPrinter& printer, bool across) {
    const CDC::Resolution display = DisplayResolution();
    if (s.m_labels.Active()) {
        const LabelSheet& sheet = s.m_labels.sheet;
        return Labels::Units(across ? sheet.labelWidth : sheet.labelHeight,
                             across ? display.x : display.y);
    }
    const QRectF inches = printer.pageLayout().paintRect(QPageLayout::Inch);
    return static_cast<std::int64_t>(across ? inches.width() * display.x
                                            : inches.height() * display.y);
}

// The narrowest drawn row of a list on paper, until one fits (which stops the pass);
// INT64_MAX when no row draws anything.
class CNarrowestVisitor : public CRowVisitor {
public:
    CNarrowestVisitor(const CPageFit& fit, std::atomic<bool>& fits) : m_fit(fit), m_fits(fits) {}

    void Visit(const PassRow& row) override {
        if (row.accepted && !row.text.empty()) {
            narrowest = std::min(narrowest, m_fit.RowRight(row.encoder, row.text));
            if (narrowest <= m_fit.PageWidth()) {
                m_fits.store(true, std::memory_order_relaxed);
            }
        }
    }

    std::int64_t narrowest = std::numeric_limits<std::int64_t>::max();

private:
    const CPageFit& m_fit;
    std::atomic<bool>& m_fits;
};

// The rows with short quiet zones, the first most of them in full.
class CQuietZoneVisitor : public CRowVisitor {
public:
    CQuietZoneVisitor(const CPageFit& fit, std::size_t most) : m_fit(fit), m_most(most) {}

    void Visit(const PassRow& row) override {
        if (!row.accepted || row.text.empty() || !m_fit.RowFits(row.encoder, row.text)) {
            return; // refused rows are drawn empty
        }
        std::string problem = m_fit.QuietZoneProblem(row.encoder, row.text);
        if (problem.empty()) {
            return;
        }
        if (lines.size() < m_most) {
            const bool list = row.input.settings.m_pLines != nullptr;
            lines.push_back(list ? "line " + std::to_string(row.index + 1) + ": " + problem
                                 : problem);
        } else {
            ++more;
        }
    }

    std::vector<std::string> lines;
    std::int64_t more = 0;

private:
    const CPageFit& m_fit;
    std::size_t m_most;
};

std::int64_t NarrowestRow(const RowPassInput& input, const CPageFit& fit) {
    std::atomic<bool> fits{false};
    CRowPass::Visitors visitors;
    visitors.push_back(std::make_unique<CNarrowestVisitor>(fit, fits));
    CRowPass::Run(input, visitors, fits);
    return static_cast<const CNarrowestVisitor&>(*visitors.front()).narrowest;
}

} // namespace

PrintedPage PrintedPageOf(const BarcodeSettings& s, const QPrinter& printer) {
    const QPageLayout layout = printer.pageLayout();
    return PrintedPage{printer.resolution(), PrintableUnits(s, printer, true),
                       PrintableUnits(s, printer, false),
                       layout.fullRect(QPageLayout::Millimeter).width(),
                       layout.paintRect(QPageLayout::Millimeter).left()};
}

CPageFit::CPageFit(const RowPassInput& rows, const QPrinter& printer)
    : CPageFit(rows, PrintedPageOf(rows.settings, printer)) {}

CPageFit::CPageFit(const RowPassInput& rows, const PrintedPage& page)
    : CPageFit(rows.settings, rows.textFont, rows.barcodeFont, rows.screen, DisplayResolution(),
               page.dpi, page.width, page.height) {
    m_paperWidthMm = page.paperWidthMm;
    m_paintLeftMm = page.paintLeftMm;
}

CPageFit::CPageFit(const BarcodeSettings& settings, const CFont& textFont, const CFont& barcodeFont,
                   CDC::Resolution screen, CDC::Resolution display, int printerDpi,
                   std::int64_t pageWidth, std::int64_t pageHeight)
    : m_settings(settings), m_textFont(textFont), m_barcodeFont(barcodeFont),
      m_surface(nullptr, screen, screen, false), m_pageWidth(pageWidth), m_pageHeight(pageHeight),
      m_gridUnits(std::int64_t{PrintSize::ModuleDots(settings, printerDpi, display.x)} * display.x),
      m_logicalUnits(std::int64_t{settings.m_nBarWidth} * printerDpi), m_printerDpi(printerDpi),
      m_displayDpi(display.x), m_labels(settings.m_labels.Active()) {}

std::int64_t CPageFit::OnPaper(std::int64_t right) const {
    const BarcodeSettings& s = m_settings;
    if (s.m_bTrueType || m_gridUnits <= m_logicalUnits || m_logicalUnits <= 0) {
        return right;
    }
    return s.m_nOriginX + (right - s.m_nOriginX) * m_gridUnits / m_logicalUnits + 1;
}

std::int64_t CPageFit::RowRight(const CBarcodeBase* bars, std::string_view text) const {
    return OnPaper(::RowRight(m_settings, bars, m_surface, m_textFont, m_barcodeFont, text));
}

std::string CPageFit::LabelQuietZone(const CBarcodeBase* bars) const {
    if (!m_labels || bars == nullptr) {
        return {};
    }
    const BarcodeSettings& s = m_settings;
    const double mmPerUnit = PrintSize::kMmPerInch / m_displayDpi;
    const std::int64_t barsRight = OnPaper(s.m_nOriginX + BarsWidth(s, bars));
    return PrintSize::QuietZoneProblem(s, m_printerDpi, m_displayDpi, s.m_nOriginX * mmPerUnit,
                                       double(m_pageWidth - barsRight) * mmPerUnit);
}

bool CPageFit::RowFits(const CBarcodeBase* bars, std::string_view text) const {
    return text.empty() || (RowRight(bars, text) <= m_pageWidth && LabelQuietZone(bars).empty());
}

std::string CPageFit::PageArea() const {
    return (m_labels ? " the label is " : " the page's printable area is ") +
           std::to_string(m_pageWidth) + " x " + std::to_string(m_pageHeight) + " units";
}

std::string CPageFit::RowProblem(const CBarcodeBase* bars, std::string_view text) const {
    if (RowFits(bars, text)) {
        return {};
    }
    const std::string where = m_labels ? "its label" : "the page";
    const std::int64_t right = RowRight(bars, text);
    if (right <= m_pageWidth) {
        return "the row does not fit on " + where + ": " + LabelQuietZone(bars);
    }
    return "the row does not fit on " + where + ": it reaches " + std::to_string(right) +
           " units across;" + PageArea();
}

std::string CPageFit::QuietZoneProblem(const CBarcodeBase* bars, std::string_view text) const {
    // On a label sheet the label's edges hold the row, quiet zones and all (RowFits).
    if (m_labels || m_paperWidthMm <= 0 || bars == nullptr || text.empty() ||
        m_settings.m_bTrueType) {
        return {};
    }
    // The first bar starts at the dot nearest the origin; each module is whole dots.
    const int dpi = m_printerDpi;
    const double left =
        m_paintLeftMm +
        PrintSize::Millimetres(qRound(double(m_settings.m_nOriginX) * dpi / m_displayDpi), dpi);
    const double width =
        static_cast<double>(bars->ModuleCount()) *
        PrintSize::Millimetres(PrintSize::ModuleDots(m_settings, dpi, m_displayDpi), dpi);
    return PrintSize::QuietZoneProblem(m_settings, dpi, m_displayDpi, left,
                                       m_paperWidthMm - left - width);
}

std::string CheckPageFit(const RowPassInput& rows, const QPrinter& printer,
                         const std::function<std::int64_t()>& drawnRight) {
    const BarcodeSettings& s = rows.settings;
    if (s.m_nOriginX < 0 || s.m_nOriginY < 0) {
        return "the drawing starts above or left of the page (origin " +
               std::to_string(s.m_nOriginX) + "," + std::to_string(s.m_nOriginY) + ")";
    }
    const CPageFit fit(rows, printer);
    const CDC::Resolution display = DisplayResolution();
    CDC dc(nullptr, display, display, true);
    const std::int64_t pitch =
        CRowRenderer(s, rows.textFont, rows.barcodeFont, EncoderSet(), display).RowPitch(dc);
    if (pitch <= 0 || s.m_nOriginY + pitch > fit.PageHeight()) {
        return "no row fits on the page: a row takes " + std::to_string(pitch) +
               " units below the origin at " + std::to_string(s.m_nOriginY) + ";" + fit.PageArea();
    }
    // The widest row: when it fits, every row does.
    const std::int64_t right = fit.OnPaper(std::max<std::int64_t>(drawnRight(), s.m_nOriginX));
    if (right <= fit.PageWidth()) {
        return {};
    }
    if (s.m_pLines == nullptr) {
        return "the rows do not fit on the page: they reach " + std::to_string(right) +
               " units across;" + fit.PageArea();
    }
    std::int64_t narrowest = NarrowestRow(rows, fit);
    if (narrowest == std::numeric_limits<std::int64_t>::max()) {
        narrowest = fit.OnPaper(s.m_nOriginX);
    }
    if (narrowest > fit.PageWidth()) {
        return "the rows do not fit on the page: the narrowest reaches " +
               std::to_string(narrowest) + " units across;" + fit.PageArea();
    }
    return {};
}

std::vector<std::string> PrintSizeProblems(const RowPassInput& rows, const PrintedPage& page,
                                           std::size_t most, const std::atomic<bool>& cancel) {
    std::vector<std::string> lines;
    if (std::string x = PrintSize::XProblem(rows.settings, page.dpi, DisplayResolution().x);
        !x.empty()) {
        lines.push_back(std::move(x));
    }
    const CPageFit fit(rows, page);
    CRowPass::Visitors visitors;
    visitors.push_back(std::make_unique<CQuietZoneVisitor>(fit, most));
    if (!CRowPass::Run(rows, visitors, cancel)) {
        return {};
    }
    auto& found = static_cast<CQuietZoneVisitor&>(*visitors.front());
    lines.insert(lines.end(), found.lines.begin(), found.lines.end());
    if (found.more > 0) {
        lines.push_back("and " + std::to_string(found.more) + " more rows with short quiet zones");
    }
    return lines;
}

void CheckRowsForPage(const RowPassInput& rows, RowReporter& report, const QPrinter* printer,
                      const std::function<void(std::size_t, bool)>& failed) {
    const std::optional<CPageFit> fit =
        printer != nullptr ? std::optional<CPageFit>(std::in_place, rows, *printer) : std::nullopt;
    if (printer != nullptr) {
        if (const std::string problem = PrintedXProblem(rows.settings, *printer);
            !problem.empty()) {
            report.JobProblem(problem);
        }
    }
    CheckViewRows(rows.settings, report, failed, fit ? &*fit : nullptr);
}

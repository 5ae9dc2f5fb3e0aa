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

int NarrowDots(const BarcodeSettings& s, const QPrinter& printer) {
    return PrintSize::ModuleDots(s, printer.resolution(), DisplayResolution().x);
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

std::int64_t NarrowestRow(const RowPassInput& input, const CPageFit& fit) {
    std::atomic<bool> fits{false};
    CRowPass::Visitors visitors;
    visitors.push_back(std::make_unique<CNarrowestVisitor>(fit, fits));
    CRowPass::Run(input, visitors, fits);
    return static_cast<const CNarrowestVisitor&>(*visitors.front()).narrowest;
}

} // namespace

CPageFit::CPageFit(const RowPassInput& rows, const QPrinter& printer)
    : CPageFit(rows.settings, rows.textFont, rows.barcodeFont, rows.screen, DisplayResolution(),
               printer.resolution(), PrintableUnits(rows.settings, printer, true),
               PrintableUnits(rows.settings, printer, false)) {}

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

std::string CPageFit::QuietZoneProblem(const CBarcodeBase* bars) const {
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
    return text.empty() || (RowRight(bars, text) <= m_pageWidth && QuietZoneProblem(bars).empty());
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
        return "the row does not fit on " + where + ": " + QuietZoneProblem(bars);
    }
    return "the row does not fit on " + where + ": it reaches " + std::to_string(right) +
           " units across;" + PageArea();
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

void CheckRowsForPage(const RowPassInput& rows, RowReporter& report, const QPrinter* printer,
                      const std::function<void(std::size_t, bool)>& failed) {
    const std::optional<CPageFit> fit =
        printer != nullptr ? std::optional<CPageFit>(std::in_place, rows, *printer) : std::nullopt;
    CheckViewRows(rows.settings, report, failed, fit ? &*fit : nullptr);
}

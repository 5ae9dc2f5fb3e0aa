#include "PrintChecks.h"

#include "RowReport.h"
#include "TavikView.h"
#include "ViewRender.h"

#include <QPrinter>

#include <algorithm>

int NarrowDots(const BarcodeSettings& s, const QPrinter& printer) {
    return std::max(1,
                    qRound(double(s.m_nBarWidth) * printer.resolution() / DisplayResolution().x));
}

std::string CheckPageFit(CTavikView& view, const QPrinter& printer) {
    const CDC::Resolution display = DisplayResolution();
    const QRectF inches = printer.pageLayout().paintRect(QPageLayout::Inch);
    const auto pageWidth = static_cast<std::int64_t>(inches.width() * display.x);
    const auto pageHeight = static_cast<std::int64_t>(inches.height() * display.y);
    MeasureView(view);
    const BarcodeSettings& s = view.m_settings;
    CDC dc(nullptr, display, display, true);
    const std::int64_t pitch = view.RowPitch(&dc);
    std::int64_t right = std::max<std::int64_t>(view.DrawnRight(), s.m_nOriginX);
    // Bars laid on the printer's dots can come out wider than at display scale;
    // the row is then held to the wider figure.
    const std::int64_t gridUnits = std::int64_t{NarrowDots(s, printer)} * display.x;
    const std::int64_t logicalUnits = std::int64_t{s.m_nBarWidth} * printer.resolution();
    if (!s.m_bTrueType && gridUnits > logicalUnits) {
        right = s.m_nOriginX + (right - s.m_nOriginX) * gridUnits / logicalUnits + 1;
    }
    const std::string page = " the page's printable area is " + std::to_string(pageWidth) + " x " +
                             std::to_string(pageHeight) + " units";
    if (s.m_nOriginX < 0 || s.m_nOriginY < 0) {
        return "the drawing starts above or left of the page (origin " +
               std::to_string(s.m_nOriginX) + "," + std::to_string(s.m_nOriginY) + ")";
    }
    if (right > pageWidth) {
        return "the rows do not fit on the page: they reach " + std::to_string(right) +
               " units across;" + page;
    }
    if (pitch <= 0 || s.m_nOriginY + pitch > pageHeight) {
        return "no row fits on the page: a row takes " + std::to_string(pitch) +
               " units below the origin at " + std::to_string(s.m_nOriginY) + ";" + page;
    }
    return {};
}

bool ReportRefusedRows(CTavikView& view, const std::function<void(const std::string&)>& report) {
    const BarcodeSettings& s = view.m_settings;
    RowReporter rows(static_cast<Symbology>(s.m_nType), false, s.m_bTrueType, report);
    CheckViewRows(view, rows);
    return !rows.Failed();
}

QString CTavikView::CheckPrintable(const QPrinter& printer) {
    return QString::fromStdString(CheckPageFit(*this, printer));
}

bool CTavikView::ReportPrintGaps(const std::function<void(const QString&)>& report) {
    return ReportRefusedRows(
        *this, [&report](const std::string& line) { report(QString::fromStdString(line)); });
}

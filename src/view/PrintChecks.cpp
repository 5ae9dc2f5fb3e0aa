#include "PrintChecks.h"

#include "Latin1.h"
#include "LineList.h"
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
    if (s.m_pLines == nullptr) {
        if (view.EncodeText(s.m_strText)) {
            return true;
        }
        report(RefusedRowMessage(Latin1ToUtf8(s.m_strText), 0));
        return false;
    }
    bool all = true;
    for (std::size_t i = 0; i < s.m_pLines->GetSize(); ++i) {
        if (!view.EncodeText(std::string(s.m_pLines->GetAt(i)))) {
            report(RefusedRowMessage(s.m_pLines->GetUtf8(i), static_cast<long>(i + 1)));
            all = false;
        }
    }
    return all;
}

std::string RefusedRowMessage(std::string_view shown, long lineNumber) {
    const std::string line = lineNumber > 0 ? "line " + std::to_string(lineNumber) + ": " : "";
    return line + "Error while encoding text \"" + Shown(shown) + "\".";
}

std::string Shown(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x20 || c == 0x7F) {
            out += "\\x";
            out += kHex[c >> 4];
            out += kHex[c & 15];
        } else {
            out += ch;
        }
    }
    return out;
}

QString CTavikView::CheckPrintable(const QPrinter& printer) {
    return QString::fromStdString(CheckPageFit(*this, printer));
}

bool CTavikView::ReportPrintGaps(const std::function<void(const QString&)>& report) {
    return ReportRefusedRows(
        *this, [&report](const std::string& line) { report(QString::fromStdString(line)); });
}

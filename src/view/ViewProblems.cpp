// The check of every row against its label, in the view: a status-bar pane with
// the counts, and F8 to the next problem row.
#include "TavikView.h"

#include "LabelSheets.h"
#include "LineList.h"
#include "MDIFrameWnd.h"
#include "MessageText.h"
#include "PrintChecks.h"
#include "PrintSize.h"
#include "RowCheck.h"
#include "RowReport.h"
#include "ViewRender.h"
#include "WinApp.h"

#include <QPrinter>

#include <algorithm>

void CRowSet::Add(std::int64_t row) {
    if (row < 0) {
        return;
    }
    const auto word = static_cast<std::size_t>(row / 64);
    if (word >= m_bits.size()) {
        m_bits.resize(std::max(word + 1, m_bits.size() * 2), 0);
    }
    const std::uint64_t bit = std::uint64_t{1} << (row % 64);
    if ((m_bits[word] & bit) == 0) {
        m_bits[word] |= bit;
        ++m_count;
    }
}

std::int64_t CRowSet::FirstFrom(std::int64_t row) const {
    auto word = static_cast<std::size_t>(std::max<std::int64_t>(0, row) / 64);
    if (word >= m_bits.size()) {
        return -1;
    }
    std::uint64_t bits =
        m_bits[word] & (~std::uint64_t{0} << (std::max<std::int64_t>(0, row) % 64));
    while (bits == 0) {
        if (++word == m_bits.size()) {
            return -1;
        }
        bits = m_bits[word];
    }
    return static_cast<std::int64_t>(word * 64) + __builtin_ctzll(bits);
}

std::int64_t CRowSet::NextAfter(std::int64_t after) const {
    const std::int64_t next = after < 0 ? FirstFrom(0) : FirstFrom(after + 1);
    return next >= 0 ? next : FirstFrom(0);
}

namespace {

// Checks every row of a pass against its label with a checker of its own. With the
// bars drawn from a font only refusals count.
class CCheckVisitor : public CRowVisitor {
public:
    explicit CCheckVisitor(std::function<void(RowProblems)> done) : m_done(std::move(done)) {}

    void Visit(const PassRow& row) override {
        const BarcodeSettings& s = row.input.settings;
        const RowCheck check = m_checker->Compare(row.text, static_cast<Symbology>(s.m_nType),
                                                  row.accepted ? row.encoder : nullptr);
        if (m_found.Count(check.verdict, s.m_bTrueType) == RowOutcome::Drawn) {
            return;
        }
        m_found.rows.Add(row.index);
        if (s.m_pLines == nullptr) {
            m_found.single =
                check.verdict == RowVerdict::Empty ? EmptyNote(false) : RowProblemNote(check);
        }
    }
    void Finish() override { m_done(std::move(m_found)); }

private:
    std::unique_ptr<CRowChecker> m_checker = std::make_unique<CRowChecker>();
    std::function<void(RowProblems)> m_done;
    RowProblems m_found;
};

} // namespace

std::string RowProblemNote(const RowCheck& check) {
    switch (check.verdict) {
    case RowVerdict::Refused:
        return "refused: " + check.reason;
    case RowVerdict::Empty:
        return EmptyNote(true);
    case RowVerdict::ReadsDifferently:
        return "reads as \"" + MessageText(check.readsAs) + "\"";
    case RowVerdict::NotOneSymbol:
        return "not one symbol: " + check.reason;
    default:
        return {};
    }
}

void CTavikView::AddRowCheck() {
    AddRowVisitor([this] {
        return std::make_unique<CCheckVisitor>([this](RowProblems found) {
            m_problems = std::move(found);
            ShowRowCheck();
        });
    });
}

QString CTavikView::RowCheckText() const {
    const RowProblems& p = m_problems;
    if (m_settings.m_pLines == nullptr) {
        return QString::fromStdString(p.single);
    }
    return QString::fromStdString(RowSummary(p, true));
}

// A pane beside the indicators of the status bar.
void CTavikView::ShowRowCheck() {
    if (!m_checkRows || !m_statusReport) {
        return;
    }
    m_statusReport(QStringLiteral("rowCheckIndicator"), RowCheckText(), true);
    m_actNextProblem->setEnabled(!m_problems.rows.empty());
}

// Scrolls to the first problem row below the top row, wrapping around, and says
// on the status bar which line it is and why.
void CTavikView::OnNextProblemRow() {
    const CRowSet& rows = m_problems.rows;
    if (rows.empty() || m_settings.m_pLines == nullptr) {
        return;
    }
    const CDC::Resolution screen = ScreenResolution();
    CDC dc(nullptr, screen, screen, false);
    const int pitch = std::max(1, RowPitch(&dc));
    const std::int64_t top =
        (std::int64_t{GetScrollPosition().y()} - m_settings.m_nOriginY + pitch - 1) / pitch;
    const std::int64_t row = rows.NextAfter(top);
    ScrollToPosition(
        QPoint(GetScrollPosition().x(), SaturateInt(m_settings.m_nOriginY + row * pitch)));
    const std::string_view text = m_settings.m_pLines->GetAt(static_cast<std::size_t>(row));
    CRowChecker checker;
    const RowCheck check = checker.Check(text, static_cast<Symbology>(m_settings.m_nType));
    if (CMDIFrameWnd* frame = AfxGetMainWnd()) {
        frame->SetMessageText(QStringLiteral("Line %1: %2")
                                  .arg(row + 1)
                                  .arg(QString::fromStdString(RowProblemNote(check))));
    }
}

std::string CheckPageFit(CTavikView& view, const QPrinter& printer) {
    const std::string problem = CheckPageFit(view.PassInput(), printer, [&view] {
        MeasureView(view);
        return view.DrawnRight();
    });
    return !problem.empty()
               ? problem
               : Labels::TextOnLabelProblem(view.PassInput(),
                                            view.EncoderFor(view.m_settings.m_nType), printer);
}

bool ReportRefusedRows(CTavikView& view, const QPrinter& printer,
                       const std::function<void(const std::string&)>& report) {
    const BarcodeSettings& s = view.m_settings;
    RowReporter rows(static_cast<Symbology>(s.m_nType), false, s.m_bTrueType, report);
    CheckRowsForPage(view.PassInput(), rows, &printer);
    return !rows.Failed();
}

QString CTavikView::CheckPrintable(const QPrinter& printer) {
    std::string e = BarReductionRefusal(printer);
    if (e.empty()) {
        e = CheckPageFit(*this, printer);
    }
    return QString::fromStdString(e);
}

std::string CTavikView::BarReductionRefusal(const QPrinter& printer) const {
    const BarcodeSettings& s = m_settings;
    const std::string why = PrintSize::BarReductionProblem(
        s, s.m_print.barReduction, printer.resolution(), DisplayResolution().x);
    return why.empty() ? why
                       : "a bar reduction of " + std::to_string(s.m_print.barReduction) + " " + why;
}

bool CTavikView::ReportPrintGaps(const QPrinter& printer,
                                 const std::function<void(const QString&)>& report) {
    return ReportRefusedRows(*this, printer, [&report](const std::string& line) {
        report(QString::fromStdString(line));
    });
}

#pragma once

#include "RowCheck.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

class CPageFit;
struct BarcodeSettings;

// An empty label's problem, as every report names it: "empty line" for a list line, else
// "empty text".
inline const char* EmptyNote(bool listLine) {
    return listLine ? "empty line" : "empty text";
}

// What a row check came to.
enum class RowOutcome { Drawn, Refused, Differs };

// The counts of a row check, kept alike by the window and tavik-batch: rows checked,
// refused (drawn empty), and drawn with bars that read differently (not counted when
// the bars come from a font, which only refusals concern).
struct RowTally {
    std::int64_t lines = 0;
    std::int64_t refused = 0;
    std::int64_t differ = 0;
    std::int64_t offSize = 0; // drawn, but not at the size its standard asks on the page

    // Counts one row of that verdict.
    RowOutcome Count(RowVerdict verdict, bool barsFromFont);
};

// The counts in one line: "N lines, M refused, K differ" in a report, or in brief (the
// status bar) "N lines" with the refused and then the differing rows only once there are any;
// both end in ", S off size" once a row is.
std::string RowSummary(const RowTally& tally, bool brief = false);

// Checks every row against its label and reports each problem row in one line to a sink.
// A refused or empty row, and when strict a row whose bars read differently, fails and is
// drawn empty. When the bars come from a font only refusals count.
class RowReporter {
public:
    using Sink = std::function<void(const std::string&)>;

    RowReporter(Symbology symbology, bool strict, bool barsFromFont, Sink sink);

    // Checks one row (lineNumber 0 for the view's own text); true when its bars are drawn.
    bool Row(std::string_view label, long lineNumber);
    // A text with no 8-bit form (shown as UTF-8): a refused row.
    void Unrepresentable(const std::string& utf8, long lineNumber = 0);
    // The row last checked is refused after all, for reason (it does not fit on its page).
    void Refuse(long lineNumber, const std::string& reason);
    // The row last checked is drawn, but not at its standard's size on the page: refused
    // too when strict. True when it is still drawn.
    bool OffSize(long lineNumber, const std::string& reason);
    // A problem of every row (the X on this printer), reported once.
    void JobProblem(const std::string& reason);
    bool Strict() const { return m_strict; }
    // The elements of the last row Row drew.
    const CBarcodeBase& Bars() { return m_checker->Row(m_symbology); }

    bool Failed() const { return m_tally.refused > 0 || (m_strict && m_tally.differ > 0); }
    bool AllMatch() const {
        return m_tally.refused == 0 && m_tally.differ == 0 && m_tally.offSize == 0 && !m_jobProblem;
    }
    // "N lines, M refused, K differ".
    std::string Summary() const { return RowSummary(m_tally); }

private:
    void Report(long lineNumber, const std::string& message);

    std::unique_ptr<CRowChecker> m_checker = std::make_unique<CRowChecker>();
    Symbology m_symbology;
    bool m_strict;
    bool m_barsFromFont;
    Sink m_sink;
    RowTally m_tally;
    bool m_jobProblem = false;
};

// Checks every row drawn with settings (their text, or each line of their list) with report; calls
// failed with the index of each list line that fails, or with SIZE_MAX for the text, and
// whether it failed as too wide. With fit, a list line drawn beyond the page's printable
// width is refused too (the text is held to the page as a whole, by CheckPageFit).
void CheckViewRows(const BarcodeSettings& s, RowReporter& report,
                   const std::function<void(std::size_t, bool tooWide)>& failed = {},
                   const CPageFit* fit = nullptr);

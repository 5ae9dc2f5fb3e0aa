#include "RowReport.h"

#include "BarcodeSettings.h"
#include "LineList.h"
#include "MessageText.h"
#include "PrintChecks.h"

#include <cstdint>
#include <string>
#include <utility>

namespace {

// Built by appending: g++ 12 warns falsely (-Wrestrict) on "..." + a temporary string.
std::string Quoted(std::string_view latin1) {
    std::string quoted = "\"";
    quoted += MessageText(latin1);
    quoted += '"';
    return quoted;
}

std::string Refused(const std::string& shownText, const std::string& reason) {
    return "Error while encoding text \"" + shownText + "\". " + reason;
}

} // namespace

RowReporter::RowReporter(Symbology symbology, bool strict, bool barsFromFont, Sink sink)
    : m_symbology(symbology), m_strict(strict), m_barsFromFont(barsFromFont),
      m_sink(std::move(sink)) {}

RowOutcome RowTally::Count(RowVerdict verdict, bool barsFromFont) {
    ++lines;
    if (IsRefusal(verdict)) {
        ++refused;
        return RowOutcome::Refused;
    }
    if (verdict == RowVerdict::Matches || barsFromFont) {
        return RowOutcome::Drawn;
    }
    ++differ;
    return RowOutcome::Differs;
}

std::string RowSummary(const RowTally& t, bool brief) {
    const std::string lines =
        std::to_string(t.lines) + (t.lines == 1 && !brief ? " line" : " lines");
    const std::string offSize = t.offSize > 0 ? ", " + std::to_string(t.offSize) + " off size" : "";
    if (brief) {
        return lines +
               (t.refused > 0 || t.differ > 0 ? ", " + std::to_string(t.refused) + " refused"
                                              : "") +
               (t.differ > 0 ? ", " + std::to_string(t.differ) + " differ" : "") + offSize;
    }
    return lines + ", " + std::to_string(t.refused) + " refused, " + std::to_string(t.differ) +
           " differ" + offSize;
}

bool RowReporter::Row(std::string_view label, long lineNumber) {
    const RowCheck check = m_checker->Check(label, m_symbology);
    const RowOutcome outcome = m_tally.Count(check.verdict, m_barsFromFont);
    if (outcome == RowOutcome::Refused) {
        Report(lineNumber, check.verdict == RowVerdict::Empty
                               ? std::string(EmptyNote(lineNumber > 0))
                               : Refused(MessageText(label), check.reason));
        return false;
    }
    if (outcome == RowOutcome::Drawn) {
        return true;
    }
    if (check.verdict == RowVerdict::ReadsDifferently) {
        Report(lineNumber, "bars read " + Quoted(check.readsAs) + ", label " + Quoted(label));
    } else {
        Report(lineNumber, "bars are not one symbol, label " + Quoted(label) + ". " + check.reason);
    }
    return !m_strict;
}

void RowReporter::Unrepresentable(const std::string& utf8, long lineNumber) {
    ++m_tally.lines;
    ++m_tally.refused;
    Report(lineNumber,
           Refused(MessageTextUtf8(utf8), "The text has characters beyond Latin-1 (8-bit)."));
}

void RowReporter::Refuse(long lineNumber, const std::string& reason) {
    ++m_tally.refused;
    Report(lineNumber, reason);
}

bool RowReporter::OffSize(long lineNumber, const std::string& reason) {
    if (m_strict) {
        Refuse(lineNumber, reason);
        return false;
    }
    ++m_tally.offSize;
    Report(lineNumber, reason);
    return true;
}

void RowReporter::JobProblem(const std::string& reason) {
    m_jobProblem = true;
    m_sink(reason);
}

void RowReporter::Report(long lineNumber, const std::string& message) {
    m_sink((lineNumber > 0 ? "line " + std::to_string(lineNumber) + ": " : std::string()) +
           message);
}

void CheckViewRows(const BarcodeSettings& s, RowReporter& report,
                   const std::function<void(std::size_t, bool)>& failed, const CPageFit* fit) {
    const CLineList* lines = s.m_pLines;
    const auto fail = [&failed](std::size_t i, bool tooWide) {
        if (failed) {
            failed(i, tooWide);
        }
    };
    // A drawn row that fits may still leave short quiet zones on the page.
    const auto sized = [&](std::string_view text, long number) {
        const std::string problem =
            fit != nullptr ? fit->QuietZoneProblem(&report.Bars(), text) : std::string();
        return problem.empty() || report.OffSize(number, problem);
    };
    if (lines == nullptr) {
        if (!report.Row(s.m_strText, 0) || !sized(s.m_strText, 0)) {
            fail(SIZE_MAX, false);
        }
        return;
    }
    for (std::size_t i = 0; i < lines->GetSize(); ++i) {
        const auto number = static_cast<long>(i + 1);
        if (lines->BeyondLatin1(i)) {
            report.Unrepresentable(lines->GetUtf8(i), number);
            fail(i, false);
            continue;
        }
        const std::string_view text = lines->GetAt(i);
        if (!report.Row(text, number)) {
            fail(i, false);
        } else if (fit != nullptr && !fit->RowFits(&report.Bars(), text)) {
            report.Refuse(number, fit->RowProblem(&report.Bars(), text));
            fail(i, true);
        } else if (!sized(text, number)) {
            fail(i, false);
        }
    }
}

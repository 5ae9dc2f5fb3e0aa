#include "RowReport.h"

#include "BatchOptions.h"
#include "MessageText.h"

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

RowReporter::RowReporter(const BatchOptions& o, std::function<void()> beforeMessage)
    : m_symbology(static_cast<Symbology>(o.type)), m_strict(o.strict), m_barsFromFont(o.trueType),
      m_out(o.check ? stdout : stderr), m_beforeMessage(std::move(beforeMessage)) {}

bool RowReporter::Row(std::string_view label, long lineNumber) {
    ++m_lines;
    const RowCheck check = m_checker->Check(label, m_symbology);
    if (check.verdict == RowVerdict::Refused) {
        ++m_refused;
        Report(lineNumber, Refused(MessageText(label), check.reason));
        return false;
    }
    if (check.verdict == RowVerdict::Matches || m_barsFromFont) {
        return true;
    }
    ++m_differ;
    if (check.verdict == RowVerdict::ReadsDifferently) {
        Report(lineNumber, "bars read " + Quoted(check.readsAs) + ", label " + Quoted(label));
    } else {
        Report(lineNumber, "bars are not one symbol, label " + Quoted(label) + ". " + check.reason);
    }
    return !m_strict;
}

void RowReporter::Unrepresentable(const std::string& utf8) {
    ++m_lines;
    ++m_refused;
    Report(0, Refused(MessageTextUtf8(utf8), "The text has characters beyond Latin-1 (8-bit)."));
}

std::string RowReporter::Summary() const {
    return std::to_string(m_lines) + (m_lines == 1 ? " line, " : " lines, ") +
           std::to_string(m_refused) + " refused, " + std::to_string(m_differ) + " differ";
}

void RowReporter::Report(long lineNumber, const std::string& message) {
    if (m_beforeMessage) {
        m_beforeMessage();
    }
    const std::string line =
        (lineNumber > 0 ? "line " + std::to_string(lineNumber) + ": " : std::string()) + message;
    std::fprintf(m_out, "%s\n", line.c_str());
}

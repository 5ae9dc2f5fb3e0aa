#include "Dump.h"

#include "BatchCommon.h"
#include "BatchOptions.h"
#include "Latin1.h"
#include "LineList.h"
#include "RowReport.h"

#include <cstdio>
#include <string>

namespace {

// Writes each row's element digits (a refused row as an empty line) to standard output, or
// for --check only the report.
class Dumper {
public:
    explicit Dumper(const BatchOptions& o)
        : m_rowsOut(!o.check), m_report(MakeRowReporter(o, [this] {
              Flush();
              std::fflush(stdout);
          })) {}

    // Checks and encodes one row and appends its digits (or nothing) and a newline. An empty
    // text is a problem row that draws nothing, but the encoders take it: its digits show.
    void Row(std::string_view text, long lineNumber) {
        if ((m_report.Row(text, lineNumber) || text.empty()) && m_rowsOut) {
            const CBarcodeBase& b = m_report.Bars();
            for (int i = 0; i < b.length; ++i) {
                m_out.push_back(static_cast<char>('0' + b.elements[i]));
            }
        }
        EndRow();
    }

    // A text with no 8-bit form: an empty row.
    void Unrepresentable(const std::string& utf8, long lineNumber) {
        EndRow();
        m_report.Unrepresentable(utf8, lineNumber);
    }

    void Flush() {
        std::fwrite(m_out.data(), 1, m_out.size(), stdout);
        m_out.clear();
    }

    // The exit status: for --check the summary line is written and every row must match.
    int Finish() {
        Flush();
        if (!m_rowsOut) {
            std::printf("%s\n", m_report.Summary().c_str());
            return m_report.AllMatch() ? 0 : 1;
        }
        return m_report.Failed() ? 1 : 0;
    }

private:
    void EndRow() {
        if (m_rowsOut) {
            m_out.push_back('\n');
        }
        if (m_out.size() > (1u << 16)) {
            Flush();
        }
    }

    bool m_rowsOut;
    RowReporter m_report;
    std::string m_out;
};

} // namespace

int Dump(const BatchOptions& o) {
    Dumper dump(o);
    if (o.input || o.sequence) {
        CLineList lines;
        if (o.sequence) {
            lines.Generate(*o.sequence);
        } else if (const std::string e = LoadList(lines, *o.input); !e.empty()) {
            return Usage(e);
        }
        for (std::size_t i = 0; i < lines.GetSize(); ++i) {
            const auto number = static_cast<long>(i + 1);
            if (lines.BeyondLatin1(i)) {
                dump.Unrepresentable(lines.GetUtf8(i), number);
            } else {
                dump.Row(lines.GetAt(i), number);
            }
        }
    } else {
        const std::string utf8 = o.text.value_or("0123456789");
        if (auto latin1 = Utf8ToLatin1(utf8)) {
            dump.Row(*latin1, 0);
        } else {
            dump.Unrepresentable(utf8, 0);
        }
    }
    return FinishOutput(dump.Finish());
}

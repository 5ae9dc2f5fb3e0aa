#pragma once

#include "RowCheck.h"

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

struct BatchOptions;

// Checks every row against its label and reports each problem row in one line: on standard
// error, or for --check on standard output. A refused row, and with --strict a row whose
// bars read differently, fails the run and is drawn empty. With --truetype the bars are the
// font's, so only refusals count.
class RowReporter {
public:
    // beforeMessage runs before each message (to flush the rows written so far).
    explicit RowReporter(const BatchOptions& options, std::function<void()> beforeMessage = {});

    // Checks one row (lineNumber 0 for a TEXT argument); true when its bars are drawn.
    bool Row(std::string_view label, long lineNumber);
    // A TEXT with no 8-bit form: a refused row.
    void Unrepresentable(const std::string& utf8);
    // The elements of the last row Row drew.
    const CBarcodeBase& Bars() { return m_checker->Row(m_symbology); }

    bool Failed() const { return m_refused > 0 || (m_strict && m_differ > 0); }
    bool AllMatch() const { return m_refused == 0 && m_differ == 0; }
    // "N lines, M refused, K differ".
    std::string Summary() const;

private:
    void Report(long lineNumber, const std::string& message);

    std::unique_ptr<CRowChecker> m_checker = std::make_unique<CRowChecker>();
    Symbology m_symbology;
    bool m_strict;
    bool m_barsFromFont;
    std::FILE* m_out;
    std::function<void()> m_beforeMessage;
    long m_lines = 0;
    long m_refused = 0;
    long m_differ = 0;
};

#pragma once

#include "RowReport.h"

#include <cstddef>
#include <functional>
#include <string>

class CLineList;
struct BatchOptions;

// Reads the list of -i FILE ("-" is standard input) into lines as the window
// loads a file, at most the size a document loads; empty, or the message
// "cannot read FILE: reason".
std::string LoadList(CLineList& lines, const std::string& input);

// The text for an error message: control characters shown as \xHH, so that
// no input can drive the terminal.
std::string Shown(const std::string& text);

// Prints a one-line usage, input or output error (at most kMaxMessageChars characters) and
// returns exit status 2.
inline constexpr std::size_t kMaxMessageChars = 200;
int Usage(const std::string& message);

// Status after writing to standard output: 2 with a message when what was
// written did not all get out (a full disk, a closed pipe), else status.
int FinishOutput(int status);

// The tool's row reporter: problem rows on standard error, or for --check on standard
// output, each after beforeMessage (which flushes the rows written so far).
RowReporter MakeRowReporter(const BatchOptions& o, std::function<void()> beforeMessage = {});

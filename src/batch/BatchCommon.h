#pragma once

#include "RowReport.h"

#include <cstddef>
#include <functional>
#include <string>

struct BatchOptions;

// Reads a whole file as raw bytes ("-" is standard input), at most the size a
// document loads; false with errno set when it cannot.
bool ReadAll(const std::string& path, std::string& out);

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

#pragma once

#include "PrintChecks.h" // Shown

#include <string>

// Reads a whole file as raw bytes ("-" is standard input), at most the size a
// document loads; false with errno set when it cannot.
bool ReadAll(const std::string& path, std::string& out);

// Reports a row the symbology refused; shown is the row's text as UTF-8, lineNumber
// its line in the input file (0 for a TEXT argument).
void ReportRefused(const std::string& shown, long lineNumber);

// Prints a one-line usage, input or output error and returns exit status 2.
int Usage(const std::string& message);

// Status after writing to standard output: 2 with a message when what was
// written did not all get out (a full disk, a closed pipe), else status.
int FinishOutput(int status);

#pragma once

#include <string>

// Reads a whole file as raw bytes ("-" is standard input); false when it cannot.
bool ReadAll(const std::string& path, std::string& out);

// Reports a row the symbology refused; shown is the row's text as UTF-8, lineNumber
// its line in the input file (0 for a TEXT argument).
void ReportRefused(const std::string& shown, long lineNumber);

// Prints a one-line usage, input or output error and returns exit status 2.
int Usage(const std::string& message);

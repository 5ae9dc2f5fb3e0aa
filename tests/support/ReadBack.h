#pragma once

#include "RowReader.h"

#include <string>

// What the row reader makes of a row: its text, or where and why reading stops.
inline std::string ReadBack(const CBarcodeBase& row, Symbology symbology) {
    RowReading reading;
    ReadRow(row, symbology, reading);
    return reading.OneSymbol() ? reading.text
                               : "stops at " + std::to_string(reading.stop) + ": " + reading.why;
}

#pragma once

#include "BarcodeBase.h"
#include "Symbology.h"

#include <cstdint>
#include <string>

// What the bars of an element row read as, the way a scanner reads them.
struct RowReading {
    // The text a scanner transmits. Code 128: function characters, SHIFT and subset changes
    // as the code bytes 195-206 a text holds for them (a shifted character is read in the
    // other subset); EAN-13: all 13 digits. When the row is not one symbol: what was read
    // before the place where reading stops.
    std::string text;
    // -1 when the row reads as one symbol; else the element where reading stops.
    std::int32_t stop = -1;
    // Why reading stops there; empty for one symbol.
    const char* why = "";

    bool OneSymbol() const { return stop < 0; }
};

// Reads the element row an encoder wrote for symbology, with table lookups only; any
// row, whatever its bytes, is read safely. out's text buffer is reused.
void ReadRow(const CBarcodeBase& row, Symbology symbology, RowReading& out);

// The same for one encoder's rows (out as ReadRow leaves it before reading); every Code 128
// subset reads alike.
void ReadCode39Row(const CBarcodeBase& row, RowReading& out);
void ReadCode93Row(const CBarcodeBase& row, RowReading& out);
void ReadCode128Row(const CBarcodeBase& row, RowReading& out);
void ReadEan13Row(const CBarcodeBase& row, RowReading& out);
void ReadI2of5Row(const CBarcodeBase& row, RowReading& out);

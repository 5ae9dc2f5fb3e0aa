#pragma once

#include "BarcodeBase.h"

// Full-ASCII Code 93 with the C and K check characters.
class CBarcode93 : public CBarcodeBase {
public:
    bool Encode(const char* text);
    // Writes symbol value 0..48 at position; null for other values or when it does not fit.
    std::uint8_t* EncodeSymbol(std::uint8_t* position, int value);
    // ch is a text byte taken as signed 8-bit; false outside 0..127.
    static bool GetFullAsciiPair(int ch, int& first, int& second);
    std::uint8_t* AppendCheckSymbols(std::uint8_t* position, const char* text);
};

#pragma once

#include "BarcodeBase.h"

// Code 128 from a chosen start subset (0 = A, 1 = B, 2 = C). Subset changes and
// function characters are given in the text as the code bytes 195..206.
class CBarcode128 : public CBarcodeBase {
public:
    bool Encode(const char* text, int subset);
    // Writes symbol value 0..106 at position; null for other values or when it does not fit.
    std::uint8_t* EncodeSymbol(std::uint8_t* position, int value);
    static int ComputeCheckSymbol(int subset, const char* text);
};

#pragma once

#include "BarcodeBase.h"

// Interleaved 2 of 5: an even number of digits, no check digit.
class CBarcodeI2of5 : public CBarcodeBase {
public:
    bool Encode(const char* text);
    // Writes the ten elements of pair value 0..99 at out; null otherwise or when it does not fit.
    std::uint8_t* EncodePair(std::uint8_t* out, int value);
};

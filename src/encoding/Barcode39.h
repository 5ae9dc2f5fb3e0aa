#pragma once

#include "BarcodeBase.h"

// Code 39: "*" start/stop, one character per text character, no check character.
// Encode expects a cleared buffer (the caller clears it).
class CBarcode39 : public CBarcodeBase {
public:
    bool Encode(const char* text);
    // Writes the ten elements of ch at out; null when ch has no pattern or does not fit.
    std::uint8_t* EncodeChar(char ch, std::uint8_t* out);
};

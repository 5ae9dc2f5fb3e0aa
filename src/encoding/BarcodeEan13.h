#pragma once

#include "BarcodeBase.h"

// EAN-13 from the first 12 characters of the text (padded with "0" on the right);
// the check digit is always computed.
class CBarcodeEan13 : public CBarcodeBase {
public:
    bool Encode(const char* text);
    // Fills exactly five letters ("O"/"E"), no terminator.
    static bool GetParityPattern(char firstDigit, char* pattern);
    std::uint8_t* EncodeLeftOdd(std::uint8_t* out, char digit);
    std::uint8_t* EncodeLeftEven(std::uint8_t* out, char digit);
    std::uint8_t* EncodeRight(std::uint8_t* out, char digit);
    static char ComputeCheckDigit(const char* digits);
};

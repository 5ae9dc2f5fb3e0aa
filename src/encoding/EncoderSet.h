#pragma once

#include "Barcode128.h"
#include "Barcode39.h"
#include "Barcode93.h"
#include "BarcodeEan13.h"
#include "BarcodeI2of5.h"

#include <string>
#include <string_view>

// The five encoders, one a symbology family, and the one way a label is encoded.
// A set is for one thread at a time; a copy holds copies of the elements.
class EncoderSet {
public:
    CBarcode39 code39;
    CBarcode93 code93;
    CBarcode128 code128;
    CBarcodeEan13 ean13;
    CBarcodeI2of5 i2of5;

    // Every encoder empty, with wide elements three narrow ones.
    EncoderSet() { Reset(); }
    void Reset();

    // The encoder that serves a BarcodeType, or null.
    CBarcodeBase* For(int type);
    const CBarcodeBase* For(int type) const;
    // Encodes text with the encoder of type, emptied first: false for a type outside the
    // table, for a text the encoder refuses and for one holding a NUL byte (the encoders
    // would stop there and draw bars for part of it). What an encoder throws goes through.
    bool Encode(int type, std::string_view text);
    // The same, with what an encoder throws taken as a refusal.
    bool EncodeQuietly(int type, std::string_view text) noexcept;

private:
    std::string m_scratch; // the text NUL-terminated for the encoders
};

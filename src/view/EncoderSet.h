#pragma once

#include "Barcode128.h"
#include "Barcode39.h"
#include "Barcode93.h"
#include "BarcodeEan13.h"
#include "BarcodeI2of5.h"

#include <string>
#include <string_view>

// Encoders of one symbology family each, as a view holds them.
struct EncoderSet {
    CBarcode39* code39;
    CBarcode93* code93;
    CBarcode128* code128;
    CBarcodeEan13* ean13;
    CBarcodeI2of5* i2of5;

    // The encoder that serves a BarcodeType, or null.
    CBarcodeBase* For(int type) const;
    // Encodes text (read up to its first NUL) with the encoder of type.
    bool Encode(int type, const char* text) const;
    // Every encoder empty, with wide elements three narrow ones.
    void Reset() const;
    // Encodes text with the encoder of type, emptied first: false for a text
    // holding a NUL byte (the encoders would stop there and draw bars for part
    // of it) and for one the encoder throws on. scratch holds the text's copy.
    bool EncodeQuietly(int type, std::string_view text, std::string& scratch) const;
};

// Encoders of one's own, set up as a view sets up its own.
struct OwnEncoders {
    CBarcode39 code39;
    CBarcode93 code93;
    CBarcode128 code128;
    CBarcodeEan13 ean13;
    CBarcodeI2of5 i2of5;

    OwnEncoders() { Set().Reset(); }
    OwnEncoders(const OwnEncoders&) = delete;
    OwnEncoders& operator=(const OwnEncoders&) = delete;
    EncoderSet Set() { return EncoderSet{&code39, &code93, &code128, &ean13, &i2of5}; }
};

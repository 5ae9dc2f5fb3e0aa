// EAN-13: accepted iff the first 12 bytes (fewer are padded with "0") are
// digits; always 95 modules.

#include "BarcodeEan13.h"
#include "EncoderCheck.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static CBarcodeEan13 encoder;
    const std::string text = TextOf(data, size);
    const std::string head = text.substr(0, 12);

    encoder.Clear();
    const bool ok = encoder.Encode(text.c_str());
    CheckResult(encoder, ok, std::all_of(head.begin(), head.end(), IsDigit), 95);
    return 0;
}

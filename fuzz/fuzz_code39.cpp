// Code 39: accepted iff every byte, upper-cased, is a Code 39 character and
// the symbol fits; then 10 elements per character plus start and stop.

#include "Barcode39.h"
#include "EncoderCheck.h"

#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static CBarcode39 encoder;
    const std::string text = TextOf(data, size);
    constexpr std::string_view chars = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. *$/+%";

    bool valid = true;
    for (char c : text) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
        valid = valid && chars.find(c) != std::string_view::npos;
    }
    const long long length = 10 * (static_cast<long long>(text.size()) + 2);

    encoder.Clear();
    const bool ok = encoder.Encode(text.c_str());
    CheckResult(encoder, ok, valid && length <= CBarcodeBase::CAPACITY, length);
    return 0;
}

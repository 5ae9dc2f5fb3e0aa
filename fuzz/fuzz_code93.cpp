// Code 93: accepted iff every byte is ASCII and the symbol fits; then 9
// modules per data symbol (two for a shifted character) plus 37.

#include "Barcode93.h"
#include "EncoderCheck.h"

#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static CBarcode93 encoder;
    const std::string text = TextOf(data, size);
    constexpr std::string_view singles = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%";

    bool valid = true;
    long long symbols = 0;
    for (const char c : text) {
        valid = valid && static_cast<unsigned char>(c) < 128;
        symbols += singles.find(c) == std::string_view::npos ? 2 : 1;
    }
    const long long length = 9 * symbols + 37;

    encoder.Clear();
    const bool ok = encoder.Encode(text.c_str());
    CheckResult(encoder, ok, valid && length <= CBarcodeBase::CAPACITY, length);
    return 0;
}

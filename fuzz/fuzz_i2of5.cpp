// Interleaved 2 of 5: accepted iff the text is an even number of digits and
// fits; then 5 elements per digit plus 7.

#include "BarcodeI2of5.h"
#include "EncoderCheck.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static CBarcodeI2of5 encoder;
    const std::string text = TextOf(data, size);
    const long long length = 5 * static_cast<long long>(text.size()) + 7;
    const bool valid = std::all_of(text.begin(), text.end(), IsDigit) && text.size() % 2 == 0;

    encoder.Clear();
    const bool ok = encoder.Encode(text.c_str());
    CheckResult(encoder, ok, valid && length <= CBarcodeBase::CAPACITY, length);
    return 0;
}

// Code 128: the first input byte picks the start subset, the rest is the
// text. The reference walk through the subsets tells whether it must be
// accepted and how many symbols (and inner stop symbols) it gives.

#include "Barcode128.h"
#include "EncoderCheck.h"
#include "support/Code128Reference.h"

#include <algorithm>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static CBarcode128 encoder;
    if (size == 0) {
        return 0;
    }
    const int subset = data[0] % 3;
    const std::string text = TextOf(data + 1, size - 1);
    const std::vector<int> values = code128ref::Values(text, subset);
    const bool valid = values.empty() || values.back() >= 0;
    const auto stops = std::count(values.begin(), values.end(), code128ref::kStop);
    const long long length = 11 * static_cast<long long>(values.size()) + 35 + 2 * stops;

    encoder.Clear();
    const bool ok = encoder.Encode(text.c_str(), subset);
    CheckResult(encoder, ok, valid && length <= CBarcodeBase::CAPACITY, length);
    return 0;
}

// Code 128: the first input byte picks the start subset, the rest is the
// text. The text is walked through the subsets here to know whether it must
// be accepted and how many symbols (and inner stop symbols) it gives.

#include "Barcode128.h"
#include "EncoderCheck.h"

#include <string_view>

namespace {

constexpr int kStop = 106;

struct Walk {
    bool valid = true;
    long long symbols = 0;
    long long stops = 0;
};

// atoi over a digit pair (or a last single byte).
int PairValue(std::string_view pair) {
    std::size_t i = 0;
    while (i < pair.size() &&
           std::string_view(" \t\n\v\f\r").find(pair[i]) != std::string_view::npos) {
        ++i;
    }
    const bool negative = i < pair.size() && pair[i] == '-';
    if (i < pair.size() && (pair[i] == '+' || pair[i] == '-')) {
        ++i;
    }
    int value = 0;
    for (; i < pair.size() && IsDigit(pair[i]); ++i) {
        value = value * 10 + (pair[i] - '0');
    }
    return negative ? -value : value;
}

// Value of byte c in subset A (0) or B (1); -1 when it has none.
int ByteValue(int c, int subset) {
    if (c >= 195 && c <= 206) {
        return c - 100;
    }
    if (c >= 32 && c <= 95) {
        return c - 32;
    }
    if (subset == 0 && c < 32) {
        return c + 64;
    }
    if (subset == 1 && c >= 96 && c <= 126) {
        return c - 32;
    }
    return -1;
}

Walk WalkText(std::string_view text, int subset) {
    Walk walk;
    for (std::size_t i = 0; i < text.size() && walk.valid;) {
        const int c = static_cast<unsigned char>(text[i]);
        int value = 0;
        if (subset == 2 && c != 200 && c != 201 && c != 202) {
            value = PairValue(text.substr(i, 2));
            i += 2;
        } else {
            value = subset == 2 ? c - 100 : ByteValue(c, subset);
            ++i;
        }
        walk.valid = value >= 0;
        ++walk.symbols;
        walk.stops += value == kStop ? 1 : 0;
        if (value == 99 && subset != 2) {
            subset = 2;
        } else if (value == 100 && subset != 1) {
            subset = 1;
        } else if (value == 101 && subset != 0) {
            subset = 0;
        }
    }
    return walk;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static CBarcode128 encoder;
    if (size == 0) {
        return 0;
    }
    const int subset = data[0] % 3;
    const std::string text = TextOf(data + 1, size - 1);
    const Walk walk = WalkText(text, subset);
    const long long length = 11 * walk.symbols + 35 + 2 * walk.stops;

    encoder.Clear();
    const bool ok = encoder.Encode(text.c_str(), subset);
    CheckResult(encoder, ok, walk.valid && length <= CBarcodeBase::CAPACITY, length);
    return 0;
}

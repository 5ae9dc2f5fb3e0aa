#include "BarcodeI2of5.h"
#include "ElementRows.h"
#include "I2of5Tables.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

using namespace i2of5;

// Element bytes of every pair, row k for the pair value k.
using ElementRow10 = ElementRow<PAIR_ELEMENTS>;
constexpr std::array<ElementRow10, 100> I2of5Elements = WidthRows<PAIR_ELEMENTS>(I2of5Patterns);

constexpr bool ElementsMatchPatterns() {
    for (std::size_t k = 0; k < I2of5Elements.size(); ++k) {
        if (!IsWidthRowOf(I2of5Elements[k], I2of5Patterns[k])) {
            return false;
        }
    }
    return true;
}
static_assert(ElementsMatchPatterns());
static_assert(I2of5Elements[0] == ElementRow10{1, 0, 1, 0, 3, 2, 3, 2, 1, 0});

// Number of leading digits, counted no further than limit + 1.
std::size_t LeadingDigits(const char* text, std::size_t limit) {
    std::size_t n = 0;
    while (n <= limit && text[n] >= '0' && text[n] <= '9') {
        ++n;
    }
    return n;
}

std::uint8_t* Put(std::uint8_t* out, const auto& bytes) {
    for (const std::uint8_t b : bytes) {
        *out++ = b;
    }
    return out;
}

} // namespace

std::uint8_t* CBarcodeI2of5::EncodePair(std::uint8_t* out, int value) {
    if (value < 0 || value >= static_cast<int>(I2of5Patterns.size()) || !Fits(out, PAIR_ELEMENTS)) {
        return nullptr;
    }
    return AddRow(out, I2of5Elements[static_cast<std::size_t>(value)]);
}

// At most MAX_DIGITS digits always fit, so once the text is checked nothing can fail.
bool CBarcodeI2of5::Encode(const char* text) {
    Clear();
    // The start pattern goes in before the text is checked; a refused text
    // leaves it unpainted (length 0).
    std::uint8_t* out = Put(elements, START);
    if (text == nullptr) {
        return false;
    }
    // Only an even run of digits up to the capacity, and nothing after it, is accepted.
    const std::size_t n = LeadingDigits(text, MAX_DIGITS);
    if (text[n] != '\0' || n > MAX_DIGITS || n % 2 != 0) {
        return false;
    }
    for (std::size_t i = 0; i < n; i += 2) {
        const auto value = static_cast<std::size_t>(10 * (text[i] - '0') + (text[i + 1] - '0'));
        out = AddRow(out, I2of5Elements[value]);
    }
    out = Put(out, STOP);
    length = LengthTo(out);
    return true;
}

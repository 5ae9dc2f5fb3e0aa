#include "BarcodeI2of5.h"
#include "ElementRows.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

constexpr std::size_t PAIR_ELEMENTS = 10;

// 2 of 5 digit patterns of ISO/IEC 16390: five elements, two of them wide.
constexpr std::array<std::string_view, 10> DigitPatterns{
    "nnwwn", "wnnnw", "nwnnw", "wwnnn", "nnwnw", "wnwnn", "nwwnn", "nnnww", "wnnwn", "nwnwn",
};

// Interleaved 2 of 5 characters of ISO/IEC 16390 for the pairs 00 to 99: the first digit
// on the bars (even positions), the second on the spaces (odd positions).
constexpr std::array<std::string_view, 100> I2of5Patterns{
    "nnnnwwwwnn", "nwnnwnwnnw", "nnnwwnwnnw", "nwnwwnwnnn", "nnnnwwwnnw", // 00-04
    "nwnnwwwnnn", "nnnwwwwnnn", "nnnnwnwwnw", "nwnnwnwwnn", "nnnwwnwwnn", // 05-09
    "wnnnnwnwwn", "wwnnnnnnww", "wnnwnnnnww", "wwnwnnnnwn", "wnnnnwnnww", // 10-14
    "wwnnnwnnwn", "wnnwnwnnwn", "wnnnnnnwww", "wwnnnnnwwn", "wnnwnnnwwn", // 15-19
    "nnwnnwnwwn", "nwwnnnnnww", "nnwwnnnnww", "nwwwnnnnwn", "nnwnnwnnww", // 20-24
    "nwwnnwnnwn", "nnwwnwnnwn", "nnwnnnnwww", "nwwnnnnwwn", "nnwwnnnwwn", // 25-29
    "wnwnnwnwnn", "wwwnnnnnnw", "wnwwnnnnnw", "wwwwnnnnnn", "wnwnnwnnnw", // 30-34
    "wwwnnwnnnn", "wnwwnwnnnn", "wnwnnnnwnw", "wwwnnnnwnn", "wnwwnnnwnn", // 35-39
    "nnnnwwnwwn", "nwnnwnnnww", "nnnwwnnnww", "nwnwwnnnwn", "nnnnwwnnww", // 40-44
    "nwnnwwnnwn", "nnnwwwnnwn", "nnnnwnnwww", "nwnnwnnwwn", "nnnwwnnwwn", // 45-49
    "wnnnwwnwnn", "wwnnwnnnnw", "wnnwwnnnnw", "wwnwwnnnnn", "wnnnwwnnnw", // 50-54
    "wwnnwwnnnn", "wnnwwwnnnn", "wnnnwnnwnw", "wwnnwnnwnn", "wnnwwnnwnn", // 55-59
    "nnwnwwnwnn", "nwwnwnnnnw", "nnwwwnnnnw", "nwwwwnnnnn", "nnwnwwnnnw", // 60-64
    "nwwnwwnnnn", "nnwwwwnnnn", "nnwnwnnwnw", "nwwnwnnwnn", "nnwwwnnwnn", // 65-69
    "nnnnnwwwwn", "nwnnnnwnww", "nnnwnnwnww", "nwnwnnwnwn", "nnnnnwwnww", // 70-74
    "nwnnnwwnwn", "nnnwnwwnwn", "nnnnnnwwww", "nwnnnnwwwn", "nnnwnnwwwn", // 75-79
    "wnnnnwwwnn", "wwnnnnwnnw", "wnnwnnwnnw", "wwnwnnwnnn", "wnnnnwwnnw", // 80-84
    "wwnnnwwnnn", "wnnwnwwnnn", "wnnnnnwwnw", "wwnnnnwwnn", "wnnwnnwwnn", // 85-89
    "nnwnnwwwnn", "nwwnnnwnnw", "nnwwnnwnnw", "nwwwnnwnnn", "nnwnnwwnnw", // 90-94
    "nwwnnwwnnn", "nnwwnwwnnn", "nnwnnnwwnw", "nwwnnnwwnn", "nnwwnnwwnn", // 95-99
};

// Every row is the interleaving of its two digits' patterns.
constexpr bool RowsAreInterleavedDigits() {
    for (std::size_t value = 0; value < I2of5Patterns.size(); ++value) {
        const std::string_view row = I2of5Patterns[value];
        const std::string_view bars = DigitPatterns[value / 10];
        const std::string_view spaces = DigitPatterns[value % 10];
        if (row.size() != PAIR_ELEMENTS) {
            return false;
        }
        for (std::size_t k = 0; k < 5; ++k) {
            if (row[2 * k] != bars[k] || row[2 * k + 1] != spaces[k]) {
                return false;
            }
        }
    }
    return true;
}
static_assert(I2of5Patterns.size() == 100);
static_assert(RowsAreInterleavedDigits());

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

constexpr std::array<std::uint8_t, 4> START = {1, 0, 1, 0};
constexpr std::array<std::uint8_t, 3> STOP = {3, 0, 1};

// 4 + 5 * 816 + 3 == 4087; two more digits would need 4097 elements.
constexpr std::size_t MAX_DIGITS =
    (CBarcodeBase::CAPACITY - START.size() - STOP.size()) / PAIR_ELEMENTS * 2;
static_assert(MAX_DIGITS == 816);

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

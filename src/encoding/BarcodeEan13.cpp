#include "BarcodeEan13.h"
#include "Ean13Tables.h"
#include "ElementRows.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

using namespace ean13;

using DigitRows = std::array<ElementRow<DIGIT_MODULES>, 10>;

// Element bytes of the number sets, row k for digit k.
constexpr DigitRows Ean13OddElements = ModuleRows<DIGIT_MODULES>(Ean13OddPatterns);
constexpr DigitRows Ean13EvenElements = ModuleRows<DIGIT_MODULES>(Ean13EvenPatterns);
constexpr DigitRows Ean13RightElements = ModuleRows<DIGIT_MODULES>(Ean13RightPatterns);

constexpr bool ElementsMatch(const DigitRows& rows, const DigitTable& patterns) {
    for (std::size_t d = 0; d < 10; ++d) {
        if (!IsModuleRowOf(rows[d], patterns[d])) {
            return false;
        }
    }
    return true;
}
static_assert(ElementsMatch(Ean13OddElements, Ean13OddPatterns));
static_assert(ElementsMatch(Ean13EvenElements, Ean13EvenPatterns));
static_assert(ElementsMatch(Ean13RightElements, Ean13RightPatterns));

// For every first digit, the number set of data digits 3 to 7: the odd or the even rows.
using LeftSets = std::array<std::array<const DigitRows*, PARITY_LETTERS>, 10>;
constexpr LeftSets BuildLeftSets() {
    LeftSets sets{};
    for (std::size_t d = 0; d < 10; ++d) {
        for (std::size_t k = 0; k < PARITY_LETTERS; ++k) {
            sets[d][k] = Ean13ParityPatterns[d][k] == 'O' ? &Ean13OddElements : &Ean13EvenElements;
        }
    }
    return sets;
}
constexpr LeftSets Ean13LeftSets = BuildLeftSets();
static_assert(Ean13LeftSets[0][4] == &Ean13OddElements && Ean13LeftSets[9][2] == &Ean13OddElements);
static_assert(Ean13LeftSets[9][0] == &Ean13EvenElements &&
              Ean13LeftSets[9][3] == &Ean13EvenElements);

// Values of the first 12 characters of text, padded with 0 on the right; false when one of
// them is not a digit.
bool ReadDigits(const char* text, std::array<std::size_t, DATA_DIGITS>& digits) {
    std::size_t i = 0;
    for (; i < DATA_DIGITS && text[i] != '\0'; ++i) {
        if (!IsDigit(text[i])) {
            return false;
        }
        digits[i] = DigitOf(text[i]);
    }
    for (; i < DATA_DIGITS; ++i) {
        digits[i] = 0;
    }
    return true;
}

} // namespace

// 95 elements always fit, so once the digits are checked nothing can fail.
bool CBarcodeEan13::Encode(const char* text) {
    Clear();
    std::array<std::size_t, DATA_DIGITS> digits{};
    if (text == nullptr || !ReadDigits(text, digits)) {
        return false;
    }
    const auto& sets = Ean13LeftSets[digits[0]];
    std::uint8_t* out = AddRow(elements, SIDE_GUARD);
    out = AddRow(out, Ean13OddElements[digits[1]]);
    for (std::size_t k = 0; k < PARITY_LETTERS; ++k) {
        out = AddRow(out, (*sets[k])[digits[k + 2]]);
    }
    out = AddRow(out, CENTRE_GUARD);
    for (std::size_t i = 7; i < DATA_DIGITS; ++i) {
        out = AddRow(out, Ean13RightElements[digits[i]]);
    }
    out = AddRow(out, Ean13RightElements[CheckDigitOf(digits)]);
    out = AddRow(out, SIDE_GUARD);
    length = LengthTo(out);
    return true;
}

bool CBarcodeEan13::GetParityPattern(char firstDigit, char* pattern) {
    if (!IsDigit(firstDigit) || pattern == nullptr) {
        return false;
    }
    std::ranges::copy(Ean13ParityPatterns[static_cast<std::size_t>(firstDigit - '0')], pattern);
    return true;
}

std::uint8_t* CBarcodeEan13::EncodeLeftOdd(std::uint8_t* out, char digit) {
    if (!IsDigit(digit) || !Fits(out, DIGIT_MODULES)) {
        return nullptr;
    }
    return AddRow(out, Ean13OddElements[DigitOf(digit)]);
}

std::uint8_t* CBarcodeEan13::EncodeLeftEven(std::uint8_t* out, char digit) {
    if (!IsDigit(digit) || !Fits(out, DIGIT_MODULES)) {
        return nullptr;
    }
    return AddRow(out, Ean13EvenElements[DigitOf(digit)]);
}

std::uint8_t* CBarcodeEan13::EncodeRight(std::uint8_t* out, char digit) {
    if (!IsDigit(digit) || !Fits(out, DIGIT_MODULES)) {
        return nullptr;
    }
    return AddRow(out, Ean13RightElements[DigitOf(digit)]);
}

// Weights 1 and 3 from the left. The sum is reduced only at the end: at most 27 per digit, so
// 64 bits hold it for any string that fits in memory. A string holding anything but digits
// has no check digit: the result is then '\0'.
char CBarcodeEan13::ComputeCheckDigit(const char* digits) {
    if (digits == nullptr) {
        return '\0';
    }
    std::uint64_t sum = 0;
    for (std::size_t i = 0; digits[i] != '\0'; ++i) {
        if (!IsDigit(digits[i])) {
            return '\0';
        }
        sum += DigitOf(digits[i]) * (i % 2 == 0 ? 1 : 3);
    }
    return static_cast<char>('0' + (10 - sum % 10) % 10);
}

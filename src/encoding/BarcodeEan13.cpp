#include "BarcodeEan13.h"
#include "ElementRows.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

constexpr std::size_t DATA_DIGITS = 12;
constexpr std::size_t PARITY_LETTERS = 5;
constexpr std::size_t DIGIT_MODULES = 7;

using DigitTable = std::array<std::string_view, 10>;

// First-digit parity table of ISO/IEC 15420 for data digits 3 to 7 (digit 2 is always odd):
// "O" odd, "E" even.
constexpr DigitTable Ean13ParityPatterns{
    "OOOOO", "OEOEE", "OEEOE", "OEEEO", "EOOEE", "EEOOE", "EEEOO", "EOEOE", "EOEEO", "EEOEO",
};

// Number sets A, B and C of ISO/IEC 15420: "b" bar module, "s" space module.
constexpr DigitTable Ean13OddPatterns{
    "sssbbsb", "ssbbssb", "ssbssbb", "sbbbbsb", "sbsssbb",
    "sbbsssb", "sbsbbbb", "sbbbsbb", "sbbsbbb", "sssbsbb",
};
constexpr DigitTable Ean13EvenPatterns{
    "sbssbbb", "sbbssbb", "ssbbsbb", "sbssssb", "ssbbbsb",
    "sbbbssb", "ssssbsb", "ssbsssb", "sssbssb", "ssbsbbb",
};
constexpr DigitTable Ean13RightPatterns{
    "bbbssbs", "bbssbbs", "bbsbbss", "bssssbs", "bsbbbss",
    "bssbbbs", "bsbssss", "bsssbss", "bssbsss", "bbbsbss",
};

constexpr bool IsOnly(std::string_view row, std::string_view letters, std::size_t size) {
    return row.size() == size && row.find_first_not_of(letters) == std::string_view::npos;
}

// Odd-set rows have an odd number of bar modules; set C is set A with bars and spaces
// swapped, and set B is set C reversed.
constexpr bool NumberSetsAreWellFormed() {
    for (std::size_t d = 0; d < 10; ++d) {
        const std::string_view odd = Ean13OddPatterns[d];
        const std::string_view even = Ean13EvenPatterns[d];
        const std::string_view right = Ean13RightPatterns[d];
        if (!IsOnly(odd, "bs", DIGIT_MODULES) || !IsOnly(even, "bs", DIGIT_MODULES) ||
            !IsOnly(right, "bs", DIGIT_MODULES) || std::ranges::count(odd, 'b') % 2 != 1) {
            return false;
        }
        for (std::size_t m = 0; m < DIGIT_MODULES; ++m) {
            if ((odd[m] == 'b') == (right[m] == 'b') || even[m] != right[DIGIT_MODULES - 1 - m]) {
                return false;
            }
        }
    }
    return true;
}

// Digit 0 keeps the whole left half odd; every other digit makes three of the five even.
constexpr bool ParityIsWellFormed() {
    for (std::size_t d = 0; d < 10; ++d) {
        const std::string_view row = Ean13ParityPatterns[d];
        if (!IsOnly(row, "OE", PARITY_LETTERS) ||
            std::ranges::count(row, 'E') != (d == 0 ? 0 : 3)) {
            return false;
        }
    }
    return true;
}

static_assert(Ean13ParityPatterns.size() == 10 && Ean13OddPatterns.size() == 10);
static_assert(Ean13EvenPatterns.size() == 10 && Ean13RightPatterns.size() == 10);
static_assert(NumberSetsAreWellFormed());
static_assert(ParityIsWellFormed());

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

constexpr std::uint8_t GUARD_BAR = ELEMENT_LONG + ELEMENT_BAR;
constexpr std::uint8_t GUARD_SPACE = ELEMENT_LONG;
constexpr ElementRow<3> SIDE_GUARD{GUARD_BAR, GUARD_SPACE, GUARD_BAR};
constexpr ElementRow<5> CENTRE_GUARD{GUARD_SPACE, GUARD_BAR, GUARD_SPACE, GUARD_BAR, GUARD_SPACE};

constexpr bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

constexpr std::size_t DigitOf(char c) {
    return static_cast<std::size_t>(c - '0');
}

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

// Weights 1 and 3 from the left, the sum taken modulo 10.
std::size_t CheckDigitOf(const std::array<std::size_t, DATA_DIGITS>& digits) {
    std::size_t sum = 0;
    for (std::size_t i = 0; i < DATA_DIGITS; i += 2) {
        sum += digits[i] + 3 * digits[i + 1];
    }
    return (10 - sum % 10) % 10;
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

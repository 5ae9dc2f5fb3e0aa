#pragma once

// The EAN-13 number sets and parity patterns and the check digit, shared by the encoder and
// the row reader.

#include "ElementRows.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <string_view>

namespace ean13 {

inline constexpr std::size_t DATA_DIGITS = 12;
inline constexpr std::size_t PARITY_LETTERS = 5;
inline constexpr std::size_t DIGIT_MODULES = 7;

using DigitTable = std::array<std::string_view, 10>;

// First-digit parity table of ISO/IEC 15420 for data digits 3 to 7 (digit 2 is always odd):
// "O" odd, "E" even.
inline constexpr DigitTable Ean13ParityPatterns{
    "OOOOO", "OEOEE", "OEEOE", "OEEEO", "EOOEE", "EEOOE", "EEEOO", "EOEOE", "EOEEO", "EEOEO",
};

// Number sets A, B and C of ISO/IEC 15420: "b" bar module, "s" space module.
inline constexpr DigitTable Ean13OddPatterns{
    "sssbbsb", "ssbbssb", "ssbssbb", "sbbbbsb", "sbsssbb",
    "sbbsssb", "sbsbbbb", "sbbbsbb", "sbbsbbb", "sssbsbb",
};
inline constexpr DigitTable Ean13EvenPatterns{
    "sbssbbb", "sbbssbb", "ssbbsbb", "sbssssb", "ssbbbsb",
    "sbbbssb", "ssssbsb", "ssbsssb", "sssbssb", "ssbsbbb",
};
inline constexpr DigitTable Ean13RightPatterns{
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

// Side and centre guards: long bars and spaces.
inline constexpr std::uint8_t GUARD_BAR = ELEMENT_LONG + ELEMENT_BAR;
inline constexpr std::uint8_t GUARD_SPACE = ELEMENT_LONG;
inline constexpr ElementRow<3> SIDE_GUARD{GUARD_BAR, GUARD_SPACE, GUARD_BAR};
inline constexpr ElementRow<5> CENTRE_GUARD{GUARD_SPACE, GUARD_BAR, GUARD_SPACE, GUARD_BAR,
                                            GUARD_SPACE};

constexpr bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

constexpr std::size_t DigitOf(char c) {
    return static_cast<std::size_t>(c - '0');
}

// Weights 1 and 3 from the left, the sum taken modulo 10.
constexpr std::size_t CheckDigitOf(const std::array<std::size_t, DATA_DIGITS>& digits) {
    std::size_t sum = 0;
    for (std::size_t i = 0; i < DATA_DIGITS; i += 2) {
        sum += digits[i] + 3 * digits[i + 1];
    }
    return (10 - sum % 10) % 10;
}

} // namespace ean13

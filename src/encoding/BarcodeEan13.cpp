#include "BarcodeEan13.h"

#include <algorithm>
#include <array>
#include <cstddef>
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

constexpr std::uint8_t GUARD_BAR = ELEMENT_LONG + ELEMENT_BAR;
constexpr std::uint8_t GUARD_SPACE = ELEMENT_LONG;
constexpr std::array<std::uint8_t, 3> SIDE_GUARD{GUARD_BAR, GUARD_SPACE, GUARD_BAR};
constexpr std::array<std::uint8_t, 5> CENTRE_GUARD{GUARD_SPACE, GUARD_BAR, GUARD_SPACE, GUARD_BAR,
                                                   GUARD_SPACE};

constexpr bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Adds the modules of row to the elements at out; the caller has checked the room.
std::uint8_t* AddModules(std::uint8_t* out, std::string_view row) {
    for (const char module : row) {
        if (module == 'b') {
            *out += ELEMENT_BAR;
        }
        ++out;
    }
    return out;
}

template <std::size_t N>
std::uint8_t* AddGuard(std::uint8_t* out, const std::array<std::uint8_t, N>& guard) {
    if (out == nullptr) {
        return nullptr;
    }
    for (const std::uint8_t flags : guard) {
        *out++ += flags;
    }
    return out;
}

// The first 12 characters of text, padded with "0" on the right.
std::array<char, DATA_DIGITS + 1> WorkingDigits(const char* text) {
    std::array<char, DATA_DIGITS + 1> digits{};
    std::fill_n(digits.begin(), DATA_DIGITS, '0');
    for (std::size_t i = 0; i < DATA_DIGITS && text[i] != '\0'; ++i) {
        digits[i] = text[i];
    }
    return digits;
}

} // namespace

bool CBarcodeEan13::Encode(const char* text) {
    Clear();
    if (text == nullptr) {
        return false;
    }
    const auto digits = WorkingDigits(text);
    if (!std::all_of(digits.begin(), digits.begin() + DATA_DIGITS, IsDigit)) {
        return false;
    }
    std::array<char, PARITY_LETTERS> parity{};
    GetParityPattern(digits[0], parity.data());

    std::uint8_t* out = AddGuard(elements, SIDE_GUARD);
    out = EncodeLeftOdd(out, digits[1]);
    for (std::size_t k = 0; k < PARITY_LETTERS; ++k) {
        const char digit = digits[k + 2];
        out = parity[k] == 'O' ? EncodeLeftOdd(out, digit) : EncodeLeftEven(out, digit);
    }
    out = AddGuard(out, CENTRE_GUARD);
    for (std::size_t i = 7; i < DATA_DIGITS; ++i) {
        out = EncodeRight(out, digits[i]);
    }
    out = EncodeRight(out, ComputeCheckDigit(digits.data()));
    out = AddGuard(out, SIDE_GUARD);
    if (out == nullptr) {
        return false;
    }
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
    return AddModules(out, Ean13OddPatterns[static_cast<std::size_t>(digit - '0')]);
}

std::uint8_t* CBarcodeEan13::EncodeLeftEven(std::uint8_t* out, char digit) {
    if (!IsDigit(digit) || !Fits(out, DIGIT_MODULES)) {
        return nullptr;
    }
    return AddModules(out, Ean13EvenPatterns[static_cast<std::size_t>(digit - '0')]);
}

std::uint8_t* CBarcodeEan13::EncodeRight(std::uint8_t* out, char digit) {
    if (!IsDigit(digit) || !Fits(out, DIGIT_MODULES)) {
        return nullptr;
    }
    return AddModules(out, Ean13RightPatterns[static_cast<std::size_t>(digit - '0')]);
}

// Weights 1 and 3 from the left, the sum kept modulo 10. A string holding anything but
// digits has no check digit: the result is then '\0'.
char CBarcodeEan13::ComputeCheckDigit(const char* digits) {
    if (digits == nullptr) {
        return '\0';
    }
    int sum = 0;
    for (std::size_t i = 0; digits[i] != '\0'; ++i) {
        if (!IsDigit(digits[i])) {
            return '\0';
        }
        sum = (sum + (digits[i] - '0') * (i % 2 == 0 ? 1 : 3)) % 10;
    }
    return static_cast<char>('0' + (10 - sum) % 10);
}

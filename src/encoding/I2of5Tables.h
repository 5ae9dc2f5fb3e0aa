#pragma once

// The Interleaved 2 of 5 digit and pair tables, shared by the encoder and the row reader.

#include "BarcodeBase.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace i2of5 {

inline constexpr std::size_t PAIR_ELEMENTS = 10;

// 2 of 5 digit patterns of ISO/IEC 16390: five elements, two of them wide.
inline constexpr std::array<std::string_view, 10> DigitPatterns{
    "nnwwn", "wnnnw", "nwnnw", "wwnnn", "nnwnw", "wnwnn", "nwwnn", "nnnww", "wnnwn", "nwnwn",
};

// Interleaved 2 of 5 characters of ISO/IEC 16390 for the pairs 00 to 99: the first digit
// on the bars (even positions), the second on the spaces (odd positions).
inline constexpr std::array<std::string_view, 100> I2of5Patterns{
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

inline constexpr std::array<std::uint8_t, 4> START = {1, 0, 1, 0};
inline constexpr std::array<std::uint8_t, 3> STOP = {3, 0, 1};

// 4 + 5 * 816 + 3 == 4087; two more digits would need 4097 elements.
inline constexpr std::size_t MAX_DIGITS =
    (CBarcodeBase::CAPACITY - START.size() - STOP.size()) / PAIR_ELEMENTS * 2;
static_assert(MAX_DIGITS == 816);

} // namespace i2of5

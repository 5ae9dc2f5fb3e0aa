#pragma once

// The Code 93 character and full-ASCII tables and the check sum, shared by the encoder and
// the row reader.

#include "BarcodeBase.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace code93 {

inline constexpr int START = 47;
inline constexpr int STOP = 48;
inline constexpr int NO_SYMBOL = -1;
inline constexpr std::size_t SYMBOL_MODULES = 9;

// Code 93 character table of ANSI/AIM BC5 (USS Code 93):
// row k is symbol value k, "b" bar module, "s" space module. Row 48 is the start/stop
// character with its termination bar.
inline constexpr std::array<std::string_view, 49> Code93Patterns{
    "bsssbsbss",  "bsbssbsss", "bsbsssbss", "bsbssssbs", // 0 1 2 3
    "bssbsbsss",  "bssbssbss", "bssbsssbs", "bsbsbssss", // 4 5 6 7
    "bsssbssbs",  "bssssbsbs", "bbsbsbsss", "bbsbssbss", // 8 9 A B
    "bbsbsssbs",  "bbssbsbss", "bbssbssbs", "bbsssbsbs", // C D E F
    "bsbbsbsss",  "bsbbssbss", "bsbbsssbs", "bssbbsbss", // G H I J
    "bsssbbsbs",  "bsbsbbsss", "bsbssbbss", "bsbsssbbs", // K L M N
    "bssbsbbss",  "bsssbsbbs", "bbsbbsbss", "bbsbbssbs", // O P Q R
    "bbsbsbbss",  "bbsbssbbs", "bbssbsbbs", "bbssbbsbs", // S T U V
    "bsbbsbbss",  "bsbbssbbs", "bssbbsbbs", "bssbbbsbs", // W X Y Z
    "bssbsbbbs",  "bbbsbsbss", "bbbsbssbs", "bbbssbsbs", // - . space $
    "bsbbsbbbs",  "bsbbbsbbs", "bbsbsbbbs", "bssbssbbs", // / + % ($)
    "bbbsbbsbs",  "bbbsbsbbs", "bssbbssbs", "bsbsbbbbs", // (%) (/) (+) start/stop
    "bsbsbbbbsb",                                        // stop and termination bar
};

// Nine modules of "b"/"s" per character (ten for the stop), bar first, space last.
constexpr bool PatternsAreWellFormed() {
    for (std::size_t k = 0; k < Code93Patterns.size(); ++k) {
        const std::string_view p = Code93Patterns[k];
        const std::size_t expected = k == STOP ? SYMBOL_MODULES + 1 : SYMBOL_MODULES;
        if (p.size() != expected || p.front() != 'b' || p[SYMBOL_MODULES - 1] != 's') {
            return false;
        }
        for (const char c : p) {
            if (c != 'b' && c != 's') {
                return false;
            }
        }
    }
    return Code93Patterns[STOP].substr(0, SYMBOL_MODULES) == Code93Patterns[START];
}
static_assert(Code93Patterns.size() == 49);
static_assert(PatternsAreWellFormed());

struct FullAsciiPair {
    int first;
    int second; // NO_SYMBOL when the character is one symbol
};

// Full-ASCII table of Code 93 (ANSI/AIM BC5) for character codes 0 to 127: a shift
// value (43 to 46) and a letter, or the character's own symbol.
inline constexpr std::array<FullAsciiPair, 128> Code93FullAscii{{
    {44, 30}, {43, 10}, {43, 11}, {43, 12}, {43, 13}, {43, 14}, {43, 15}, {43, 16}, // 0-7
    {43, 17}, {43, 18}, {43, 19}, {43, 20}, {43, 21}, {43, 22}, {43, 23}, {43, 24}, // 8-15
    {43, 25}, {43, 26}, {43, 27}, {43, 28}, {43, 29}, {43, 30}, {43, 31}, {43, 32}, // 16-23
    {43, 33}, {43, 34}, {43, 35}, {44, 10}, {44, 11}, {44, 12}, {44, 13}, {44, 14}, // 24-31
    {38, -1}, {45, 10}, {45, 11}, {45, 12}, {39, -1}, {42, -1}, {45, 15}, {45, 16}, // 32-39
    {45, 17}, {45, 18}, {45, 19}, {41, -1}, {45, 21}, {36, -1}, {37, -1}, {40, -1}, // 40-47
    {0, -1},  {1, -1},  {2, -1},  {3, -1},  {4, -1},  {5, -1},  {6, -1},  {7, -1},  // 48-55
    {8, -1},  {9, -1},  {45, 35}, {44, 15}, {44, 16}, {44, 17}, {44, 18}, {44, 19}, // 56-63
    {44, 31}, {10, -1}, {11, -1}, {12, -1}, {13, -1}, {14, -1}, {15, -1}, {16, -1}, // 64-71
    {17, -1}, {18, -1}, {19, -1}, {20, -1}, {21, -1}, {22, -1}, {23, -1}, {24, -1}, // 72-79
    {25, -1}, {26, -1}, {27, -1}, {28, -1}, {29, -1}, {30, -1}, {31, -1}, {32, -1}, // 80-87
    {33, -1}, {34, -1}, {35, -1}, {44, 20}, {44, 21}, {44, 22}, {44, 23}, {44, 24}, // 88-95
    {44, 32}, {46, 10}, {46, 11}, {46, 12}, {46, 13}, {46, 14}, {46, 15}, {46, 16}, // 96-103
    {46, 17}, {46, 18}, {46, 19}, {46, 20}, {46, 21}, {46, 22}, {46, 23}, {46, 24}, // 104-111
    {46, 25}, {46, 26}, {46, 27}, {46, 28}, {46, 29}, {46, 30}, {46, 31}, {46, 32}, // 112-119
    {46, 33}, {46, 34}, {46, 35}, {44, 25}, {44, 26}, {44, 27}, {44, 28}, {44, 29}, // 120-127
}};

// A pair is one data symbol (0 to 42) or a shift (43 to 46) followed by a letter (10 to 35).
constexpr bool FullAsciiIsWellFormed() {
    for (const FullAsciiPair& p : Code93FullAscii) {
        const bool single = p.first >= 0 && p.first <= 42 && p.second == NO_SYMBOL;
        const bool shifted = p.first >= 43 && p.first <= 46 && p.second >= 10 && p.second <= 35;
        if (!single && !shifted) {
            return false;
        }
    }
    return true;
}
static_assert(Code93FullAscii.size() == 128);
static_assert(FullAsciiIsWellFormed());

// Every byte gives at least one data symbol; 9 * 451 + 37 == 4096.
inline constexpr std::size_t MAX_DATA_SYMBOLS = (CBarcodeBase::CAPACITY - 37) / SYMBOL_MODULES;
static_assert(MAX_DATA_SYMBOLS == 451);

// Weighted modulo-47 sum taken from the right, with weights cycling from 1 to maxWeight.
// The sum is reduced only when read: at most 2 * 46 * 20 per text byte, so 64 bits hold it
// for any text that fits in memory.
class CheckSum {
public:
    CheckSum(int firstWeight, int maxWeight) : m_weight(firstWeight), m_maxWeight(maxWeight) {}
    void Add(int value) {
        m_sum += static_cast<std::uint64_t>(value * m_weight);
        m_weight = m_weight == m_maxWeight ? 1 : m_weight + 1;
    }
    int Value() const { return static_cast<int>(m_sum % 47); }

private:
    std::uint64_t m_sum = 0;
    int m_weight;
    int m_maxWeight;
};

} // namespace code93

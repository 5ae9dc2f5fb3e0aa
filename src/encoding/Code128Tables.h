#pragma once

// The Code 128 symbol and character-value tables and the walk of a text through the
// subsets, shared by the encoder, the row reader and the row check.

#include "BarcodeBase.h"

#include <array>
#include <cstddef>
#include <string_view>

namespace code128 {

inline constexpr int SUBSET_A = 0;
inline constexpr int SUBSET_B = 1;
inline constexpr int SUBSET_C = 2;

inline constexpr int CODE_C = 99;
inline constexpr int CODE_B = 100;
inline constexpr int CODE_A = 101;
inline constexpr int SHIFT = 98;
inline constexpr int FNC1 = 102;
inline constexpr int START_A = 103;
inline constexpr int STOP = 106;
inline constexpr int NO_VALUE = -1;
inline constexpr int CHECK_MODULUS = 103;

// A code byte stands for the symbol value byte - 100.
inline constexpr int CODE_BYTE_OFFSET = 100;
inline constexpr int FIRST_CODE_BYTE = 195;
inline constexpr int CHAR_VALUE_COUNT = 207;

inline constexpr std::size_t SYMBOL_MODULES = 11;
inline constexpr std::size_t STOP_MODULES = 13;

// Every data symbol takes at most two text bytes and at most 369 data symbols fit the
// buffer, so a longer text can never be encoded.
inline constexpr std::size_t MAX_DATA_SYMBOLS =
    (CBarcodeBase::CAPACITY - 2 * SYMBOL_MODULES - STOP_MODULES) / SYMBOL_MODULES;
inline constexpr std::size_t MAX_TEXT_BYTES = 2 * MAX_DATA_SYMBOLS;
static_assert(MAX_DATA_SYMBOLS == 369);

// Symbol character table of ISO/IEC 15417: row k holds the modules of value k, "b" bar,
// "s" space. Row 106 is the stop character with its two-module termination bar.
inline constexpr std::array<std::string_view, 107> Code128Patterns{
    "bbsbbssbbss", "bbssbbsbbss",   "bbssbbssbbs", "bssbssbbsss", "bssbsssbbss", // 0
    "bsssbssbbss", "bssbbssbsss",   "bssbbsssbss", "bsssbbssbss", "bbssbssbsss", // 5
    "bbssbsssbss", "bbsssbssbss",   "bsbbssbbbss", "bssbbsbbbss", "bssbbssbbbs", // 10
    "bsbbbssbbss", "bssbbbsbbss",   "bssbbbssbbs", "bbssbbbssbs", "bbssbsbbbss", // 15
    "bbssbssbbbs", "bbsbbbssbss",   "bbssbbbsbss", "bbbsbbsbbbs", "bbbsbssbbss", // 20
    "bbbssbsbbss", "bbbssbssbbs",   "bbbsbbssbss", "bbbssbbsbss", "bbbssbbssbs", // 25
    "bbsbbsbbsss", "bbsbbsssbbs",   "bbsssbbsbbs", "bsbsssbbsss", "bsssbsbbsss", // 30
    "bsssbsssbbs", "bsbbsssbsss",   "bsssbbsbsss", "bsssbbsssbs", "bbsbsssbsss", // 35
    "bbsssbsbsss", "bbsssbsssbs",   "bsbbsbbbsss", "bsbbsssbbbs", "bsssbbsbbbs", // 40
    "bsbbbsbbsss", "bsbbbsssbbs",   "bsssbbbsbbs", "bbbsbbbsbbs", "bbsbsssbbbs", // 45
    "bbsssbsbbbs", "bbsbbbsbsss",   "bbsbbbsssbs", "bbsbbbsbbbs", "bbbsbsbbsss", // 50
    "bbbsbsssbbs", "bbbsssbsbbs",   "bbbsbbsbsss", "bbbsbbsssbs", "bbbsssbbsbs", // 55
    "bbbsbbbbsbs", "bbssbssssbs",   "bbbbsssbsbs", "bsbssbbssss", "bsbssssbbss", // 60
    "bssbsbbssss", "bssbssssbbs",   "bssssbsbbss", "bssssbssbbs", "bsbbssbssss", // 65
    "bsbbssssbss", "bssbbsbssss",   "bssbbssssbs", "bssssbbsbss", "bssssbbssbs", // 70
    "bbssssbssbs", "bbssbsbssss",   "bbbbsbbbsbs", "bbssssbsbss", "bsssbbbbsbs", // 75
    "bsbssbbbbss", "bssbsbbbbss",   "bssbssbbbbs", "bsbbbbssbss", "bssbbbbsbss", // 80
    "bssbbbbssbs", "bbbbsbssbss",   "bbbbssbsbss", "bbbbssbssbs", "bbsbbsbbbbs", // 85
    "bbsbbbbsbbs", "bbbbsbbsbbs",   "bsbsbbbbsss", "bsbsssbbbbs", "bsssbsbbbbs", // 90
    "bsbbbbsbsss", "bsbbbbsssbs",   "bbbbsbsbsss", "bbbbsbsssbs", "bsbbbsbbbbs", // 95
    "bsbbbbsbbbs", "bbbsbsbbbbs",   "bbbbsbsbbbs", "bbsbssssbss", "bbsbssbssss", // 100
    "bbsbssbbbss", "bbsssbbbsbsbb",                                              // 105
};

// Each row starts with a bar, has the right length, only "b"/"s" and an even number of bar
// modules (the symbology's parity rule); the stop ends with its termination bar.
constexpr bool PatternsAreWellFormed() {
    for (std::size_t k = 0; k < Code128Patterns.size(); ++k) {
        const std::string_view p = Code128Patterns[k];
        const std::size_t modules = k == STOP ? STOP_MODULES : SYMBOL_MODULES;
        if (p.size() != modules || p.front() != 'b' || p[SYMBOL_MODULES - 1] != 's') {
            return false;
        }
        std::size_t bars = 0;
        for (const char c : p.substr(0, SYMBOL_MODULES)) {
            if (c != 'b' && c != 's') {
                return false;
            }
            bars += c == 'b' ? 1 : 0;
        }
        if (bars % 2 != 0) {
            return false;
        }
    }
    return Code128Patterns[STOP].substr(SYMBOL_MODULES) == "bb";
}
static_assert(Code128Patterns.size() == 107);
static_assert(PatternsAreWellFormed());

using CharValueTable = std::array<std::array<int, CHAR_VALUE_COUNT>, 2>;

// Symbol values of the text bytes 0 to 206 in subset A (row 0) and subset B (row 1), -1
// where a byte has none: the character sets of ISO/IEC 15417, with the code bytes 195 to 206
// standing for the values 95 to 106 in both subsets.
constexpr CharValueTable BuildCharValues() {
    CharValueTable table{};
    for (int byte = 0; byte < CHAR_VALUE_COUNT; ++byte) {
        int a = NO_VALUE;
        int b = NO_VALUE;
        if (byte < 32) {
            a = byte + 64;
        } else if (byte < 96) {
            a = b = byte - 32;
        } else if (byte < 127) {
            b = byte - 32;
        } else if (byte >= FIRST_CODE_BYTE) {
            a = b = byte - CODE_BYTE_OFFSET;
        }
        table[SUBSET_A][byte] = a;
        table[SUBSET_B][byte] = b;
    }
    return table;
}
inline constexpr CharValueTable Code128CharValues = BuildCharValues();
static_assert(Code128CharValues.size() == 2 && Code128CharValues[0].size() == CHAR_VALUE_COUNT);
static_assert(Code128CharValues[SUBSET_A][1] == 65 && Code128CharValues[SUBSET_A][31] == 95);
static_assert(Code128CharValues[SUBSET_A][' '] == 0 && Code128CharValues[SUBSET_B]['_'] == 63);
static_assert(Code128CharValues[SUBSET_A]['a'] == NO_VALUE &&
              Code128CharValues[SUBSET_B]['a'] == 65);
static_assert(Code128CharValues[SUBSET_B][31] == NO_VALUE &&
              Code128CharValues[SUBSET_B][127] == NO_VALUE);
static_assert(Code128CharValues[SUBSET_A][194] == NO_VALUE &&
              Code128CharValues[SUBSET_B][206] == STOP);

constexpr bool IsValidSubset(int subset) {
    return subset == SUBSET_A || subset == SUBSET_B || subset == SUBSET_C;
}

// Value of a text byte in subset A or B; bytes beyond the table have none.
constexpr int CharValue(int subset, unsigned char byte) {
    return byte < CHAR_VALUE_COUNT ? Code128CharValues[subset][byte] : NO_VALUE;
}

constexpr bool IsSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// A subset C digit pair read like atoi: white space, an optional sign, then digits.
constexpr int PairValue(std::string_view pair) {
    std::size_t i = 0;
    while (i < pair.size() && IsSpace(pair[i])) {
        ++i;
    }
    const bool negative = i < pair.size() && pair[i] == '-';
    if (i < pair.size() && (pair[i] == '-' || pair[i] == '+')) {
        ++i;
    }
    int value = 0;
    for (; i < pair.size() && pair[i] >= '0' && pair[i] <= '9'; ++i) {
        value = value * 10 + (pair[i] - '0');
    }
    return negative ? -value : value;
}
static_assert(PairValue("07") == 7 && PairValue("1A") == 1 && PairValue("AB") == 0);
static_assert(PairValue(" 7") == 7 && PairValue("-5") == -5 && PairValue("+") == 0);

// Splits a text into symbol values, following the subset changes written in it. Encoding
// and the check character walk the text with it, so both take the same decisions.
class SymbolReader {
public:
    SymbolReader(const char* text, int subset) : m_pos(text), m_subset(subset) {}

    bool AtEnd() const { return *m_pos == '\0'; }
    // The next byte to read and the current subset.
    const char* Position() const { return m_pos; }
    int Subset() const { return m_subset; }

    // Value of the next symbol (-1 or a negative pair when it has none); moves past it.
    int Next() {
        const auto byte = static_cast<unsigned char>(*m_pos);
        return m_subset == SUBSET_C ? NextInC(byte) : NextInAorB(byte);
    }

private:
    int NextInC(unsigned char byte) {
        switch (byte - CODE_BYTE_OFFSET) {
        case CODE_A:
            m_subset = SUBSET_A;
            ++m_pos;
            return CODE_A;
        case CODE_B:
            m_subset = SUBSET_B;
            ++m_pos;
            return CODE_B;
        case FNC1:
            ++m_pos;
            return FNC1;
        default:
            break;
        }
        // The byte after the first is part of the pair whatever it is; a last byte is a
        // pair of its own.
        const std::size_t size = m_pos[1] == '\0' ? 1 : 2;
        const int value = PairValue({m_pos, size});
        m_pos += size;
        return value;
    }

    int NextInAorB(unsigned char byte) {
        const int value = CharValue(m_subset, byte);
        ++m_pos;
        if (value == CODE_C) {
            m_subset = SUBSET_C;
        } else if (m_subset == SUBSET_A && value == CODE_B) {
            m_subset = SUBSET_B;
        } else if (m_subset == SUBSET_B && value == CODE_A) {
            m_subset = SUBSET_A;
        }
        return value;
    }

    const char* m_pos;
    int m_subset;
};

} // namespace code128

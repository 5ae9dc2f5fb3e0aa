#pragma once

// The Code 39 character table, shared by the encoder and the row reader.

#include "BarcodeBase.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace code39 {

struct Code39Row {
    char ch;
    std::string_view pattern; // nine elements (bar first) and the inter-character gap
};

inline constexpr std::size_t SYMBOL_ELEMENTS = 10;

// Code 39 character table of ISO/IEC 16388: 43 data characters and the "*" start/stop,
// "n" narrow, "w" wide, each followed by its narrow gap.
inline constexpr std::array<Code39Row, 44> Code39Patterns{{
    {'0', "nnnwwnwnnn"}, {'1', "wnnwnnnnwn"}, {'2', "nnwwnnnnwn"}, {'3', "wnwwnnnnnn"},
    {'4', "nnnwwnnnwn"}, {'5', "wnnwwnnnnn"}, {'6', "nnwwwnnnnn"}, {'7', "nnnwnnwnwn"},
    {'8', "wnnwnnwnnn"}, {'9', "nnwwnnwnnn"}, {'A', "wnnnnwnnwn"}, {'B', "nnwnnwnnwn"},
    {'C', "wnwnnwnnnn"}, {'D', "nnnnwwnnwn"}, {'E', "wnnnwwnnnn"}, {'F', "nnwnwwnnnn"},
    {'G', "nnnnnwwnwn"}, {'H', "wnnnnwwnnn"}, {'I', "nnwnnwwnnn"}, {'J', "nnnnwwwnnn"},
    {'K', "wnnnnnnwwn"}, {'L', "nnwnnnnwwn"}, {'M', "wnwnnnnwnn"}, {'N', "nnnnwnnwwn"},
    {'O', "wnnnwnnwnn"}, {'P', "nnwnwnnwnn"}, {'Q', "nnnnnnwwwn"}, {'R', "wnnnnnwwnn"},
    {'S', "nnwnnnwwnn"}, {'T', "nnnnwnwwnn"}, {'U', "wwnnnnnnwn"}, {'V', "nwwnnnnnwn"},
    {'W', "wwwnnnnnnn"}, {'X', "nwnnwnnnwn"}, {'Y', "wwnnwnnnnn"}, {'Z', "nwwnwnnnnn"},
    {'-', "nwnnnnwnwn"}, {'.', "wwnnnnwnnn"}, {' ', "nwwnnnwnnn"}, {'*', "nwnnwnwnnn"},
    {'$', "nwnwnwnnnn"}, {'/', "nwnwnnnwnn"}, {'+', "nwnnnwnwnn"}, {'%', "nnnwnwnwnn"},
}};

// Ten letters of "n"/"w", three wide among the first nine, a narrow gap, no character twice.
constexpr bool TableIsWellFormed() {
    for (std::size_t i = 0; i < Code39Patterns.size(); ++i) {
        const std::string_view p = Code39Patterns[i].pattern;
        if (p.size() != SYMBOL_ELEMENTS || p.back() != 'n') {
            return false;
        }
        int wide = 0;
        for (const char c : p) {
            if (c != 'n' && c != 'w') {
                return false;
            }
            wide += c == 'w' ? 1 : 0;
        }
        if (wide != 3) {
            return false;
        }
        for (std::size_t j = i + 1; j < Code39Patterns.size(); ++j) {
            if (Code39Patterns[j].ch == Code39Patterns[i].ch) {
                return false;
            }
        }
    }
    return true;
}
static_assert(Code39Patterns.size() == 44);
static_assert(TableIsWellFormed());

// Longest text whose symbol, with start and stop, fits in the buffer.
inline constexpr std::size_t MAX_TEXT = CBarcodeBase::CAPACITY / SYMBOL_ELEMENTS - 2;
static_assert(MAX_TEXT == 407);

inline constexpr std::int8_t NO_ROW = -1;

// Row of Code39Patterns for every byte value, NO_ROW where the byte has none.
constexpr std::array<std::int8_t, 256> BuildRowIndex() {
    std::array<std::int8_t, 256> index{};
    index.fill(NO_ROW);
    for (std::size_t i = 0; i < Code39Patterns.size(); ++i) {
        index[static_cast<unsigned char>(Code39Patterns[i].ch)] = static_cast<std::int8_t>(i);
    }
    return index;
}
inline constexpr std::array<std::int8_t, 256> Code39RowIndex = BuildRowIndex();

// Every character finds its own row and no other byte finds one.
constexpr bool RowIndexIsComplete() {
    std::size_t found = 0;
    for (std::size_t b = 0; b < Code39RowIndex.size(); ++b) {
        const int row = Code39RowIndex[b];
        if (row != NO_ROW) {
            ++found;
            if (static_cast<unsigned char>(Code39Patterns[static_cast<std::size_t>(row)].ch) != b) {
                return false;
            }
        }
    }
    return found == Code39Patterns.size();
}
static_assert(RowIndexIsComplete());
static_assert(Code39RowIndex['*'] == 39 && Code39RowIndex['a'] == NO_ROW);

constexpr int RowOf(char ch) {
    return Code39RowIndex[static_cast<unsigned char>(ch)];
}

// Only ASCII letters change; bytes from 0x80 up stay as they are.
constexpr char ToUpperAscii(char ch) {
    return (ch >= 'a' && ch <= 'z') ? static_cast<char>(ch - 'a' + 'A') : ch;
}

} // namespace code39

#include "Barcode39.h"

#include <array>
#include <cstddef>
#include <string_view>

namespace {

struct Code39Row {
    char ch;
    std::string_view pattern; // nine elements (bar first) and the inter-character gap
};

constexpr std::size_t SYMBOL_ELEMENTS = 10;

// Code 39 character table of ISO/IEC 16388: 43 data characters and the "*" start/stop,
// "n" narrow, "w" wide, each followed by its narrow gap.
constexpr std::array<Code39Row, 44> Code39Patterns{{
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
constexpr std::size_t MAX_TEXT = CBarcodeBase::CAPACITY / SYMBOL_ELEMENTS - 2;
static_assert(MAX_TEXT == 407);

const Code39Row* FindRow(char ch) {
    for (const Code39Row& row : Code39Patterns) {
        if (row.ch == ch) {
            return &row;
        }
    }
    return nullptr;
}

// Only ASCII letters change; bytes from 0x80 up stay as they are.
char ToUpperAscii(char ch) {
    return (ch >= 'a' && ch <= 'z') ? static_cast<char>(ch - 'a' + 'A') : ch;
}

// Length of text, counted no further than limit + 1 so a huge text costs nothing.
std::size_t BoundedLength(const char* text, std::size_t limit) {
    std::size_t n = 0;
    while (n <= limit && text[n] != '\0') {
        ++n;
    }
    return n;
}

} // namespace

std::uint8_t* CBarcode39::EncodeChar(char ch, std::uint8_t* out) {
    const Code39Row* row = FindRow(ch);
    if (row == nullptr || !Fits(out, SYMBOL_ELEMENTS)) {
        return nullptr;
    }
    for (std::size_t k = 0; k < SYMBOL_ELEMENTS; ++k) {
        if (row->pattern[k] == 'w') {
            out[k] += ELEMENT_WIDE;
        }
        if (k % 2 == 0) {
            out[k] += ELEMENT_BAR;
        }
    }
    return out + SYMBOL_ELEMENTS;
}

bool CBarcode39::Encode(const char* text) {
    if (text == nullptr) {
        return false;
    }
    const std::size_t n = BoundedLength(text, MAX_TEXT);
    if (n > MAX_TEXT) {
        return false;
    }
    std::uint8_t* out = EncodeChar('*', elements);
    for (std::size_t i = 0; i < n && out != nullptr; ++i) {
        out = EncodeChar(ToUpperAscii(text[i]), out);
    }
    if (out != nullptr) {
        out = EncodeChar('*', out);
    }
    if (out == nullptr) {
        return false;
    }
    length = LengthTo(out);
    return true;
}

#pragma once

#include "BarcodeBase.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

// Element bytes of whole symbol characters, built at compile time from the letter tables, so
// that writing a character is one fixed-length add instead of a test per letter.
template <std::size_t N> using ElementRow = std::array<std::uint8_t, N>;

// "b" is a bar module, any other letter a space module; bytes past the pattern stay 0.
template <std::size_t N> constexpr ElementRow<N> ModuleRow(std::string_view pattern) {
    ElementRow<N> row{};
    for (std::size_t k = 0; k < N && k < pattern.size(); ++k) {
        row[k] = pattern[k] == 'b' ? ELEMENT_BAR : 0;
    }
    return row;
}

// Bars and spaces alternate from a bar; "w" makes an element wide.
template <std::size_t N> constexpr ElementRow<N> WidthRow(std::string_view pattern) {
    ElementRow<N> row{};
    for (std::size_t k = 0; k < N && k < pattern.size(); ++k) {
        row[k] = static_cast<std::uint8_t>((k % 2 == 0 ? ELEMENT_BAR : 0) +
                                           (pattern[k] == 'w' ? ELEMENT_WIDE : 0));
    }
    return row;
}

// Reads a row back into letters: true when it says what pattern says.
template <std::size_t N>
constexpr bool IsModuleRowOf(const ElementRow<N>& row, std::string_view pattern) {
    for (std::size_t k = 0; k < N; ++k) {
        const bool bar = k < pattern.size() && pattern[k] == 'b';
        if (row[k] != (bar ? ELEMENT_BAR : 0)) {
            return false;
        }
    }
    return true;
}

template <std::size_t N>
constexpr bool IsWidthRowOf(const ElementRow<N>& row, std::string_view pattern) {
    for (std::size_t k = 0; k < N; ++k) {
        const bool wide = k < pattern.size() && pattern[k] == 'w';
        const bool bar = k < pattern.size() && k % 2 == 0;
        if (((row[k] & ELEMENT_WIDE) != 0) != wide || ((row[k] & ELEMENT_BAR) != 0) != bar ||
            (row[k] & ~(ELEMENT_WIDE | ELEMENT_BAR)) != 0) {
            return false;
        }
    }
    return true;
}

template <std::size_t N, std::size_t R>
constexpr std::array<ElementRow<N>, R> ModuleRows(const std::array<std::string_view, R>& patterns) {
    std::array<ElementRow<N>, R> rows{};
    for (std::size_t r = 0; r < R; ++r) {
        rows[r] = ModuleRow<N>(patterns[r]);
    }
    return rows;
}

template <std::size_t N, std::size_t R>
constexpr std::array<ElementRow<N>, R> WidthRows(const std::array<std::string_view, R>& patterns) {
    std::array<ElementRow<N>, R> rows{};
    for (std::size_t r = 0; r < R; ++r) {
        rows[r] = WidthRow<N>(patterns[r]);
    }
    return rows;
}

// Adds the row bytes to sizeof(Chunk) elements at once, each byte on its own: the low seven
// bits of every byte are added as one word, where no carry can reach the next byte (row
// bytes are below 0x80), and the top bit of each element byte is put back by XOR.
template <typename Chunk> void AddChunk(std::uint8_t* out, const std::uint8_t* row) {
    constexpr auto highBits = static_cast<Chunk>(0x8080808080808080u);
    Chunk elements = 0;
    Chunk add = 0;
    std::memcpy(&elements, out, sizeof(Chunk));
    std::memcpy(&add, row, sizeof(Chunk));
    const auto sum = static_cast<Chunk>(((elements & ~highBits) + add) ^ (elements & highBits));
    std::memcpy(out, &sum, sizeof(Chunk));
}

// Adds the first Count bytes of row to the elements at out (adding keeps whatever the
// caller already put there); the caller has checked the room.
template <std::size_t Count, std::size_t N>
std::uint8_t* AddElements(std::uint8_t* out, const ElementRow<N>& row) {
    static_assert(Count <= N);
    std::size_t k = 0;
    for (; k + 8 <= Count; k += 8) {
        AddChunk<std::uint64_t>(out + k, row.data() + k);
    }
    if constexpr (Count % 8 >= 4) {
        AddChunk<std::uint32_t>(out + k, row.data() + k);
        k += 4;
    }
    if constexpr (Count % 4 >= 2) {
        AddChunk<std::uint16_t>(out + k, row.data() + k);
        k += 2;
    }
    if constexpr (Count % 2 == 1) {
        out[k] = static_cast<std::uint8_t>(out[k] + row[k]);
    }
    return out + Count;
}

template <std::size_t N> std::uint8_t* AddRow(std::uint8_t* out, const ElementRow<N>& row) {
    return AddElements<N>(out, row);
}

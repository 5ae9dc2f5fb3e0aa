#include "Barcode39.h"
#include "Code39Tables.h"
#include "ElementRows.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

using namespace code39;

using ElementRow10 = ElementRow<SYMBOL_ELEMENTS>;

// Element bytes of every row of Code39Patterns, in the same order.
constexpr std::array<ElementRow10, 44> BuildElementRows() {
    std::array<ElementRow10, 44> rows{};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        rows[i] = WidthRow<SYMBOL_ELEMENTS>(Code39Patterns[i].pattern);
    }
    return rows;
}
constexpr std::array<ElementRow10, 44> Code39Elements = BuildElementRows();

constexpr bool ElementsMatchPatterns() {
    for (std::size_t i = 0; i < Code39Elements.size(); ++i) {
        if (!IsWidthRowOf(Code39Elements[i], Code39Patterns[i].pattern)) {
            return false;
        }
    }
    return true;
}
static_assert(ElementsMatchPatterns());

constexpr auto START_STOP_ROW = static_cast<std::size_t>(RowOf('*'));
static_assert(Code39Elements[START_STOP_ROW] == ElementRow10{1, 2, 1, 0, 3, 0, 3, 0, 1, 0});

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
    const int row = RowOf(ch);
    if (row == NO_ROW || !Fits(out, SYMBOL_ELEMENTS)) {
        return nullptr;
    }
    return AddRow(out, Code39Elements[static_cast<std::size_t>(row)]);
}

// With at most MAX_TEXT characters every one fits, so only unknown characters stop it; the
// characters before one stay in the buffer.
bool CBarcode39::Encode(const char* text) {
    if (text == nullptr) {
        return false;
    }
    const std::size_t n = BoundedLength(text, MAX_TEXT);
    if (n > MAX_TEXT) {
        return false;
    }
    std::uint8_t* out = AddRow(elements, Code39Elements[START_STOP_ROW]);
    for (std::size_t i = 0; i < n; ++i) {
        const int row = RowOf(ToUpperAscii(text[i]));
        if (row == NO_ROW) {
            return false;
        }
        out = AddRow(out, Code39Elements[static_cast<std::size_t>(row)]);
    }
    out = AddRow(out, Code39Elements[START_STOP_ROW]);
    length = LengthTo(out);
    return true;
}

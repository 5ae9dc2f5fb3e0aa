#include "Barcode128.h"
#include "Code128Tables.h"
#include "ElementRows.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

using namespace code128;

// Element bytes of every row; symbols use the first eleven bytes, the stop all thirteen.
using ElementRow13 = ElementRow<STOP_MODULES>;
constexpr std::array<ElementRow13, 107> Code128Elements = ModuleRows<STOP_MODULES>(Code128Patterns);

constexpr bool ElementsMatchPatterns() {
    for (std::size_t k = 0; k < Code128Elements.size(); ++k) {
        if (!IsModuleRowOf(Code128Elements[k], Code128Patterns[k])) {
            return false;
        }
    }
    return true;
}
static_assert(ElementsMatchPatterns());
static_assert(Code128Elements[STOP] == ElementRow13{1, 1, 0, 0, 0, 1, 1, 1, 0, 1, 0, 1, 1});

// True when text has more than limit bytes; reads at most limit + 1 of them.
bool IsLongerThan(const char* text, std::size_t limit) {
    for (std::size_t i = 0; i <= limit; ++i) {
        if (text[i] == '\0') {
            return false;
        }
    }
    return true;
}

} // namespace

bool CBarcode128::Encode(const char* text, int subset) {
    Clear();
    if (text == nullptr || !IsValidSubset(subset) || IsLongerThan(text, MAX_TEXT_BYTES)) {
        return false;
    }
    std::uint8_t* out = EncodeSymbol(elements, START_A + subset);
    const int check = ComputeCheckSymbol(subset, text);
    for (SymbolReader reader(text, subset); out != nullptr && !reader.AtEnd();) {
        out = EncodeSymbol(out, reader.Next());
    }
    for (const int value : {check, STOP}) {
        if (out != nullptr) {
            out = EncodeSymbol(out, value);
        }
    }
    if (out == nullptr) {
        return false;
    }
    length = LengthTo(out);
    return true;
}

std::uint8_t* CBarcode128::EncodeSymbol(std::uint8_t* position, int value) {
    if (value < 0 || value > STOP) {
        return nullptr;
    }
    const ElementRow13& row = Code128Elements[static_cast<std::size_t>(value)];
    if (value == STOP) {
        return Fits(position, STOP_MODULES) ? AddRow(position, row) : nullptr;
    }
    return Fits(position, SYMBOL_MODULES) ? AddElements<SYMBOL_MODULES>(position, row) : nullptr;
}

// The weighted sum is reduced only at the end: each term is below 107 * 103, so 64 bits
// hold the sum for any text that fits in memory. A text with a symbol that has no value has
// no check symbol: -1.
int CBarcode128::ComputeCheckSymbol(int subset, const char* text) {
    if (text == nullptr || !IsValidSubset(subset)) {
        return NO_VALUE;
    }
    std::uint64_t sum = static_cast<std::uint64_t>(START_A + subset);
    int weight = 1; // cycles 1..103; 103 itself adds nothing modulo 103
    for (SymbolReader reader(text, subset); !reader.AtEnd();) {
        const int value = reader.Next();
        if (value < 0) {
            return NO_VALUE;
        }
        sum += static_cast<std::uint64_t>(value * weight);
        weight = weight == CHECK_MODULUS ? 1 : weight + 1;
    }
    return static_cast<int>(sum % CHECK_MODULUS);
}

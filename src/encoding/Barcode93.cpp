#include "Barcode93.h"
#include "Code93Tables.h"
#include "ElementRows.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

using namespace code93;

// Element bytes of every row; data rows use the first nine bytes, the stop all ten.
using ElementRow10 = ElementRow<SYMBOL_MODULES + 1>;
constexpr std::array<ElementRow10, 49> Code93Elements =
    ModuleRows<SYMBOL_MODULES + 1>(Code93Patterns);

constexpr bool ElementsMatchPatterns() {
    for (std::size_t k = 0; k < Code93Elements.size(); ++k) {
        if (!IsModuleRowOf(Code93Elements[k], Code93Patterns[k])) {
            return false;
        }
    }
    return true;
}
static_assert(ElementsMatchPatterns());
static_assert(Code93Elements[STOP] == ElementRow10{1, 0, 1, 0, 1, 1, 1, 1, 0, 1});

// Writes a data, check or start symbol; the caller has checked the value and the room.
std::uint8_t* AddSymbol(std::uint8_t* out, int value) {
    return AddElements<SYMBOL_MODULES>(out, Code93Elements[static_cast<std::size_t>(value)]);
}

std::size_t BoundedLength(const char* text, std::size_t limit) {
    std::size_t n = 0;
    while (n <= limit && text[n] != '\0') {
        ++n;
    }
    return n;
}

struct CheckPair {
    int c;
    int k;
};

// The C and K check values of the first size bytes of text; false when a byte is outside
// 0..127.
bool ComputeChecks(const char* text, std::size_t size, CheckPair& checks) {
    CheckSum c(1, 20);
    CheckSum k(2, 15); // C itself takes weight 1
    for (std::size_t i = size; i-- > 0;) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte >= Code93FullAscii.size()) {
            return false;
        }
        const FullAsciiPair& pair = Code93FullAscii[byte];
        if (pair.second != NO_SYMBOL) {
            c.Add(pair.second);
            k.Add(pair.second);
        }
        c.Add(pair.first);
        k.Add(pair.first);
    }
    checks.c = c.Value();
    checks.k = (checks.c + k.Value()) % 47;
    return true;
}

} // namespace

std::uint8_t* CBarcode93::EncodeSymbol(std::uint8_t* position, int value) {
    if (value < 0 || value > STOP) {
        return nullptr;
    }
    const std::size_t size = value == STOP ? SYMBOL_MODULES + 1 : SYMBOL_MODULES;
    if (!Fits(position, size)) {
        return nullptr;
    }
    return value == STOP ? AddRow(position, Code93Elements[STOP]) : AddSymbol(position, value);
}

bool CBarcode93::GetFullAsciiPair(int ch, int& first, int& second) {
    if (ch < 0 || ch >= static_cast<int>(Code93FullAscii.size())) {
        return false;
    }
    const FullAsciiPair& pair = Code93FullAscii[static_cast<std::size_t>(ch)];
    first = pair.first;
    second = pair.second;
    return true;
}

std::uint8_t* CBarcode93::AppendCheckSymbols(std::uint8_t* position, const char* text) {
    CheckPair checks{};
    if (text == nullptr || !ComputeChecks(text, std::string_view(text).size(), checks)) {
        return nullptr;
    }
    position = EncodeSymbol(position, checks.c);
    return position == nullptr ? nullptr : EncodeSymbol(position, checks.k);
}

// Symbols are written while they fit; the first that does not, or a byte outside 0..127,
// ends the encoding and leaves what was written so far.
bool CBarcode93::Encode(const char* text) {
    Clear();
    if (text == nullptr || BoundedLength(text, MAX_DATA_SYMBOLS) > MAX_DATA_SYMBOLS) {
        return false;
    }
    std::uint8_t* out = AddSymbol(elements, START);
    const std::uint8_t* const lastSymbol = elements + CAPACITY - SYMBOL_MODULES;
    const char* p = text;
    for (; *p != '\0'; ++p) {
        const auto byte = static_cast<unsigned char>(*p);
        if (byte >= Code93FullAscii.size() || out > lastSymbol) {
            return false;
        }
        const FullAsciiPair& pair = Code93FullAscii[byte];
        out = AddSymbol(out, pair.first);
        if (pair.second != NO_SYMBOL) {
            if (out > lastSymbol) {
                return false;
            }
            out = AddSymbol(out, pair.second);
        }
    }
    CheckPair checks{};
    if (!ComputeChecks(text, static_cast<std::size_t>(p - text), checks)) {
        return false;
    }
    for (const int value : {checks.c, checks.k, STOP}) {
        out = EncodeSymbol(out, value);
        if (out == nullptr) {
            return false;
        }
    }
    length = LengthTo(out);
    return true;
}

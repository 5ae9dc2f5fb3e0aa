#include "Barcode128.h"
#include "ElementRows.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

constexpr int SUBSET_A = 0;
constexpr int SUBSET_B = 1;
constexpr int SUBSET_C = 2;

constexpr int CODE_C = 99;
constexpr int CODE_B = 100;
constexpr int CODE_A = 101;
constexpr int FNC1 = 102;
constexpr int START_A = 103;
constexpr int STOP = 106;
constexpr int NO_VALUE = -1;
constexpr int CHECK_MODULUS = 103;

// A code byte stands for the symbol value byte - 100.
constexpr int CODE_BYTE_OFFSET = 100;
constexpr int FIRST_CODE_BYTE = 195;
constexpr int CHAR_VALUE_COUNT = 207;

constexpr std::size_t SYMBOL_MODULES = 11;
constexpr std::size_t STOP_MODULES = 13;

// Every data symbol takes at most two text bytes and at most 369 data symbols fit the
// buffer, so a longer text can never be encoded.
constexpr std::size_t MAX_DATA_SYMBOLS =
    (CBarcodeBase::CAPACITY - 2 * SYMBOL_MODULES - STOP_MODULES) / SYMBOL_MODULES;
constexpr std::size_t MAX_TEXT_BYTES = 2 * MAX_DATA_SYMBOLS;
static_assert(MAX_DATA_SYMBOLS == 369);

// Symbol character table of ISO/IEC 15417: row k holds the modules of value k, "b" bar,
// "s" space. Row 106 is the stop character with its two-module termination bar.
constexpr std::array<std::string_view, 107> Code128Patterns{
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
constexpr CharValueTable Code128CharValues = BuildCharValues();
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

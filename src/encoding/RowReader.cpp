#include "RowReader.h"

#include "Code128Tables.h"
#include "Code39Tables.h"
#include "Code93Tables.h"
#include "Ean13Tables.h"
#include "I2of5Tables.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace {

constexpr std::int8_t NONE = -1;

// ---- Lookup tables, built from the encoders' tables ----

// The first bits letters of a pattern as a key, the first letter highest; letter one sets
// its bit.
constexpr std::uint32_t KeyOf(std::string_view pattern, std::size_t bits, char one) {
    std::uint32_t key = 0;
    for (std::size_t k = 0; k < bits; ++k) {
        key = key << 1 | (pattern[k] == one ? 1u : 0u);
    }
    return key;
}

// Row index for every key of Bits letters; NONE where no row has that key.
template <std::size_t Bits> using KeyTable = std::array<std::int8_t, std::size_t{1} << Bits>;

template <std::size_t Bits>
constexpr KeyTable<Bits> BuildKeyTable(std::span<const std::string_view> patterns, char one) {
    KeyTable<Bits> table{};
    table.fill(NONE);
    for (std::size_t r = 0; r < patterns.size(); ++r) {
        table[KeyOf(patterns[r], Bits, one)] = static_cast<std::int8_t>(r);
    }
    return table;
}

// No two rows share a key, so every row finds itself.
template <std::size_t Bits>
constexpr bool FindsEveryRow(const KeyTable<Bits>& table,
                             std::span<const std::string_view> patterns, char one) {
    for (std::size_t r = 0; r < patterns.size(); ++r) {
        if (table[KeyOf(patterns[r], Bits, one)] != static_cast<std::int8_t>(r)) {
            return false;
        }
    }
    return true;
}

constexpr std::array<std::string_view, 44> BuildCode39Patterns() {
    std::array<std::string_view, 44> patterns{};
    for (std::size_t i = 0; i < patterns.size(); ++i) {
        patterns[i] = code39::Code39Patterns[i].pattern;
    }
    return patterns;
}
constexpr std::array<std::string_view, 44> Code39PatternList = BuildCode39Patterns();
constexpr KeyTable<10> Code39ByWidths = BuildKeyTable<10>(Code39PatternList, 'w');
static_assert(FindsEveryRow<10>(Code39ByWidths, Code39PatternList, 'w'));

// Rows 0 to 47: the stop row is the start row with a termination bar.
constexpr std::span<const std::string_view> Code93Symbols{code93::Code93Patterns.data(),
                                                          code93::STOP};
constexpr KeyTable<9> Code93ByModules = BuildKeyTable<9>(Code93Symbols, 'b');
static_assert(FindsEveryRow<9>(Code93ByModules, Code93Symbols, 'b'));

// The stop row's first 11 letters are its symbol; the termination bar follows.
constexpr KeyTable<11> Code128ByModules = BuildKeyTable<11>(code128::Code128Patterns, 'b');
static_assert(FindsEveryRow<11>(Code128ByModules, code128::Code128Patterns, 'b'));

constexpr KeyTable<7> Ean13OddByModules = BuildKeyTable<7>(ean13::Ean13OddPatterns, 'b');
constexpr KeyTable<7> Ean13EvenByModules = BuildKeyTable<7>(ean13::Ean13EvenPatterns, 'b');
constexpr KeyTable<7> Ean13RightByModules = BuildKeyTable<7>(ean13::Ean13RightPatterns, 'b');
static_assert(FindsEveryRow<7>(Ean13OddByModules, ean13::Ean13OddPatterns, 'b'));
static_assert(FindsEveryRow<7>(Ean13EvenByModules, ean13::Ean13EvenPatterns, 'b'));
static_assert(FindsEveryRow<7>(Ean13RightByModules, ean13::Ean13RightPatterns, 'b'));
// The first digit from the parity of data digits 3 to 7, "E" a set bit.
constexpr KeyTable<5> Ean13FirstDigit = BuildKeyTable<5>(ean13::Ean13ParityPatterns, 'E');
static_assert(FindsEveryRow<5>(Ean13FirstDigit, ean13::Ean13ParityPatterns, 'E'));

// A left-half digit read in the odd set is its digit, in the even set its digit + 10.
constexpr KeyTable<7> BuildEan13Left() {
    KeyTable<7> table = Ean13OddByModules;
    for (std::size_t key = 0; key < table.size(); ++key) {
        if (Ean13EvenByModules[key] != NONE) {
            table[key] = static_cast<std::int8_t>(Ean13EvenByModules[key] + 10);
        }
    }
    return table;
}
constexpr KeyTable<7> Ean13LeftByModules = BuildEan13Left();
static_assert(std::ranges::count_if(Ean13LeftByModules, [](int v) { return v != NONE; }) == 20);

constexpr KeyTable<10> I2of5ByWidths = BuildKeyTable<10>(i2of5::I2of5Patterns, 'w');
static_assert(FindsEveryRow<10>(I2of5ByWidths, i2of5::I2of5Patterns, 'w'));

// Code 93 text: the character of every single symbol (0-42) and of every shift symbol
// (43-46) with a letter (10-35), the inverse of the full-ASCII table; NONE where none.
struct Code93Chars {
    std::array<std::int8_t, 43> single;
    std::array<std::array<std::int8_t, 26>, 4> shifted;
};

constexpr Code93Chars BuildCode93Chars() {
    Code93Chars chars{};
    chars.single.fill(NONE);
    for (auto& row : chars.shifted) {
        row.fill(NONE);
    }
    for (std::size_t c = 0; c < code93::Code93FullAscii.size(); ++c) {
        const code93::FullAsciiPair& pair = code93::Code93FullAscii[c];
        std::int8_t& slot = pair.second == code93::NO_SYMBOL
                                ? chars.single[static_cast<std::size_t>(pair.first)]
                                : chars.shifted[static_cast<std::size_t>(pair.first - 43)]
                                               [static_cast<std::size_t>(pair.second - 10)];
        slot = static_cast<std::int8_t>(c);
    }
    return chars;
}
constexpr Code93Chars Code93Text = BuildCode93Chars();

// Every character reads back as itself, and every single symbol is a character.
constexpr bool Code93TextIsComplete() {
    for (std::size_t c = 0; c < code93::Code93FullAscii.size(); ++c) {
        const code93::FullAsciiPair& pair = code93::Code93FullAscii[c];
        const int read = pair.second == code93::NO_SYMBOL
                             ? Code93Text.single[static_cast<std::size_t>(pair.first)]
                             : Code93Text.shifted[static_cast<std::size_t>(pair.first - 43)]
                                                 [static_cast<std::size_t>(pair.second - 10)];
        if (read != static_cast<int>(c)) {
            return false;
        }
    }
    return std::ranges::none_of(Code93Text.single, [](int c) { return c == NONE; });
}
static_assert(Code93TextIsComplete());

// Code 128: the text byte of every data value 0-95 in subset A and B, the inverse of the
// character-value table. DEL (value 95 in B) has no byte of its own there (a text writes it
// as the code byte 195); a scanner transmits DEL.
constexpr int DATA_VALUES = 96;
using DataBytes = std::array<std::array<std::uint8_t, DATA_VALUES>, 2>;

constexpr DataBytes BuildCode128DataBytes() {
    DataBytes bytes{};
    for (std::size_t subset = 0; subset < bytes.size(); ++subset) {
        for (int byte = 0; byte < 127; ++byte) {
            const int value = code128::Code128CharValues[subset][static_cast<std::size_t>(byte)];
            if (value >= 0 && value < DATA_VALUES) {
                bytes[subset][static_cast<std::size_t>(value)] = static_cast<std::uint8_t>(byte);
            }
        }
    }
    bytes[code128::SUBSET_B][95] = 127;
    return bytes;
}
constexpr DataBytes Code128DataBytes = BuildCode128DataBytes();

constexpr bool DataBytesReadBack() {
    for (std::size_t subset = 0; subset < Code128DataBytes.size(); ++subset) {
        for (std::size_t value = 0; value < DATA_VALUES; ++value) {
            const std::uint8_t byte = Code128DataBytes[subset][value];
            const bool del = subset == code128::SUBSET_B && value == 95;
            if (!del && code128::Code128CharValues[subset][byte] != static_cast<int>(value)) {
                return false;
            }
        }
    }
    return true;
}
static_assert(DataBytesReadBack());
static_assert(Code128DataBytes[code128::SUBSET_A][95] == 31 &&
              Code128DataBytes[code128::SUBSET_B][95] == 127);

// ---- Reading ----

constexpr const char* kNoStart = "no start character";
constexpr const char* kNoStop = "the row ends before a stop character";
constexpr const char* kUnknown = "no character has this pattern";
constexpr const char* kInnerStartStop = "a start/stop character inside the symbol";
constexpr const char* kInnerStart = "a start character inside the symbol";
constexpr const char* kInnerStop = "a stop character inside the symbol";
constexpr const char* kNoTermination = "no termination bar after the stop character";
constexpr const char* kCheck = "the check character does not match";

struct Elements {
    const std::uint8_t* at;
    std::size_t size;
};

Elements ElementsOf(const CBarcodeBase& row) {
    return {row.elements,
            static_cast<std::size_t>(std::clamp(row.length, 0, CBarcodeBase::CAPACITY))};
}

void Stop(RowReading& out, std::size_t at, const char* why) {
    out.stop = static_cast<std::int32_t>(at);
    out.why = why;
}

// n modules as a key (a bar sets its bit); -1 when an element has a flag beyond allowed.
constexpr std::int32_t ModuleKey(const std::uint8_t* e, std::size_t n,
                                 std::uint8_t allowed = ELEMENT_BAR) {
    std::uint32_t key = 0;
    std::uint8_t other = 0;
    for (std::size_t k = 0; k < n; ++k) {
        key = key << 1 | (e[k] & ELEMENT_BAR);
        other |= static_cast<std::uint8_t>(e[k] & ~allowed);
    }
    return other == 0 ? static_cast<std::int32_t>(key) : -1;
}

// n elements, a bar first and alternating, as a key (a wide element sets its bit); -1 when
// they do not alternate or carry another flag.
std::int32_t WidthKey(const std::uint8_t* e, std::size_t n) {
    std::uint32_t key = 0;
    bool alternating = true;
    for (std::size_t k = 0; k < n; ++k) {
        const std::uint8_t bar = k % 2 == 0 ? ELEMENT_BAR : 0;
        alternating = alternating && (e[k] & ~ELEMENT_WIDE) == bar;
        key = key << 1 | ((e[k] & ELEMENT_WIDE) != 0 ? 1u : 0u);
    }
    return alternating ? static_cast<std::int32_t>(key) : -1;
}

template <std::size_t N> int Lookup(const std::array<std::int8_t, N>& table, std::int32_t key) {
    return key < 0 ? NONE : table[static_cast<std::size_t>(key)];
}

void Read39(Elements row, RowReading& out) {
    using code39::SYMBOL_ELEMENTS;
    for (std::size_t at = 0;; at += SYMBOL_ELEMENTS) {
        if (at + SYMBOL_ELEMENTS > row.size) {
            return Stop(out, at, at == 0 ? kNoStart : kNoStop);
        }
        const int index = Lookup(Code39ByWidths, WidthKey(row.at + at, SYMBOL_ELEMENTS));
        const char ch = index == NONE ? '\0' : code39::Code39Patterns[std::size_t(index)].ch;
        if (at == 0 && ch != '*') {
            return Stop(out, 0, kNoStart);
        }
        if (at > 0 && ch == '*') {
            if (at + SYMBOL_ELEMENTS != row.size) {
                Stop(out, at, kInnerStartStop);
            }
            return;
        }
        if (index == NONE) {
            return Stop(out, at, kUnknown);
        }
        if (at > 0) {
            out.text += ch;
        }
    }
}

// Both check characters of Code 93 symbol values: data, then C and K.
bool Code93ChecksMatch(std::span<const std::uint8_t> values) {
    const std::size_t n = values.size();
    code93::CheckSum c(1, 20);
    code93::CheckSum k(1, 15);
    for (std::size_t i = n - 2; i-- > 0;) {
        c.Add(values[i]);
    }
    for (std::size_t i = n - 1; i-- > 0;) {
        k.Add(values[i]);
    }
    return c.Value() == values[n - 2] && k.Value() == values[n - 1];
}

// The text of Code 93 data values; the first symbol is element firstAt.
void AppendCode93Text(std::span<const std::uint8_t> data, std::size_t firstAt, RowReading& out) {
    for (std::size_t i = 0; i < data.size(); ++i) {
        const std::size_t v = data[i];
        int ch = NONE;
        if (v < Code93Text.single.size()) {
            ch = Code93Text.single[v];
        } else if (i + 1 < data.size() && data[i + 1] >= 10 && data[i + 1] < 36) {
            ch = Code93Text.shifted[v - 43][data[++i] - 10u];
        }
        if (ch == NONE) {
            return Stop(out, firstAt + i * code93::SYMBOL_MODULES, kUnknown);
        }
        out.text += static_cast<char>(ch);
    }
}

void Read93(Elements row, RowReading& out) {
    using code93::SYMBOL_MODULES;
    std::array<std::uint8_t, CBarcodeBase::CAPACITY / SYMBOL_MODULES> values{};
    std::size_t n = 0;
    std::size_t at = 0;
    for (;; at += SYMBOL_MODULES) {
        if (at + SYMBOL_MODULES > row.size) {
            return Stop(out, at, at == 0 ? kNoStart : kNoStop);
        }
        const int v = Lookup(Code93ByModules, ModuleKey(row.at + at, SYMBOL_MODULES));
        if (at == 0 && v != code93::START) {
            return Stop(out, 0, kNoStart);
        }
        if (at > 0 && v == code93::START) {
            break;
        }
        if (v == NONE) {
            return Stop(out, at, kUnknown);
        }
        if (at > 0) {
            values[n++] = static_cast<std::uint8_t>(v);
        }
    }
    if (at + SYMBOL_MODULES + 1 < row.size) {
        return Stop(out, at, kInnerStartStop);
    }
    if (at + SYMBOL_MODULES + 1 != row.size || row.at[at + SYMBOL_MODULES] != ELEMENT_BAR) {
        return Stop(out, at, kNoTermination);
    }
    if (n < 2 || !Code93ChecksMatch({values.data(), n})) {
        return Stop(out, n < 2 ? at : SYMBOL_MODULES * (n - 1), kCheck);
    }
    AppendCode93Text({values.data(), n - 2}, SYMBOL_MODULES, out);
}

// The subset after value v, read in subset current while the symbol's subset is subset.
int SubsetAfter(int v, int current, int subset) {
    using namespace code128;
    if (v == CODE_C || (v == CODE_B && current != SUBSET_B) ||
        (v == CODE_A && current != SUBSET_A)) {
        return v == CODE_C ? SUBSET_C : v == CODE_B ? SUBSET_B : SUBSET_A;
    }
    return subset;
}

// The text of Code 128 data values, starting in subset: data characters as their bytes,
// digit pairs as two digits, every other value as its code byte. SHIFT reads the next
// value in the other subset of A and B.
void AppendCode128Text(std::span<const std::uint8_t> values, int subset, std::string& text) {
    using namespace code128;
    bool shifted = false;
    for (const int v : values) {
        const int current = shifted ? SUBSET_A + SUBSET_B - subset : subset;
        shifted = false;
        if (current == SUBSET_C && v < CODE_B) {
            text += static_cast<char>('0' + v / 10);
            text += static_cast<char>('0' + v % 10);
        } else if (current != SUBSET_C && v < DATA_VALUES) {
            text += static_cast<char>(Code128DataBytes[std::size_t(current)][std::size_t(v)]);
        } else {
            text += static_cast<char>(v + CODE_BYTE_OFFSET);
            shifted = current != SUBSET_C && v == SHIFT;
            subset = SubsetAfter(v, current, subset);
        }
    }
}

bool Code128CheckMatches(int start, std::span<const std::uint8_t> values) {
    std::uint64_t sum = static_cast<std::uint64_t>(start);
    for (std::size_t i = 0; i + 1 < values.size(); ++i) {
        sum += (i + 1) * values[i];
    }
    return sum % code128::CHECK_MODULUS == values.back();
}

void Read128(Elements row, RowReading& out) {
    using namespace code128;
    std::array<std::uint8_t, CBarcodeBase::CAPACITY / SYMBOL_MODULES> values{};
    std::size_t n = 0;
    int start = NONE;
    std::size_t at = 0;
    for (;; at += SYMBOL_MODULES) {
        if (at + SYMBOL_MODULES > row.size) {
            return Stop(out, at, at == 0 ? kNoStart : kNoStop);
        }
        const int v = Lookup(Code128ByModules, ModuleKey(row.at + at, SYMBOL_MODULES));
        if (at == 0 && (v < START_A || v == STOP)) {
            return Stop(out, 0, kNoStart);
        }
        if (at == 0) {
            start = v;
        } else if (v == STOP) {
            break;
        } else if (v == NONE || v >= START_A) {
            return Stop(out, at, v == NONE ? kUnknown : kInnerStart);
        } else {
            values[n++] = static_cast<std::uint8_t>(v);
        }
    }
    if (at + STOP_MODULES < row.size) {
        return Stop(out, at, kInnerStop);
    }
    if (at + STOP_MODULES != row.size || ModuleKey(row.at + at + SYMBOL_MODULES, 2) != 3) {
        return Stop(out, at, kNoTermination);
    }
    if (n == 0 || !Code128CheckMatches(start, {values.data(), n})) {
        return Stop(out, SYMBOL_MODULES * std::max<std::size_t>(n, 1), kCheck);
    }
    AppendCode128Text({values.data(), n - 1}, start - START_A, out.text);
}

// The guard at element at, compared module by module (long or not).
bool IsGuard(Elements row, std::size_t at, std::span<const std::uint8_t> guard) {
    constexpr std::uint8_t allowed = ELEMENT_BAR | ELEMENT_LONG;
    return ModuleKey(row.at + at, guard.size(), allowed) ==
           ModuleKey(guard.data(), guard.size(), allowed);
}

void ReadEan13(Elements row, RowReading& out) {
    using namespace ean13;
    constexpr std::size_t MODULES = 95, CENTRE = 45, RIGHT = 50;
    if (row.size != MODULES) {
        return Stop(out, std::min(row.size, MODULES), "an EAN-13 symbol has 95 modules");
    }
    for (const std::size_t at : {std::size_t{0}, MODULES - SIDE_GUARD.size()}) {
        if (!IsGuard(row, at, SIDE_GUARD)) {
            return Stop(out, at, "no guard pattern");
        }
    }
    if (!IsGuard(row, CENTRE, CENTRE_GUARD)) {
        return Stop(out, CENTRE, "no guard pattern");
    }
    std::array<std::size_t, DATA_DIGITS + 1> digits{};
    std::int32_t parity = 0;
    for (std::size_t k = 0; k < 12; ++k) {
        const std::size_t at =
            k < 6 ? SIDE_GUARD.size() + DIGIT_MODULES * k : RIGHT + DIGIT_MODULES * (k - 6);
        const std::int32_t key = ModuleKey(row.at + at, DIGIT_MODULES);
        const int v = Lookup(k < 6 ? Ean13LeftByModules : Ean13RightByModules, key);
        if (v == NONE || (k == 0 && v >= 10)) {
            return Stop(out, at, kUnknown);
        }
        digits[k + 1] = static_cast<std::size_t>(v % 10);
        parity = k >= 1 && k < 6 ? parity << 1 | (v >= 10 ? 1 : 0) : parity;
    }
    const int first = Lookup(Ean13FirstDigit, parity);
    if (first == NONE) {
        return Stop(out, SIDE_GUARD.size() + DIGIT_MODULES, "no first digit has this parity");
    }
    digits[0] = static_cast<std::size_t>(first);
    std::array<std::size_t, DATA_DIGITS> data{};
    std::copy_n(digits.begin(), DATA_DIGITS, data.begin());
    if (CheckDigitOf(data) != digits[DATA_DIGITS]) {
        return Stop(out, RIGHT + 5 * DIGIT_MODULES, kCheck);
    }
    for (const std::size_t d : digits) {
        out.text += static_cast<char>('0' + d);
    }
}

void ReadI2of5(Elements row, RowReading& out) {
    using namespace i2of5;
    if (row.size < START.size() || !std::equal(START.begin(), START.end(), row.at)) {
        return Stop(out, 0, kNoStart);
    }
    std::size_t at = START.size();
    for (; row.size - at > STOP.size(); at += PAIR_ELEMENTS) {
        const int v = row.size - at < PAIR_ELEMENTS
                          ? NONE
                          : Lookup(I2of5ByWidths, WidthKey(row.at + at, PAIR_ELEMENTS));
        if (v == NONE) {
            return Stop(out, at, kUnknown);
        }
        out.text += static_cast<char>('0' + v / 10);
        out.text += static_cast<char>('0' + v % 10);
    }
    if (row.size - at != STOP.size() || !std::equal(STOP.begin(), STOP.end(), row.at + at)) {
        return Stop(out, at, "no stop pattern");
    }
}

} // namespace

void ReadCode39Row(const CBarcodeBase& row, RowReading& out) {
    Read39(ElementsOf(row), out);
}

void ReadCode93Row(const CBarcodeBase& row, RowReading& out) {
    Read93(ElementsOf(row), out);
}

void ReadCode128Row(const CBarcodeBase& row, RowReading& out) {
    Read128(ElementsOf(row), out);
}

void ReadEan13Row(const CBarcodeBase& row, RowReading& out) {
    ReadEan13(ElementsOf(row), out);
}

void ReadI2of5Row(const CBarcodeBase& row, RowReading& out) {
    ReadI2of5(ElementsOf(row), out);
}

void ReadRow(const CBarcodeBase& row, Symbology symbology, RowReading& out) {
    out.text.clear();
    out.stop = -1;
    out.why = "";
    if (const SymbologyInfo* info = FindSymbology(symbology)) {
        return info->read(row, out);
    }
    Stop(out, 0, "no such symbology");
}

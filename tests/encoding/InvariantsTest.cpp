// Invariants over many seeded random texts per symbology. Every symbol is
// decoded back from its element buffer with tables kept here, independent of
// the encoders' own tables, and the check characters are recomputed from the
// decoded values.

#include "Barcode128.h"
#include "Barcode39.h"
#include "Barcode93.h"
#include "BarcodeEan13.h"
#include "BarcodeI2of5.h"
#include "support/Code128Reference.h"
#include "support/Printable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr int kCapacity = CBarcodeBase::CAPACITY;
constexpr int kTexts = 3000;

// ---------------------------------------------------------------------------
// Random texts

class TextMaker {
public:
    explicit TextMaker(unsigned seed) : rng_(seed) {}

    int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
    bool Chance(int percent) { return Below(100) < percent; }

    // A text of 0..maxLength bytes from alphabet; in strayPercent of the texts
    // one to three bytes are replaced by any byte 1..255.
    std::string Make(std::string_view alphabet, int maxLength, int strayPercent) {
        std::string text(static_cast<std::size_t>(Below(maxLength + 1)), ' ');
        for (char& c : text) {
            c = alphabet[static_cast<std::size_t>(Below(static_cast<int>(alphabet.size())))];
        }
        if (!text.empty() && Chance(strayPercent)) {
            for (int k = Below(3); k >= 0; --k) {
                text[static_cast<std::size_t>(Below(static_cast<int>(text.size())))] =
                    static_cast<char>(1 + Below(255));
            }
        }
        return text;
    }

    // Inserts a byte from first..last at a random place.
    void Insert(std::string& text, int first, int last) {
        const auto at = static_cast<std::size_t>(Below(static_cast<int>(text.size()) + 1));
        text.insert(at, 1, static_cast<char>(first + Below(last - first + 1)));
    }

private:
    std::mt19937 rng_;
};

std::string Range(int first, int last) {
    std::string s;
    for (int c = first; c <= last; ++c) {
        s += static_cast<char>(c);
    }
    return s;
}

std::string Repeat(std::string_view unit, int times) {
    std::string s;
    for (int i = 0; i < times; ++i) {
        s += unit;
    }
    return s;
}

// Both outcomes must turn up often enough for the run to mean something.
struct Tally {
    int accepted = 0;
    int refused = 0;
    void Count(bool ok) { ++(ok ? accepted : refused); }
    void ExpectBoth(int total) const {
        EXPECT_GT(accepted, total / 10) << "too few accepted texts";
        EXPECT_GT(refused, total / 20) << "too few refused texts";
    }
};

// ---------------------------------------------------------------------------
// Element buffer checks

bool TailIsClear(const CBarcodeBase& b) {
    return std::all_of(b.elements + b.length, b.elements + kCapacity,
                       [](std::uint8_t e) { return e == 0; });
}

// Narrow/wide style: bytes 0..3, and a bar exactly at every even index.
::testing::AssertionResult NarrowWideShape(const CBarcodeBase& b) {
    for (int i = 0; i < b.length; ++i) {
        const std::uint8_t e = b.elements[i];
        if (e > 3 || ((e & ELEMENT_BAR) != 0) != (i % 2 == 0)) {
            return ::testing::AssertionFailure() << "element " << i << " is " << int{e};
        }
    }
    return ::testing::AssertionSuccess();
}

// Module style: bytes are bar/space modules, plus ELEMENT_LONG where allowed.
::testing::AssertionResult ModuleShape(const CBarcodeBase& b, bool longAllowed) {
    const std::uint8_t mask = longAllowed ? (ELEMENT_BAR | ELEMENT_LONG) : ELEMENT_BAR;
    for (int i = 0; i < b.length; ++i) {
        if ((b.elements[i] & ~mask) != 0) {
            return ::testing::AssertionFailure() << "element " << i << " is " << int{b.elements[i]};
        }
    }
    return ::testing::AssertionSuccess();
}

// Widths of the alternating runs of count modules, as digits; the first run
// must be a bar. Empty when it is not or a run is wider than 9.
std::string RunWidths(const std::uint8_t* modules, int count) {
    if (count <= 0 || (modules[0] & ELEMENT_BAR) == 0) {
        return {};
    }
    std::string widths;
    int run = 1;
    for (int i = 1; i <= count; ++i) {
        if (i < count && (modules[i] & ELEMENT_BAR) == (modules[i - 1] & ELEMENT_BAR)) {
            ++run;
            continue;
        }
        if (run > 9) {
            return {};
        }
        widths += static_cast<char>('0' + run);
        run = 1;
    }
    return widths;
}

int LongestBarRun(const CBarcodeBase& b) {
    int longest = 0;
    int run = 0;
    for (int i = 0; i < b.length; ++i) {
        run = (b.elements[i] & ELEMENT_BAR) ? run + 1 : 0;
        longest = std::max(longest, run);
    }
    return longest;
}

template <typename Row, std::size_t N>
std::map<std::string, int> IndexOf(const std::array<Row, N>& rows) {
    std::map<std::string, int> index;
    for (std::size_t i = 0; i < N; ++i) {
        index.emplace(std::string(rows[i]), static_cast<int>(i));
    }
    return index;
}

// ---------------------------------------------------------------------------
// Code 39: 9 elements of a character as n/w, bar first.

constexpr std::string_view kCode39Chars = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. *$/+%";
constexpr std::array<const char*, 44> kCode39Widths = {
    "nnnwwnwnn", "wnnwnnnnw", "nnwwnnnnw", "wnwwnnnnn", "nnnwwnnnw", "wnnwwnnnn", "nnwwwnnnn",
    "nnnwnnwnw", "wnnwnnwnn", "nnwwnnwnn", "wnnnnwnnw", "nnwnnwnnw", "wnwnnwnnn", "nnnnwwnnw",
    "wnnnwwnnn", "nnwnwwnnn", "nnnnnwwnw", "wnnnnwwnn", "nnwnnwwnn", "nnnnwwwnn", "wnnnnnnww",
    "nnwnnnnww", "wnwnnnnwn", "nnnnwnnww", "wnnnwnnwn", "nnwnwnnwn", "nnnnnnwww", "wnnnnnwwn",
    "nnwnnnwwn", "nnnnwnwwn", "wwnnnnnnw", "nwwnnnnnw", "wwwnnnnnn", "nwnnwnnnw", "wwnnwnnnn",
    "nwwnwnnnn", "nwnnnnwnw", "wwnnnnwnn", "nwwnnnwnn", "nwnnwnwnn", "nwnwnwnnn", "nwnwnnnwn",
    "nwnnnwnwn", "nnnwnwnwn"};

char Upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// The framed, upper-cased text a Code 39 symbol must carry, or nullopt when it
// has to be refused.
std::optional<std::string> Code39Expected(std::string_view text) {
    if (10 * (static_cast<int>(text.size()) + 2) > kCapacity) {
        return std::nullopt;
    }
    std::string framed = "*";
    for (const char c : text) {
        if (kCode39Chars.find(Upper(c)) == std::string_view::npos) {
            return std::nullopt;
        }
        framed += Upper(c);
    }
    return framed + "*";
}

// Characters of the buffer; '?' for a pattern that is not in the table or a
// gap that is not a narrow space.
std::string DecodeCode39(const CBarcodeBase& b) {
    static const auto index = IndexOf(kCode39Widths);
    std::string chars;
    for (int at = 0; at + 10 <= b.length; at += 10) {
        std::string pattern;
        for (int k = 0; k < 9; ++k) {
            pattern += (b.elements[at + k] & ELEMENT_WIDE) ? 'w' : 'n';
        }
        const auto found = index.find(pattern);
        const bool ok = found != index.end() && b.elements[at + 9] == 0;
        chars += ok ? kCode39Chars[static_cast<std::size_t>(found->second)] : '?';
    }
    return chars;
}

bool EncodeCode39(CBarcode39& b, const std::string& text) {
    b.Clear(); // Code 39 leaves clearing to its caller
    return b.Encode(text.c_str());
}

// ---------------------------------------------------------------------------
// Code 93: symbol values 0..47 as run widths.

constexpr std::array<const char*, 48> kCode93Widths = {
    "131112", "111213", "111312", "111411", "121113", "121212", "121311", "111114",
    "131211", "141111", "211113", "211212", "211311", "221112", "221211", "231111",
    "112113", "112212", "112311", "122112", "132111", "111123", "111222", "111321",
    "121122", "131121", "212112", "212211", "211122", "211221", "221121", "222111",
    "112122", "112221", "122121", "123111", "121131", "311112", "311211", "321111",
    "112131", "113121", "211131", "121221", "312111", "311121", "122211", "111141"};

// The one or two full-ASCII values of an ASCII byte.
std::vector<int> Code93Values(unsigned char c) {
    constexpr std::string_view singles = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%";
    if (const auto at = singles.find(static_cast<char>(c)); at != std::string_view::npos) {
        return {static_cast<int>(at)};
    }
    constexpr int kDollar = 43, kPercent = 44, kSlash = 45, kPlus = 46;
    const auto letter = [](char l) { return 10 + (l - 'A'); };
    if (c == 0) {
        return {kPercent, letter('U')};
    }
    if (c <= 26) {
        return {kDollar, letter('A') + c - 1};
    }
    if (c <= 31) {
        return {kPercent, letter('A') + c - 27};
    }
    if (c >= 33 && c <= 35) {
        return {kSlash, letter('A') + c - 33};
    }
    if (c >= 38 && c <= 42) {
        return {kSlash, letter('F') + c - 38};
    }
    if (c == ',') {
        return {kSlash, letter('L')};
    }
    if (c == ':') {
        return {kSlash, letter('Z')};
    }
    if (c >= 59 && c <= 63) {
        return {kPercent, letter('F') + c - 59};
    }
    if (c == '@') {
        return {kPercent, letter('V')};
    }
    if (c >= 91 && c <= 95) {
        return {kPercent, letter('K') + c - 91};
    }
    if (c == '`') {
        return {kPercent, letter('W')};
    }
    if (c >= 'a' && c <= 'z') {
        return {kPlus, letter('A') + c - 'a'};
    }
    return {kPercent, letter('P') + c - 123}; // 123..127
}

// Data values of a Code 93 text, or nullopt when it has to be refused.
std::optional<std::vector<int>> Code93Expected(std::string_view text) {
    std::vector<int> values;
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c > 127) {
            return std::nullopt;
        }
        for (const int v : Code93Values(c)) {
            values.push_back(v);
        }
    }
    if (9 * static_cast<int>(values.size()) + 37 > kCapacity) {
        return std::nullopt;
    }
    return values;
}

// Weighted sum mod 47, weights 1..maxWeight cycling from the rightmost value.
int Code93Check(const std::vector<int>& values, int maxWeight) {
    int sum = 0;
    for (std::size_t i = 0; i < values.size(); ++i) {
        const auto fromRight = static_cast<int>(values.size() - 1 - i);
        sum += values[i] * (fromRight % maxWeight + 1);
    }
    return sum % 47;
}

// Symbol values of the buffer (start to stop); -1 for an unknown pattern;
// empty when the layout is wrong.
std::vector<int> DecodeCode93(const CBarcodeBase& b) {
    static const auto index = IndexOf(kCode93Widths);
    if (b.length < 10 || (b.length - 1) % 9 != 0 || b.elements[b.length - 1] != ELEMENT_BAR) {
        return {};
    }
    std::vector<int> values;
    for (int at = 0; at + 9 < b.length; at += 9) {
        const auto found = index.find(RunWidths(b.elements + at, 9));
        values.push_back(found == index.end() ? -1 : found->second);
    }
    return values;
}

// ---------------------------------------------------------------------------
// Code 128: the reference table and subset walk of the test support.

using code128ref::kStop;

// Values between start and check symbol, or nullopt when the text has to be
// refused (no value in the current subset, a negative pair, too long).
std::optional<std::vector<int>> Code128Expected(std::string_view text, int subset) {
    std::vector<int> values = code128ref::Values(text, subset);
    const auto stops = std::count(values.begin(), values.end(), kStop);
    if ((!values.empty() && values.back() < 0) ||
        11 * static_cast<int>(values.size()) + 35 + 2 * static_cast<int>(stops) > kCapacity) {
        return std::nullopt;
    }
    return values;
}

// Symbol values of the buffer, start to stop; -1 for an unknown pattern;
// empty when the symbols do not add up to length.
std::vector<int> DecodeCode128(const CBarcodeBase& b) {
    static const auto index = IndexOf(code128ref::kWidths);
    std::vector<int> values;
    int at = 0;
    while (at + 11 <= b.length) {
        if (at + 13 <= b.length && RunWidths(b.elements + at, 13) == code128ref::kStopWidths) {
            values.push_back(kStop);
            at += 13;
            continue;
        }
        const auto found = index.find(RunWidths(b.elements + at, 11));
        values.push_back(found == index.end() ? -1 : found->second);
        at += 11;
    }
    return at == b.length ? values : std::vector<int>{};
}

// ---------------------------------------------------------------------------
// EAN-13: digit sets A (odd), B (even) and C (right) as run widths, and the
// parity of data digits 2..7 for each first digit.

constexpr std::array<const char*, 10> kEanSetA = {"3211", "2221", "2122", "1411", "1132",
                                                  "1231", "1114", "1312", "1213", "3112"};
constexpr std::array<const char*, 10> kEanSetB = {"1123", "1222", "2212", "1141", "2311",
                                                  "1321", "4111", "2131", "3121", "2113"};
constexpr std::array<const char*, 10> kEanParity = {"AAAAAA", "AABABB", "AABBAB", "AABBBA",
                                                    "ABAABB", "ABBAAB", "ABBBAA", "ABABAB",
                                                    "ABABBA", "ABBABA"};

// Widths of a 7-module digit whose first module is a space.
std::string SpaceFirstWidths(const std::uint8_t* modules) {
    std::array<std::uint8_t, 8> shifted{};
    shifted[0] = ELEMENT_BAR; // a leading bar module lets RunWidths start
    for (int k = 0; k < 7; ++k) {
        shifted[static_cast<std::size_t>(k + 1)] = modules[k] & ELEMENT_BAR;
    }
    const std::string widths = RunWidths(shifted.data(), 8);
    return widths.size() == 5 && widths[0] == '1' ? widths.substr(1) : std::string{};
}

// The 13 digits of the buffer; '?' where a digit or the parity cannot be read.
std::string DecodeEan13(const CBarcodeBase& b) {
    static const auto setA = IndexOf(kEanSetA);
    static const auto setB = IndexOf(kEanSetB);
    static const auto parities = IndexOf(kEanParity);
    std::string left;
    std::string parity;
    for (int d = 0; d < 6; ++d) {
        const std::string widths = SpaceFirstWidths(b.elements + 3 + 7 * d);
        if (const auto a = setA.find(widths); a != setA.end()) {
            left += static_cast<char>('0' + a->second);
            parity += 'A';
        } else if (const auto e = setB.find(widths); e != setB.end()) {
            left += static_cast<char>('0' + e->second);
            parity += 'B';
        } else {
            left += '?';
            parity += '?';
        }
    }
    const auto first = parities.find(parity);
    std::string digits(1, first == parities.end() ? '?' : static_cast<char>('0' + first->second));
    digits += left;
    for (int d = 0; d < 6; ++d) {
        // Set C is set A with bars and spaces swapped: same widths, bar first.
        const auto c = setA.find(RunWidths(b.elements + 50 + 7 * d, 7));
        digits += c == setA.end() ? '?' : static_cast<char>('0' + c->second);
    }
    return digits;
}

// The 12 data digits of an EAN-13 text, or nullopt when it has to be refused.
std::optional<std::string> Ean13Expected(std::string_view text) {
    std::string digits(text.substr(0, 12));
    digits.resize(12, '0');
    if (!std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    return digits;
}

char Ean13Check(std::string_view twelve) {
    int sum = 0;
    for (std::size_t i = 0; i < twelve.size(); ++i) {
        sum += (twelve[i] - '0') * (i % 2 == 0 ? 1 : 3);
    }
    return static_cast<char>('0' + (10 - sum % 10) % 10);
}

// ---------------------------------------------------------------------------
// Interleaved 2 of 5: the five elements of each digit.

constexpr std::array<const char*, 10> kTwoOfFive = {"nnwwn", "wnnnw", "nwnnw", "wwnnn", "nnwnw",
                                                    "wnwnn", "nwwnn", "nnnww", "wnnwn", "nwnwn"};

std::optional<std::string> I2of5Expected(std::string_view text) {
    const bool digits =
        std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (!digits || text.size() % 2 != 0 || 5 * static_cast<int>(text.size()) + 7 > kCapacity) {
        return std::nullopt;
    }
    return std::string(text);
}

// The digits between start and stop; '?' for an unknown digit, and "!" when
// start or stop are wrong.
std::string DecodeI2of5(const CBarcodeBase& b) {
    static const auto index = IndexOf(kTwoOfFive);
    const std::uint8_t* e = b.elements;
    const int n = b.length;
    if (n < 7 || (n - 7) % 10 != 0 || e[0] != 1 || e[1] != 0 || e[2] != 1 || e[3] != 0 ||
        e[n - 3] != 3 || e[n - 2] != 0 || e[n - 1] != 1) {
        return "!";
    }
    std::string digits;
    for (int at = 4; at + 10 <= n - 3; at += 10) {
        for (int parity = 0; parity < 2; ++parity) {
            std::string pattern;
            for (int k = parity; k < 10; k += 2) {
                pattern += (e[at + k] & ELEMENT_WIDE) ? 'w' : 'n';
            }
            const auto found = index.find(pattern);
            digits += found == index.end() ? '?' : static_cast<char>('0' + found->second);
        }
    }
    return digits;
}

// ---------------------------------------------------------------------------
// Random texts

TEST(Invariants, Code39RandomTexts) {
    TextMaker maker(3901);
    const std::string alphabet = std::string(kCode39Chars) + "abcdefghijklmnopqrstuvwxyz";
    CBarcode39 b;
    Tally tally;
    for (int i = 0; i < kTexts; ++i) {
        const std::string text = maker.Make(alphabet, 40, 30);
        const bool ok = EncodeCode39(b, text);
        const auto expected = Code39Expected(text);
        ASSERT_EQ(ok, expected.has_value()) << Printable(text);
        tally.Count(ok);
        if (!ok) {
            ASSERT_EQ(b.length, 0) << Printable(text);
            continue;
        }
        ASSERT_EQ(b.length, 10 * (static_cast<int>(text.size()) + 2)) << Printable(text);
        ASSERT_TRUE(NarrowWideShape(b)) << Printable(text);
        ASSERT_TRUE(TailIsClear(b)) << Printable(text);
        ASSERT_EQ(DecodeCode39(b), *expected) << Printable(text);
    }
    tally.ExpectBoth(kTexts);
}

TEST(Invariants, Code93RandomTexts) {
    TextMaker maker(9301);
    const std::string alphabet = Range(1, 127) + Range('0', '9') + Range('A', 'Z');
    // Reused without clearing: Encode clears the buffer itself.
    CBarcode93 b;
    Tally tally;
    for (int i = 0; i < kTexts; ++i) {
        const std::string text = maker.Make(alphabet, 40, 30);
        const bool ok = b.Encode(text.c_str());
        const auto expected = Code93Expected(text);
        ASSERT_EQ(ok, expected.has_value()) << Printable(text);
        tally.Count(ok);
        if (!ok) {
            ASSERT_EQ(b.length, 0) << Printable(text);
            continue;
        }
        const int m = static_cast<int>(expected->size());
        ASSERT_EQ(b.length, 9 * m + 37) << Printable(text);
        ASSERT_TRUE(ModuleShape(b, false)) << Printable(text);
        ASSERT_TRUE(TailIsClear(b)) << Printable(text);
        // Every element is one to four modules wide and each symbol begins
        // with a bar and ends with a space, so runs never merge.
        ASSERT_LE(LongestBarRun(b), 4) << Printable(text);

        const std::vector<int> symbols = DecodeCode93(b);
        ASSERT_EQ(symbols.size(), static_cast<std::size_t>(m + 4)) << Printable(text);
        EXPECT_EQ(symbols.front(), 47);
        EXPECT_EQ(symbols.back(), 47);
        const std::vector<int> data(symbols.begin() + 1, symbols.end() - 3);
        ASSERT_EQ(data, *expected) << Printable(text);
        std::vector<int> withC = data;
        withC.push_back(Code93Check(data, 20));
        EXPECT_EQ(symbols[static_cast<std::size_t>(m + 1)], withC.back()) << Printable(text);
        EXPECT_EQ(symbols[static_cast<std::size_t>(m + 2)], Code93Check(withC, 15))
            << Printable(text);
    }
    tally.ExpectBoth(kTexts);
}

struct Code128Case {
    int subset;
    unsigned seed;
    std::string alphabet;
};

TEST(Invariants, Code128RandomTexts) {
    const std::string upper = Range(32, 95);
    const std::vector<Code128Case> cases = {
        {0, 12800, Range(1, 31) + upper + upper},
        {1, 12801, Range(32, 126)},
        {2, 12802, Range('0', '9') + Range('0', '9') + Range('0', '9') + " +-"},
    };
    for (const Code128Case& c : cases) {
        SCOPED_TRACE("subset " + std::to_string(c.subset));
        TextMaker maker(c.seed);
        CBarcode128 b; // reused without clearing: Encode clears the buffer itself
        Tally tally;
        for (int i = 0; i < kTexts; ++i) {
            std::string text = maker.Make(c.alphabet, 40, 20);
            if (maker.Chance(40)) {
                maker.Insert(text, 195, 206); // subset changes and function characters
            }
            const bool ok = b.Encode(text.c_str(), c.subset);
            const auto expected = Code128Expected(text, c.subset);
            ASSERT_EQ(ok, expected.has_value()) << Printable(text);
            tally.Count(ok);
            if (!ok) {
                ASSERT_EQ(b.length, 0) << Printable(text);
                continue;
            }
            const int n = static_cast<int>(expected->size());
            const auto stops =
                static_cast<int>(std::count(expected->begin(), expected->end(), kStop));
            ASSERT_EQ(b.length, 11 * n + 35 + 2 * stops) << Printable(text);
            ASSERT_TRUE(ModuleShape(b, false)) << Printable(text);
            ASSERT_TRUE(TailIsClear(b)) << Printable(text);

            const std::vector<int> symbols = DecodeCode128(b);
            ASSERT_EQ(symbols.size(), static_cast<std::size_t>(n + 3)) << Printable(text);
            EXPECT_EQ(symbols.front(), 103 + c.subset);
            EXPECT_EQ(symbols.back(), kStop);
            const std::vector<int> data(symbols.begin() + 1, symbols.end() - 2);
            ASSERT_EQ(data, *expected) << Printable(text);
            int sum = symbols.front();
            for (std::size_t k = 0; k < data.size(); ++k) {
                sum += static_cast<int>(k + 1) * data[k];
            }
            EXPECT_EQ(symbols[symbols.size() - 2], sum % 103) << Printable(text);
        }
        tally.ExpectBoth(kTexts);
    }
}

TEST(Invariants, Ean13RandomTexts) {
    TextMaker maker(1301);
    CBarcodeEan13 b; // reused without clearing: Encode clears the buffer itself
    Tally tally;
    for (int i = 0; i < kTexts; ++i) {
        std::string text = maker.Make("0123456789", 16, 30);
        if (maker.Chance(2)) {
            text += maker.Make(Range(1, 255), 5000, 0); // ignored beyond the 12th byte
        }
        const bool ok = b.Encode(text.c_str());
        const auto expected = Ean13Expected(text);
        ASSERT_EQ(ok, expected.has_value()) << Printable(text);
        tally.Count(ok);
        if (!ok) {
            ASSERT_EQ(b.length, 0) << Printable(text);
            continue;
        }
        ASSERT_EQ(b.length, 95) << Printable(text);
        ASSERT_TRUE(ModuleShape(b, true)) << Printable(text);
        ASSERT_TRUE(TailIsClear(b)) << Printable(text);
        for (int k = 0; k < 95; ++k) {
            const bool guard = k < 3 || (k >= 45 && k < 50) || k >= 92;
            ASSERT_EQ((b.elements[k] & ELEMENT_LONG) != 0, guard) << "element " << k;
        }
        const std::uint8_t* e = b.elements;
        EXPECT_EQ(RunWidths(e, 3), "111");
        EXPECT_EQ(RunWidths(e + 46, 3), "111");
        EXPECT_EQ(e[45] & ELEMENT_BAR, 0);
        EXPECT_EQ(e[49] & ELEMENT_BAR, 0);
        EXPECT_EQ(RunWidths(e + 92, 3), "111");

        const std::string digits = DecodeEan13(b);
        EXPECT_EQ(digits.substr(0, 12), *expected) << Printable(text);
        EXPECT_EQ(digits[12], Ean13Check(digits.substr(0, 12))) << Printable(text);
    }
    tally.ExpectBoth(kTexts);
}

TEST(Invariants, I2of5RandomTexts) {
    TextMaker maker(2501);
    CBarcodeI2of5 b; // reused without clearing: Encode clears the buffer itself
    Tally tally;
    for (int i = 0; i < kTexts; ++i) {
        const std::string text = maker.Make("0123456789", 40, 20);
        const bool ok = b.Encode(text.c_str());
        const auto expected = I2of5Expected(text);
        ASSERT_EQ(ok, expected.has_value()) << Printable(text);
        tally.Count(ok);
        if (!ok) {
            ASSERT_EQ(b.length, 0) << Printable(text);
            continue;
        }
        ASSERT_EQ(b.length, 5 * static_cast<int>(text.size()) + 7) << Printable(text);
        ASSERT_TRUE(NarrowWideShape(b)) << Printable(text);
        ASSERT_TRUE(TailIsClear(b)) << Printable(text);
        ASSERT_EQ(DecodeI2of5(b), *expected) << Printable(text);
    }
    tally.ExpectBoth(kTexts);
}

// ---------------------------------------------------------------------------
// Capacity: the largest text that fits is accepted, one unit more is refused.

struct CapacityCase {
    const char* name;
    std::function<bool(const std::string&, CBarcodeBase*&)> encode;
    std::string head; // written once before the repeated unit
    std::string unit;
    int maxUnits;    // most units that still fit after head
    int lengthAtMax; // length of the symbol with maxUnits units
};

std::vector<CapacityCase> CapacityCases() {
    static CBarcode39 c39;
    static CBarcode93 c93;
    static CBarcode128 c128;
    static CBarcodeI2of5 i25;
    const auto code39 = [](const std::string& t, CBarcodeBase*& b) {
        b = &c39;
        return EncodeCode39(c39, t);
    };
    const auto code93 = [](const std::string& t, CBarcodeBase*& b) {
        b = &c93;
        return c93.Encode(t.c_str());
    };
    const auto code128 = [](int subset) {
        return [subset](const std::string& t, CBarcodeBase*& b) {
            b = &c128;
            return c128.Encode(t.c_str(), subset);
        };
    };
    const auto i2of5 = [](const std::string& t, CBarcodeBase*& b) {
        b = &i25;
        return i25.Encode(t.c_str());
    };
    return {
        {"Code 39", code39, "", "A", 407, 4090},
        {"Code 39 lower case", code39, "", "z", 407, 4090},
        {"Code 93 single symbols", code93, "", "A", 451, 4096},
        {"Code 93 shifted pairs", code93, "A", "a", 225, 4096},
        {"Code 93 pairs only", code93, "", "\x01", 225, 4087},
        {"Code 128 A", code128(0), "", "A", 369, 4094},
        {"Code 128 B", code128(1), "", "a", 369, 4094},
        {"Code 128 C pairs", code128(2), "", "12", 369, 4094},
        {"Code 128 C odd digit", code128(2), "1", "23", 368, 4094},
        {"Code 128 A inner stop", code128(0), "\xCE", "A", 368, 4096},
        {"Code 128 B two inner stops", code128(1), "\xCE\xCE", "b", 366, 4087},
        {"I2of5", i2of5, "", "12", 408, 4087},
    };
}

TEST(Invariants, LargestTextThatFitsIsAcceptedAndOneMoreIsRefused) {
    for (const CapacityCase& c : CapacityCases()) {
        SCOPED_TRACE(c.name);
        CBarcodeBase* b = nullptr;
        EXPECT_TRUE(c.encode(c.head + Repeat(c.unit, c.maxUnits), b));
        EXPECT_EQ(b->length, c.lengthAtMax);
        EXPECT_FALSE(c.encode(c.head + Repeat(c.unit, c.maxUnits + 1), b));
        EXPECT_EQ(b->length, 0);
        EXPECT_FALSE(c.encode(c.head + Repeat(c.unit, 5000), b));
        EXPECT_EQ(b->length, 0);
    }
}

TEST(Invariants, Ean13IgnoresEverythingBeyondTwelveBytesOfAnyLength) {
    CBarcodeEan13 b;
    const std::string text = "590123412345" + Repeat("x\xFF", 5000);
    ASSERT_TRUE(b.Encode(text.c_str()));
    EXPECT_EQ(b.length, 95);
    EXPECT_EQ(DecodeEan13(b), "5901234123457");
}

// Random texts close to the limit, mixing symbols of different cost.
TEST(Invariants, RandomTextsAroundCapacity) {
    TextMaker maker(4096);
    CBarcode93 c93;
    CBarcode128 c128;
    CBarcodeI2of5 i25;
    CBarcode39 c39;
    for (int i = 0; i < 300; ++i) {
        // Code 93: a short mixed head, then 300..399 bytes of which about one
        // in five takes two symbols, so some fit and some do not.
        std::string t93 = maker.Make("ABC123abc!#", 10, 0);
        const int n93 = 300 + maker.Below(100);
        for (int k = 0; k < n93; ++k) {
            t93 += maker.Chance(80) ? 'Q' : 'q';
        }
        const auto e93 = Code93Expected(t93);
        ASSERT_EQ(c93.Encode(t93.c_str()), e93.has_value()) << t93.size();
        ASSERT_EQ(c93.length, e93 ? 9 * static_cast<int>(e93->size()) + 37 : 0);

        // Code 128 B: 360..375 symbols, some of them inner stops.
        std::string t128 = Repeat("b", 360 + maker.Below(16));
        for (int k = maker.Below(4); k > 0; --k) {
            t128[static_cast<std::size_t>(maker.Below(static_cast<int>(t128.size())))] = '\xCE';
        }
        const auto e128 = Code128Expected(t128, 1);
        ASSERT_EQ(c128.Encode(t128.c_str(), 1), e128.has_value());
        ASSERT_EQ(c128.length > 0, e128.has_value());

        const std::string t25 = Repeat("7", 810 + maker.Below(12));
        ASSERT_EQ(i25.Encode(t25.c_str()), I2of5Expected(t25).has_value()) << t25.size();

        const std::string t39 = Repeat("-", 400 + maker.Below(12));
        ASSERT_EQ(EncodeCode39(c39, t39), Code39Expected(t39).has_value()) << t39.size();
        ASSERT_EQ(c39.length, t39.size() <= 407 ? 10 * static_cast<int>(t39.size() + 2) : 0);
    }
}

} // namespace

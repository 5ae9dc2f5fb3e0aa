#include "Barcode93.h"

#include "support/GuardedEncoder.h"
#include "support/ReadBack.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

using Values = std::vector<int>;

// Bar/space widths of the Code 93 characters these tests meet, from the symbology's table.
const std::map<std::string, int> KNOWN = {
    {"131112", 0},  {"111213", 1},  {"111312", 2},  {"111411", 3},  {"121113", 4},
    {"121212", 5},  {"121311", 6},  {"111114", 7},  {"131211", 8},  {"141111", 9},
    {"211113", 10}, {"211212", 11}, {"221211", 14}, {"111321", 23}, {"121122", 24},
    {"131121", 25}, {"211122", 28}, {"211221", 29}, {"221121", 30}, {"321111", 39},
    {"112131", 40}, {"113121", 41}, {"211131", 42}, {"122211", 46}, {"111141", 47},
};

std::string Widths(const std::uint8_t* modules, int count) {
    std::string widths;
    for (int i = 0; i < count; ++i) {
        if (i == 0 || modules[i] != modules[i - 1]) {
            widths += '0';
        }
        ++widths.back();
    }
    return widths;
}

// Symbol values of an encoded buffer; 48 for the stop with its termination bar, -1 for an
// unknown group.
Values Decode(const CBarcode93& code) {
    if (code.length < 10 || code.length % 9 != 1 || code.elements[code.length - 1] != 1) {
        return {};
    }
    Values values;
    for (int i = 0; i + 9 < code.length; i += 9) {
        const auto known = KNOWN.find(Widths(code.elements + i, 9));
        values.push_back(known == KNOWN.end() ? -1 : known->second);
    }
    values.back() = values.back() == 47 ? 48 : -1;
    return values;
}

using Guarded = GuardedEncoder<CBarcode93>;

TEST(Barcode93Tables, CharactersAreNineModulesOfThreeBarsAndThreeSpaces) {
    std::set<std::string> seen;
    for (int value = 0; value <= 47; ++value) {
        CBarcode93 code;
        ASSERT_EQ(code.EncodeSymbol(code.elements, value), code.elements + 9) << value;
        const std::string widths = Widths(code.elements, 9);
        EXPECT_EQ(widths.size(), 6u) << value;
        EXPECT_EQ(code.elements[0], 1) << value;
        EXPECT_LE(*std::max_element(widths.begin(), widths.end()), '4') << value;
        EXPECT_TRUE(seen.insert(widths).second) << value;
    }
    CBarcode93 stop;
    ASSERT_EQ(stop.EncodeSymbol(stop.elements, 48), stop.elements + 10);
    EXPECT_EQ(Widths(stop.elements, 10), "1111411");
}

TEST(Barcode93Tables, FullAsciiRowsAtTheEdgesOfEachRange) {
    const std::array<int, 3> rows[] = {
        {0, 44, 30},   {1, 43, 10},   {26, 43, 35}, {27, 44, 10}, {31, 44, 14}, {32, 38, -1},
        {33, 45, 10},  {35, 45, 12},  {36, 39, -1}, {37, 42, -1}, {38, 45, 15}, {42, 45, 19},
        {43, 41, -1},  {44, 45, 21},  {45, 36, -1}, {46, 37, -1}, {47, 40, -1}, {48, 0, -1},
        {57, 9, -1},   {58, 45, 35},  {59, 44, 15}, {63, 44, 19}, {64, 44, 31}, {65, 10, -1},
        {90, 35, -1},  {91, 44, 20},  {95, 44, 24}, {96, 44, 32}, {97, 46, 10}, {122, 46, 35},
        {123, 44, 25}, {127, 44, 29},
    };
    for (const auto& [ch, first, second] : rows) {
        int a = -2, b = -2;
        ASSERT_TRUE(CBarcode93::GetFullAsciiPair(ch, a, b)) << ch;
        EXPECT_EQ(a, first) << ch;
        EXPECT_EQ(b, second) << ch;
    }
    for (const int ch : {-128, -1, 128}) {
        int a = -2, b = -2;
        EXPECT_FALSE(CBarcode93::GetFullAsciiPair(ch, a, b)) << ch;
        EXPECT_EQ(a + b, -4) << ch;
    }
}

TEST(Barcode93Encoding, EmptyTextElementBytes) {
    CBarcode93 code;
    ASSERT_TRUE(code.Encode(""));
    const std::vector<int> expected = {1, 0, 1, 0, 1, 1, 1, 1, 0,     // start
                                       1, 0, 0, 0, 1, 0, 1, 0, 0,     // C = 0
                                       1, 0, 0, 0, 1, 0, 1, 0, 0,     // K = 0
                                       1, 0, 1, 0, 1, 1, 1, 1, 0, 1}; // stop
    EXPECT_EQ(std::vector<int>(code.elements, code.elements + code.length), expected);
}

TEST(Barcode93Encoding, SymbolsAndCheckCharacters) {
    const struct {
        std::string text;
        Values expected;
    } cases[] = {
        {"TEST93", {47, 29, 14, 28, 29, 9, 3, 41, 6, 48}},
        {"A", {47, 10, 10, 30, 48}},
        {"a", {47, 46, 10, 8, 25, 48}},
        {"Ab", {47, 10, 46, 11, 39, 4, 48}},
        {"$%+/", {47, 39, 42, 41, 40, 28, 30, 48}},
        {"0123456789", {47, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 24, 46, 48}},
        {std::string(21, '1'),
         {47, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 23, 29, 48}},
    };
    CBarcode93 code; // reused: every encoding starts from a cleared buffer
    ASSERT_TRUE(code.Encode("%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%"));
    for (const auto& c : cases) {
        ASSERT_TRUE(code.Encode(c.text.c_str())) << c.text;
        EXPECT_EQ(code.length, 9 * static_cast<int>(c.expected.size()) + 1) << c.text;
        EXPECT_EQ(Decode(code), c.expected) << c.text;
        EXPECT_EQ(ReadBack(code, Symbology::Code93), c.text);
    }
}

TEST(Barcode93Refusals, BytesFrom128Up) {
    for (const char* text : {"\x80", "caf\xe9", "AB\xff"}) {
        CBarcode93 code;
        EXPECT_FALSE(code.Encode(text)) << text;
        EXPECT_EQ(code.length, 0) << text;
    }
}

TEST(Barcode93Refusals, CapacityBoundary) {
    const struct {
        std::string text;
        bool accepted;
    } cases[] = {
        {std::string(451, '1'), true},         {std::string(452, '1'), false},
        {std::string(225, 'a') + "1", true},   {std::string(226, 'a'), false},
        {std::string(225, 'a') + "11", false}, {std::string(10'000'000, 'A'), false},
    };
    for (const auto& c : cases) {
        Guarded g;
        EXPECT_EQ(g.code.Encode(c.text.c_str()), c.accepted) << c.text.size();
        EXPECT_EQ(g.code.length, c.accepted ? CBarcodeBase::CAPACITY : 0) << c.text.size();
        EXPECT_TRUE(g.Intact()) << c.text.size();
    }
}

TEST(Barcode93Refusals, SymbolValuesAndBufferEnd) {
    Guarded g;
    std::uint8_t* const end = g.code.elements + CBarcodeBase::CAPACITY;
    for (const int value : {-1, 49}) {
        EXPECT_EQ(g.code.EncodeSymbol(g.code.elements, value), nullptr) << value;
    }
    EXPECT_EQ(g.code.EncodeSymbol(end - 9, 48), nullptr);
    EXPECT_EQ(g.code.EncodeSymbol(end - 8, 0), nullptr);
    EXPECT_EQ(std::count(g.code.elements, end, 0), CBarcodeBase::CAPACITY);
    EXPECT_EQ(g.code.EncodeSymbol(end - 9, 47), end);
    EXPECT_TRUE(g.Intact());
}

} // namespace

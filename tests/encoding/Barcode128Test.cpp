#include "Barcode128.h"
#include "support/Code128Reference.h"
#include "support/ReadBack.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

constexpr int A = code128ref::kSubsetA;
constexpr int B = code128ref::kSubsetB;
constexpr int C = code128ref::kSubsetC;
constexpr int STOP = code128ref::kStop;
using code128ref::kWidths;

std::string RunWidths(const std::uint8_t* modules, int count) {
    std::string widths;
    for (int i = 0; i < count;) {
        int run = 1;
        while (i + run < count && modules[i + run] == modules[i]) {
            ++run;
        }
        widths += static_cast<char>('0' + run);
        i += run;
    }
    return widths;
}

// Reads the buffer back as symbol values; a group that is no symbol gives -1 and ends it.
std::vector<int> Decode(const CBarcodeBase& code) {
    std::vector<int> values;
    for (int pos = 0; pos < code.length;) {
        int value = -1;
        if (pos + 11 <= code.length && code.elements[pos] == 1) {
            const auto it = std::ranges::find(kWidths, RunWidths(code.elements + pos, 11));
            value = it == kWidths.end() ? -1 : static_cast<int>(it - kWidths.begin());
        }
        values.push_back(value);
        if (value < 0) {
            break;
        }
        pos += value == STOP ? 13 : 11;
    }
    return values;
}

TEST(Barcode128Table, EverySymbolMatchesTheStandardWidths) {
    for (int value = 0; value <= STOP; ++value) {
        CBarcode128 code;
        const std::uint8_t* end = code.EncodeSymbol(code.elements, value);
        ASSERT_NE(end, nullptr) << value;
        code.length = static_cast<std::int32_t>(end - code.elements);
        EXPECT_EQ(code.length, value == STOP ? 13 : 11) << value;
        EXPECT_EQ(Decode(code), std::vector<int>{value});
    }
}

TEST(Barcode128Table, ByteValuesAtTheEdgesOfEachRange) {
    struct Case {
        int subset;
        int byte;
        int value; // -1: refused
    };
    const Case cases[] = {
        {A, 1, 65},   {A, 31, 95},  {A, 32, 0},    {A, 95, 63},   {A, 96, -1},  {A, 126, -1},
        {A, 127, -1}, {A, 194, -1}, {A, 195, 95},  {A, 206, 106}, {A, 207, -1}, {A, 255, -1},
        {B, 1, -1},   {B, 31, -1},  {B, 32, 0},    {B, 96, 64},   {B, 126, 94}, {B, 127, -1},
        {B, 194, -1}, {B, 195, 95}, {B, 206, 106}, {B, 207, -1},  {B, 255, -1},
    };
    for (const Case& c : cases) {
        const char text[] = {static_cast<char>(c.byte), '\0'};
        CBarcode128 code;
        const bool ok = code.Encode(text, c.subset);
        EXPECT_EQ(ok, c.value >= 0) << c.subset << ' ' << c.byte;
        if (ok) {
            EXPECT_EQ(Decode(code).at(1), c.value) << c.subset << ' ' << c.byte;
        }
    }
}

struct Example {
    const char* text;
    int subset;
    std::vector<int> values; // start to stop, check included
    std::string reads;       // what the row reader makes of the bars
};

// clang-format off
const Example kExamples[] = {
    {"", A, {103, 0, 106}, ""},
    {"", B, {104, 1, 106}, ""},
    {"", C, {105, 2, 106}, ""},
    {"12345", C, {105, 12, 34, 5, 97, 106}, "123405"},
    {"abc", B, {104, 65, 66, 67, 90, 106}, "abc"},
    {"HELLO", A, {103, 40, 37, 44, 44, 47, 39, 106}, "HELLO"},
    {"Hello", B, {104, 40, 69, 76, 76, 79, 76, 106}, "Hello"},
    {"\x01\x1f", A, {103, 65, 95, 49, 106}, "\x01\x1f"},
    {"\r\n", A, {103, 77, 74, 19, 106}, "\r\n"},
    {"A\xC7" "1234", B, {104, 33, 99, 12, 34, 95, 106}, "A\xC7" "1234"},
    {"A\xC8" "a", A, {103, 33, 100, 65, 16, 106}, "A\xC8" "a"},
    {"12\xC8" "a", C, {105, 12, 100, 65, 100, 106}, "12\xC8" "a"},
    {"\xCA" "1234", C, {105, 102, 12, 34, 24, 106}, "\xCA" "1234"},
    {"1\xCA" "23", C, {105, 1, 23, 49, 106}, "0123"},
    {"\xC6" "a", B, {104, 98, 65, 23, 106}, "\xC6\x01"},
    {"\xC3", B, {104, 95, 96, 106}, "\x7F"},
    {"AB", C, {105, 0, 2, 106}, "00"},
    {" 5", C, {105, 5, 7, 106}, "05"},
    {"\v9", C, {105, 9, 11, 106}, "09"},
    {"A\xCE" "B", A, {103, 33, 106, 34, 38, 106}, "stops at 22: a stop character inside the symbol"},
    // CODE A switches from C and from B (in A the same byte is FNC4).
    {"\xC9" "A", C, {105, 101, 33, 66, 106}, "\xC9" "A"},
    {"\xC9\x01", B, {104, 101, 65, 26, 106}, "\xC9\x01"},
    // Bytes beyond the value table start a digit pair in C and read as 0.
    {"\xFF\xD0", C, {105, 0, 2, 106}, "00"},
};
// clang-format on

TEST(Barcode128Encode, ExamplesGiveTheirSymbolValues) {
    constexpr std::uint8_t kStop[] = {1, 1, 0, 0, 0, 1, 1, 1, 0, 1, 0, 1, 1};
    for (const Example& e : kExamples) {
        SCOPED_TRACE(std::string(e.text) + " in subset " + std::to_string(e.subset));
        CBarcode128 code;
        ASSERT_TRUE(code.Encode(e.text, e.subset));
        EXPECT_EQ(Decode(code), e.values);
        const auto stops = std::ranges::count(e.values, STOP);
        EXPECT_EQ(code.length, 11 * static_cast<int>(e.values.size()) + 2 * stops);
        EXPECT_TRUE(std::all_of(code.elements, code.elements + code.length,
                                [](std::uint8_t m) { return m <= ELEMENT_BAR; }));
        EXPECT_TRUE(
            std::equal(std::begin(kStop), std::end(kStop), code.elements + code.length - 13));
        EXPECT_EQ(CBarcode128::ComputeCheckSymbol(e.subset, e.text), e.values.end()[-2]);
        EXPECT_EQ(ReadBack(code, Symbology::Code128A), e.reads);
    }
}

TEST(Barcode128Check, StaysInRangeOverAVeryLongText) {
    const std::string text(10'000'000, 'A');
    long long sum = 104;
    for (long long i = 1; i <= static_cast<long long>(text.size()); ++i) {
        sum = (sum + 33 * i) % 103;
    }
    EXPECT_EQ(CBarcode128::ComputeCheckSymbol(B, text.c_str()), sum);
}

TEST(Barcode128Check, TextsWithoutValuesHaveNoCheckSymbol) {
    EXPECT_EQ(CBarcode128::ComputeCheckSymbol(A, "Ba"), -1);
    EXPECT_EQ(CBarcode128::ComputeCheckSymbol(B, "x\xFF"), -1);
    EXPECT_EQ(CBarcode128::ComputeCheckSymbol(C, "12-5"), -1);
    EXPECT_EQ(CBarcode128::ComputeCheckSymbol(3, "12"), -1);
    EXPECT_EQ(CBarcode128::ComputeCheckSymbol(A, nullptr), -1);
}

// Refused texts leave length 0 and nothing written past the buffer (wideRatio follows it).
void ExpectRefused(const std::string& text, int subset) {
    CBarcode128 code;
    code.wideRatio = 7;
    EXPECT_FALSE(code.Encode(text.c_str(), subset)) << text.size() << " bytes in subset " << subset;
    EXPECT_EQ(code.length, 0);
    EXPECT_EQ(code.wideRatio, 7);
}

TEST(Barcode128Limits, RefusedTexts) {
    // clang-format off
    const std::pair<std::string, int> cases[] = {
        {"a", A}, {"`", A}, {"{", A}, {"\x7F", A}, {"\x80", A}, {"\xC9" "a", A},
        {"\x01", B}, {"\x7F", B}, {"\xC2", B}, {"ab\xCF", B},
        {"-5", C}, {"12-3", C}, {"\xC8\x01", C},
        {"A", 3}, {"A", -1},
    };
    // clang-format on
    for (const auto& [text, subset] : cases) {
        ExpectRefused(text, subset);
    }
}

TEST(Barcode128Limits, CapacityBoundaries) {
    const std::string stop = "\xCE";
    const std::pair<std::string, int> accepted[] = {
        {std::string(369, 'A'), B},        // 4094 elements
        {std::string(738, '7'), C},        // 369 pairs
        {std::string(368, 'A') + stop, A}, // a stop inside costs 2: exactly 4096
    };
    for (const auto& [text, subset] : accepted) {
        CBarcode128 code;
        EXPECT_TRUE(code.Encode(text.c_str(), subset)) << text.size();
        EXPECT_EQ(code.length, 11 * 371 + 13 + (text.back() == stop[0] ? 2 : 0));
    }
    ExpectRefused(std::string(370, 'A'), B);
    ExpectRefused(std::string(739, '7'), C);
    ExpectRefused("\xCA" + std::string(737, '7'), C); // FNC1 and 369 pairs
    ExpectRefused(std::string(367, 'A') + stop + stop, A);
    ExpectRefused(std::string(10'000'000, 'A'), B);
}

TEST(Barcode128Limits, EncodeSymbolRefusesBadValuesAndMissingRoom) {
    CBarcode128 code;
    std::uint8_t* last = code.elements + CBarcodeBase::CAPACITY - 11;
    EXPECT_EQ(code.EncodeSymbol(code.elements, -1), nullptr);
    EXPECT_EQ(code.EncodeSymbol(code.elements, 107), nullptr);
    EXPECT_EQ(code.EncodeSymbol(last, STOP), nullptr);
    EXPECT_EQ(code.EncodeSymbol(last + 1, 0), nullptr);
    EXPECT_EQ(code.EncodeSymbol(nullptr, 0), nullptr);
    EXPECT_TRUE(std::all_of(std::begin(code.elements), std::end(code.elements),
                            [](std::uint8_t m) { return m == 0; }));
    EXPECT_EQ(code.EncodeSymbol(last, 0), code.elements + CBarcodeBase::CAPACITY);
}

} // namespace

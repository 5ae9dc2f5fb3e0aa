#include "BarcodeI2of5.h"

#include "support/GuardedEncoder.h"
#include "support/ReadBack.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <set>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<int>;

const Bytes START = {1, 0, 1, 0};
const Bytes STOP = {3, 0, 1};

Bytes Pair(int value) {
    CBarcodeI2of5 code;
    std::uint8_t* end = code.EncodePair(code.elements, value);
    return end == code.elements + 10 ? Bytes(code.elements, end) : Bytes{};
}

Bytes Join(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& p : parts) {
        all.insert(all.end(), p.begin(), p.end());
    }
    return all;
}

using Guarded = GuardedEncoder<CBarcodeI2of5>;

TEST(BarcodeI2of5Tables, PairsInterleaveTwoOfFiveDigits) {
    std::set<Bytes> seen;
    for (int value = 0; value < 100; ++value) {
        const Bytes p = Pair(value);
        ASSERT_EQ(p.size(), 10u) << value;
        int wideBars = 0, wideSpaces = 0;
        for (int k = 0; k < 10; ++k) {
            EXPECT_EQ(p[k] & ELEMENT_BAR, k % 2 == 0 ? 1 : 0) << value;
            (k % 2 == 0 ? wideBars : wideSpaces) += (p[k] & ELEMENT_WIDE) ? 1 : 0;
        }
        EXPECT_EQ(wideBars, 2) << value;
        EXPECT_EQ(wideSpaces, 2) << value;
        // The bars carry only the first digit, the spaces only the second.
        const Bytes sameFirst = Pair(value / 10 * 10 + (value + 1) % 10);
        const Bytes sameSecond = Pair((value + 10) % 100);
        for (int k = 0; k < 10; ++k) {
            EXPECT_EQ(p[k], (k % 2 == 0 ? sameFirst : sameSecond)[k]) << value << ' ' << k;
        }
        EXPECT_TRUE(seen.insert(p).second) << value;
    }
}

TEST(BarcodeI2of5Tables, StoredRows) {
    EXPECT_EQ(Pair(0), (Bytes{1, 0, 1, 0, 3, 2, 3, 2, 1, 0}));  // nnnnwwwwnn
    EXPECT_EQ(Pair(1), (Bytes{1, 2, 1, 0, 3, 0, 3, 0, 1, 2}));  // nwnnwnwnnw
    EXPECT_EQ(Pair(12), (Bytes{3, 0, 1, 2, 1, 0, 1, 0, 3, 2})); // wnnwnnnnww
}

TEST(BarcodeI2of5Encoding, WorkedExamples) {
    const struct {
        std::string text;
        Bytes expected;
    } cases[] = {
        {"", Join({START, STOP})},
        {"12", Join({START, Pair(12), STOP})},
        {"00", Join({START, Pair(0), STOP})},
        {"0123456789", Join({START, Pair(1), Pair(23), Pair(45), Pair(67), Pair(89), STOP})},
    };
    CBarcodeI2of5 code; // reused: every encoding starts from a cleared buffer
    ASSERT_TRUE(code.Encode("99999999"));
    for (const auto& c : cases) {
        ASSERT_TRUE(code.Encode(c.text.c_str())) << c.text;
        EXPECT_EQ(Bytes(code.elements, code.elements + code.length), c.expected) << c.text;
        int width = 0;
        for (int i = 0; i < code.length; ++i) {
            width += (code.elements[i] & ELEMENT_WIDE) ? 3 : 1;
        }
        EXPECT_EQ(width, 9 * static_cast<int>(c.text.size()) + 9) << c.text;
        EXPECT_EQ(ReadBack(code, Symbology::I2of5), c.text);
    }
}

// A refusal leaves only the start pattern in the buffer, unpainted.
bool OnlyStartPattern(const CBarcodeI2of5& code) {
    const std::uint8_t* e = code.elements;
    return code.length == 0 && e[0] == 1 && e[1] == 0 && e[2] == 1 && e[3] == 0 &&
           std::count(e + 4, e + CBarcodeBase::CAPACITY, 0) == CBarcodeBase::CAPACITY - 4;
}

TEST(BarcodeI2of5Refusals, OddOrNonDigitTexts) {
    for (const char* text : {"135", "1", "1:", "A4", "12 ", " 12", "/0", "1\xb2"}) {
        CBarcodeI2of5 code;
        ASSERT_TRUE(code.Encode("1234"));
        EXPECT_FALSE(code.Encode(text)) << text;
        EXPECT_TRUE(OnlyStartPattern(code)) << text;
    }
}

TEST(BarcodeI2of5Refusals, CapacityBoundary) {
    const struct {
        std::size_t digits;
        bool accepted;
    } cases[] = {{816, true}, {817, false}, {818, false}, {10'000'000, false}};
    for (const auto& c : cases) {
        Guarded g;
        EXPECT_EQ(g.code.Encode(std::string(c.digits, '7').c_str()), c.accepted) << c.digits;
        EXPECT_EQ(g.code.length, c.accepted ? 4087 : 0) << c.digits;
        EXPECT_TRUE(g.Intact()) << c.digits;
        if (!c.accepted) { // refused before any pair is written
            EXPECT_TRUE(OnlyStartPattern(g.code)) << c.digits;
        }
    }
}

TEST(BarcodeI2of5Refusals, PairValuesAndBufferEnd) {
    Guarded g;
    std::uint8_t* const end = g.code.elements + CBarcodeBase::CAPACITY;
    for (const int value : {-1, 100}) {
        EXPECT_EQ(g.code.EncodePair(g.code.elements, value), nullptr) << value;
    }
    EXPECT_EQ(g.code.EncodePair(end - 9, 0), nullptr);
    EXPECT_EQ(std::count(g.code.elements, end, 0), CBarcodeBase::CAPACITY);
    EXPECT_EQ(g.code.EncodePair(end - 10, 99), end);
    EXPECT_TRUE(g.Intact());
}

} // namespace

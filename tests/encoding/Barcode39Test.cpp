#include "Barcode39.h"

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

const std::string ALL_CHARACTERS = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. *$/+%";
const Bytes STAR = {1, 2, 1, 0, 3, 0, 3, 0, 1, 0};

// An encoder cleared as its callers leave it, with markers on both sides of the element bytes'
// end: wideRatio inside the object and a guard block behind it.
using Guarded = GuardedEncoder<CBarcode39>;

Bytes Join(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& p : parts) {
        all.insert(all.end(), p.begin(), p.end());
    }
    return all;
}

TEST(Barcode39Tables, EveryCharacterHasThreeWideOfNineAndANarrowGap) {
    std::set<Bytes> seen;
    for (const char ch : ALL_CHARACTERS) {
        Guarded g;
        ASSERT_EQ(g.code.EncodeChar(ch, g.code.elements), g.code.elements + 10) << ch;
        const Bytes e(g.code.elements, g.code.elements + 10);
        EXPECT_EQ(std::count_if(e.begin(), e.begin() + 9, [](int b) { return b & ELEMENT_WIDE; }),
                  3)
            << ch;
        for (int k = 0; k < 10; ++k) {
            EXPECT_EQ(e[k] & ELEMENT_BAR, k % 2 == 0 ? 1 : 0) << ch << k;
        }
        EXPECT_EQ(e[9], 0) << ch;
        EXPECT_TRUE(seen.insert(e).second) << ch;
    }
}

TEST(Barcode39Tables, CharactersWithoutARowWriteNothing) {
    for (const char ch : std::string("a#\t\x80\xff~", 6) + '\0') {
        Guarded g;
        EXPECT_EQ(g.code.EncodeChar(ch, g.code.elements), nullptr) << int(ch);
        EXPECT_EQ(std::count(g.code.elements, g.code.elements + CBarcodeBase::CAPACITY, 0), 4096);
    }
}

TEST(Barcode39Encoding, WorkedExamples) {
    const Bytes a = {3, 0, 1, 0, 1, 2, 1, 0, 3, 0};
    const struct {
        std::string text;
        Bytes expected;
        std::string reads;
    } cases[] = {
        {"", Join({STAR, STAR}), ""},
        {"A", Join({STAR, a, STAR}), "A"},
        {"a", Join({STAR, a, STAR}), "A"},
        {"A*A", Join({STAR, a, STAR, a, STAR}),
         "stops at 20: a start/stop character inside the symbol"},
    };
    for (const auto& c : cases) {
        Guarded g;
        ASSERT_TRUE(g.code.Encode(c.text.c_str())) << c.text;
        EXPECT_EQ(g.Elements(), c.expected) << c.text;
        EXPECT_EQ(ReadBack(g.code, Symbology::Code39), c.reads);
    }
}

TEST(Barcode39Encoding, LengthWidthAndCase) {
    Guarded digits;
    ASSERT_TRUE(digits.code.Encode("0123456789"));
    EXPECT_EQ(digits.code.length, 120);
    int width = 0;
    for (const int e : digits.Elements()) {
        width += (e & ELEMENT_WIDE) ? 3 : 1;
    }
    EXPECT_EQ(width, 192);
    EXPECT_EQ(digits.Elements().back(), 0);

    Guarded lower, upper;
    ASSERT_TRUE(lower.code.Encode("abcxyz"));
    ASSERT_TRUE(upper.code.Encode("ABCXYZ"));
    EXPECT_EQ(lower.Elements(), upper.Elements());
}

TEST(Barcode39Refusals, UnencodableCharacters) {
    for (const char* text : {"#", "AB#", "A\tB", "caf\xe9", "\x80"}) {
        Guarded g;
        EXPECT_FALSE(g.code.Encode(text)) << text;
        EXPECT_EQ(g.code.length, 0) << text;
    }
}

TEST(Barcode39Refusals, CapacityBoundary) {
    const struct {
        std::size_t size;
        bool accepted;
    } cases[] = {{407, true}, {408, false}, {10'000'000, false}};
    for (const auto& c : cases) {
        Guarded g;
        EXPECT_EQ(g.code.Encode(std::string(c.size, 'W').c_str()), c.accepted) << c.size;
        EXPECT_EQ(g.code.length, c.accepted ? 4090 : 0) << c.size;
        EXPECT_TRUE(g.Intact()) << c.size;
        if (!c.accepted) { // refused before anything is written
            EXPECT_EQ(std::count(g.code.elements, g.code.elements + 4096, 0), 4096) << c.size;
        }
    }
}

TEST(Barcode39Refusals, CharacterAtTheEndOfTheBuffer) {
    Guarded g;
    std::uint8_t* const end = g.code.elements + CBarcodeBase::CAPACITY;
    EXPECT_EQ(g.code.EncodeChar('W', end - 9), nullptr);
    EXPECT_EQ(g.code.EncodeChar('W', nullptr), nullptr);
    EXPECT_EQ(std::count(g.code.elements, end, 0), CBarcodeBase::CAPACITY);
    EXPECT_EQ(g.code.EncodeChar('W', end - 10), end);
    EXPECT_TRUE(g.Intact());
}

} // namespace

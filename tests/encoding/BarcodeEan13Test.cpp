#include "BarcodeEan13.h"
#include "support/ReadBack.h"

#include <gtest/gtest.h>

#define ZX_USE_UTF8 // text() as std::string; silences the reader's transition note
#include <ZXing/ReadBarcode.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace {

std::vector<std::uint8_t> Elements(const CBarcodeBase& code) {
    return {code.elements, code.elements + code.length};
}

// What a peer reader makes of the symbol, drawn two pixels per module with quiet zones.
std::string Scan(const CBarcodeBase& code) {
    constexpr int kModule = 2, kQuiet = 30, kHeight = 16;
    const int width = code.length * kModule + 2 * kQuiet;
    std::vector<std::uint8_t> image(static_cast<std::size_t>(width * kHeight), 255);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < code.length * kModule; ++x) {
            if (code.elements[x / kModule] & ELEMENT_BAR) {
                image[static_cast<std::size_t>(y * width + kQuiet + x)] = 0;
            }
        }
    }
    ZXing::DecodeHints hints;
    hints.setFormats(ZXing::BarcodeFormat::EAN13);
    const ZXing::Result result =
        ZXing::ReadBarcode({image.data(), width, kHeight, ZXing::ImageFormat::Lum}, hints);
    return result.isValid() ? std::string(result.bytes().begin(), result.bytes().end())
                            : "<unreadable>";
}

TEST(BarcodeEan13Check, CheckDigits) {
    const std::pair<const char*, char> cases[] = {
        {"590123412345", '7'}, {"123456789012", '8'}, {"400638133393", '1'},
        {"123000000000", '0'}, {"000000000000", '0'}, {"12345678901A", '\0'},
    };
    for (const auto& [digits, check] : cases) {
        EXPECT_EQ(CBarcodeEan13::ComputeCheckDigit(digits), check) << digits;
    }
}

TEST(BarcodeEan13Table, ParityPatterns) {
    const std::pair<char, std::string> cases[] = {
        {'0', "OOOOO"}, {'1', "OEOEE"}, {'5', "EEOOE"}, {'9', "EEOEO"}};
    for (const auto& [digit, expected] : cases) {
        std::array<char, 5> pattern{};
        ASSERT_TRUE(CBarcodeEan13::GetParityPattern(digit, pattern.data()));
        EXPECT_EQ(std::string(pattern.begin(), pattern.end()), expected);
    }
    std::array<char, 5> untouched{'x', 'x', 'x', 'x', 'x'};
    EXPECT_FALSE(CBarcodeEan13::GetParityPattern('A', untouched.data()));
    EXPECT_EQ(untouched, (std::array<char, 5>{'x', 'x', 'x', 'x', 'x'}));
}

// Each digit appears once in every position across these texts, so every row of the
// parity table and the three number sets is read back by the peer reader.
TEST(BarcodeEan13Encode, PeerReaderReadsTheDigitsAndCheckDigit) {
    const std::pair<const char*, const char*> cases[] = {
        {"003692581470", "0036925814705"},
        {"170369258147", "1703692581473"},
        {"247036925814", "2470369258141"},
        {"314703692581", "3147036925819"},
        {"481470369258", "4814703692587"},
        {"558147036925", "5581470369255"},
        {"625814703692", "6258147036923"},
        {"792581470369", "7925814703691"},
        {"869258147036", "8692581470369"},
        {"936925814703", "9369258147037"},
        {"590123412345", "5901234123457"},
        {"123", "1230000000000"},
        {"", "0000000000000"},
    };
    for (const auto& [text, expected] : cases) {
        CBarcodeEan13 code;
        ASSERT_TRUE(code.Encode(text)) << text;
        EXPECT_EQ(Scan(code), expected);
        EXPECT_EQ(ReadBack(code, Symbology::Ean13), expected);
    }
}

TEST(BarcodeEan13Encode, GuardsAndModules) {
    CBarcodeEan13 code;
    code.elements[200] = 9; // Encode clears the buffer itself
    code.length = 17;
    ASSERT_TRUE(code.Encode("936925814703"));
    ASSERT_EQ(code.length, 95);
    EXPECT_EQ(code.elements[200], 0);
    for (int i = 0; i < 95; ++i) {
        const bool guard = i < 3 || (i >= 45 && i < 50) || i >= 92;
        const std::uint8_t m = code.elements[i];
        if (guard) {
            EXPECT_EQ(m, i % 2 == 0 ? 5 : 4) << i; // guard bars fall on even elements
        } else {
            EXPECT_LE(m, 1) << i;
        }
    }
}

TEST(BarcodeEan13Encode, TextsThatGiveTheSameSymbol) {
    const std::pair<const char*, const char*> cases[] = {
        {"4006381333931", "400638133393"},
        {"4006381333937", "400638133393"},
        {"400638133393X", "400638133393"},
        {"123", "123000000000"},
        {"", "000000000000"},
    };
    for (const auto& [text, same] : cases) {
        CBarcodeEan13 code, reference;
        ASSERT_TRUE(code.Encode(text)) << text;
        ASSERT_TRUE(reference.Encode(same));
        EXPECT_EQ(Elements(code), Elements(reference)) << text;
    }
}

TEST(BarcodeEan13Limits, NonDigitsAreRefused) {
    const std::array<const char*, 6> texts{"A23456789012", "12345678901A", "12 4",
                                           "-1",           "12345.",       nullptr};
    for (const char* text : texts) {
        CBarcodeEan13 code;
        code.length = 5;
        EXPECT_FALSE(code.Encode(text)) << (text ? text : "null");
        EXPECT_EQ(code.length, 0);
    }
}

TEST(BarcodeEan13Limits, DigitWritersRefuseNonDigitsAndMissingRoom) {
    CBarcodeEan13 code;
    std::uint8_t* last = code.elements + CBarcodeBase::CAPACITY - 7;
    EXPECT_EQ(code.EncodeLeftOdd(code.elements, 'x'), nullptr);
    EXPECT_EQ(code.EncodeLeftEven(code.elements, '/'), nullptr);
    EXPECT_EQ(code.EncodeRight(code.elements, ':'), nullptr);
    EXPECT_EQ(code.EncodeLeftOdd(last + 1, '8'), nullptr);
    EXPECT_EQ(code.EncodeRight(nullptr, '8'), nullptr);
    EXPECT_TRUE(std::all_of(std::begin(code.elements), std::end(code.elements),
                            [](std::uint8_t m) { return m == 0; }));
    EXPECT_EQ(code.EncodeRight(last, '8'), code.elements + CBarcodeBase::CAPACITY);
}

} // namespace

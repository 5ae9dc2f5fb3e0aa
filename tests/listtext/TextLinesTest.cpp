#include "TextLines.h"
#include "Latin1.h"

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::string>;

TEST(SplitLines, Terminators) {
    const struct {
        std::string bytes;
        Lines lines;
    } cases[] = {
        {"", {}},
        {"A\nB\nC\n", {"A", "B", "C"}},
        {"A\nB\nC", {"A", "B", "C"}},
        {"A\r\nB\r\nC\r\n", {"A", "B", "C"}},
        {"A\rB\rC", {"A", "B", "C"}},
        {"A\r\r\nB", {"A", "", "B"}},
        {"A\n\nB\n", {"A", "", "B"}},
        {"\n", {""}},
        {"\n\n", {"", ""}},
        {"\r\n", {""}},
        {"\r", {""}},
        {" A \t\n", {" A \t"}},
        {std::string("A\0B\nC", 5), {std::string("A\0B", 3), "C"}},
        {"\xC7\xFF\n", {"\xC7\xFF"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SplitLines(c.bytes), c.lines) << c.bytes;
    }
}

TEST(SplitLines, LongLineKeptWhole) {
    const std::string big(10 * 1024 * 1024, 'x');
    const Lines lines = SplitLines(big + "\nA");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].size(), big.size());
    EXPECT_EQ(lines[1], "A");
}

TEST(Latin1, FromUtf8) {
    const struct {
        std::string utf8;
        std::optional<std::string> latin1;
    } cases[] = {
        {"ABC 123", "ABC 123"},           {"\xC3\x87", "\xC7"},       // U+00C7
        {"\xC2\x80\xC3\xBF", "\x80\xFF"}, {"\xC4\x80", std::nullopt}, // U+0100
        {"\xE2\x82\xAC", std::nullopt},                               // euro sign
        {"\xC3", std::nullopt},                                       // truncated
        {"\xC3\x41", std::nullopt},                                   // bad continuation
        {"\x87", std::nullopt},                                       // lone continuation byte
        {"\xC0\x80", std::nullopt},                                   // overlong NUL
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Utf8ToLatin1(c.utf8), c.latin1) << c.utf8;
    }
}

TEST(Latin1, RoundTripsEveryByte) {
    std::string all;
    for (int b = 1; b < 256; ++b) {
        all.push_back(static_cast<char>(b));
    }
    EXPECT_EQ(Utf8ToLatin1(Latin1ToUtf8(all)), all);
}

} // namespace

// Texts in one-line messages: escaped control characters and a cut at 80 characters.

#include "MessageText.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(MessageText, Latin1Texts) {
    const struct {
        std::string latin1;
        std::string shown;
    } cases[] = {
        {"abc", "abc"},
        {"caf\xE9", "caf\xC3\xA9"},
        {std::string("\0\x1B\x7F\x85\xA0", 5), "\\x00\\x1B\\x7F\\x85\xC2\xA0"},
        {std::string(80, 'a'), std::string(80, 'a')},
        {std::string(81, 'a'), std::string(63, 'a') + "\u2026 (81 characters)"},
        {std::string(10'000'000, 'a'), std::string(57, 'a') + "\u2026 (10000000 characters)"},
        // 30 escapes are 120 wide: cut after whole escapes only
        {std::string(30, '\x01'),
         [] {
             std::string s;
             for (int i = 0; i < 15; ++i) {
                 s += "\\x01";
             }
             return s + "\u2026 (30 characters)";
         }()},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MessageText(c.latin1), c.shown);
    }
}

TEST(MessageText, Utf8Texts) {
    const struct {
        std::string utf8;
        std::string shown;
    } cases[] = {
        {"\xE2\x82\xAC 5", "\xE2\x82\xAC 5"},
        {"\xFF\xC3", "\\xFF\\xC3"},                       // not UTF-8
        {"\xC2\x85\xE0\x80\x8A", "\\x85\\xE0\\x80\\x8A"}, // C1 control; overlong line feed
        {"\xED\xA0\x80", "\\xED\\xA0\\x80"},              // a surrogate
        {std::string(30, 'x') + std::string(60, '\xE2'),
         std::string(30, 'x') + "\\xE2\\xE2\\xE2\\xE2\\xE2\\xE2\\xE2\\xE2\u2026 (90 characters)"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MessageTextUtf8(c.utf8), c.shown);
    }
    EXPECT_EQ(MessageTextUtf8(std::string(300, 'x'), 200),
              std::string(182, 'x') + "\u2026 (300 characters)");
}

} // namespace

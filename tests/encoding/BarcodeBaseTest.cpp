#include "BarcodeBase.h"
#include "support/RecordingSurface.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr COLORREF kBar = RGB(0, 0, 0);
constexpr COLORREF kSpace = RGB(255, 255, 255);

CBarcodeBase Buffer(const std::vector<std::uint8_t>& bytes, int ratio = 3) {
    CBarcodeBase b;
    b.Clear();
    b.wideRatio = ratio;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        b.elements[i] = bytes[i];
    }
    b.length = static_cast<int>(bytes.size());
    return b;
}

TEST(BarcodeBase, ClearZeroesElementsAndLengthButKeepsRatio) {
    CBarcodeBase b = Buffer({1, 2, 3}, 5);
    b.elements[4095] = 7;
    b.Clear();
    EXPECT_EQ(b.length, 0);
    EXPECT_EQ(b.wideRatio, 5);
    for (auto e : b.elements) {
        ASSERT_EQ(e, 0);
    }
}

TEST(DrawLines, EmptyBufferStillCreatesSelectsAndDeletesBothPens) {
    CRecordingSurface dc;
    const CBarcodeBase b = Buffer({});
    b.DrawLines(dc, 10, 10, 60, kBar, kSpace, 1);
    EXPECT_TRUE(dc.lines.empty());
    EXPECT_EQ(dc.created, 2);
    EXPECT_EQ(dc.deleted, 2);
    EXPECT_EQ(dc.selected, 0); // the surface's own pen is back
}

TEST(DrawLines, WideBarNarrowSpaceAtLineWidthTwo) {
    CRecordingSurface dc;
    const CBarcodeBase b = Buffer({3, 0, 1});
    b.DrawLines(dc, 100, 5, 55, kBar, kSpace, 2);
    struct Expected {
        int x;
        COLORREF colour;
    };
    const std::vector<Expected> expected = {
        {100, kBar}, {102, kBar}, {104, kBar}, {106, kSpace}, {108, kBar}};
    ASSERT_EQ(dc.lines.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(dc.lines[i].x, expected[i].x) << i;
        EXPECT_EQ(dc.lines[i].colour, expected[i].colour) << i;
        EXPECT_EQ(dc.lines[i].width, 2);
        EXPECT_EQ(dc.lines[i].y0, 5);
        EXPECT_EQ(dc.lines[i].y1, 55);
    }
    // A pen is selected before every line.
    EXPECT_EQ(dc.selects, 1 + 5 + 1);
}

TEST(DrawLines, LongElementsReachTheLongBottomOnlyInDrawLinesLong) {
    const CBarcodeBase b = Buffer({5, 4, 1, 0});
    struct Case {
        bool useLong;
        std::vector<int> bottoms;
        std::vector<COLORREF> colours;
    };
    const Case cases[] = {
        {true, {60, 60, 50, 50}, {kBar, kSpace, kBar, kSpace}},
        {false, {50, 50, 50, 50}, {kBar, kSpace, kBar, kSpace}},
    };
    for (const Case& c : cases) {
        CRecordingSurface dc;
        if (c.useLong) {
            b.DrawLinesLong(dc, 0, 0, 50, 60, kBar, kSpace, 1);
        } else {
            b.DrawLines(dc, 0, 0, 50, kBar, kSpace, 1);
        }
        ASSERT_EQ(dc.lines.size(), 4u);
        for (std::size_t i = 0; i < 4; ++i) {
            EXPECT_EQ(dc.lines[i].y1, c.bottoms[i]) << i;
            EXPECT_EQ(dc.lines[i].colour, c.colours[i]) << i;
            EXPECT_EQ(dc.lines[i].x, static_cast<int>(i));
        }
    }
}

TEST(DrawLines, HugeLineWidthStopsAtTheEndOfTheCoordinateRange) {
    CRecordingSurface dc;
    const CBarcodeBase b = Buffer(std::vector<std::uint8_t>(100, 3));
    b.DrawLines(dc, 0, 0, 10, kBar, kSpace, 1 << 30);
    EXPECT_EQ(dc.lines.size(), 2u); // x = 0 and 2^30; 2^31 is out of range
    EXPECT_EQ(dc.deleted, 2);
}

} // namespace

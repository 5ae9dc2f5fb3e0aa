#include "TavikDoc.h"
#include "TavikView.h"
#include "ViewRender.h"

#include "support/QtTryGTest.h"
#include "support/SeamHook.h"
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr QRgb kBlack = 0xFF000000;
constexpr QRgb kWhite = 0xFFFFFFFF;

struct ViewFixture {
    ViewFixture() : ViewFixture(std::string()) {}
    // A document of the given file content (none: a new document).
    explicit ViewFixture(const std::string& lines) {
        if (lines.empty()) {
            doc.OnNewDocument();
        } else {
            const QString path = dir.filePath(QStringLiteral("list.txt"));
            QFile f(path);
            EXPECT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(lines.data(), static_cast<qint64>(lines.size()));
            f.close();
            EXPECT_TRUE(doc.OnOpenDocument(path));
        }
        doc.AddView(view.get());
        view->OnInitialUpdate();
    }
    BarcodeSettings& s() { return view->m_settings; }

    QTemporaryDir dir;
    CTavikDoc doc;
    std::unique_ptr<CTavikView> view = std::make_unique<CTavikView>();
};

std::string NumberedLines(int count, const char* format = "%06d") {
    std::string text;
    char line[32];
    for (int i = 0; i < count; ++i) {
        std::snprintf(line, sizeof line, format, i);
        text += line;
        text += '\n';
    }
    return text;
}

int PitchAt96(CTavikView& view) {
    CDC dc(nullptr, {96, 96}, {96, 96});
    return view.RowPitch(&dc);
}

// The layout's sizes stand from the start; no paint is needed to set them.
TEST(ViewLayout, InitialScrollSizesAt96Dpi) {
    ViewFixture f;
    EXPECT_EQ(f.view->GetTotalSize(), QSize(420, 79));
    const QImage image = RenderViewImage(*f.view, 1);
    EXPECT_EQ(f.view->GetTotalSize(), QSize(420, 79));
    EXPECT_EQ(image.size(), QSize(420, 79));
}

// The widget's own paint event replaces the initial size too.
TEST(ViewLayout, FirstWidgetPaintSetsScrollSize) {
    ViewFixture f;
    f.view->resize(600, 400);
    f.view->show();
    QTRY_COMPARE(f.view->GetTotalSize(), QSize(420, 79));
    EXPECT_EQ(f.view->GetTotalSize(), QSize(420, 79));
    EXPECT_EQ(f.view->ScreenResolution().y, 96);
}

TEST(ViewLayout, RowPitchAt96Dpi) {
    const struct {
        const char* name;
        std::function<void(BarcodeSettings&)> change;
        int pitch;
    } cases[] = {
        {"lines mode", [](BarcodeSettings&) {}, 69},
        {"TrueType mode", [](BarcodeSettings& s) { s.m_bTrueType = true; }, 48},
        {"guard room counts twice", [](BarcodeSettings& s) { s.m_nGuardExtra = 10; }, 89},
        {"text hidden still counts", [](BarcodeSettings& s) { s.m_bShowText = false; }, 69},
        {"line width and offset do not count",
         [](BarcodeSettings& s) {
             s.m_nBarWidth = 7;
             s.m_nFontOffset = 500;
         },
         69},
        {"bar height", [](BarcodeSettings& s) { s.m_nBarHeight = 100; }, 119},
        {"text font", [](BarcodeSettings& s) { s.m_lfText.lfHeight = -28; }, 87},
        {"TrueType barcode font",
         [](BarcodeSettings& s) {
             s.m_bTrueType = true;
             s.m_lfBarcode.lfHeight = -40; // MulDiv gives -53: 19 + 39.75
         },
         58},
        {"zero", [](BarcodeSettings& s) { s.m_nBarHeight = -19; }, 0},
        {"negative", [](BarcodeSettings& s) { s.m_nBarHeight = -100; }, -81},
    };
    for (const auto& c : cases) {
        ViewFixture f;
        c.change(f.s());
        EXPECT_EQ(PitchAt96(*f.view), c.pitch) << c.name;
    }
}

// Column x of the image: is it black over [from, to)?
bool BlackRun(const QImage& image, int x, int from, int to) {
    for (int y = from; y < to; ++y) {
        if (image.pixel(x, y) != kBlack) {
            return false;
        }
    }
    return true;
}

TEST(ViewLayout, RepeatedRowsStackAtThePitch) {
    for (bool trueType : {false, true}) {
        ViewFixture f;
        f.s().m_nRepeat = 3;
        f.s().m_bTrueType = trueType;
        const int pitch = trueType ? 48 : 69;
        const QImage image = RenderViewImage(*f.view, 1);
        EXPECT_EQ(f.view->GetTotalSize().height(), 3 * pitch + 10) << trueType;
        ASSERT_EQ(image.height(), 3 * pitch + 10);
        if (trueType) {
            continue;
        }
        for (int k = 0; k < 3; ++k) {
            const int top = 10 + k * pitch;
            EXPECT_TRUE(BlackRun(image, 10, top, top + 50)) << k;
            EXPECT_EQ(image.pixel(10, top + 50), kWhite) << k;
            EXPECT_EQ(image.pixel(10, top - 1), kWhite) << k;
        }
    }
}

// Rows of a text list: a refused line and an empty line leave their rows empty,
// the rows after them keep their places.
TEST(ViewLayout, TextListRowsWithRefusedLine) {
    ViewFixture f("ABC\nA#B\n\nXYZ\n");
    ASSERT_EQ(f.s().m_pLines, &f.doc.m_lines);
    const QImage image = RenderViewImage(*f.view, 1);
    ASSERT_EQ(image.height(), 4 * 69 + 10);
    EXPECT_TRUE(BlackRun(image, 10, 10, 60));
    for (int y = 79; y < 10 + 3 * 69; ++y) {
        for (int x = 0; x < image.width(); ++x) {
            ASSERT_EQ(image.pixel(x, y), kWhite) << x << "," << y;
        }
    }
    EXPECT_TRUE(BlackRun(image, 10, 217, 267));
    EXPECT_EQ(image.pixel(10, 267), kWhite);
    // The last row's text is there.
    int ink = 0;
    for (int y = 268; y < 286; ++y) {
        for (int x = 10; x < 60; ++x) {
            ink += qGray(image.pixel(x, y)) < 100 ? 1 : 0;
        }
    }
    EXPECT_GT(ink, 20);
    // The list's last encoded line is what the encoder holds.
    EXPECT_EQ(f.view->m_code39.length, 50);
}

// Right edge (exclusive) of everything a full drawing paints.
int PaintedRight(CTavikView& view, int width) {
    QImage image(width, 400, QImage::Format_RGB32);
    PaintView(view, image, image.size(), 1);
    for (int x = width - 1; x >= 0; --x) {
        for (int y = 0; y < image.height(); ++y) {
            if (image.pixel(x, y) != kWhite) {
                return x + 1;
            }
        }
    }
    return 0;
}

std::string Letters(int n) {
    std::string s;
    for (int i = 0; i < n; ++i) {
        s += static_cast<char>('A' + i % 26);
    }
    return s;
}

// The scroll width reaches the right edge of the widest drawn row plus the
// origin as a margin, not only the estimate from the settings text.
TEST(ViewLayout, ScrollWidthCoversWidestRow) {
    const std::string digits100(100, '7');
    const struct {
        const char* name;
        std::string list;
        std::function<void(BarcodeSettings&)> change;
        int expectedRight; // 0: take what is painted
    } cases[] = {
        // 60 Code 128 data symbols: 11 * 60 + 35 modules from x = 10.
        {"code 128 list line", Letters(60) + "\n",
         [](BarcodeSettings& s) { s.m_nType = BARCODE_128B; }, 10 + 695},
        // The settings text at line width 4: the pen centred on x starts at x - 2.
        {"wide lines", "",
         [](BarcodeSettings& s) {
             s.m_nType = BARCODE_128B;
             s.m_strText = Letters(60);
             s.m_nBarWidth = 4;
         },
         10 - 2 + 695 * 4},
        // Code 128 C: the digits below are wider than their bars.
        {"text wider than bars", digits100 + "\n",
         [](BarcodeSettings& s) { s.m_nType = BARCODE_128C; }, 0},
        {"TrueType list line", Letters(40) + "\n", [](BarcodeSettings& s) { s.m_bTrueType = true; },
         0},
        {"origin as margin", "",
         [](BarcodeSettings& s) {
             s.m_nType = BARCODE_128B;
             s.m_strText = Letters(20);
             s.m_nOriginX = 300;
             s.m_nBarWidth = 3;
         },
         300 - 1 + 255 * 3},
    };
    for (const auto& c : cases) {
        ViewFixture f(c.list);
        c.change(f.s());
        if (c.list.empty()) {
            ASSERT_TRUE(f.view->EncodeText(f.s().m_strText)) << c.name;
        }
        const int right = PaintedRight(*f.view, 4000);
        ASSERT_LT(right, 4000) << c.name;
        if (c.expectedRight != 0) {
            EXPECT_EQ(right, c.expectedRight) << c.name;
        }
        const QSize total = MeasureView(*f.view);
        EXPECT_GE(total.width(), right + f.s().m_nOriginX) << c.name;
        // Wider than the settings-text estimate for these rows.
        const int estimate =
            static_cast<int>(f.s().m_strText.size()) * (f.s().m_nBarWidth + 40) + f.s().m_nOriginX;
        EXPECT_GT(total.width(), estimate) << c.name;
    }
}

struct Extreme {
    const char* name;
    std::function<void(BarcodeSettings&)> change;
    int width;  // expected scroll width, -1: any
    int height; // expected scroll height, -1: any
};

const Extreme kExtremes[] = {
    {"repeat", [](BarcodeSettings& s) { s.m_nRepeat = INT_MAX; }, 420, INT_MAX},
    {"repeat, TrueType",
     [](BarcodeSettings& s) {
         s.m_nRepeat = INT_MAX;
         s.m_bTrueType = true;
     },
     -1, INT_MAX},
    {"repeat negative", [](BarcodeSettings& s) { s.m_nRepeat = INT_MIN; }, 420, 10},
    {"line width", [](BarcodeSettings& s) { s.m_nBarWidth = INT_MAX; }, INT_MAX, -1},
    {"line width negative", [](BarcodeSettings& s) { s.m_nBarWidth = INT_MIN; }, -1, -1},
    {"bar height", [](BarcodeSettings& s) { s.m_nBarHeight = INT_MAX; }, -1, INT_MAX},
    {"bar height negative", [](BarcodeSettings& s) { s.m_nBarHeight = INT_MIN; }, -1, 0},
    {"origin", [](BarcodeSettings& s) { s.m_nOriginX = s.m_nOriginY = INT_MAX; }, INT_MAX, INT_MAX},
    {"origin negative", [](BarcodeSettings& s) { s.m_nOriginX = s.m_nOriginY = INT_MIN; }, 0, 0},
    {"guard room", [](BarcodeSettings& s) { s.m_nGuardExtra = INT_MAX; }, -1, INT_MAX},
    {"guard room negative", [](BarcodeSettings& s) { s.m_nGuardExtra = INT_MIN; }, -1, 0},
    {"font offset",
     [](BarcodeSettings& s) {
         s.m_bTrueType = true;
         s.m_nFontOffset = INT_MAX;
     },
     -1, -1},
    {"text font height", [](BarcodeSettings& s) { s.m_lfText.lfHeight = INT_MIN; }, -1, -1},
    {"barcode font height",
     [](BarcodeSettings& s) {
         s.m_bTrueType = true;
         s.m_lfBarcode.lfHeight = INT_MAX;
     },
     -1, -1},
    {"everything at once",
     [](BarcodeSettings& s) {
         s.m_nRepeat = INT_MAX;
         s.m_nBarWidth = INT_MAX;
         s.m_nBarHeight = INT_MAX;
         s.m_nGuardExtra = INT_MAX;
         s.m_nOriginX = INT_MAX - 5;
         s.m_nOriginY = INT_MAX - 5;
     },
     INT_MAX, INT_MAX},
    {"EAN-13 with huge height",
     [](BarcodeSettings& s) {
         s.m_nType = BARCODE_EAN13;
         s.m_strText = "400638133393";
         s.m_nBarHeight = INT_MAX;
         s.m_nOriginY = -5;
     },
     -1, INT_MAX - 5},
    {"pitch zero",
     [](BarcodeSettings& s) {
         s.m_nBarHeight = -19;
         s.m_nRepeat = 1000;
     },
     420, 10},
    {"pitch negative",
     [](BarcodeSettings& s) {
         s.m_nBarHeight = -100;
         s.m_nRepeat = 1000;
         s.m_nOriginY = 500;
     },
     420, 0},
};

// Huge or negative settings neither crash nor overflow: scroll sizes saturate.
TEST(ViewLayout, ExtremeSettingsSaturate) {
    for (const Extreme& c : kExtremes) {
        ViewFixture f;
        c.change(f.s());
        f.view->EncodeText(f.s().m_strText);
        const QSize total = MeasureView(*f.view);
        EXPECT_GE(total.width(), 0) << c.name;
        EXPECT_GE(total.height(), 0) << c.name;
        if (c.width >= 0) {
            EXPECT_EQ(total.width(), c.width) << c.name;
        }
        if (c.height >= 0) {
            EXPECT_EQ(total.height(), c.height) << c.name;
        }
        QImage image(300, 200, QImage::Format_RGB32);
        PaintView(*f.view, image, image.size(), 1);
        // The widget paints and scrolls to the far end too.
        f.view->resize(300, 200);
        f.view->ScrollToPosition(QPoint(INT_MAX, INT_MAX));
        const QImage grabbed = f.view->viewport()->grab().toImage();
        EXPECT_FALSE(grabbed.isNull()) << c.name;
    }
}

TEST(ViewLayout, ExtremeTextListSettings) {
    for (const Extreme& c : kExtremes) {
        ViewFixture f(NumberedLines(50, "%04d"));
        c.change(f.s());
        const QSize total = MeasureView(*f.view);
        EXPECT_GE(total.width(), 0) << c.name;
        EXPECT_GE(total.height(), 0) << c.name;
        QImage image(300, 200, QImage::Format_RGB32);
        PaintView(*f.view, image, image.size(), 1);
    }
}

// Paints the device area clip of the view, scrolled to position, with the
// painter clipped as a paint event clips it; or everything when clip is null.
QImage PaintScrolled(CTavikView& view, QSize size, QPoint position, QRect clip) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(kWhite);
    QPainter painter(&image);
    if (!clip.isNull()) {
        painter.setClipRect(clip);
    }
    CDC dc(&painter, {96, 96}, {96, 96});
    if (!clip.isNull()) {
        dc.SetDeviceClip(clip);
    }
    dc.SetViewportOrg(-position.x(), -position.y());
    view.OnDraw(&dc);
    return image;
}

struct Layout {
    const char* name;
    std::function<void(BarcodeSettings&)> change;
};

const Layout kLayouts[] = {
    {"lines mode", [](BarcodeSettings&) {}},
    {"TrueType", [](BarcodeSettings& s) { s.m_bTrueType = true; }},
    {"TrueType text far below",
     [](BarcodeSettings& s) {
         s.m_bTrueType = true;
         s.m_nFontOffset = 150;
     }},
    {"EAN-13 guards",
     [](BarcodeSettings& s) {
         s.m_nType = BARCODE_EAN13;
         s.m_nGuardExtra = 10;
     }},
    {"bars upwards, pitch negative",
     [](BarcodeSettings& s) {
         s.m_nBarHeight = -100;
         s.m_nOriginY = 40000;
     }},
    {"big text font", [](BarcodeSettings& s) { s.m_lfText.lfHeight = -60; }},
    {"tall bars, small pitch", [](BarcodeSettings& s) { s.m_lfText.lfHeight = 40; }},
};

// Painting only the rows that reach into the clip gives the same pixels as
// painting every row.
TEST(ViewVisibleRows, SamePixelsAsFullPaint) {
    const QSize size(400, 300);
    const QRect clips[] = {
        {0, 0, 400, 300}, {0, 150, 400, 1}, {50, 37, 120, 90}, {0, 299, 400, 1}, {0, 0, 400, 1},
    };
    const QPoint positions[] = {{0, 0}, {0, 30000}, {0, 30037}, {25, 68950}, {0, 39900}};
    for (const Layout& layout : kLayouts) {
        ViewFixture f(NumberedLines(1000));
        layout.change(f.s());
        for (const QPoint position : positions) {
            const QImage full = PaintScrolled(*f.view, size, position, QRect());
            for (const QRect& clip : clips) {
                const QImage part = PaintScrolled(*f.view, size, position, clip);
                EXPECT_EQ(part.copy(clip), full.copy(clip))
                    << layout.name << " at " << position.y() << " clip " << clip.y() << "+"
                    << clip.height();
            }
        }
    }
}

// Rows outside the painted area are not encoded: every encoded row reaches
// into the clip (give or take a few units of text overhang), and every row
// whose bars are in the clip is encoded.
TEST(ViewVisibleRows, OnlyVisibleRowsEncoded) {
    ViewFixture f(NumberedLines(1000));
    std::vector<int> encoded;
    SeamHook hook(g_beforeEncode, [&] { encoded.push_back(std::stoi(f.view->m_strScratch)); });
    constexpr int scroll = 30000;
    const QRect clips[] = {{0, 0, 400, 300}, {0, 100, 400, 1}, {0, 20, 400, 40}};
    for (const QRect& clip : clips) {
        encoded.clear();
        PaintScrolled(*f.view, {400, 300}, {0, scroll}, clip);
        const int top = scroll + clip.top();
        const int bottom = scroll + clip.bottom(); // inclusive
        for (int k : encoded) {
            const int rowTop = 10 + 69 * k;
            EXPECT_LE(rowTop - 3, bottom) << "row " << k << " clip " << clip.y();
            EXPECT_GT(rowTop + 69 + 3, top) << "row " << k << " clip " << clip.y();
        }
        for (int k = 0; k < 1000; ++k) {
            const int rowTop = 10 + 69 * k;
            if (rowTop <= bottom && rowTop + 50 > top) {
                EXPECT_NE(std::find(encoded.begin(), encoded.end(), k), encoded.end()) << k;
            }
        }
        EXPECT_LE(encoded.size(), static_cast<std::size_t>(clip.height() / 69 + 2));
    }
    encoded.clear();
    PaintScrolled(*f.view, {400, 300}, {0, scroll}, QRect());
    EXPECT_EQ(encoded.size(), 1000u);
}

// The widget scrolled into a 1,000-line list shows what a full paint shows there.
TEST(ViewVisibleRows, ScrolledWidgetMatchesFullPaint) {
    ViewFixture f(NumberedLines(1000));
    f.view->resize(400, 300);
    f.view->show();
    QTRY_COMPARE(f.view->GetTotalSize().height(), 1000 * 69 + 10);
    ASSERT_EQ(f.view->GetTotalSize().height(), 1000 * 69 + 10);
    f.view->ScrollToPosition(QPoint(0, 34567));
    ASSERT_EQ(f.view->GetScrollPosition(), QPoint(0, 34567));
    const QImage shown = f.view->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage full = PaintScrolled(*f.view, shown.size(), QPoint(0, 34567), QRect());
    EXPECT_EQ(shown, full);
    // Something is shown: bars of row 501 at x = 10.
    EXPECT_EQ(shown.pixel(10, 10 + 501 * 69 - 34567), kBlack);
}

} // namespace

// Rows far down a huge list come out as the first row does, bars and text, at
// every zoom and bar height: the widget paints them relative to the painted area.
TEST(ViewFarDown, LastRowDrawnAsTheFirst) {
    const struct {
        const char* name;
        int lines;
        int zoom;
        int barHeight;
        int into; // units below the row's top shown at the viewport's top
    } cases[] = {
        {"1,000,000 lines at zoom 8", 1000000, 8, 50, 40},
        {"200,000 lines with bars 10000 high", 200000, 1, 10000, 9900},
    };
    for (const auto& c : cases) {
        std::string text;
        for (int i = 0; i < c.lines; ++i) {
            text += "12345\n";
        }
        ViewFixture f(text);
        f.s().m_nBarHeight = c.barHeight;
        f.view->resize(400, 300);
        f.view->SetZoom(c.zoom);
        f.view->RunRowPassNow();
        const std::int64_t pitch = PitchAt96(*f.view);
        auto rowImage = [&](std::int64_t k) {
            const std::int64_t top = 10 + k * pitch + c.into;
            f.view->ScrollToPosition(QPoint(0, SaturateInt(top)));
            EXPECT_EQ(f.view->GetScrollPosition().y(), top) << c.name;
            return f.view->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        };
        const QImage first = rowImage(0);
        int barInk = 0, textInk = 0;
        for (int y = 0; y < first.height(); ++y) {
            const int rowY = c.into + y / c.zoom; // units below the row's top
            for (int x = 0; x < first.width(); ++x) {
                if (first.pixel(x, y) == kBlack) {
                    ++(rowY < c.barHeight ? barInk : textInk);
                }
            }
        }
        EXPECT_GT(barInk, 100) << c.name;
        EXPECT_GT(textInk, c.barHeight < 100 ? 100 : -1) << c.name;
        EXPECT_TRUE(rowImage(c.lines - 2) == first) << c.name; // the last full view
    }
}

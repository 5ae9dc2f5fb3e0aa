#include "TavikDoc.h"
#include "TavikView.h"
#include "ViewRender.h"

#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

// Background that neither bars, spaces nor text on white can produce.
constexpr QRgb kBackground = 0xFF30A030;
constexpr QRgb kBlack = 0xFF000000;
constexpr QRgb kWhite = 0xFFFFFFFF;

struct ViewFixture {
    ViewFixture() {
        doc.OnNewDocument();
        doc.AddView(view.get());
        view->OnInitialUpdate();
    }
    BarcodeSettings& s() { return view->m_settings; }

    CTavikDoc doc;
    std::unique_ptr<CTavikView> view = std::make_unique<CTavikView>();
};

// One row drawn with DrawBarcode at (x, y) on the background colour.
QImage DrawOneRow(CTavikView& view, int x, int y, const std::string& text,
                  QSize size = {300, 120}) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(kBackground);
    QPainter painter(&image);
    {
        const CDC::Resolution screen = view.ScreenResolution();
        CDC dc(&painter, screen, screen);
        view.OnPrepareDC(&dc);
        view.DrawBarcode(&dc, x, y, text);
    }
    return image;
}

// Code 39 "*A*" by the standard's table, one character per module ('1' a bar):
// "*" is n w n n w n w n n, "A" is w n n n n w n n w, wide = 3, a narrow gap after each.
const std::string kStarAStar = "1000101110111010"
                               "1110101000101110"
                               "1000101110111010";

TEST(RowGeometry, Code39LinesMode) {
    for (int lineWidth : {1, 2}) {
        ViewFixture f;
        f.s().m_nBarWidth = lineWidth;
        ASSERT_TRUE(f.view->EncodeText("A"));
        constexpr int x = 20;
        constexpr int y = 10;
        const QImage image = DrawOneRow(*f.view, x, y, "A");
        // The pen is centred: a line at x of width w starts at x - w/2.
        const int left = x - lineWidth / 2;
        const int right = left + static_cast<int>(kStarAStar.size()) * lineWidth;
        for (int col = left - 3; col < right + 3; ++col) {
            const int module = (col - left) / lineWidth;
            const bool inside = col >= left && col < right;
            const QRgb want = !inside ? kBackground : kStarAStar[module] == '1' ? kBlack : kWhite;
            EXPECT_EQ(image.pixel(col, y), want) << "width " << lineWidth << " col " << col;
            EXPECT_EQ(image.pixel(col, y + 49), want) << "width " << lineWidth << " col " << col;
            // Bars and spaces end at y + 50 (exclusive); nothing above y.
            EXPECT_EQ(image.pixel(col, y + 50), kBackground) << col;
            EXPECT_EQ(image.pixel(col, y - 1), kBackground) << col;
        }
        // The text's opaque cell starts at y + 51 (bar height + line width) at x.
        const int textTop = y + 50 + lineWidth;
        EXPECT_EQ(image.pixel(x, textTop - 1), kBackground);
        EXPECT_NE(image.pixel(x, textTop), kBackground);
        EXPECT_NE(image.pixel(x + 3, textTop), kBackground);
        EXPECT_EQ(image.pixel(x - 1, textTop + 2), kBackground);
    }
}

TEST(RowGeometry, Ean13GuardBarsReachFurther) {
    ViewFixture f;
    f.s().m_nType = BARCODE_EAN13;
    f.s().m_nGuardExtra = 10; // as the Settings command sets it at height 50
    ASSERT_TRUE(f.view->EncodeText("400638133393"));
    constexpr int x = 10;
    constexpr int y = 10;
    const QImage image = DrawOneRow(*f.view, x, y, "400638133393");
    // Guard modules: 101 at the start, 01010 in the middle, 101 at the end.
    auto guardBar = [](int m) {
        return m == 0 || m == 2 || m == 46 || m == 48 || m == 92 || m == 94;
    };
    auto guard = [](int m) { return m <= 2 || (m >= 45 && m <= 49) || m >= 92; };
    int normalBars = 0;
    for (int m = 0; m < 95; ++m) {
        const int col = x + m;
        const QRgb top = image.pixel(col, y);
        if (guard(m)) {
            EXPECT_EQ(top, guardBar(m) ? kBlack : kWhite) << m;
            // Guard modules, bars and spaces alike, reach y + 60 (exclusive).
            EXPECT_EQ(image.pixel(col, y + 59), top) << m;
            EXPECT_EQ(image.pixel(col, y + 60), kBackground) << m;
        } else {
            normalBars += top == kBlack ? 1 : 0;
            EXPECT_EQ(image.pixel(col, y + 49), top) << m;
            EXPECT_EQ(image.pixel(col, y + 50), kBackground) << m;
        }
    }
    EXPECT_GT(normalBars, 20);
    EXPECT_EQ(image.pixel(x + 95, y), kBackground);
    // Text below the guard room: y + 10 + 1 + 50.
    EXPECT_EQ(image.pixel(x + 1, y + 60), kBackground);
    EXPECT_NE(image.pixel(x + 1, y + 61), kBackground);
}

// With a negative y the long bottom is the truncated sum: height 7, y -100 gives -91.
TEST(RowGeometry, Ean13LongBottomTruncatesTheSum) {
    ViewFixture f;
    f.s().m_nType = BARCODE_EAN13;
    f.s().m_nBarHeight = 7;
    f.s().m_bShowText = false;
    ASSERT_TRUE(f.view->EncodeText("400638133393"));
    QImage image(200, 120, QImage::Format_RGB32);
    image.fill(kBackground);
    QPainter painter(&image);
    {
        CDC dc(&painter, {96, 96}, {96, 96});
        dc.SetViewportOrg(0, 110); // logical y -100 is device row 10
        f.view->DrawBarcode(&dc, 10, -100, "400638133393");
    }
    painter.end();
    EXPECT_EQ(image.pixel(10, 10 + 8), kBlack);      // guard bar, row -92
    EXPECT_EQ(image.pixel(10, 10 + 9), kBackground); // row -91 excluded
}

TEST(RowGeometry, TrueTypeModeWritesTextAtTheRowTop) {
    ViewFixture f;
    f.s().m_bTrueType = true;
    f.s().m_nFontOffset = 70; // apart from the barcode text, so each cell shows
    f.s().m_nGuardExtra = 10;
    f.view->m_code39.Clear(); // TrueType mode does not use the element buffer
    constexpr int x = 20;
    constexpr int y = 10;
    const QImage image = DrawOneRow(*f.view, x, y, "*AB*", {400, 140});
    // Barcode text cell from (x, y) in the barcode colour.
    EXPECT_EQ(image.pixel(x, y - 1), kBackground);
    EXPECT_NE(image.pixel(x, y), kBackground);
    EXPECT_NE(image.pixel(x + 5, y), kBackground);
    EXPECT_EQ(image.pixel(x - 1, y + 5), kBackground);
    int dark = 0;
    for (int col = x; col < x + 100; ++col) {
        dark += qGray(image.pixel(col, y + 15)) < 80 ? 1 : 0;
    }
    EXPECT_GT(dark, 10); // the bars of the barcode font
    // The text below starts at y + font offset + guard extra.
    EXPECT_EQ(image.pixel(x, y + 79), kBackground);
    EXPECT_NE(image.pixel(x, y + 80), kBackground);
}

TEST(RowGeometry, EmptyTextDrawsNothing) {
    for (bool trueType : {false, true}) {
        ViewFixture f;
        f.s().m_bTrueType = trueType;
        ASSERT_GT(f.view->m_code39.length, 0);
        const QImage image = DrawOneRow(*f.view, 10, 10, "");
        QImage blank(image.size(), image.format());
        blank.fill(kBackground);
        EXPECT_EQ(image, blank) << "TrueType " << trueType;
    }
}

TEST(RowGeometry, ShowTextOff) {
    ViewFixture f;
    f.s().m_bShowText = false;
    const QImage image = DrawOneRow(*f.view, 10, 10, "0123456789");
    for (int col = 0; col < image.width(); ++col) {
        EXPECT_EQ(image.pixel(col, 60), kBackground) << col;
        EXPECT_EQ(image.pixel(col, 70), kBackground) << col;
    }
    EXPECT_EQ(image.pixel(10, 10), kBlack);
}

// The surface gets back the font it had on entry.
TEST(RowGeometry, EntryFontRestored) {
    for (bool trueType : {false, true}) {
        ViewFixture f;
        f.s().m_bTrueType = trueType;
        CFont entry;
        LOGFONT lf{};
        lf.lfHeight = -8;
        entry.CreateFontIndirect(&lf);
        CDC dc(nullptr, {96, 96}, {96, 96});
        dc.SelectObject(&entry);
        f.view->DrawBarcode(&dc, 10, 10, "ABC");
        EXPECT_EQ(dc.SelectObject(nullptr), &entry);
    }
}

// The first row of a whole-view render sits at the origin.
TEST(RowGeometry, RenderedViewStartsAtTheOrigin) {
    ViewFixture f;
    f.s().m_nOriginX = 15;
    f.s().m_nOriginY = 25;
    const QImage image = RenderViewImage(*f.view, 1);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.pixel(15, 25), kBlack);
    EXPECT_EQ(image.pixel(15, 74), kBlack);
    EXPECT_EQ(image.pixel(15, 75), kWhite);
    EXPECT_EQ(image.pixel(14, 25), kWhite);
    EXPECT_EQ(image.pixel(15, 24), kWhite);

    // At scale 2 every unit is two pixels.
    const QImage doubled = RenderViewImage(*f.view, 2);
    ASSERT_EQ(doubled.size(), image.size() * 2);
    EXPECT_EQ(doubled.pixel(30, 50), kBlack);
    EXPECT_EQ(doubled.pixel(31, 149), kBlack);
    EXPECT_EQ(doubled.pixel(30, 150), kWhite);
    EXPECT_EQ(doubled.pixel(29, 50), kWhite);
}

QString Decode(const QString& png) {
    const QString zbarimg = QStandardPaths::findExecutable(QStringLiteral("zbarimg"));
    if (zbarimg.isEmpty()) {
        ADD_FAILURE() << "zbarimg is not installed (Debian zbar-tools)";
        return {};
    }
    QProcess p;
    p.start(zbarimg, {QStringLiteral("-q"), QStringLiteral("--raw"), png});
    EXPECT_TRUE(p.waitForFinished(30000));
    return QString::fromLatin1(p.readAllStandardOutput()).trimmed();
}

// The bundled Code 39 font stands in for "Free 3 of 9": its bars decode.
TEST(RowGeometry, TrueTypeModeDrawsReadableCode39) {
    ViewFixture f;
    f.s().m_bTrueType = true;
    f.s().m_strText = "*ABC*";
    f.s().m_nOriginX = 30;
    const QImage image = RenderViewImage(*f.view, 2);
    ASSERT_FALSE(image.isNull());
    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("truetype.png"));
    ASSERT_TRUE(image.save(png));
    EXPECT_EQ(Decode(png), QStringLiteral("ABC"));
}

} // namespace

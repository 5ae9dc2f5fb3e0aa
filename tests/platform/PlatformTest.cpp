#include "BarcodeBase.h"
#include "DC.h"
#include "Document.h"
#include "MulDiv.h"
#include "ScrollView.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <QTemporaryFile>
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace {

// Background no text colour blended on white can produce.
constexpr QRgb kBackground = 0xFF30A030;
constexpr QRgb kBlack = 0xFF000000;
constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr CDC::Resolution k96{96, 96};

// Draws on the background colour through a device context; the context is gone (and has
// flushed what it merged) before the image is returned.
QImage Draw(QSize size, const std::function<void(CDC&)>& paint) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(kBackground);
    QPainter painter(&image);
    {
        CDC dc(&painter, k96, k96);
        paint(dc);
    }
    painter.end();
    return image;
}

// Bounding box of the pixels that differ from the background.
QRect Touched(const QImage& image) {
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) != kBackground) {
                box |= QRect(x, y, 1, 1);
            }
        }
    }
    return box;
}

// Bounding box of the ink: pixels clearly darker than the white behind text.
QRect Ink(const QImage& image) {
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (p != kBackground && 765 - qRed(p) - qGreen(p) - qBlue(p) > 150) {
                box |= QRect(x, y, 1, 1);
            }
        }
    }
    return box;
}

void VerticalLine(CDC& dc, int width, COLORREF colour, int x, int y0, int y1) {
    const CDrawSurface::Pen pen = dc.CreateSolidPen(width, colour);
    const CDrawSurface::Pen old = dc.SelectPen(pen);
    dc.MoveTo(x, y0);
    dc.LineTo(x, y1);
    dc.SelectPen(old);
    dc.DeletePen(pen);
}

TEST(MulDiv, RoundsAndGuards) {
    const struct {
        int a, b, c, expected;
    } cases[] = {
        {6, 4, 3, 8},
        {1, 1, 2, 1},   // 0.5 rounds away from zero
        {3, 1, 2, 2},   // 1.5
        {-1, 1, 2, -1}, // -0.5
        {-3, 1, 2, -2}, // -1.5
        {1, -3, 2, -2}, // negative multiplier
        {3, 1, -2, -2}, // negative divisor
        {-3, 1, -2, 2}, // both negative
        {4, 1, 3, 1},   // 1.33 rounds down
        {5, 1, 3, 2},   // 1.67 rounds up
        {-4, 1, 3, -1},
        {-5, 1, 3, -2},
        {-14, 96, 72, -19}, // text height at 96 dpi
        {-29, 96, 72, -39}, // barcode font height at 96 dpi
        {-14, 600, 72, -117},
        {0, 5, 7, 0},
        {7, 0, 3, 0},
        {1, 1, 0, -1}, // zero divisor
        {0, 0, 0, -1},
        {-5, 3, 0, -1},
        {INT_MAX, INT_MAX, INT_MAX, INT_MAX}, // needs the 64-bit product
        {100000, 300000, 600000, 50000},
        {INT_MIN, INT_MIN, INT_MIN, INT_MIN},
        {INT_MIN, 1, 1, INT_MIN},
        {INT_MAX, 2, 1, -1}, // result outside 32 bits
        {INT_MIN, -1, 1, -1},
        {INT_MIN, 1, -1, -1},
        {INT_MAX, INT_MAX, 1, -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MulDiv(c.a, c.b, c.c), c.expected) << c.a << " * " << c.b << " / " << c.c;
    }
}

// A line of pen width w at x covers columns x - w/2 .. x - w/2 + w - 1 and
// rows from its start up to, not including, its end; in both directions.
TEST(CDCLines, PenCentredAndEndExcluded) {
    const struct {
        int width, y0, y1, firstRow, lastRow;
    } cases[] = {
        {1, 10, 20, 10, 19},  {2, 10, 20, 10, 19}, {3, 10, 20, 10, 19},
        {4, 10, 20, 10, 19},  {5, 5, 6, 5, 5},     {1, 20, 10, 11, 20},
        {2, 20, 10, 11, 20},  {3, 20, 10, 11, 20}, {0, 10, 20, 10, 19}, // width 0 draws one unit
        {-3, 10, 20, 10, 19},
    };
    constexpr int x = 20;
    for (const auto& c : cases) {
        const QImage image =
            Draw(QSize(40, 30), [&](CDC& dc) { VerticalLine(dc, c.width, 0, x, c.y0, c.y1); });
        const int w = c.width > 0 ? c.width : 1;
        const QRect expected(QPoint(x - w / 2, c.firstRow), QPoint(x - w / 2 + w - 1, c.lastRow));
        EXPECT_EQ(Touched(image), expected)
            << "width " << c.width << " from " << c.y0 << " to " << c.y1;
        EXPECT_EQ(image.pixel(expected.topLeft()), kBlack);
    }
}

TEST(CDCLines, ZeroLengthLineDrawsNothing) {
    const QImage image = Draw(QSize(20, 20), [](CDC& dc) { VerticalLine(dc, 3, 0, 10, 5, 5); });
    EXPECT_TRUE(Touched(image).isNull());
}

// Element pattern painted line by line; flushing after every line keeps runs
// of equal lines from being merged into one rectangle.
QImage DrawPattern(const std::vector<std::uint8_t>& bytes, int lineWidth, bool merge) {
    CBarcodeBase buffer;
    buffer.wideRatio = 3;
    std::copy(bytes.begin(), bytes.end(), buffer.elements);
    buffer.length = static_cast<int>(bytes.size());

    struct Unmerged : CDrawSurface {
        explicit Unmerged(CDC& dc) : dc(dc) {}
        Pen CreateSolidPen(int w, COLORREF c) override { return dc.CreateSolidPen(w, c); }
        Pen SelectPen(Pen p) override { return dc.SelectPen(p); }
        void MoveTo(int x, int y) override { dc.MoveTo(x, y); }
        void LineTo(int x, int y) override {
            dc.LineTo(x, y);
            dc.Flush();
        }
        void DeletePen(Pen p) override { dc.DeletePen(p); }
        CDC& dc;
    };
    return Draw(QSize(200, 40), [&](CDC& dc) {
        Unmerged unmerged(dc);
        CDrawSurface& surface = merge ? static_cast<CDrawSurface&>(dc) : unmerged;
        buffer.DrawLinesLong(surface, 20, 5, 25, 32, RGB(0, 0, 0), RGB(255, 255, 255), lineWidth);
    });
}

TEST(CDCLines, MergedRunsPaintLikeSeparateLines) {
    const std::vector<std::vector<std::uint8_t>> patterns = {
        {1, 1, 1, 0, 0, 1, 0, 1, 1, 0},          // module style
        {3, 0, 1, 2, 1, 0, 3, 2, 3},             // narrow/wide style
        {5, 4, 5, 1, 1, 0, 1, 0, 4, 5, 4, 5, 0}, // long guards among normal bars
        {0, 0, 0, 0},                            // spaces only
    };
    for (const auto& pattern : patterns) {
        for (int width : {1, 2, 3, 4}) {
            const QImage merged = DrawPattern(pattern, width, true);
            const QImage separate = DrawPattern(pattern, width, false);
            EXPECT_EQ(merged, separate)
                << "line width " << width << ", pattern of " << pattern.size();
            EXPECT_FALSE(Touched(merged).isNull());
        }
    }
}

// The merged drawing of a pattern also matches the geometry column by column.
TEST(CDCLines, MergedPatternColumns) {
    // wide bar, narrow space, guard bar, guard space, narrow bar
    const QImage image = DrawPattern({3, 0, 5, 4, 1}, 2, true);
    const struct {
        int first, last;
        QRgb colour;
        int bottom; // exclusive
    } spans[] = {
        {19, 24, kBlack, 25}, {25, 26, kWhite, 25}, {27, 28, kBlack, 32},
        {29, 30, kWhite, 32}, {31, 32, kBlack, 25},
    };
    for (const auto& s : spans) {
        for (int x = s.first; x <= s.last; ++x) {
            EXPECT_EQ(image.pixel(x, 5), s.colour) << x;
            EXPECT_EQ(image.pixel(x, s.bottom - 1), s.colour) << x;
            EXPECT_EQ(image.pixel(x, s.bottom), kBackground) << x;
            EXPECT_EQ(image.pixel(x, 4), kBackground) << x;
        }
    }
    EXPECT_EQ(Touched(image), QRect(QPoint(19, 5), QPoint(32, 31)));
}

LOGFONT Font(int height, const char* face = "Arial") {
    LOGFONT lf{};
    lf.lfHeight = height;
    std::snprintf(lf.lfFaceName, LF_FACESIZE, "%s", face);
    return lf;
}

TEST(CDCText, TopLeftOnOpaqueWhite) {
    CFont font;
    const LOGFONT lf = Font(-14);
    font.CreateFontIndirect(&lf);
    const std::string text = "HEH";
    for (const QPoint at : {QPoint(10, 10), QPoint(23, 17)}) {
        QSize extent;
        const QImage image = Draw(QSize(120, 60), [&](CDC& dc) {
            dc.SelectObject(&font);
            extent = dc.GetTextExtent(text);
            dc.TextOut(at.x(), at.y(), text);
        });
        ASSERT_GT(extent.width(), 20);
        ASSERT_GE(extent.height(), 14);
        // The cell is painted (white or ink) and nothing outside it.
        const QRect cell(at, extent);
        const QRect touched = Touched(image);
        EXPECT_TRUE(cell.adjusted(-1, -1, 1, 1).contains(touched)) << at.x() << "," << at.y();
        EXPECT_TRUE(touched.contains(cell.adjusted(1, 1, -1, -1)));
        EXPECT_EQ(image.pixel(at), kWhite);
        // Capital letters: ink from the cap height down to the baseline.
        const QFontMetricsF fm(CDC::MakeFont(lf, 96));
        const QRect ink = Ink(image);
        EXPECT_NEAR(ink.bottom() + 1, at.y() + fm.ascent(), 1.0);
        EXPECT_NEAR(ink.top(), at.y() + fm.ascent() - fm.capHeight(), 1.5);
        EXPECT_NEAR(ink.left(), at.x() + 1, 1.5);
    }
}

TEST(CDCText, ColourAndSelectionReturnPrevious) {
    CFont small;
    CFont large;
    const LOGFONT lfSmall = Font(-10);
    const LOGFONT lfLarge = Font(-30);
    small.CreateFontIndirect(&lfSmall);
    large.CreateFontIndirect(&lfLarge);
    QRect smallInk;
    QRect largeInk;
    const QImage image = Draw(QSize(200, 100), [&](CDC& dc) {
        EXPECT_EQ(dc.SelectObject(&small), nullptr);
        EXPECT_EQ(dc.SetTextColor(RGB(255, 0, 0)), RGB(0, 0, 0)); // black by default
        dc.TextOut(10, 10, "M");
        EXPECT_EQ(dc.SelectObject(&large), &small);
        EXPECT_EQ(dc.SetTextColor(RGB(0, 0, 255)), RGB(255, 0, 0));
        dc.TextOut(100, 10, "M");
        EXPECT_EQ(dc.SelectObject(nullptr), &large);
    });
    smallInk = Ink(image.copy(0, 0, 100, 100));
    largeInk = Ink(image.copy(100, 0, 100, 100));
    // Each TextOut used the font selected at the time (30 against 10 pixels).
    EXPECT_GT(largeInk.height(), 2 * smallInk.height());
    EXPECT_LT(largeInk.height(), 4 * smallInk.height());
    // The ink keeps the chosen colours.
    bool sawRed = false;
    bool sawBlue = false;
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 200; ++x) {
            const QRgb p = image.pixel(x, y);
            sawRed |= qRed(p) > 200 && qGreen(p) < 50 && qBlue(p) < 50 && x < 100;
            sawBlue |= qBlue(p) > 200 && qRed(p) < 50 && qGreen(p) < 50 && x >= 100;
        }
    }
    EXPECT_TRUE(sawRed);
    EXPECT_TRUE(sawBlue);
}

TEST(CDCFonts, FromLogfont) {
    LOGFONT lf = Font(-14);
    QFont f = CDC::MakeFont(lf, 96);
    EXPECT_EQ(f.pixelSize(), 14);
    EXPECT_EQ(f.family(), QStringLiteral("Arial"));
    EXPECT_FALSE(f.bold());
    EXPECT_FALSE(f.italic());
    // Arial resolves to a metric-compatible face.
    EXPECT_TRUE(QFontInfo(f).family().contains(QStringLiteral("Liberation Sans")) ||
                QFontInfo(f).family() == QStringLiteral("Arial"))
        << QFontInfo(f).family().toStdString();

    lf.lfWeight = FW_BOLD;
    lf.lfItalic = 1;
    lf.lfUnderline = 1;
    lf.lfStrikeOut = 1;
    f = CDC::MakeFont(lf, 96);
    EXPECT_TRUE(f.bold());
    EXPECT_TRUE(f.italic());
    EXPECT_TRUE(f.underline());
    EXPECT_TRUE(f.strikeOut());

    // Height 0 is the default of 12 points.
    EXPECT_EQ(CDC::MakeFont(Font(0), 96).pixelSize(), 16);
    EXPECT_EQ(CDC::MakeFont(Font(0), 192).pixelSize(), 32);

    // A positive height is the cell height.
    const QFontMetricsF cell(CDC::MakeFont(Font(40), 96));
    EXPECT_NEAR(cell.ascent() + cell.descent(), 40.0, 1.5);

    // Absurd heights still make a usable font.
    EXPECT_GE(CDC::MakeFont(Font(INT_MIN), 96).pixelSize(), 1);
    EXPECT_GE(CDC::MakeFont(Font(INT_MAX), 96).pixelSize(), 1);
}

// MM_ANISOTROPIC with window extent 96 and viewport extent 192 doubles lines,
// text and positions.
TEST(CDCMapping, AnisotropicDoubles) {
    auto map = [](CDC& dc) {
        dc.SetMapMode(MM_ANISOTROPIC);
        dc.SetWindowExt(96, 96);
        dc.SetViewportExt(192, 192);
        dc.SetWindowOrg(0, 0);
        dc.SetViewportOrg(0, 0);
    };
    const QImage line = Draw(QSize(80, 80), [&](CDC& dc) {
        map(dc);
        VerticalLine(dc, 2, 0, 10, 5, 15);
    });
    EXPECT_EQ(Touched(line), QRect(QPoint(18, 10), QPoint(21, 29)));

    CFont font;
    const LOGFONT lf = Font(-14);
    font.CreateFontIndirect(&lf);
    auto text = [&](bool scaled) {
        return Draw(QSize(200, 100), [&](CDC& dc) {
            if (scaled) {
                map(dc);
            }
            dc.SelectObject(&font);
            dc.TextOut(5, 5, "HI");
        });
    };
    const QRect plain = Ink(text(false));
    const QRect doubled = Ink(text(true));
    EXPECT_NEAR(doubled.height(), 2 * plain.height(), 2);
    EXPECT_NEAR(doubled.width(), 2 * plain.width(), 3);
    EXPECT_NEAR(doubled.top(), 2 * plain.top(), 3);

    CDC dc(nullptr, k96, k96);
    map(dc);
    EXPECT_EQ(dc.LogicalToDevice().map(QPoint(7, 11)), QPoint(14, 22));
}

TEST(CDCMapping, ClipBoxInLogicalUnits) {
    const struct {
        QPoint viewportOrg;
        bool doubled;
        QRect device;
        QRect logical;
    } cases[] = {
        {{0, 0}, false, {0, 0, 800, 600}, {0, 0, 800, 600}},
        {{-100, -250}, false, {0, 0, 800, 600}, {100, 250, 800, 600}},
        {{-100, -250}, false, {40, 60, 100, 50}, {140, 310, 100, 50}},
        {{30, 20}, false, {0, 0, 800, 600}, {-30, -20, 800, 600}},
        {{0, 0}, true, {0, 0, 800, 600}, {0, 0, 400, 300}},
        {{0, 0}, true, {0, 0, 801, 601}, {0, 0, 401, 301}},
    };
    for (const auto& c : cases) {
        CDC dc(nullptr, k96, k96);
        dc.SetDeviceClip(c.device);
        if (c.doubled) {
            dc.SetMapMode(MM_ANISOTROPIC);
            dc.SetWindowExt(96, 96);
            dc.SetViewportExt(192, 192);
        }
        dc.SetViewportOrg(c.viewportOrg.x(), c.viewportOrg.y());
        EXPECT_EQ(dc.GetClipBox(), c.logical)
            << c.viewportOrg.x() << "," << c.viewportOrg.y() << " doubled " << c.doubled;
    }
}

TEST(CDCCaps, ResolutionsAndPrinting) {
    CDC screen(nullptr, {96, 96}, {96, 96});
    EXPECT_FALSE(screen.IsPrinting());
    EXPECT_EQ(screen.GetDeviceCaps(LOGPIXELSY), 96);
    CDC preview(nullptr, {96, 97}, {600, 601}, true);
    EXPECT_TRUE(preview.IsPrinting());
    EXPECT_EQ(preview.GetDeviceCaps(LOGPIXELSX), 96);
    EXPECT_EQ(preview.GetDeviceCaps(LOGPIXELSY), 97);
    EXPECT_EQ(preview.GetAttribDeviceCaps(LOGPIXELSX), 600);
    EXPECT_EQ(preview.GetAttribDeviceCaps(LOGPIXELSY), 601);
    EXPECT_EQ(preview.GetMapMode(), MM_TEXT);
}

class BlankView : public CScrollView {
public:
    void OnDraw(CDC*) override {}
};

// Page steps follow the scroll sizes; by default a line is a tenth of the
// visible size and a page the visible size less one line, not fractions of the
// whole (which step thousands of rows in a long list). They stop at the ends.
TEST(CScrollViewSteps, PageAndLineFromTheScrollSizes) {
    const struct {
        QSize page;
        QSize line;
        int pageStep;
        int lineStep;
    } cases[] = {
        {CScrollView::sizeDefault, CScrollView::sizeDefault, 0, 0}, // from the visible size
        {{0, 300}, {0, 7}, 300, 7},
    };
    for (const auto& c : cases) {
        BlankView view;
        view.resize(200, 200);
        view.SetScrollSizes(MM_TEXT, {1000, 5000}, c.page, c.line);
        const int visible = view.viewport()->height();
        const int lineStep = c.lineStep != 0 ? c.lineStep : visible / 10;
        const int pageStep = c.pageStep != 0 ? c.pageStep : visible - lineStep;
        ASSERT_GT(pageStep, lineStep);
        QScrollBar* bar = view.verticalScrollBar();
        bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
        EXPECT_EQ(bar->value(), pageStep);
        bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        EXPECT_EQ(bar->value(), pageStep + lineStep);
        bar->triggerAction(QAbstractSlider::SliderPageStepSub);
        EXPECT_EQ(bar->value(), lineStep);
        bar->triggerAction(QAbstractSlider::SliderPageStepSub);
        EXPECT_EQ(bar->value(), 0);
        bar->triggerAction(QAbstractSlider::SliderToMaximum);
        bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
        EXPECT_EQ(bar->value(), bar->maximum());
        EXPECT_EQ(view.GetScrollPosition().y(), bar->maximum());
    }
}

// Whole-file reads stop at the limit, also on devices without an end, and
// report why they failed.
TEST(ReadToEnd, LimitsAndErrors) {
    QTemporaryFile file;
    ASSERT_TRUE(file.open());
    file.write("0123456789");
    file.flush();
    const struct {
        const char* path;
        std::size_t limit;
        int error; // 0: read whole
    } cases[] = {
        {nullptr, 10, 0},
        {nullptr, 9, EFBIG},
        {"/dev/zero", 1 << 20, EFBIG},
        {"/", kMaxFileBytes, EISDIR},
    };
    for (const auto& c : cases) {
        const QByteArray path = c.path ? QByteArray(c.path) : QFile::encodeName(file.fileName());
        const int fd = ::open(path.constData(), O_RDONLY);
        ASSERT_GE(fd, 0) << path.constData();
        std::string bytes = "old";
        errno = 0;
        const bool read = ReadToEnd(fd, bytes, c.limit);
        const int error = errno;
        ::close(fd);
        EXPECT_EQ(read, c.error == 0) << path.constData();
        EXPECT_EQ(bytes, c.error == 0 ? "0123456789" : "") << path.constData();
        if (c.error != 0) {
            EXPECT_EQ(error, c.error) << path.constData();
        }
    }
}

} // namespace

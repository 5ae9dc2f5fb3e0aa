#include "MessageBox.h"
#include "TavikDoc.h"
#include "TavikView.h"

#include "support/MessageLog.h"
#include "support/SeamHook.h"
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

std::unique_ptr<CTavikView> OpenView(CTavikDoc& doc) {
    auto view = std::make_unique<CTavikView>();
    doc.AddView(view.get());
    view->OnInitialUpdate();
    return view;
}

std::array<CBarcodeBase*, 5> Encoders(CTavikView& v) {
    return {&v.m_code39, &v.m_code93, &v.m_code128, &v.m_ean13, &v.m_i2of5};
}

bool IsCleared(const CBarcodeBase& e) {
    return e.length == 0 &&
           std::all_of(std::begin(e.elements), std::end(e.elements), [](auto b) { return b == 0; });
}

bool SameFont(const LOGFONT& a, const LOGFONT& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

TEST(ViewState, ConstructedValues) {
    CTavikView view;
    const BarcodeSettings& s = view.m_settings;
    EXPECT_TRUE(s.m_bShowText);
    EXPECT_FALSE(s.m_bTrueType);
    EXPECT_EQ(s.m_nBarHeight, 50);
    EXPECT_EQ(s.m_nBarWidth, 1);
    EXPECT_EQ(s.m_nType, BARCODE_39);
    EXPECT_EQ(s.m_nGuardExtra, 0);
    EXPECT_EQ(s.m_nFontOffset, 29);
    EXPECT_EQ(s.m_nRepeat, 1);
    EXPECT_EQ(s.m_strText, "0123456789");
    EXPECT_EQ(s.m_nOriginX, 10);
    EXPECT_EQ(s.m_nOriginY, 10);
    EXPECT_EQ(s.m_pLines, nullptr);
    EXPECT_EQ(s.m_crBar, RGB(0, 0, 0));
    EXPECT_EQ(s.m_crSpace, RGB(255, 255, 255));
    EXPECT_EQ(s.m_crText, RGB(0, 0, 0));
    EXPECT_EQ(s.m_crBarcodeFont, RGB(0, 0, 0));

    EXPECT_FALSE(view.m_bMovingOrigin);
    EXPECT_FALSE(view.m_bResizingHeight);
    EXPECT_TRUE(view.m_strScratch.empty());
    EXPECT_FALSE(view.m_fontText.HasFont());
    EXPECT_FALSE(view.m_fontBarcode.HasFont());
    EXPECT_EQ(view.m_pPrintInfo, nullptr);

    for (CBarcodeBase* e : Encoders(view)) {
        EXPECT_EQ(e->wideRatio, 3);
    }
    // Code 39 holds the default text: 10 elements per character with "*" twice.
    CBarcode39 expected;
    expected.Clear();
    ASSERT_TRUE(expected.Encode("0123456789"));
    EXPECT_EQ(view.m_code39.length, 120);
    EXPECT_TRUE(std::equal(std::begin(expected.elements), std::end(expected.elements),
                           std::begin(view.m_code39.elements)));
    EXPECT_TRUE(IsCleared(view.m_code93));
    EXPECT_TRUE(IsCleared(view.m_code128));
    EXPECT_TRUE(IsCleared(view.m_ean13));
    EXPECT_TRUE(IsCleared(view.m_i2of5));
}

TEST(ViewState, FontsMadeAtInitialUpdate) {
    CTavikDoc doc;
    doc.OnNewDocument();
    const auto view = OpenView(doc);
    const BarcodeSettings& s = view->m_settings;

    LOGFONT text{};
    text.lfHeight = -14;
    std::strcpy(text.lfFaceName, "Arial");
    LOGFONT barcode{};
    barcode.lfHeight = -29;
    std::strcpy(barcode.lfFaceName, "Free 3 of 9");
    EXPECT_TRUE(SameFont(s.m_lfText, text));
    EXPECT_TRUE(SameFont(s.m_lfBarcode, barcode));

    ASSERT_TRUE(view->m_fontText.HasFont());
    ASSERT_TRUE(view->m_fontBarcode.HasFont());
    EXPECT_TRUE(SameFont(view->m_fontText.Description(), text));
    EXPECT_TRUE(SameFont(view->m_fontBarcode.Description(), barcode));
    EXPECT_EQ(s.m_nFontOffset, 29); // what the Settings command gives at 96 dpi
}

class ViewTitle : public testing::Test {
protected:
    QString Write(const QString& name, const std::string& bytes) {
        const QString path = dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes.data(), static_cast<qint64>(bytes.size()));
        return path;
    }
    QTemporaryDir dir;
};

TEST_F(ViewTitle, NewDocumentTakesTheText) {
    CTavikDoc doc;
    doc.OnNewDocument();
    const auto view = OpenView(doc);
    EXPECT_EQ(doc.GetTitle(), QStringLiteral("0123456789"));
    EXPECT_EQ(view->m_settings.m_pLines, nullptr);
}

TEST_F(ViewTitle, FileWithLinesKeepsItsTitle) {
    CTavikDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(Write("codes.txt", "A\nB\nC\n")));
    const auto first = OpenView(doc);
    const auto second = OpenView(doc);
    EXPECT_EQ(doc.GetTitle(), QStringLiteral("codes.txt"));
    EXPECT_EQ(first->m_settings.m_pLines, &doc.m_lines);
    EXPECT_EQ(second->m_settings.m_pLines, &doc.m_lines);
}

TEST_F(ViewTitle, EmptyFileBehavesLikeNew) {
    CTavikDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(Write("empty.txt", "")));
    EXPECT_EQ(doc.GetTitle(), QStringLiteral("empty.txt"));
    const auto view = OpenView(doc);
    EXPECT_EQ(doc.GetTitle(), QStringLiteral("0123456789"));
    EXPECT_EQ(view->m_settings.m_pLines, nullptr);
}

TEST_F(ViewTitle, SecondViewSetsItsOwnText) {
    CTavikDoc doc;
    doc.OnNewDocument();
    const auto first = OpenView(doc);
    first->m_settings.m_strText = "FIRST";
    doc.SetTitle(QStringLiteral("FIRST ( x3 )"));
    const auto second = OpenView(doc);
    EXPECT_EQ(doc.GetTitle(), QStringLiteral("0123456789"));
    // The second view starts from the initial settings, not the first view's.
    EXPECT_EQ(second->m_settings.m_strText, "0123456789");
    EXPECT_EQ(doc.GetViews().size(), 2u);
}

// Fills every encoder with a recognisable pattern so a touch shows.
void Poison(CTavikView& view) {
    for (CBarcodeBase* e : Encoders(view)) {
        std::fill(std::begin(e->elements), std::end(e->elements), std::uint8_t{0xA5});
        e->length = 77;
    }
}

bool IsPoisoned(const CBarcodeBase& e) {
    return e.length == 77 && std::all_of(std::begin(e.elements), std::end(e.elements),
                                         [](auto b) { return b == 0xA5; });
}

// Index into Encoders() for a symbology.
int EncoderIndex(int type) {
    constexpr int index[] = {0, 1, 2, 2, 2, 3, 4};
    return index[type];
}

struct DispatchCase {
    int type;
    std::string accepted;
    int length; // element count of the accepted text
    std::string refused;
    const char* name;
};

const DispatchCase kDispatch[] = {
    {BARCODE_39, "ABC", 50, "A#C", "Barcode_39"},
    {BARCODE_93, "ABC", 64, "A\xE9", "Barcode_93"},
    {BARCODE_128A, "ABC", 68, "abc", "Barcode_128A"},
    {BARCODE_128B, "abc", 68, "a\xB0", "Barcode_128B"},
    {BARCODE_128C, "1234", 57, "-5", "Barcode_128C"},
    {BARCODE_EAN13, "400638133393", 95, "40063813339X", "Barcode_Ean13"},
    {BARCODE_I2OF5, "1234", 27, "123", "Barcode_I2of5"},
};

TEST(ViewDispatch, EachTypeUsesItsEncoderOnly) {
    MessageLog log;
    CTavikView view;
    for (const DispatchCase& c : kDispatch) {
        view.m_settings.m_nType = c.type;
        const auto encoders = Encoders(view);
        CBarcodeBase& chosen = *encoders[static_cast<std::size_t>(EncoderIndex(c.type))];

        Poison(view);
        EXPECT_TRUE(view.EncodeText(c.accepted)) << c.name;
        EXPECT_EQ(chosen.length, c.length) << c.name;
        // Nothing is left of the poison past the symbol: the buffer was cleared.
        EXPECT_TRUE(std::all_of(chosen.elements + c.length, std::end(chosen.elements), [](auto b) {
            return b == 0;
        })) << c.name;
        for (CBarcodeBase* other : encoders) {
            if (other != &chosen) {
                EXPECT_TRUE(IsPoisoned(*other)) << c.name;
            }
        }

        // An accepted text followed by a NUL byte is refused all the same: the
        // encoder would see only the part before it.
        for (const std::string& refused : {c.refused, c.accepted + std::string(1, '\0') + "1"}) {
            Poison(view);
            EXPECT_FALSE(view.EncodeText(refused)) << c.name;
            EXPECT_EQ(chosen.length, 0) << c.name;
            for (CBarcodeBase* other : encoders) {
                if (other != &chosen) {
                    EXPECT_TRUE(IsPoisoned(*other)) << c.name;
                }
            }
        }
    }
    EXPECT_TRUE(log.texts.empty()); // refusals are silent
}

// The Code 128 subset follows the type: the start symbol differs.
TEST(ViewDispatch, Code128SubsetFromType) {
    CTavikView view;
    std::vector<std::vector<std::uint8_t>> starts;
    for (int type : {BARCODE_128A, BARCODE_128B, BARCODE_128C}) {
        view.m_settings.m_nType = type;
        ASSERT_TRUE(view.EncodeText("12"));
        starts.emplace_back(view.m_code128.elements, view.m_code128.elements + 11);
    }
    EXPECT_NE(starts[0], starts[1]);
    EXPECT_NE(starts[1], starts[2]);
    EXPECT_NE(starts[0], starts[2]);
}

TEST(ViewDispatch, TypeOutOfRangeTouchesNothing) {
    MessageLog log;
    CTavikView view;
    for (int type : {7, -1, 1000, INT32_MIN}) {
        view.m_settings.m_nType = type;
        Poison(view);
        bool called = false;
        SeamHook hook(g_beforeEncode, [&] { called = true; });
        EXPECT_FALSE(view.EncodeText("123456789012")) << type;
        EXPECT_FALSE(called);
        for (CBarcodeBase* e : Encoders(view)) {
            EXPECT_TRUE(IsPoisoned(*e)) << type;
        }
        EXPECT_TRUE(view.m_strScratch.empty());
    }
    EXPECT_TRUE(log.texts.empty());
}

TEST(ViewDispatch, ExceptionShowsOneMessage) {
    for (const DispatchCase& c : kDispatch) {
        MessageLog log;
        CTavikView view;
        view.m_settings.m_nType = c.type;
        SeamHook hook(g_beforeEncode, [] { throw std::bad_alloc(); });
        EXPECT_FALSE(view.EncodeText("X")) << c.name;
        const QString expected =
            QStringLiteral("Can not encode text \"X\" to %1.").arg(QString::fromLatin1(c.name));
        ASSERT_EQ(log.texts.size(), 1u) << c.name;
        EXPECT_EQ(log.texts[0], expected);
        EXPECT_EQ(QString::fromLatin1(view.m_strScratch.c_str()), expected);
        // The encoder was cleared before the exception.
        EXPECT_TRUE(IsCleared(*Encoders(view)[static_cast<std::size_t>(EncoderIndex(c.type))]));
    }
}

TEST(ViewDispatch, AnyExceptionIsCaught) {
    MessageLog log;
    CTavikView view;
    view.m_settings.m_nType = BARCODE_93;
    const std::function<void()> throwers[] = {
        [] { throw std::runtime_error("x"); },
        [] { throw 42; },
        [] { throw "text"; },
    };
    SeamHook hook(g_beforeEncode);
    for (const auto& thrower : throwers) {
        hook = thrower;
        EXPECT_FALSE(view.EncodeText("X\xE9"));
    }
    ASSERT_EQ(log.texts.size(), 3u);
    // 8-bit text is shown as Latin-1.
    EXPECT_EQ(log.texts[2], QStringLiteral("Can not encode text \"X\u00E9\" to Barcode_93."));

    // Once the hook stops throwing, the same view encodes again.
    hook = nullptr;
    EXPECT_TRUE(view.EncodeText("X"));
    EXPECT_EQ(log.texts.size(), 3u);
}

} // namespace

#include "Dia_Bar.h"
#include "DialogTestSupport.h"
#include "TavikDoc.h"
#include "TavikView.h"

#include "support/SeamHook.h"

#include <QColorDialog>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <cstring>
#include <memory>
#include <new>

namespace {

// Counts the paints of one widget.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* w) { w->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* e) override {
        count += e->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
    int count = 0;
};

class SettingsCommand : public ShownViewTest {
protected:
    // Runs Show Settings with act on its dialog.
    void Settings(std::function<void(CDia_Bar&)> act) {
        ModalStep<CDia_Bar> step(std::move(act));
        view->OnShowSettings();
    }

    // Show Settings with new values in some edits, then OK.
    void SettingsOk(std::initializer_list<std::pair<const char*, QString>> edits) {
        Settings([&](CDia_Bar& d) {
            for (const auto& [name, text] : edits) {
                SetEdit(d, name, text);
            }
            Click(d, "IDOK");
        });
    }
};

TEST_F(SettingsCommand, TitleFollowsTextAndRepeatCount) {
    const struct {
        const char* text;
        const char* repeat;
        const char* title;
    } cases[] = {
        {"ABC", "3", "ABC ( x3 )"},
        {"ABC", "1", "ABC"},
        {"ABC", "0", "ABC"},
        {"XYZ", "2", "XYZ ( x2 )"},
        {"A-1", "10000", "A-1 ( x10000 )"},
    };
    for (const auto& c : cases) {
        SettingsOk({{"IDC_TEXT", QString::fromLatin1(c.text)},
                    {"IDC_REPEAT", QString::fromLatin1(c.repeat)}});
        EXPECT_EQ(doc.GetTitle(), QString::fromLatin1(c.title));
    }
    EXPECT_TRUE(log.texts.empty());
}

TEST_F(SettingsCommand, TextListKeepsTitleTextAndRepeat) {
    CTavikDoc listDoc;
    listDoc.m_lines.Load("A1\nB2\n");
    listDoc.SetTitle(QStringLiteral("codes.txt"));
    auto listView = std::make_unique<CTavikView>();
    listView->SetDialogs(BarcodeDialogs());
    listDoc.AddView(listView.get());
    listView->OnInitialUpdate();
    ASSERT_NE(listView->m_settings.m_pLines, nullptr);
    {
        ModalStep<CDia_Bar> step([](CDia_Bar& d) {
            SetEdit(d, "IDC_ORIGIN_X", QStringLiteral("40"));
            Click(d, "IDOK");
        });
        listView->OnShowSettings();
    }
    EXPECT_EQ(listDoc.GetTitle(), QStringLiteral("codes.txt"));
    EXPECT_EQ(listView->m_settings.m_strText, "0123456789");
    EXPECT_EQ(listView->m_settings.m_nRepeat, 1);
    EXPECT_EQ(listView->m_settings.m_nOriginX, 40);
}

// The guard extra is a fifth of the bar height, truncated, with EAN-13 only;
// a refused OK leaves it.
TEST_F(SettingsCommand, GuardExtraAfterOk) {
    const struct {
        int type;
        const char* text;
        const char* height;
        int guardExtra;
    } steps[] = {
        {BARCODE_EAN13, "123456789012", "50", 10},
        {BARCODE_EAN13, "123456789012", "7", 1},
        {BARCODE_EAN13, "123456789012", "-7", -1},
        {BARCODE_EAN13, "123456789012", "54", 10},
        {BARCODE_39, "#", "50", 10},
        {BARCODE_39, "ABC", "50", 0},
    };
    for (const auto& c : steps) {
        Settings([&](CDia_Bar& d) {
            d.m_comboType->setCurrentIndex(c.type);
            SetEdit(d, "IDC_TEXT", QString::fromLatin1(c.text));
            SetEdit(d, "IDC_BAR_HEIGHT", QString::fromLatin1(c.height));
            Click(d, "IDOK");
        });
        EXPECT_EQ(S().m_nGuardExtra, c.guardExtra) << c.type << " " << c.height;
    }
    EXPECT_EQ(log.texts.size(), 1u); // the refused "#"
}

// 10 - MulDiv(height, 96, 72) / 2 on the 96-dpi screen, in TrueType mode only.
TEST_F(SettingsCommand, FontOffsetInTrueTypeMode) {
    ASSERT_EQ(view->ScreenResolution().y, 96);
    const struct {
        bool trueType;
        int barcodeHeight;
        int offset;
    } cases[] = {
        {true, -29, 29}, {true, -58, 48}, {true, 30, -10}, {true, 0, 10}, {false, -29, 123},
    };
    for (const auto& c : cases) {
        S().m_nFontOffset = 123;
        S().m_lfBarcode.lfHeight = c.barcodeHeight;
        Settings([&](CDia_Bar& d) {
            Click(d, c.trueType ? "IDC_DRAW_TRUETYPE" : "IDC_DRAW_LINES");
            Click(d, "IDOK");
        });
        EXPECT_EQ(S().m_nFontOffset, c.offset) << c.barcodeHeight;
    }
}

// Without a paint (a hidden view), the layout's scroll sizes follow at once:
// the widest row plus x as a margin (*ABC* is 80 modules of 2, wider than the
// text-length estimate of 3 x 42 + 25), rows x pitch + y high.
TEST_F(SettingsCommand, AcceptedOkSizesAndRemakesFonts) {
    view->hide();
    LOGFONT text{};
    text.lfHeight = -20;
    std::strcpy(text.lfFaceName, "DejaVu Serif");
    SettingsOk({{"IDC_TEXT", "ABC"},
                {"IDC_BAR_WIDTH", "2"},
                {"IDC_BAR_HEIGHT", "60"},
                {"IDC_ORIGIN_X", "25"},
                {"IDC_ORIGIN_Y", "30"}});
    EXPECT_EQ(view->GetTotalSize(), QSize(25 + 80 * 2 + 25, 30 + 60 + 19));
    // A font description changed meanwhile reaches the font at the next OK.
    S().m_lfText = text;
    EXPECT_STRNE(view->m_fontText.Description().lfFaceName, "DejaVu Serif");
    SettingsOk({});
    EXPECT_TRUE(view->m_fontText.HasFont());
    EXPECT_EQ(std::memcmp(&view->m_fontText.Description(), &text, sizeof text), 0);
    EXPECT_EQ(std::memcmp(&view->m_fontBarcode.Description(), &S().m_lfBarcode, sizeof text), 0);
    EXPECT_EQ(view->m_code39.length, 10 * 5); // "*ABC*"
}

// The message names the text, shortened to 80 characters, with the reason below it.
TEST_F(SettingsCommand, RefusedTextKeepsTheOldState) {
    const QString kNotCode39 = QStringLiteral(
        "Character 1, \"#\", is not in Code 39 (0-9, A-Z, a-z, space, - . $ / + % *).");
    const struct {
        const char* what;
        QString typed;
        std::string stored;
        QString message;
    } cases[] = {
        {"refused by Code 39", QStringLiteral("#"), "#",
         QStringLiteral("Error while encoding text \"#\".\n") + kNotCode39},
        {"a long text is shortened in the message", QString(600, QLatin1Char('#')),
         std::string(600, '#'),
         QStringLiteral("Error while encoding text \"") + QString(62, QLatin1Char('#')) +
             QStringLiteral("… (600 characters)\".\n") + kNotCode39},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        view.reset();
        doc.OnNewDocument();
        OpenView();
        view->hide();
        log.texts.clear();
        const LOGFONT oldFont = view->m_fontText.Description();
        Settings([&](CDia_Bar& d) {
            d.m_pSettings->m_lfText.lfHeight = -30; // as the text font chooser would
            SetEdit(d, "IDC_TEXT", c.typed);
            SetEdit(d, "IDC_ORIGIN_Y", QStringLiteral("44"));
            Click(d, "IDOK");
        });
        ASSERT_EQ(log.texts.size(), 1u);
        EXPECT_EQ(log.texts[0], c.message);
        EXPECT_EQ(S().m_strText, c.stored);
        EXPECT_EQ(S().m_nOriginY, 44); // the settings entered stay
        EXPECT_EQ(doc.GetTitle(), QStringLiteral("0123456789"));
        // The scroll sizes follow the layout of the settings entered: y 44 and a
        // pitch of bar height 50 plus 40 for the -30 text font.
        EXPECT_EQ(view->GetTotalSize().height(), 44 + 50 + 40);
        EXPECT_EQ(view->m_fontText.Description().lfHeight, oldFont.lfHeight);
        EXPECT_EQ(view->m_code39.length, 0); // no symbol of any other text on show
    }
}

// A text beyond Latin-1 is refused with its message; the old text stays with
// its bars, and the rest of the OK is applied as usual.
TEST_F(SettingsCommand, TextBeyondLatin1KeepsTheOldTextAndItsBars) {
    Settings([&](CDia_Bar& d) {
        d.m_pSettings->m_lfText.lfHeight = -30; // as the text font chooser would
        SetEdit(d, "IDC_TEXT", QStringLiteral("AB€日本"));
        SetEdit(d, "IDC_ORIGIN_Y", QStringLiteral("44"));
        SetEdit(d, "IDC_REPEAT", QStringLiteral("2"));
        Click(d, "IDOK");
    });
    ASSERT_EQ(log.texts.size(), 1u);
    EXPECT_EQ(log.texts[0], QStringLiteral("Error while encoding text \"AB€日本\".\nThe text has "
                                           "characters beyond Latin-1 (8-bit)."));
    EXPECT_EQ(S().m_strText, "0123456789");
    EXPECT_EQ(view->m_code39.length, 12 * 10); // "*0123456789*"
    EXPECT_EQ(doc.GetTitle(), QStringLiteral("0123456789 ( x2 )"));
    EXPECT_EQ(view->m_fontText.Description().lfHeight, -30);
    CDC dc(nullptr, view->ScreenResolution(), view->ScreenResolution(), false);
    const int pitch = view->RowPitch(&dc);
    EXPECT_EQ(view->GetTotalSize(), QSize(10 * 41 + 10, 44 + 2 * pitch)); // after the redraw
    // Both rows show bars: dark pixels where the first bar of each row stands.
    const QImage shown = view->viewport()->grab().toImage();
    for (const int row : {0, 1}) {
        EXPECT_LT(qGray(shown.pixel(10, 44 + 5 + row * pitch)), 128) << row;
    }
}

TEST_F(SettingsCommand, EncoderExceptionGivesTwoMessages) {
    SeamHook hook(g_beforeEncode, [] { throw std::bad_alloc(); });
    SettingsOk({{"IDC_TEXT", "AB"}});
    ASSERT_EQ(log.texts.size(), 2u);
    EXPECT_EQ(log.texts[0], QStringLiteral("Can not encode text \"AB\" to Barcode_39."));
    EXPECT_EQ(log.texts[1], QStringLiteral("Error while encoding text \"AB\"."));
    EXPECT_EQ(doc.GetTitle(), QStringLiteral("0123456789"));
}

// Cancel puts the origin back and keeps what the radios and choosers wrote,
// without a redraw; OK redraws, also after a refusal.
TEST_F(SettingsCommand, CancelRestoresOnlyTheOriginAndDoesNotRedraw) {
    PaintCounter paints(view->viewport());
    Settings([&](CDia_Bar& d) {
        SetEdit(d, "IDC_ORIGIN_X", QStringLiteral("200"));
        SetEdit(d, "IDC_ORIGIN_Y", QStringLiteral("300"));
        SetEdit(d, "IDC_TEXT", QStringLiteral("NEW"));
        {
            ModalStep<QColorDialog> colour([](QColorDialog& c) {
                c.setCurrentColor(QColor(0, 0, 255));
                c.accept();
            });
            Click(d, "IDC_SPACE_COLOR");
        }
        Click(d, "IDC_DRAW_TRUETYPE");
        d.m_pSettings->m_nOriginX = 999; // as a drag could not, but the dialog might
        Click(d, "IDCANCEL");
        paints.count = 0;
    });
    EXPECT_EQ(paints.count, 0);
    EXPECT_EQ(S().m_nOriginX, 10);
    EXPECT_EQ(S().m_nOriginY, 10);
    EXPECT_EQ(S().m_strText, "0123456789");
    EXPECT_EQ(S().m_crSpace, RGB(0, 0, 255));
    EXPECT_TRUE(S().m_bTrueType);
    EXPECT_TRUE(log.texts.empty());

    for (const char* text : {"OK1", "#"}) {
        Settings([&](CDia_Bar& d) {
            SetEdit(d, "IDC_TEXT", QString::fromLatin1(text));
            Click(d, "IDOK");
            paints.count = 0;
        });
        EXPECT_GE(paints.count, 1) << text;
    }
}

// Whatever the double click's position, it opens the dialog on the view's
// own settings, as Show Settings does.
TEST_F(SettingsCommand, DoubleClickAndShowSettingsOpenTheSameDialog) {
    S().m_strText = "SAME";
    const std::function<void()> openers[] = {
        [this] { view->OnShowSettings(); },
        [this] { QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, QPoint(3, 3)); },
        [this] { QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, QPoint(450, 250)); },
        [this] { view->OnLButtonDblClk(MK_SHIFT, QPoint(-5, 7000)); },
    };
    for (const auto& open : openers) {
        ModalStep<CDia_Bar> step([this](CDia_Bar& d) {
            EXPECT_EQ(d.m_pSettings, &view->m_settings);
            EXPECT_EQ(d.windowTitle(), QStringLiteral("Settings"));
            EXPECT_EQ(d.m_editText->text(), QStringLiteral("SAME"));
            Click(d, "IDCANCEL");
        });
        open();
    }
    EXPECT_FALSE(view->m_bMovingOrigin);
    EXPECT_FALSE(view->m_bResizingHeight);
}

} // namespace

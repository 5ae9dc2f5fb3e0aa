#include "BarcodeSettings.h"
#include "Dia_Bar.h"
#include "DialogTestSupport.h"
#include "FontDialog.h"
#include "LineList.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFontDialog>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace {

constexpr int kMin = std::numeric_limits<int>::min();
constexpr int kMax = std::numeric_limits<int>::max();

template <class T = QWidget> T* Find(const QWidget& dlg, const char* name) {
    T* w = dlg.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

LOGFONT Font(int height, const char* face) {
    LOGFONT lf{};
    lf.lfHeight = height;
    std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    return lf;
}

BarcodeSettings InitialSettings() {
    BarcodeSettings s;
    s.m_lfText = Font(-14, "Arial");
    s.m_lfBarcode = Font(-29, "Free 3 of 9");
    return s;
}

// A dialog on settings, initialised as DoModal does, without its modal loop.
struct OpenDialog {
    explicit OpenDialog(BarcodeSettings& s) {
        dlg.m_pSettings = &s;
        dlg.OnInitDialog();
    }
    CDia_Bar dlg;
};

bool SameSettings(const BarcodeSettings& a, const BarcodeSettings& b) {
    return a.m_bShowText == b.m_bShowText && a.m_bTrueType == b.m_bTrueType &&
           a.m_nBarHeight == b.m_nBarHeight && a.m_nBarWidth == b.m_nBarWidth &&
           a.m_nType == b.m_nType && a.m_nGuardExtra == b.m_nGuardExtra &&
           a.m_nFontOffset == b.m_nFontOffset && a.m_nRepeat == b.m_nRepeat &&
           a.m_strText == b.m_strText && a.m_nOriginX == b.m_nOriginX &&
           a.m_nOriginY == b.m_nOriginY && a.m_pLines == b.m_pLines &&
           std::memcmp(&a.m_lfText, &b.m_lfText, sizeof(LOGFONT)) == 0 &&
           std::memcmp(&a.m_lfBarcode, &b.m_lfBarcode, sizeof(LOGFONT)) == 0 &&
           a.m_crBar == b.m_crBar && a.m_crSpace == b.m_crSpace && a.m_crText == b.m_crText &&
           a.m_crBarcodeFont == b.m_crBarcodeFont;
}

QRgb Pixel(QWidget& w, QPoint p) {
    return w.grab().toImage().pixel(p);
}

const std::vector<const char*> kLineControls = {"IDC_TYPE", "IDC_BAR_WIDTH", "IDC_BAR_HEIGHT",
                                                "IDC_BAR_COLOR", "IDC_SPACE_COLOR"};

void ExpectLineMode(const QWidget& dlg, bool lines) {
    for (const char* name : kLineControls) {
        EXPECT_EQ(Find(dlg, name)->isEnabled(), lines) << name;
    }
    EXPECT_EQ(Find(dlg, "IDC_BARCODE_FONT")->isEnabled(), !lines);
    EXPECT_EQ(Find<QRadioButton>(dlg, "IDC_DRAW_LINES")->isChecked(), lines);
    EXPECT_EQ(Find<QRadioButton>(dlg, "IDC_DRAW_TRUETYPE")->isChecked(), !lines);
}

// ---- template ------------------------------------------------------------

TEST(SettingsDialogTemplate, ControlsAsTheTemplatePlacesThem) {
    const struct {
        const char* name;
        const char* className;
        const char* caption;
        QRect units;
    } controls[] = {
        {"IDC_TEXT", "QLineEdit", "", {67, 17, 256, 14}},
        {"IDC_SHOW_TEXT", "QCheckBox", "Show text below", {67, 42, 69, 10}},
        {"IDC_TEXT_FONT", "QPushButton", "Text Font", {165, 38, 50, 14}},
        {"IDC_BAR_WIDTH", "QLineEdit", "", {101, 147, 40, 14}},
        {"IDC_BAR_HEIGHT", "QLineEdit", "", {199, 147, 40, 14}},
        {"IDC_ORIGIN_X", "QLineEdit", "", {67, 63, 40, 14}},
        {"IDC_ORIGIN_Y", "QLineEdit", "", {165, 63, 40, 14}},
        {"IDC_BAR_COLOR", "QPushButton", "Select", {101, 170, 50, 14}},
        {"IDC_SPACE_COLOR", "QPushButton", "Select", {251, 170, 50, 14}},
        {"IDCANCEL", "QPushButton", "Cancel", {229, 240, 50, 14}},
        {"IDOK", "QPushButton", "OK", {285, 240, 50, 14}},
        {"IDC_BAR_SWATCH", "QFrame", "", {69, 169, 20, 15}},
        {"IDC_SPACE_SWATCH", "QFrame", "", {217, 169, 20, 15}},
        {"IDC_DRAW_LINES", "QRadioButton", "Draw Barcode as lines", {16, 98, 86, 10}},
        {"IDC_DRAW_TRUETYPE", "QRadioButton", "Print Barcode as TrueType:", {16, 210, 103, 10}},
        {"IDC_BARCODE_FONT", "QPushButton", "Barcode Font", {132, 206, 55, 14}},
        {"IDC_REPEAT", "QLineEdit", "", {55, 240, 40, 14}},
    };
    CDia_Bar dlg;
    const CDialogUnits du(dlg.fontMetrics());
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Settings"));
    EXPECT_EQ(dlg.size(), du.MapDialogRect(0, 0, 342, 262).size());
    for (const auto& c : controls) {
        QWidget* w = Find(dlg, c.name);
        ASSERT_NE(w, nullptr);
        EXPECT_TRUE(w->inherits(c.className)) << c.name;
        if (auto* b = qobject_cast<QAbstractButton*>(w)) {
            EXPECT_EQ(b->text(), QString::fromLatin1(c.caption)) << c.name;
        }
        const QRect& u = c.units;
        EXPECT_EQ(w->geometry(), du.MapDialogRect(u.x(), u.y(), u.width(), u.height())) << c.name;
    }
    // The combo box's template height includes its list; only its place is kept.
    EXPECT_EQ(Find(dlg, "IDC_TYPE")->pos(), du.MapDialogRect(101, 126, 77, 104).topLeft());
    EXPECT_TRUE(Find<QPushButton>(dlg, "IDOK")->isDefault());
    EXPECT_FALSE(Find(dlg, "IDC_BARCODE_FONT")->isEnabled());
    EXPECT_EQ(Find<QLineEdit>(dlg, "IDC_TEXT")->alignment() & Qt::AlignHorizontal_Mask,
              Qt::AlignLeft);
    for (const char* centred :
         {"IDC_BAR_WIDTH", "IDC_BAR_HEIGHT", "IDC_ORIGIN_X", "IDC_ORIGIN_Y", "IDC_REPEAT"}) {
        EXPECT_EQ(Find<QLineEdit>(dlg, centred)->alignment() & Qt::AlignHorizontal_Mask,
                  Qt::AlignHCenter)
            << centred;
    }
}

TEST(SettingsDialogTemplate, StaticsAndSymbologyList) {
    CDia_Bar dlg;
    QStringList labels;
    for (const QLabel* l : dlg.findChildren<QLabel*>()) {
        labels.append(l->text());
    }
    QStringList groups;
    for (const QGroupBox* g : dlg.findChildren<QGroupBox*>()) {
        groups.append(g->title());
        // Frames only: clicks go through to the controls inside.
        EXPECT_TRUE(g->testAttribute(Qt::WA_TransparentForMouseEvents));
    }
    EXPECT_EQ(labels, QStringList({"Barcode text:", "Barcode type:", "Barline Width:", "Origin X:",
                                   "Origin Y:", "Barline Hight:", "Barline color:", "Space color:",
                                   "Repeat it:"}));
    groups.sort();
    EXPECT_EQ(groups, QStringList({"Barcode", "Draw as lines"}));

    const auto* combo = Find<QComboBox>(dlg, "IDC_TYPE");
    QStringList entries;
    for (int i = 0; i < combo->count(); ++i) {
        entries.append(combo->itemText(i));
    }
    EXPECT_EQ(entries, QStringList({"Barcode39", "Barcode93", "Barcode128A", "Barcode128B",
                                    "Barcode128C", "BarcodeEan13", "BarcodeI2of5"}));
}

// Tab visits the tab-stop controls in template order; the repeat edit and the
// radio buttons have no tab stop.
TEST(SettingsDialogTemplate, TabOrderIsTemplateOrder) {
    CDia_Bar dlg;
    QStringList order;
    for (QWidget* w = dlg.nextInFocusChain(); w != &dlg; w = w->nextInFocusChain()) {
        if ((w->focusPolicy() & Qt::TabFocus) != 0 && dlg.isAncestorOf(w)) {
            order.append(w->objectName());
        }
    }
    EXPECT_EQ(order, QStringList({"IDC_TEXT", "IDC_TYPE", "IDC_SHOW_TEXT", "IDC_TEXT_FONT",
                                  "IDC_BAR_WIDTH", "IDC_BAR_HEIGHT", "IDC_ORIGIN_X", "IDC_ORIGIN_Y",
                                  "IDC_BAR_COLOR", "IDC_SPACE_COLOR", "IDCANCEL", "IDOK",
                                  "IDC_BARCODE_FONT"}));
}

// Dialog units follow the font, so the layout keeps its proportions.
TEST(SettingsDialogTemplate, DialogUnitsScaleWithTheFont) {
    QFont small = ShellDialogFont(8);
    QFont large = ShellDialogFont(24);
    const CDialogUnits a{QFontMetrics(small)};
    const CDialogUnits b{QFontMetrics(large)};
    ASSERT_GT(a.BaseX(), 0);
    ASSERT_GT(a.BaseY(), 0);
    const QRect ra = a.MapDialogRect(0, 0, 342, 262);
    const QRect rb = b.MapDialogRect(0, 0, 342, 262);
    const double ratioX = double(rb.width()) / ra.width();
    const double ratioY = double(rb.height()) / ra.height();
    EXPECT_NEAR(ratioX, double(b.BaseX()) / a.BaseX(), 0.02);
    EXPECT_NEAR(ratioY, double(b.BaseY()) / a.BaseY(), 0.02);
    EXPECT_GT(ratioX, 2.0);
    // Four horizontal units are one average character, eight vertical ones a line.
    EXPECT_EQ(a.X(4), a.BaseX());
    EXPECT_EQ(a.Y(8), a.BaseY());
}

// ---- initial state ---------------------------------------------------------

TEST(SettingsDialogInit, ControlsFromTheSettings) {
    CLineList lines;
    lines.Load("A\nB\n");
    const struct {
        const char* what;
        bool trueType;
        const CLineList* list;
    } cases[] = {
        {"lines mode", false, nullptr},
        {"TrueType mode", true, nullptr},
        {"list mode", false, &lines},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        BarcodeSettings s = InitialSettings();
        s.m_bTrueType = c.trueType;
        s.m_pLines = c.list;
        s.m_nType = BARCODE_EAN13;
        s.m_bShowText = false;
        s.m_nBarWidth = -3;
        s.m_nBarHeight = 77;
        s.m_nOriginX = 0;
        s.m_nOriginY = -12;
        s.m_nRepeat = 4;
        s.m_strText = "Gr\xFC\xDF"
                      "e"; // Latin-1
        OpenDialog o(s);
        const CDia_Bar& dlg = o.dlg;

        EXPECT_EQ(dlg.m_comboType->currentIndex(), BARCODE_EAN13);
        EXPECT_FALSE(dlg.m_checkShowText->isChecked());
        EXPECT_EQ(dlg.m_editBarWidth->text(), QStringLiteral("-3"));
        EXPECT_EQ(dlg.m_editBarHeight->text(), QStringLiteral("77"));
        EXPECT_EQ(dlg.m_editOriginX->text(), QStringLiteral("0"));
        EXPECT_EQ(dlg.m_editOriginY->text(), QStringLiteral("-12"));
        const bool list = c.list != nullptr;
        EXPECT_EQ(dlg.m_editText->isEnabled(), !list);
        EXPECT_EQ(dlg.m_editRepeat->isEnabled(), !list);
        EXPECT_EQ(dlg.m_editText->text(), list ? QString() : QStringLiteral("Grüße"));
        EXPECT_EQ(dlg.m_editRepeat->text(), list ? QString() : QStringLiteral("4"));
        ExpectLineMode(dlg, !c.trueType);
        EXPECT_EQ(s.m_bTrueType, c.trueType);
    }
}

// ---- mode switch -----------------------------------------------------------

TEST(SettingsDialogMode, RadiosSwitchControlsAndWriteAtOnce) {
    BarcodeSettings s = InitialSettings();
    OpenDialog o(s);
    Click(o.dlg, "IDC_DRAW_TRUETYPE");
    ExpectLineMode(o.dlg, false);
    EXPECT_TRUE(s.m_bTrueType);
    Click(o.dlg, "IDC_DRAW_LINES");
    ExpectLineMode(o.dlg, true);
    EXPECT_FALSE(s.m_bTrueType);
    Click(o.dlg, "IDC_DRAW_TRUETYPE");
    Click(o.dlg, "IDCANCEL");
    EXPECT_EQ(o.dlg.result(), QDialog::Rejected);
    EXPECT_TRUE(s.m_bTrueType); // Cancel does not undo it
}

// ---- numbers ---------------------------------------------------------------

TEST(SettingsDialogNumbers, EditTextToNumber) {
    const struct {
        const char* text;
        int number;
    } cases[] = {
        {"", 0},
        {"0", 0},
        {"-5", -5},
        {"abc", 0},
        {"3x", 3},
        {"  12", 12},
        {"\t\n\v\f\r 8", 8},
        {"+7", 7},
        {"--5", 0},
        {"+-5", 0},
        {"- 5", 0},
        {"12 34", 12},
        {"007", 7},
        {"2147483647", kMax},
        {"2147483648", kMax},
        {"99999999999999999999999", kMax},
        {"-2147483648", kMin},
        {"-2147483649", kMin},
        {"-99999999999999999999999", kMin},
        {"\xEF\xBC\x91\xEF\xBC\x92", 0}, // full-width digits are not decimal digits here
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CDia_Bar::TextToNumber(QString::fromUtf8(c.text)), c.number) << c.text;
    }
}

TEST(SettingsDialogOk, NumbersWithTheirBounds) {
    const struct {
        const char* edit;
        const char* text;
        int BarcodeSettings::*field;
        int stored;
    } cases[] = {
        {"IDC_REPEAT", "", &BarcodeSettings::m_nRepeat, 1},
        {"IDC_REPEAT", "0", &BarcodeSettings::m_nRepeat, 1},
        {"IDC_REPEAT", "-5", &BarcodeSettings::m_nRepeat, 1},
        {"IDC_REPEAT", "abc", &BarcodeSettings::m_nRepeat, 1},
        {"IDC_REPEAT", "3x", &BarcodeSettings::m_nRepeat, 3},
        {"IDC_REPEAT", "  12", &BarcodeSettings::m_nRepeat, 12},
        {"IDC_REPEAT", "10000", &BarcodeSettings::m_nRepeat, CDia_Bar::kMaxRepeat},
        {"IDC_REPEAT", "99999999999", &BarcodeSettings::m_nRepeat, CDia_Bar::kMaxRepeat},
        {"IDC_BAR_WIDTH", "", &BarcodeSettings::m_nBarWidth, 0},
        {"IDC_BAR_WIDTH", "-7", &BarcodeSettings::m_nBarWidth, -7},
        {"IDC_BAR_WIDTH", "1001", &BarcodeSettings::m_nBarWidth, CDia_Bar::kMaxBarWidth},
        {"IDC_BAR_WIDTH", "-99999999999", &BarcodeSettings::m_nBarWidth, -CDia_Bar::kMaxBarWidth},
        {"IDC_BAR_HEIGHT", "0", &BarcodeSettings::m_nBarHeight, 0},
        {"IDC_BAR_HEIGHT", "-7", &BarcodeSettings::m_nBarHeight, -7},
        {"IDC_BAR_HEIGHT", "10000", &BarcodeSettings::m_nBarHeight, CDia_Bar::kMaxBarHeight},
        {"IDC_BAR_HEIGHT", "2147483648", &BarcodeSettings::m_nBarHeight, CDia_Bar::kMaxBarHeight},
        {"IDC_ORIGIN_X", "-20", &BarcodeSettings::m_nOriginX, -20},
        {"IDC_ORIGIN_X", "0", &BarcodeSettings::m_nOriginX, 0},
        {"IDC_ORIGIN_X", "100001", &BarcodeSettings::m_nOriginX, CDia_Bar::kMaxOrigin},
        {"IDC_ORIGIN_Y", "-100001", &BarcodeSettings::m_nOriginY, -CDia_Bar::kMaxOrigin},
        {"IDC_ORIGIN_Y", "x9", &BarcodeSettings::m_nOriginY, 0},
    };
    for (const auto& c : cases) {
        BarcodeSettings s = InitialSettings();
        OpenDialog o(s);
        SetEdit(o.dlg, c.edit, QString::fromLatin1(c.text));
        Click(o.dlg, "IDOK");
        EXPECT_EQ(s.*c.field, c.stored) << c.edit << " \"" << c.text << "\"";
    }
}

// ---- OK and Cancel ---------------------------------------------------------

TEST(SettingsDialogOk, StoresExactlyItsFields) {
    BarcodeSettings s = InitialSettings();
    s.m_nGuardExtra = 3;
    s.m_nFontOffset = 44;
    s.m_crText = RGB(1, 2, 3);
    BarcodeSettings expected = s;
    OpenDialog o(s);
    SetEdit(o.dlg, "IDC_TEXT", QStringLiteral("HELLO"));
    o.dlg.m_comboType->setCurrentIndex(BARCODE_128B);
    o.dlg.m_checkShowText->setChecked(false);
    SetEdit(o.dlg, "IDC_BAR_WIDTH", QStringLiteral("2"));
    SetEdit(o.dlg, "IDC_BAR_HEIGHT", QStringLiteral("60"));
    SetEdit(o.dlg, "IDC_ORIGIN_X", QStringLiteral("25"));
    SetEdit(o.dlg, "IDC_ORIGIN_Y", QStringLiteral("30"));
    SetEdit(o.dlg, "IDC_REPEAT", QStringLiteral("3"));
    Click(o.dlg, "IDOK");

    EXPECT_EQ(o.dlg.result(), QDialog::Accepted);
    EXPECT_FALSE(o.dlg.m_strNo8BitText.has_value());
    expected.m_strText = "HELLO";
    expected.m_nType = BARCODE_128B;
    expected.m_bShowText = false;
    expected.m_nBarWidth = 2;
    expected.m_nBarHeight = 60;
    expected.m_nOriginX = 25;
    expected.m_nOriginY = 30;
    expected.m_nRepeat = 3;
    EXPECT_TRUE(SameSettings(s, expected));
}

// Disabled controls are read like enabled ones.
TEST(SettingsDialogOk, TrueTypeModeReadsTheDisabledControls) {
    BarcodeSettings s = InitialSettings();
    OpenDialog o(s);
    SetEdit(o.dlg, "IDC_BAR_HEIGHT", QStringLiteral("90"));
    o.dlg.m_comboType->setCurrentIndex(BARCODE_93);
    Click(o.dlg, "IDC_DRAW_TRUETYPE");
    Click(o.dlg, "IDOK");
    EXPECT_EQ(s.m_nBarHeight, 90);
    EXPECT_EQ(s.m_nType, BARCODE_93);
    EXPECT_TRUE(s.m_bTrueType);
}

TEST(SettingsDialogOk, ListModeKeepsTextAndRepeat) {
    CLineList lines;
    lines.Load("A\n");
    BarcodeSettings s = InitialSettings();
    s.m_pLines = &lines;
    s.m_nRepeat = 5;
    OpenDialog o(s);
    o.dlg.m_editText->setText(QStringLiteral("IGNORED"));
    o.dlg.m_editRepeat->setText(QStringLiteral("9"));
    SetEdit(o.dlg, "IDC_ORIGIN_X", QStringLiteral("33"));
    Click(o.dlg, "IDOK");
    EXPECT_EQ(s.m_strText, "0123456789");
    EXPECT_EQ(s.m_nRepeat, 5);
    EXPECT_EQ(s.m_nOriginX, 33);
}

// The text is kept in 8 bits; a text with a character outside Latin-1 is
// never stored altered: the settings keep their text and the dialog names it.
TEST(SettingsDialogOk, TextIn8Bits) {
    const struct {
        const char* typed; // UTF-8
        std::string stored;
        bool refused;
    } cases[] = {
        {"ABC-123", "ABC-123", false},
        {"Gr\xC3\xBC\xC3\x9F"
         "e",
         "Gr\xFC\xDF"
         "e",
         false},
        {"\xC3\xBF", "\xFF", false},
        {"", "", false},
        {"\xE2\x82\xAC"
         "5",
         "0123456789", true},                      // euro sign
        {"A\xF0\x9F\x98\x80", "0123456789", true}, // beyond the basic plane
        {"\xC4\x80", "0123456789", true},          // U+0100, first past Latin-1
    };
    for (const auto& c : cases) {
        BarcodeSettings s = InitialSettings();
        OpenDialog o(s);
        SetEdit(o.dlg, "IDC_TEXT", QString::fromUtf8(c.typed));
        SetEdit(o.dlg, "IDC_ORIGIN_X", QStringLiteral("40"));
        Click(o.dlg, "IDOK");
        EXPECT_EQ(s.m_strText, c.stored) << c.typed;
        EXPECT_EQ(s.m_nOriginX, 40) << c.typed; // the other fields are stored all the same
        ASSERT_EQ(o.dlg.m_strNo8BitText.has_value(), c.refused) << c.typed;
        if (c.refused) {
            EXPECT_EQ(*o.dlg.m_strNo8BitText, QString::fromUtf8(c.typed));
        }
    }
}

TEST(SettingsDialogModal, EnterAcceptsEscapeAndCancelReadNothing) {
    const struct {
        const char* what;
        std::function<void(CDia_Bar&)> close;
        int result;
    } cases[] = {
        {"Enter in an edit", [](CDia_Bar& d) { QTest::keyClick(d.m_editOriginX, Qt::Key_Return); },
         IDOK},
        {"Escape", [](CDia_Bar& d) { QTest::keyClick(d.m_editOriginX, Qt::Key_Escape); }, IDCANCEL},
        {"Cancel button", [](CDia_Bar& d) { Click(d, "IDCANCEL"); }, IDCANCEL},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        BarcodeSettings s = InitialSettings();
        CDia_Bar dlg;
        dlg.m_pSettings = &s;
        int result = 0;
        {
            ModalStep<CDia_Bar> step([&](CDia_Bar& d) {
                // The first tab stop has the focus with its text selected.
                EXPECT_EQ(d.focusWidget(), d.m_editText);
                EXPECT_EQ(d.m_editText->selectedText(), QStringLiteral("0123456789"));
                d.m_editOriginX->setText(QStringLiteral("77"));
                c.close(d);
            });
            result = dlg.DoModal();
        }
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(s.m_nOriginX, c.result == IDOK ? 77 : 10);
    }
}

// ---- colours ---------------------------------------------------------------

TEST(SettingsDialogColour, ChosenColourShowsAtOnceAndSurvivesCancel) {
    BarcodeSettings s = InitialSettings();
    CDia_Bar dlg;
    dlg.m_pSettings = &s;
    ModalStep<CDia_Bar> step([&](CDia_Bar& d) {
        QWidget* swatch = Find(d, "IDC_BAR_SWATCH");
        EXPECT_EQ(Pixel(*swatch, QPoint(5, 5)), qRgb(0, 0, 0));
        {
            ModalStep<QColorDialog> chooser([](QColorDialog& c) {
                EXPECT_EQ(c.currentColor(), QColor(Qt::black)); // opens on black
                c.setCurrentColor(QColor(200, 30, 40));
                c.accept();
            });
            Click(d, "IDC_BAR_COLOR");
        }
        EXPECT_EQ(s.m_crBar, RGB(200, 30, 40));
        const QSize size = swatch->size();
        EXPECT_EQ(Pixel(*swatch, QPoint(1, 1)), qRgb(200, 30, 40));
        EXPECT_EQ(Pixel(*swatch, QPoint(size.width() - 1, size.height() - 1)), qRgb(200, 30, 40));
        EXPECT_EQ(Pixel(*swatch, QPoint(0, 0)), qRgb(0, 0, 0)); // the frame
        {
            ModalStep<QColorDialog> cancelled([](QColorDialog& c) {
                c.setCurrentColor(QColor(1, 2, 3));
                c.reject();
            });
            Click(d, "IDC_SPACE_COLOR");
        }
        EXPECT_EQ(s.m_crSpace, RGB(255, 255, 255));
        EXPECT_EQ(Pixel(*Find(d, "IDC_SPACE_SWATCH"), QPoint(5, 5)), qRgb(255, 255, 255));
        Click(d, "IDCANCEL");
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(s.m_crBar, RGB(200, 30, 40));
}

// ---- fonts -----------------------------------------------------------------

QString FaceOf(const LOGFONT& lf) {
    return QString::fromLatin1(lf.lfFaceName);
}

TEST(SettingsDialogFont, ChoosersPresetAndStoreFontAndColour) {
    const struct {
        const char* button;
        bool trueType;
        LOGFONT BarcodeSettings::*font;
        COLORREF BarcodeSettings::*colour;
    } cases[] = {
        {"IDC_TEXT_FONT", false, &BarcodeSettings::m_lfText, &BarcodeSettings::m_crText},
        {"IDC_BARCODE_FONT", true, &BarcodeSettings::m_lfBarcode,
         &BarcodeSettings::m_crBarcodeFont},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.button);
        BarcodeSettings s = InitialSettings();
        s.m_bTrueType = c.trueType;
        s.*c.colour = RGB(128, 0, 128); // purple, one of the basic colours
        const LOGFONT before = s.*c.font;
        CDia_Bar dlg;
        dlg.m_pSettings = &s;
        ModalStep<CDia_Bar> step([&](CDia_Bar& d) {
            ModalStep<CFontDialog> chooser([&](CFontDialog& f) {
                auto* colours = Find<QComboBox>(f, "IDC_FONT_COLOR");
                EXPECT_EQ(colours->currentText(), QStringLiteral("Purple"));
                auto* fonts = Find<QFontDialog>(f, "FontChooser");
                // The chooser shows whole points.
                EXPECT_NEAR(fonts->currentFont().pointSizeF(),
                            std::abs(before.lfHeight) * 72.0 / 96, 0.5);
                QFont chosen(QStringLiteral("DejaVu Serif"));
                chosen.setPointSize(18);
                chosen.setUnderline(true);
                fonts->setCurrentFont(chosen);
                colours->setCurrentIndex(colours->findText(QStringLiteral("Red")));
                Click(f, "IDOK");
            });
            Click(d, c.button);
            Click(d, "IDCANCEL");
        });
        dlg.DoModal();
        const LOGFONT& lf = s.*c.font;
        EXPECT_EQ(FaceOf(lf), QStringLiteral("DejaVu Serif"));
        EXPECT_EQ(lf.lfHeight, -24); // 18 points at 96 dpi
        EXPECT_EQ(lf.lfUnderline, 1);
        EXPECT_EQ(lf.lfStrikeOut, 0);
        EXPECT_EQ(s.*c.colour, RGB(255, 0, 0));
    }
}

TEST(FontChooser, UnchangedChoiceKeepsTheDescription) {
    const LOGFONT fonts[] = {Font(-29, "Free 3 of 9"), Font(-14, "Arial"), Font(-19, "Arial")};
    for (const LOGFONT& lf : fonts) {
        CFontDialog dlg(&lf);
        dlg.m_cf.rgbColors = RGB(12, 34, 56); // not a basic colour
        dlg.OnInitDialog();
        LOGFONT out{};
        dlg.GetCurrentFont(&out);
        EXPECT_EQ(FaceOf(out), FaceOf(lf));
        EXPECT_EQ(out.lfHeight, lf.lfHeight) << FaceOf(lf).toStdString();
        EXPECT_EQ(dlg.GetColor(), RGB(12, 34, 56));
        const auto* colours = Find<QComboBox>(dlg, "IDC_FONT_COLOR");
        EXPECT_EQ(colours->count(), 17);
        EXPECT_EQ(colours->currentText(), QStringLiteral("Custom"));
    }
}

} // namespace

#include "Dia_Bar.h"

#include "BarcodeSettings.h"
#include "FontDialog.h"
#include "Symbology.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <functional>
#include <limits>
#include <string>

namespace {

enum class Kind { Edit, Combo, Check, Button, DefButton, Group, Label, BlackFrame, Radio };

enum Style : unsigned {
    kTabStop = 1,
    kCentre = 2,
    kDisabled = 4,
};

struct TemplateItem {
    int id; // -1 for the static controls
    const char* name;
    Kind kind;
    const char* caption;
    int x, y, cx, cy; // dialog units
    unsigned style;
};

constexpr int IDC_STATIC = -1;

// Template 130, in template order (which is also the tab order).
constexpr TemplateItem kTemplate[] = {
    {IDC_TEXT, "IDC_TEXT", Kind::Edit, "", 67, 17, 256, 14, kTabStop},
    {IDC_TYPE, "IDC_TYPE", Kind::Combo, "", 101, 126, 77, 104, kTabStop},
    {IDC_SHOW_TEXT, "IDC_SHOW_TEXT", Kind::Check, "Show text below", 67, 42, 69, 10, kTabStop},
    {IDC_TEXT_FONT, "IDC_TEXT_FONT", Kind::Button, "Text Font", 165, 38, 50, 14, kTabStop},
    {IDC_BAR_WIDTH, "IDC_BAR_WIDTH", Kind::Edit, "", 101, 147, 40, 14, kTabStop | kCentre},
    {IDC_BAR_HEIGHT, "IDC_BAR_HEIGHT", Kind::Edit, "", 199, 147, 40, 14, kTabStop | kCentre},
    {IDC_ORIGIN_X, "IDC_ORIGIN_X", Kind::Edit, "", 67, 63, 40, 14, kTabStop | kCentre},
    {IDC_ORIGIN_Y, "IDC_ORIGIN_Y", Kind::Edit, "", 165, 63, 40, 14, kTabStop | kCentre},
    {IDC_BAR_COLOR, "IDC_BAR_COLOR", Kind::Button, "Select", 101, 170, 50, 14, kTabStop},
    {IDC_SPACE_COLOR, "IDC_SPACE_COLOR", Kind::Button, "Select", 251, 170, 50, 14, kTabStop},
    {IDCANCEL, "IDCANCEL", Kind::Button, "Cancel", 229, 240, 50, 14, kTabStop},
    {IDOK, "IDOK", Kind::DefButton, "OK", 285, 240, 50, 14, kTabStop},
    {IDC_STATIC, "IDC_STATIC", Kind::Group, "Barcode", 7, 7, 328, 225, 0},
    {IDC_STATIC, "IDC_STATIC", Kind::Label, "Barcode text:", 18, 23, 45, 8, 0},
    {IDC_STATIC, "IDC_STATIC", Kind::Label, "Barcode type:", 51, 130, 46, 8, 0},
    {IDC_STATIC, "IDC_STATIC", Kind::Label, "Barline Width:", 51, 153, 46, 8, 0},
    {IDC_STATIC, "IDC_STATIC", Kind::Label, "Origin X:", 35, 69, 28, 8, 0},
    {IDC_STATIC, "IDC_STATIC", Kind::Label, "Origin Y:", 132, 69, 28, 8, 0},
    {IDC_STATIC, "IDC_STATIC", Kind::Label, "Barline Hight:", 152, 153, 44, 8, 0},
    {IDC_STATIC, "IDC_STATIC", Kind::Label, "Barline color:", 23, 176, 42, 8, 0},
    {IDC_BAR_SWATCH, "IDC_BAR_SWATCH", Kind::BlackFrame, "", 69, 169, 20, 15, 0},
    {IDC_STATIC, "IDC_STATIC", Kind::Label, "Space color:", 171, 176, 40, 8, 0},
    {IDC_SPACE_SWATCH, "IDC_SPACE_SWATCH", Kind::BlackFrame, "", 217, 169, 20, 15, 0},
    {IDC_DRAW_LINES, "IDC_DRAW_LINES", Kind::Radio, "Draw Barcode as lines", 16, 98, 86, 10, 0},
    {IDC_DRAW_TRUETYPE, "IDC_DRAW_TRUETYPE", Kind::Radio, "Print Barcode as TrueType:", 16, 210,
     103, 10, 0},
    {IDC_STATIC, "IDC_STATIC", Kind::Group, "Draw as lines", 15, 110, 312, 87, 0},
    {IDC_BARCODE_FONT, "IDC_BARCODE_FONT", Kind::Button, "Barcode Font", 132, 206, 55, 14,
     kTabStop | kDisabled},
    {IDC_REPEAT, "IDC_REPEAT", Kind::Edit, "", 55, 240, 40, 14, kCentre},
    {IDC_STATIC, "IDC_STATIC", Kind::Label, "Repeat it:", 18, 246, 33, 8, 0},
};

const char* NameOf(int id) {
    const auto it = std::find_if(std::begin(kTemplate), std::end(kTemplate),
                                 [id](const TemplateItem& t) { return t.id == id; });
    return it != std::end(kTemplate) ? it->name : "";
}

// A static black frame whose inside the dialog paints.
class CSwatch : public QFrame {
public:
    using Paint = std::function<void(QPainter&, QSize)>;
    CSwatch(QWidget* parent, Paint paint) : QFrame(parent), m_paint(std::move(paint)) {
        setFrameStyle(QFrame::Box | QFrame::Plain);
        setLineWidth(1);
        QPalette p = palette();
        p.setColor(QPalette::WindowText, Qt::black);
        setPalette(p);
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        QFrame::paintEvent(event);
        QPainter painter(this);
        m_paint(painter, size());
    }

private:
    Paint m_paint;
};

QWidget* MakeControl(const TemplateItem& t, QWidget* parent) {
    const QString caption = QString::fromLatin1(t.caption);
    switch (t.kind) {
    case Kind::Edit: {
        auto* edit = new QLineEdit(parent);
        edit->setAlignment((t.style & kCentre) != 0 ? Qt::AlignHCenter : Qt::AlignLeft);
        return edit;
    }
    case Kind::Combo:
        return new QComboBox(parent);
    case Kind::Check:
        return new QCheckBox(caption, parent);
    case Kind::Button:
    case Kind::DefButton: {
        auto* button = new QPushButton(caption, parent);
        button->setDefault(t.kind == Kind::DefButton);
        return button;
    }
    case Kind::Group: {
        auto* group = new QGroupBox(caption, parent);
        // A frame only: it lies under the controls and lets their clicks through.
        group->setAttribute(Qt::WA_TransparentForMouseEvents);
        return group;
    }
    case Kind::Label:
        return new QLabel(caption, parent);
    case Kind::Radio:
        return new QRadioButton(caption, parent);
    case Kind::BlackFrame:
        break;
    }
    return nullptr;
}

// Keeps only the 8-bit (Latin-1) form of a text; none when a character has
// no such form, or is NUL, which would end the text for the encoders.
std::optional<std::string> To8Bit(const QString& text) {
    std::string out;
    out.reserve(static_cast<std::size_t>(text.size()));
    for (const QChar c : text) {
        if (c.unicode() == 0 || c.unicode() > 0xFF) {
            return std::nullopt;
        }
        out.push_back(static_cast<char>(c.unicode()));
    }
    return out;
}

// The part of an edit text that gives its number: sign and leading digits.
QString NumberPart(const QString& text) {
    const QString t = text.trimmed();
    qsizetype end = !t.isEmpty() && (t[0] == u'+' || t[0] == u'-') ? 1 : 0;
    while (end < t.size() && t[end] >= u'0' && t[end] <= u'9') {
        ++end;
    }
    return t.left(end);
}

} // namespace

CDia_Bar::CDia_Bar(QWidget* pParent) : CDialog(pParent) {
    setObjectName(QStringLiteral("CDia_Bar"));
    setWindowTitle(QStringLiteral("Settings"));
    setFont(ShellDialogFont(8));
    CreateFromTemplate();
}

CDia_Bar::~CDia_Bar() = default;

// The controls in template order; the group boxes go beneath the others.
void CDia_Bar::CreateFromTemplate() {
    const CDialogUnits du(fontMetrics());
    setFixedSize(du.X(342), du.Y(262));
    for (const TemplateItem& t : kTemplate) {
        QWidget* w = nullptr;
        if (t.kind == Kind::BlackFrame) {
            const int id = t.id;
            w = new CSwatch(this, [this, id](QPainter& p, QSize s) { OnPaintSwatch(id, p, s); });
        } else {
            w = MakeControl(t, this);
        }
        w->setObjectName(QString::fromLatin1(t.name));
        QRect r = du.MapDialogRect(t.x, t.y, t.cx, t.cy);
        if (t.kind == Kind::Combo) {
            r.setHeight(du.Y(14)); // the template's height includes the drop-down list
        }
        w->setGeometry(r);
        w->setFocusPolicy((t.style & kTabStop) != 0                       ? Qt::StrongFocus
                          : t.kind == Kind::Edit || t.kind == Kind::Radio ? Qt::ClickFocus
                                                                          : Qt::NoFocus);
        w->setEnabled((t.style & kDisabled) == 0);
        if (t.kind == Kind::Group) {
            w->lower();
        }
    }
    // The template's initialisation data: the symbology list, its index the BarcodeType.
    auto* combo = Control<QComboBox>(IDC_TYPE);
    for (const SymbologyInfo& symbology : Symbologies()) {
        combo->addItem(QString::fromLatin1(symbology.listName));
    }

    const auto onClick = [this](int id, void (CDia_Bar::*handler)()) {
        connect(Control<QAbstractButton>(id), &QAbstractButton::clicked, this,
                [this, handler] { (this->*handler)(); });
    };
    onClick(IDC_BAR_COLOR, &CDia_Bar::OnBnClickedBarColor);
    onClick(IDC_SPACE_COLOR, &CDia_Bar::OnBnClickedSpaceColor);
    onClick(IDOK, &CDia_Bar::OnBnClickedOk);
    onClick(IDC_TEXT_FONT, &CDia_Bar::OnBnClickedTextFont);
    onClick(IDC_BARCODE_FONT, &CDia_Bar::OnBnClickedBarcodeFont);
    onClick(IDC_DRAW_TRUETYPE, &CDia_Bar::OnBnClickedDrawTrueType);
    onClick(IDC_DRAW_LINES, &CDia_Bar::OnBnClickedDrawLines);
    connect(Control<QAbstractButton>(IDCANCEL), &QAbstractButton::clicked, this,
            [this] { OnCancel(); });
}

template <class T> T* CDia_Bar::Control(int id) const {
    return findChild<T*>(QString::fromLatin1(NameOf(id)), Qt::FindDirectChildrenOnly);
}

void CDia_Bar::DoDataExchange() {
    m_editText = Control<QLineEdit>(IDC_TEXT);
    m_comboType = Control<QComboBox>(IDC_TYPE);
    m_checkShowText = Control<QCheckBox>(IDC_SHOW_TEXT);
    m_editBarWidth = Control<QLineEdit>(IDC_BAR_WIDTH);
    m_editOriginX = Control<QLineEdit>(IDC_ORIGIN_X);
    m_editOriginY = Control<QLineEdit>(IDC_ORIGIN_Y);
    m_editBarHeight = Control<QLineEdit>(IDC_BAR_HEIGHT);
    m_editRepeat = Control<QLineEdit>(IDC_REPEAT);
}

bool CDia_Bar::OnInitDialog() {
    CDialog::OnInitDialog();
    const BarcodeSettings& s = *m_pSettings;
    m_comboType->setCurrentIndex(s.m_nType);
    m_checkShowText->setChecked(s.m_bShowText);
    SetNumber(m_editBarWidth, s.m_nBarWidth);
    SetNumber(m_editBarHeight, s.m_nBarHeight);
    SetNumber(m_editOriginX, s.m_nOriginX);
    SetNumber(m_editOriginY, s.m_nOriginY);
    if (s.m_pLines != nullptr) {
        m_editText->setEnabled(false);
        m_editText->clear();
        m_editRepeat->setEnabled(false);
        m_editRepeat->clear();
    } else {
        m_editText->setText(
            QString::fromLatin1(s.m_strText.data(), static_cast<qsizetype>(s.m_strText.size())));
        SetNumber(m_editRepeat, s.m_nRepeat);
    }
    if (s.m_bTrueType) {
        Control<QRadioButton>(IDC_DRAW_TRUETYPE)->setChecked(true);
        OnBnClickedDrawTrueType();
    } else {
        Control<QRadioButton>(IDC_DRAW_LINES)->setChecked(true);
        OnBnClickedDrawLines();
    }
    return true;
}

// The inside of a swatch, from (1, 1) on, in the colour it shows.
void CDia_Bar::OnPaintSwatch(int id, QPainter& painter, QSize size) const {
    if (m_pSettings == nullptr) {
        return;
    }
    const COLORREF c = id == IDC_BAR_SWATCH ? m_pSettings->m_crBar : m_pSettings->m_crSpace;
    painter.fillRect(QRect(1, 1, size.width() - 1, size.height() - 1),
                     QColor(GetRValue(c), GetGValue(c), GetBValue(c)));
}

void CDia_Bar::EnableLineControls(bool lines) {
    Control<QWidget>(IDC_BARCODE_FONT)->setEnabled(!lines);
    for (const int id : {IDC_TYPE, IDC_BAR_WIDTH, IDC_BAR_HEIGHT, IDC_BAR_COLOR, IDC_SPACE_COLOR}) {
        Control<QWidget>(id)->setEnabled(lines);
    }
}

void CDia_Bar::OnBnClickedDrawTrueType() {
    EnableLineControls(false);
    m_pSettings->m_bTrueType = true;
}

void CDia_Bar::OnBnClickedDrawLines() {
    EnableLineControls(true);
    m_pSettings->m_bTrueType = false;
}

// The chooser opens on black, not on the current colour.
void CDia_Bar::ChooseColor(COLORREF& color) {
    QColorDialog dlg(QColor(Qt::black), this);
    if (dlg.exec() != QDialog::Accepted) {
        return;
    }
    const QColor c = dlg.selectedColor();
    color = RGB(c.red(), c.green(), c.blue());
    RedrawWindow();
}

void CDia_Bar::OnBnClickedBarColor() {
    ChooseColor(m_pSettings->m_crBar);
}

void CDia_Bar::OnBnClickedSpaceColor() {
    ChooseColor(m_pSettings->m_crSpace);
}

void CDia_Bar::ChooseFont(LOGFONT& lf, COLORREF& color) {
    CFontDialog dlg(&lf, CF_SCREENFONTS | CF_EFFECTS, this);
    dlg.m_cf.rgbColors = color;
    if (dlg.DoModal() != IDOK) {
        return;
    }
    dlg.GetCurrentFont(&lf);
    color = dlg.GetColor();
    RedrawWindow();
}

void CDia_Bar::OnBnClickedTextFont() {
    ChooseFont(m_pSettings->m_lfText, m_pSettings->m_crText);
}

void CDia_Bar::OnBnClickedBarcodeFont() {
    ChooseFont(m_pSettings->m_lfBarcode, m_pSettings->m_crBarcodeFont);
}

void CDia_Bar::OnBnClickedOk() {
    BarcodeSettings& s = *m_pSettings;
    m_strNo8BitText.reset();
    if (s.m_pLines == nullptr) {
        const QString text = m_editText->text();
        if (std::optional<std::string> bytes = To8Bit(text)) {
            s.m_strText = std::move(*bytes);
        } else {
            m_strNo8BitText = text;
        }
    }
    s.m_nType = m_comboType->currentIndex();
    s.m_bShowText = m_checkShowText->isChecked();
    m_clampNotes.clear();
    s.m_nBarWidth = GetBounded(m_editBarWidth, kLineWidthBound, kLineWidthBound.lowestInDialog);
    s.m_nBarHeight = GetBounded(m_editBarHeight, kBarHeightBound, kBarHeightBound.lowestInDialog);
    s.m_nOriginX = GetBounded(m_editOriginX, kOriginXBound, kOriginXBound.lowestInDialog);
    s.m_nOriginY = GetBounded(m_editOriginY, kOriginYBound, kOriginYBound.lowestInDialog);
    if (s.m_pLines == nullptr) {
        // A count below 1 becomes 1 as always; only the upper bound is noted.
        s.m_nRepeat = std::max(1, GetBounded(m_editRepeat, kRepeatBound, INT_MIN));
    }
    OnOK();
}

void CDia_Bar::SetNumber(QLineEdit* edit, int value) {
    m_strNumber = QString::number(value);
    edit->setText(m_strNumber);
}

int CDia_Bar::GetNumber(const QLineEdit* edit) {
    m_strNumber = edit->text();
    return TextToNumber(m_strNumber);
}

int CDia_Bar::GetBounded(const QLineEdit* edit, const SettingBound& bound, int lowest) {
    const int number = GetNumber(edit);
    const int value = std::clamp(number, lowest, bound.highest);
    if (value != number) {
        m_clampNotes.append(QStringLiteral("%1 %2 set to %3")
                                .arg(QString::fromLatin1(bound.label), NumberPart(m_strNumber))
                                .arg(value));
    }
    return value;
}

int CDia_Bar::TextToNumber(const QString& text) {
    const auto at = [&](qsizetype i) { return i < text.size() ? text[i].unicode() : char16_t{0}; };
    qsizetype i = 0;
    while (at(i) == ' ' || (at(i) >= '\t' && at(i) <= '\r')) {
        ++i;
    }
    const bool negative = at(i) == '-';
    if (at(i) == '+' || at(i) == '-') {
        ++i;
    }
    // Past 2^31 every further digit leaves the magnitude saturated.
    constexpr std::int64_t kLimit = std::int64_t{1} << 31;
    std::int64_t magnitude = 0;
    for (; at(i) >= '0' && at(i) <= '9'; ++i) {
        magnitude = std::min(kLimit, magnitude * 10 + (at(i) - '0'));
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    return static_cast<int>(std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(),
                                                     std::numeric_limits<int>::max()));
}

#include "FontDialog.h"

#include "DC.h"
#include "MulDiv.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

const NamedColor kBasicColors[16] = {
    {"Black", RGB(0, 0, 0)},       {"Maroon", RGB(128, 0, 0)},    {"Green", RGB(0, 128, 0)},
    {"Olive", RGB(128, 128, 0)},   {"Navy", RGB(0, 0, 128)},      {"Purple", RGB(128, 0, 128)},
    {"Teal", RGB(0, 128, 128)},    {"Gray", RGB(128, 128, 128)},  {"Silver", RGB(192, 192, 192)},
    {"Red", RGB(255, 0, 0)},       {"Lime", RGB(0, 255, 0)},      {"Yellow", RGB(255, 255, 0)},
    {"Blue", RGB(0, 0, 255)},      {"Fuchsia", RGB(255, 0, 255)}, {"Aqua", RGB(0, 255, 255)},
    {"White", RGB(255, 255, 255)},
};

namespace {

int ScreenDpi() {
    return DisplayResolution().y;
}

QString FaceOf(const LOGFONT& lf) {
    return QString::fromLatin1(lf.lfFaceName,
                               static_cast<qsizetype>(qstrnlen(lf.lfFaceName, LF_FACESIZE)));
}

// A face name fits a description when it is 8-bit text without NUL that
// leaves room for the terminating NUL.
bool FitsFaceName(const QString& family) {
    if (family.isEmpty() || family.size() >= LF_FACESIZE) {
        return false;
    }
    for (const QChar c : family) {
        if (c.unicode() == 0 || c.unicode() > 0xFF) {
            return false;
        }
    }
    return true;
}

// The chooser shows sizes in points; descriptions hold logical units.
QFont ToQFont(const LOGFONT& lf) {
    QFont font(FaceOf(lf));
    const long long pixels = std::llabs(static_cast<long long>(lf.lfHeight));
    if (pixels > 0) {
        font.setPointSizeF(static_cast<double>(pixels) * 72.0 / ScreenDpi());
    }
    font.setWeight(static_cast<QFont::Weight>(
        lf.lfWeight == FW_DONTCARE ? FW_NORMAL : std::clamp(lf.lfWeight, 1, 1000)));
    font.setItalic(lf.lfItalic != 0);
    font.setUnderline(lf.lfUnderline != 0);
    font.setStrikeOut(lf.lfStrikeOut != 0);
    return font;
}

QIcon Swatch(COLORREF c) {
    QPixmap pixmap(16, 12);
    pixmap.fill(QColor(GetRValue(c), GetGValue(c), GetBValue(c)));
    return QIcon(pixmap);
}

} // namespace

CFontDialog::CFontDialog(const LOGFONT* lplfInitial, unsigned flags, QWidget* pParentWnd)
    : CDialog(pParentWnd), m_lfInitial(lplfInitial != nullptr ? *lplfInitial : LOGFONT{}),
      m_pChooser(new QFontDialog(this)), m_comboColor(new QComboBox(this)), m_buttonOk(nullptr) {
    m_cf.Flags = flags;
    setWindowTitle(QStringLiteral("Font"));

    // The chooser is embedded as a plain widget; this dialog owns OK and Cancel.
    m_pChooser->setObjectName(QStringLiteral("FontChooser"));
    m_pChooser->setWindowFlags(Qt::Widget);
    m_pChooser->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);
    m_pChooser->setCurrentFont(ToQFont(m_lfInitial));
    m_strInitialFamily = m_pChooser->currentFont().family();
    m_dInitialPoints = m_pChooser->currentFont().pointSizeF();

    m_comboColor->setObjectName(QStringLiteral("IDC_FONT_COLOR"));
    auto* colorLabel = new QLabel(QStringLiteral("&Color:"), this);
    colorLabel->setBuddy(m_comboColor);
    auto* colorRow = new QHBoxLayout;
    colorRow->addWidget(colorLabel);
    colorRow->addWidget(m_comboColor);
    colorRow->addStretch(1);
    const bool effects = (flags & CF_EFFECTS) != 0;
    colorLabel->setVisible(effects);
    m_comboColor->setVisible(effects);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_buttonOk = buttons->button(QDialogButtonBox::Ok);
    m_buttonOk->setObjectName(QStringLiteral("IDOK"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("IDCANCEL"));
    connect(buttons, &QDialogButtonBox::accepted, this, [this] { OnOK(); });
    connect(buttons, &QDialogButtonBox::rejected, this, [this] { OnCancel(); });
    connect(m_pChooser, &QFontDialog::currentFontChanged, this, [this] { OnFontChanged(); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pChooser);
    layout->addLayout(colorRow);
    layout->addWidget(buttons);
    OnFontChanged();
}

// Fills the colour list: the basic colours, and the preset one when it is
// none of them, selected.
bool CFontDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    m_comboColor->clear();
    int selected = -1;
    for (const NamedColor& c : kBasicColors) {
        if (c.color == m_cf.rgbColors) {
            selected = m_comboColor->count();
        }
        m_comboColor->addItem(Swatch(c.color), QString::fromLatin1(c.name),
                              QVariant::fromValue(c.color));
    }
    if (selected < 0) {
        selected = m_comboColor->count();
        m_comboColor->addItem(Swatch(m_cf.rgbColors), QStringLiteral("Custom"),
                              QVariant::fromValue(m_cf.rgbColors));
    }
    m_comboColor->setCurrentIndex(selected);
    return true;
}

void CFontDialog::OnFontChanged() {
    m_buttonOk->setEnabled(FitsFaceName(m_pChooser->currentFont().family()));
}

// A family or size left as the chooser showed it keeps the initial face
// name or height: a face that only resolves to another family (a
// substitution) stays as named, and a height does not drift by rounding to
// the chooser's point sizes.
void CFontDialog::GetCurrentFont(LOGFONT* lplf) const {
    const QFont font = m_pChooser->currentFont();
    LOGFONT lf = m_lfInitial;
    if (font.family() != m_strInitialFamily && FitsFaceName(font.family())) {
        std::memset(lf.lfFaceName, 0, sizeof lf.lfFaceName);
        const QByteArray face = font.family().toLatin1();
        std::memcpy(lf.lfFaceName, face.constData(), static_cast<std::size_t>(face.size()));
    }
    const double points = font.pointSizeF();
    if (points > 0 && points != m_dInitialPoints) {
        // Within what fonts are drawn at (see CDC::MakeFont).
        constexpr double kMaxPixels = 10000;
        lf.lfHeight = -static_cast<int>(
            std::lround(std::clamp(points * ScreenDpi() / 72.0, 1.0, kMaxPixels)));
    }
    lf.lfWidth = 0;
    lf.lfWeight = font.weight();
    lf.lfItalic = font.italic() ? 1 : 0;
    lf.lfUnderline = font.underline() ? 1 : 0;
    lf.lfStrikeOut = font.strikeOut() ? 1 : 0;
    *lplf = lf;
}

COLORREF CFontDialog::GetColor() const {
    const QVariant v = m_comboColor->currentData();
    return v.isValid() ? v.value<COLORREF>() : m_cf.rgbColors;
}

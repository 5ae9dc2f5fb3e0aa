#pragma once

#include "Dialog.h"
#include "Gdi.h"

#include <QString>

class QComboBox;
class QFontDialog;
class QPushButton;

constexpr unsigned CF_SCREENFONTS = 0x0001;
constexpr unsigned CF_EFFECTS = 0x0100;

// What the font chooser starts from and returns besides the font.
struct CHOOSEFONT {
    unsigned Flags = CF_SCREENFONTS;
    COLORREF rgbColors = 0; // the text colour (with CF_EFFECTS)
};

// Font chooser preset to a font description: face, style and size, and with
// CF_EFFECTS underline, strike-out and a text colour from the sixteen basic
// colours. A face whose name has no 8-bit form, or is too long for a
// description, cannot be confirmed.
class CFontDialog : public CDialog {
public:
    explicit CFontDialog(const LOGFONT* lplfInitial = nullptr,
                         unsigned flags = CF_EFFECTS | CF_SCREENFONTS,
                         QWidget* pParentWnd = nullptr);

    bool OnInitDialog() override;

    // The chosen font as a description, in the screen's logical units.
    void GetCurrentFont(LOGFONT* lplf) const;
    // The chosen text colour.
    COLORREF GetColor() const;

    CHOOSEFONT m_cf;

private:
    void OnFontChanged();

    LOGFONT m_lfInitial;
    // What the chooser made of the initial face and size.
    QString m_strInitialFamily;
    double m_dInitialPoints = 0;
    QFontDialog* m_pChooser;
    QComboBox* m_comboColor;
    QPushButton* m_buttonOk;
};

// The sixteen basic colours of the chooser, in its order.
struct NamedColor {
    const char* name;
    COLORREF color;
};
extern const NamedColor kBasicColors[16];

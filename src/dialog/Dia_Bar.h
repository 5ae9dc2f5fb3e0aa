#pragma once

#include "Dialog.h"
#include "Gdi.h"
#include "SettingsBounds.h"

#include <QString>
#include <QStringList>

#include <optional>

struct BarcodeSettings;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPainter;
class QRadioButton;

// The Settings dialog's template and control ids; each control's objectName
// is its identifier ("IDC_TEXT", ...).
constexpr int IDD_DIA_BAR = 130;
constexpr int IDC_TEXT = 1000;
constexpr int IDC_TYPE = 1001;
constexpr int IDC_SHOW_TEXT = 1002;
constexpr int IDC_BAR_WIDTH = 1003;
constexpr int IDC_ORIGIN_X = 1004;
constexpr int IDC_ORIGIN_Y = 1005;
constexpr int IDC_BAR_HEIGHT = 1006;
constexpr int IDC_BAR_COLOR = 1007;
constexpr int IDC_BAR_SWATCH = 1008;
constexpr int IDC_SPACE_COLOR = 1009;
constexpr int IDC_SPACE_SWATCH = 1010;
constexpr int IDC_TEXT_FONT = 1011;
constexpr int IDC_BARCODE_FONT = 1012;
constexpr int IDC_DRAW_LINES = 1013;
constexpr int IDC_DRAW_TRUETYPE = 1014;
constexpr int IDC_REPEAT = 1015;

// The modal Settings dialog. It edits the settings block m_pSettings points
// at in place: the mode radios and the colour and font choosers write at
// once, the edits, the symbology and the show-text box on OK.
class CDia_Bar : public CDialog {
public:
    explicit CDia_Bar(QWidget* pParent = nullptr);
    ~CDia_Bar() override;

    // Bounds of the numbers OK stores, so that layout and drawing stay
    // finite: line width, bar height and origin lie within +-bound, the
    // repeat count within 1 .. kMaxRepeat (the table tavik-batch uses too).
    static constexpr int kMaxBarWidth = kLineWidthBound.highest;
    static constexpr int kMaxBarHeight = kBarHeightBound.highest;
    static constexpr int kMaxOrigin = kOriginXBound.highest;
    static constexpr int kMaxRepeat = kRepeatBound.highest;

    // An edit text as a number: white space, one sign, the leading digits;
    // 0 without digits; saturated to 32 bits.
    static int TextToNumber(const QString& text);

    bool OnInitDialog() override;
    void DoDataExchange() override;

    void OnBnClickedBarColor();
    void OnBnClickedSpaceColor();
    void OnBnClickedOk();
    void OnBnClickedTextFont();
    void OnBnClickedBarcodeFont();
    void OnBnClickedDrawTrueType();
    void OnBnClickedDrawLines();

    QString m_strNumber;
    // The block being edited, not owned; set before DoModal.
    BarcodeSettings* m_pSettings = nullptr;
    QLineEdit* m_editText = nullptr;
    QLineEdit* m_editBarWidth = nullptr;
    QLineEdit* m_editOriginX = nullptr;
    QLineEdit* m_editOriginY = nullptr;
    QLineEdit* m_editBarHeight = nullptr;
    QLineEdit* m_editRepeat = nullptr;
    QComboBox* m_comboType = nullptr;
    QCheckBox* m_checkShowText = nullptr;

    // Set by OK when the text has no 8-bit form: the text as typed. The
    // settings' text is then left as it was, and the caller refuses it.
    std::optional<QString> m_strNo8BitText;
    // Set by OK: one note for each value it brought within its bound, e.g.
    // "Barline Width 99999999999 set to 100".
    QStringList m_clampNotes;

private:
    void CreateFromTemplate();
    // Fills a colour swatch, called when the swatch paints.
    void OnPaintSwatch(int id, QPainter& painter, QSize size) const;
    void EnableLineControls(bool lines);
    void ChooseColor(COLORREF& color);
    void ChooseFont(LOGFONT& lf, COLORREF& color);
    void SetNumber(QLineEdit* edit, int value);
    int GetNumber(const QLineEdit* edit);
    // The number in edit within [lowest, bound.highest]; a note when it was not.
    int GetBounded(const QLineEdit* edit, const SettingBound& bound, int lowest);

    template <class T> T* Control(int id) const;
};

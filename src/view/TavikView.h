#pragma once

#include "Barcode128.h"
#include "Barcode39.h"
#include "Barcode93.h"
#include "BarcodeEan13.h"
#include "BarcodeI2of5.h"
#include "BarcodeSettings.h"
#include "ScrollView.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

class CTavikDoc;

// The barcode view: its own settings, one encoder per symbology family, two
// fonts, and the rows it draws on the screen, in previews and on paper.
class CTavikView : public CScrollView {
public:
    explicit CTavikView(QWidget* parent = nullptr);
    ~CTavikView() override;

    CTavikDoc* GetDocument() const;

    void OnInitialUpdate() override;
    void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = nullptr) override;
    void OnDraw(CDC* pDC) override;
    void OnPrint(CDC* pDC, CPrintInfo* pInfo) override;
    // The page-fit check and the refused rows, as tavik-batch reports them.
    QString CheckPrintable(const QPrinter& printer) override;
    bool ReportPrintGaps(const std::function<void(const QString&)>& report) override;

    // Encodes text with the symbology of the settings; false when refused.
    bool EncodeText(std::string text);
    // One row with its top-left corner at (x, y).
    void DrawBarcode(CDC* pDC, int x, int y, std::string_view text);

    // The Settings command: a double click anywhere in the view, or Show
    // Settings, opens the Settings dialog on m_settings and applies it.
    void OnShowSettings();
    void OnLButtonDblClk(UINT nFlags, QPoint point) override;
    // Dragging the origin, or in lines mode the bars' bottom edge.
    void OnLButtonDown(UINT nFlags, QPoint point) override;
    void OnMouseMove(UINT nFlags, QPoint point) override;
    void OnLButtonUp(UINT nFlags, QPoint point) override;

    // Vertical distance between row tops on this surface (may be 0 or less).
    int RowPitch(CDC* pDC) const;
    // The encoder that serves a BarcodeType, or null.
    CBarcodeBase* EncoderFor(int type);
    // The right edge of the widest row the last screen paint or measure drew;
    // INT64_MIN when it drew none.
    std::int64_t DrawnRight() const { return m_nDrawnRight; }

    bool m_bMovingOrigin = false;
    bool m_bResizingHeight = false;
    std::string m_strScratch;
    CFont m_fontText;
    CFont m_fontBarcode;
    CPrintInfo* m_pPrintInfo = nullptr;
    CBarcode39 m_code39;
    CBarcode93 m_code93;
    CBarcode128 m_code128;
    CBarcodeEan13 m_ean13;
    CBarcodeI2of5 m_i2of5;
    BarcodeSettings m_settings;

    // Runs inside EncodeText's protected region, before the encoder (tests
    // use it to raise an exception there).
    std::function<void()> m_beforeEncode;

private:
    struct RowExtent {
        std::int64_t top;    // relative to the row's top, may be negative
        std::int64_t bottom; // exclusive
    };

    // After an accepted Settings OK: scroll sizes, title, fonts, offsets.
    void ApplySettings();
    // Scroll sizes of the Settings command and the drags, rows of height tall.
    void SetSettingsScrollSizes(int height);

    RowExtent RowExtentOf(CDC* pDC) const;
    std::int64_t RowRight(CDC* pDC, std::string_view text);
    void DrawScreen(CDC* pDC, int pitch, std::int64_t rows);
    void DrawPage(CDC* pDC, int pitch, std::int64_t rows);
    // Draws row k below the origin (encoding its text first when asked).
    void DrawRow(CDC* pDC, std::int64_t k, int pitch, std::string_view text, bool encode);
    std::int64_t m_nDrawnRight = 0;
};

// Saturates a 64-bit value into 32 bits.
int SaturateInt(std::int64_t v);

#pragma once

#include "BarcodeSettings.h"
#include "DC.h"
#include "EncoderSet.h"
#include "PrintInfo.h"
#include "PrintLoop.h"
#include "RowPass.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

// The layout and drawing of a view's rows on any surface (screen, image, SVG,
// preview, PDF, paper), apart from any widget, so it also runs off the
// window's thread. It reads the settings, fonts and encoders it is given.
class CRowRenderer {
public:
    // Puts a row's text into the encoder of the settings' symbology before the
    // row is drawn; false leaves the row empty.
    using Encode = std::function<bool(std::string_view text)>;

    CRowRenderer(const BarcodeSettings& settings, const CFont& textFont, const CFont& barcodeFont,
                 const EncoderSet& encoders, CDC::Resolution display);

    const BarcodeSettings& Settings() const { return m_s; }
    // Rows in the layout: the list's lines, else the settings' repeat count.
    std::int64_t RowCount() const;
    // Vertical distance between row tops on dc (may be 0 or less). Font terms
    // come from the display's resolution on every surface, so a row has the
    // same pitch on the screen, in a preview and on paper.
    int RowPitch(const CDC& dc) const;
    // On a printing surface: display units mapped onto the device's.
    void PreparePrinting(CDC& dc) const;
    // One row with its top-left corner at (x, y), with the encoder's elements.
    void DrawBarcode(CDC& dc, int x, int y, std::string_view text) const;
    // The rows that reach into dc's clip box.
    void DrawScreen(CDC& dc, const Encode& encode) const;
    // Page info.m_nCurPage of the rows, each page starting again at the
    // origin (on a label sheet: a row a label); sets the page count in info.
    void DrawPage(CDC& dc, CPrintInfo& info, const Encode& encode) const;

private:
    struct RowExtent {
        std::int64_t top;    // relative to the row's top, may be negative
        std::int64_t bottom; // exclusive
    };
    RowExtent RowExtentOf(const CDC& dc) const;
    std::string_view RowText(std::int64_t k) const;
    // Row k at y (already shifted for the surface), encoded first for a list;
    // on paper a row that does not fit across the page is left empty. left moves
    // the row right (onto its label).
    void DrawRow(CDC& dc, std::int64_t k, std::int64_t y, const Encode& encode,
                 const class CPageFit* fit = nullptr, int left = 0) const;
    // DrawPage on the settings' label sheet: a row a label, the origin in each label.
    void DrawLabels(CDC& dc, CPrintInfo& info, const Encode& encode) const;

    const BarcodeSettings& m_s;
    const CFont& m_textFont;
    const CFont& m_barcodeFont;
    const EncoderSet& m_encoders;
    CDC::Resolution m_display;
};

// A renderer's inputs copied, with encoders of its own: rows drawn from it on
// another thread see neither later settings nor the view. The line list is
// shared, read-only, and must outlive it.
class CRowSnapshot {
public:
    // encoders' elements are copied too: without a list they are what is drawn.
    CRowSnapshot(const BarcodeSettings& settings, const CFont& textFont, const CFont& barcodeFont,
                 const EncoderSet& encoders, CDC::Resolution display, CDC::Resolution screen);
    CRowSnapshot(const CRowSnapshot&) = delete;
    CRowSnapshot& operator=(const CRowSnapshot&) = delete;

    const CRowRenderer& Renderer() const { return m_renderer; }
    // Encodes a row's text with the snapshot's encoders; a refused text is not
    // reported here (the row check reports it).
    bool Encode(std::string_view text);
    CRowRenderer::Encode Encoder() {
        return [this](std::string_view text) { return Encode(text); };
    }
    // The screen's resolution when the snapshot was made (images, SVG).
    CDC::Resolution Screen() const { return m_screen; }
    // What a pass over the rows works from: the snapshot's settings and fonts.
    RowPassInput PassInput() const;
    // The snapshot's encoder of a BarcodeType, or null.
    CBarcodeBase* EncoderFor(int type) { return m_encoders.For(type); }

private:
    BarcodeSettings m_settings;
    CFont m_textFont;
    CFont m_barcodeFont;
    EncoderSet m_encoders;
    CDC::Resolution m_screen;
    CRowRenderer m_renderer;
};

// The printed pages of a snapshot's rows, for the print loop on any thread;
// encode as for the renderer (by default the snapshot's own).
class CRowPages : public CPageSource {
public:
    explicit CRowPages(CRowSnapshot& rows, CRowRenderer::Encode encode = {})
        : m_rows(rows), m_encode(encode ? std::move(encode) : rows.Encoder()) {}
    void PreparePage(CDC& dc, CPrintInfo& info) override;
    void DrawPage(CDC& dc, CPrintInfo& info) override;

private:
    CRowSnapshot& m_rows;
    CRowRenderer::Encode m_encode;
};

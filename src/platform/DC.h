#pragma once

#include "Gdi.h"

#include <QFont>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QTransform>

#include <memory>
#include <string_view>
#include <utility>
#include <vector>

class CPaintTarget;
class QPainter;

// Device context over a QPainter: pens, fonts, text and mapping modes.
// Without a painter it only measures (text extents, clip box) and draws nothing.
// A printing context may draw on a paint target instead, the same runs and text.
class CDC : public CDrawSurface {
public:
    struct Resolution {
        int x = 96;
        int y = 96;
    };

    // output: resolution of the surface drawn on; attribute: of the device the
    // drawing is meant for (the printer in a preview, else the same).
    CDC(QPainter* painter, Resolution output, Resolution attribute, bool printing = false);
    // A printing context drawing on target at dpi.
    CDC(CPaintTarget& target, Resolution dpi);
    ~CDC() override;
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    bool IsPrinting() const { return m_printing; }
    int GetDeviceCaps(int index) const;
    int GetAttribDeviceCaps(int index) const;
    QPainter* Painter() const { return m_painter; }

    int SetMapMode(int mode);
    int GetMapMode() const { return m_mapMode; }
    QSize SetWindowExt(int cx, int cy);
    QSize SetViewportExt(int cx, int cy);
    QPoint SetWindowOrg(int x, int y);
    QPoint SetViewportOrg(int x, int y);
    QPoint GetViewportOrg() const { return m_viewportOrg; }
    QPoint GetWindowOrg() const { return m_windowOrg; }
    QTransform LogicalToDevice() const;

    // The device area being painted; GetClipBox returns it in logical units.
    void SetDeviceClip(const QRect& device) { m_deviceClip = device; }
    QRect GetClipBox() const;
    // The same, unclamped: the first and last logical rows it touches, which
    // far down a huge layout may pass the int range.
    std::pair<long long, long long> GetClipRows() const;

    CFont* SelectObject(CFont* font);
    COLORREF SetTextColor(COLORREF colour);
    COLORREF GetTextColor() const { return m_textColour; }
    // Text with its top-left corner at (x, y) on an opaque white background.
    void TextOut(int x, int y, std::string_view text);
    // Width and cell height of text in logical units, with the selected font.
    QSize GetTextExtent(std::string_view text) const;
    // The same for a given font (the selected one when null).
    QSize GetTextExtent(std::string_view text, const CFont* font) const;

    // Lays lines on the device's dot grid (on by default when printing): a line of
    // pen width w becomes max(1, round(w * device/logical)) whole device dots, the
    // first line of a run of adjacent lines starts at the dot nearest its logical
    // left edge, and each next line starts where the one before ended. With a bar
    // reduction of D dots, the lines of a run's first colour (the bars) end D dots
    // early and the lines after them (the spaces) start D dots early; D is kept
    // below the line width in dots.
    void SetDotGrid(bool on) { m_dotGrid = on; }
    bool DotGrid() const { return m_dotGrid; }
    void SetBarReduction(int dots) { m_barReduction = dots < 0 ? 0 : dots; }
    // On the grid, lines come out across times as wide and down times as long as
    // their logical figures say (before rounding to dots); 1 and 1 by default.
    // A line's top stays at the dot nearest its logical top.
    void SetLineScale(double across, double down);
    // Device pixels per unit of the painter's coordinates (a widget's scale
    // factor); the grid's dots are these true device pixels.
    void SetDevicePixelRatio(qreal ratio);
    // Whole device dots of a line of pen width logical units on the grid.
    int GridDots(int width) const;

    // Pen operations of the line renderer.
    Pen CreateSolidPen(int width, COLORREF colour) override;
    Pen SelectPen(Pen pen) override;
    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void DeletePen(Pen pen) override;

    // Paints what is still pending. Adjacent lines of one colour and bottom are
    // merged into one rectangle, and the rectangles of one symbol are painted a
    // colour at a time: far fewer drawing operations, the same pixels.
    void Flush();

    // The QFont a description stands for, sized in logical units.
    static QFont MakeFont(const LOGFONT& lf, int dpiY);

private:
    struct PenInfo {
        Pen pen;
        int width;
        COLORREF colour;
    };
    struct Run {
        int left = 0, right = 0, top = 0, bottom = 0;
        COLORREF colour = 0;
        bool active = false;
        bool bar = false; // on the grid: of the chain's first colour
    };
    // Adjacent lines on the dot grid, in logical and in device units.
    struct Chain {
        long long logicalRight = 0;
        long long deviceRight = 0;
        COLORREF bar = 0;
        int reduction = 0;
        bool active = false;
        int width = 0, dots = 0; // the last pen width and its dots
        bool rowKnown = false;   // the last top and bottom and their dots
        int top = 0, bottom = 0, deviceTop = 0, deviceBottom = 0;
    };

    // The device rectangle of a line on the dot grid; false when it is off the int range.
    static int GridDots(double width, const QTransform& toDevice);
    bool GridRun(long long left, long long right, int top, int bottom, int width, Run& run);
    // A vertical line of the selected pen from (x, fromY) to toY.
    void VerticalLine(int x, int fromY, int toY);
    bool ContinuesChain(long long left, int top, int bottom, int width) const;
    void ExtendChain(COLORREF colour);
    const PenInfo* FindPen(Pen pen) const;
    void AddRun(Run run);
    void FinishRun(Run* next);

    void ApplyTransform();
    bool Draws() const { return m_painter != nullptr || m_target != nullptr; }
    void PaintRuns();
    // Rectangles of one colour, in the coordinates toDots maps to device dots.
    void FillRects(COLORREF colour, const QTransform& toDots, const std::vector<QRectF>& rects);
    struct CachedFont;
    const CachedFont& FontFor(const CFont* font) const;
    int LogicalDpiY() const;

    QPainter* m_painter;
    CPaintTarget* m_target = nullptr;
    Resolution m_output;
    Resolution m_attribute;
    bool m_printing;

    int m_mapMode = MM_TEXT;
    QSize m_windowExt{1, 1};
    QSize m_viewportExt{1, 1};
    QPoint m_windowOrg{0, 0};
    QPoint m_viewportOrg{0, 0};
    QRect m_deviceClip;
    QTransform m_toDevice; // LogicalToDevice(), kept up to date by ApplyTransform
    qreal m_pixelRatio = 1;
    QTransform m_toDots; // m_toDevice in true device pixels

    // The few fonts a surface uses, made once, with the glyph and advance of
    // every 8-bit character, so text is laid out without shaping each time.
    struct FontCache;
    static std::shared_ptr<FontCache> SharedFontCache();
    std::shared_ptr<FontCache> m_fonts;
    CFont* m_font = nullptr;
    COLORREF m_textColour = 0;

    std::vector<PenInfo> m_pens;
    Pen m_nextPen = 1;
    Pen m_pen = 0;
    const PenInfo* m_selected = nullptr; // m_pen's entry in m_pens
    const PenInfo* m_previous = nullptr; // the pen selected before it, if still there
    QPoint m_current{0, 0};
    Run m_run;              // the run being extended
    bool m_dotGrid = false; // runs are in device units then
    int m_barReduction = 0;
    double m_lineAcross = 1;
    double m_lineDown = 1;
    Chain m_chain;
    std::vector<Run> m_runs;     // finished runs not painted yet
    std::vector<QRectF> m_rects; // the runs of one colour as they are painted
    std::vector<QRect> m_boxes;  // ... in whole parts of a dot, on a paint target
    std::vector<COLORREF> m_colours; // the colours of the runs being painted
};

// The display's logical resolution (the primary screen's; 96 without a screen).
CDC::Resolution DisplayResolution();

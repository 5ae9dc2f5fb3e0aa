#pragma once

#include "TrueType.h"

#include <array>
#include <bitset>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

typedef struct z_stream_s z_stream;

namespace pdf {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

// A rectangle in a drawing's units: x, y its top-left corner, y down.
struct Rect {
    double x, y, w, h;
};

// The same in whole units.
struct Box {
    int x, y, w, h;
};

// Where a drawing's units lie in device dots: dots = origin + (x * unitX, y * unitY).
struct Frame {
    double originX = 0, originY = 0;
    double unitX = 1;
    double unitY = 1;
};

// A TrueType or OpenType font to embed and the glyph each Latin-1 code shows.
struct Font {
    std::string name; // its PostScript name
    FontTables tables;
    std::array<std::uint16_t, 256> glyphs{};
};

// Writes a PDF file of pages of filled rectangles and lines of text, in device
// dots (y down) of a given resolution; text in embedded TrueType fonts, with
// its characters' Unicode so that it can be searched and copied. Page
// contents are compressed as they are finished; the fonts, with the outlines
// of the glyphs used, are written at the end.
class Writer {
public:
    Writer();
    ~Writer();
    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;

    // False with errno set when the file cannot be made.
    bool Open(const std::string& path, std::string_view title);
    // The font's number for ShowText.
    int AddFont(Font font);

    // A page widthPt by heightPt points whose dot (0, 0) is leftPt and topPt
    // from its top-left corner, at dpi dots per inch.
    void BeginPage(double widthPt, double heightPt, double leftPt, double topPt, double dpi);
    // The rectangles as one path, filled with colour.
    void FillRects(Rgb colour, const Frame& frame, const Rect* rects, std::size_t count);
    void FillRects(Rgb colour, const Frame& frame, const Box* boxes, std::size_t count);
    // Latin-1 text with its baseline's left end at (x, y) in dots, in an em of
    // emX by emY dots; advances[i] is how far (in ems) character i moves the
    // next one along.
    void ShowText(int font, Rgb colour, double x, double y, double emX, double emY,
                  std::string_view text, const double* advances);
    void EndPage();
    // Writes the rest of the file; false with errno set when writing failed.
    bool Close();

private:
    // The advances text of one size was laid out with (in thousandths of an
    // em, by code), written as a font resource of their own: glyphs then go
    // where the layout put them without a figure between each two.
    struct Widths {
        std::array<double, 256> advance{};
        std::bitset<256> known;
        int resource = 0; // its /F number
    };
    struct EmbeddedFont {
        Font font;
        FontMetrics metrics;
        std::bitset<256> used;
        bool cff = false; // outlines in a CFF table, not TrueType's
        std::vector<Widths> widths;
        std::size_t last = 0; // the widths used last
    };
    Widths& WidthsFor(EmbeddedFont& f, std::string_view text, const double* advances);
    using Codes = std::vector<std::pair<unsigned, unsigned>>; // code in the page, Latin-1 code
    void WriteFontDict(const EmbeddedFont& f, const Widths& w, const Codes& codes,
                       const std::string& name, int number, int descriptor, int map, int toGlyph);
    int NewObject();
    void BeginObject(int number);
    void Write(std::string_view s);
    void WriteStream(std::string_view head, std::string_view data, bool compress);
    void SetFill(Rgb colour);
    template <class Shape>
    void FillShapes(Rgb colour, const Frame& frame, const Shape* shapes, std::size_t count);
    void CloseMatrix();
    void WriteFont(int index, const std::vector<int>& numbers);

    std::FILE* m_file = nullptr;
    int m_error = 0;
    std::size_t m_offset = 0;
    std::vector<std::size_t> m_objects; // offsets, by object number - 1
    std::vector<int> m_pages;
    std::vector<EmbeddedFont> m_fonts;
    int m_resources = 0; // font resources so far
    std::string m_title;
    std::string m_content;
    std::string m_packed;
    std::vector<char> m_scratch; // a path's figures as they are written
    std::unique_ptr<z_stream> m_zip;
    double m_pageWidth = 0, m_pageHeight = 0;
    Rgb m_fill;
    bool m_fillKnown = false;
    std::array<double, 4> m_matrix{}; // of the open q ... cm, when there is one
    bool m_matrixOpen = false;
};

} // namespace pdf

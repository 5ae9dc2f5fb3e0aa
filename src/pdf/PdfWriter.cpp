#include "PdfWriter.h"

#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>

namespace pdf {

namespace {

void Int(std::string& s, long long v) {
    char buf[24];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    s.append(buf, r.ptr);
}

// A number to a thousandth, without trailing zeros, at p (at most kNumber
// characters); where it ends. What drawing needs, fast: most are whole.
constexpr std::size_t kNumber = 26;
// A whole number below 10^9 at p, two digits a step; where it ends.
char* PutWhole(char* p, std::uint32_t v) {
    static constexpr char kPairs[] = "00010203040506070809101112131415161718192021222324"
                                     "25262728293031323334353637383940414243444546474849"
                                     "50515253545556575859606162636465666768697071727374"
                                     "75767778798081828384858687888990919293949596979899";
    if (v < 10) {
        *p = static_cast<char>('0' + v);
        return p + 1;
    }
    if (v < 100) {
        std::memcpy(p, kPairs + 2 * v, 2);
        return p + 2;
    }
    if (v < 10000) { // most figures of a page: three or four digits
        const std::uint32_t high = v / 100;
        if (high < 10) {
            *p++ = static_cast<char>('0' + high);
        } else {
            std::memcpy(p, kPairs + 2 * high, 2);
            p += 2;
        }
        std::memcpy(p, kPairs + 2 * (v % 100), 2);
        return p + 2;
    }
    char digits[10];
    char* d = digits + sizeof digits;
    while (v >= 100) {
        d -= 2;
        std::memcpy(d, kPairs + 2 * (v % 100), 2);
        v /= 100;
    }
    if (v >= 10) {
        d -= 2;
        std::memcpy(d, kPairs + 2 * v, 2);
    } else {
        *--d = static_cast<char>('0' + v);
    }
    const auto n = static_cast<std::size_t>(digits + sizeof digits - d);
    std::memcpy(p, d, n);
    return p + n;
}

char* Put(char* p, double v) {
    if (v > -1e9 && v < 1e9 && v == static_cast<double>(static_cast<int>(v))) {
        const int whole = static_cast<int>(v);
        if (whole < 0) {
            *p++ = '-';
        }
        return PutWhole(p, static_cast<std::uint32_t>(whole < 0 ? -whole : whole));
    }
    const long long milli = std::llround(v * 1000);
    if (milli < 0) {
        *p++ = '-';
    }
    const long long a = milli < 0 ? -milli : milli;
    p = std::to_chars(p, p + kNumber, a / 1000).ptr;
    long long frac = a % 1000;
    if (frac != 0) {
        *p++ = '.';
        for (long long unit = 100; frac != 0; unit /= 10) {
            *p++ = static_cast<char>('0' + frac / unit);
            frac %= unit;
        }
    }
    return p;
}

char* Put(char* p, int v) {
    if (v < 0) {
        *p++ = '-';
    }
    return PutWhole(p, v < 0 ? 0u - static_cast<std::uint32_t>(v) : static_cast<std::uint32_t>(v));
}

void Num(std::string& s, double v) {
    char buf[kNumber];
    s.append(buf, Put(buf, v));
}

// A number with the precision of the page's own figures.
void Exact(std::string& s, double v) {
    char buf[48];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 6);
    std::string_view d(buf, static_cast<std::size_t>(r.ptr - buf));
    while (d.back() == '0') {
        d.remove_suffix(1);
    }
    if (d.back() == '.') {
        d.remove_suffix(1);
    }
    s.append(d == "-0" ? "0" : d);
}

// The matrix a 0 0 d e f (a scale and a move), its numbers written by number.
void Matrix(std::string& s, void (*number)(std::string&, double), double a, double d, double e,
            double f) {
    number(s, a);
    s += " 0 0 ";
    number(s, d);
    s.push_back(' ');
    number(s, e);
    s.push_back(' ');
    number(s, f);
}

void Hex4(std::string& s, unsigned v) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    for (int shift = 12; shift >= 0; shift -= 4) {
        s.push_back(kHex[(v >> shift) & 0xF]);
    }
}

// A PDF name of the characters a name may hold as they are.
std::string Name(std::string_view name) {
    std::string out;
    for (const char c : name) {
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
            c == '-' || c == '_' || c == '.' || c == '+') {
            out.push_back(c);
        }
    }
    return out.empty() ? std::string("Font") : out;
}

// A literal string of Latin-1 text.
std::string Literal(std::string_view text) {
    std::string out = "(";
    for (const char c : text) {
        if (c == '(' || c == ')' || c == '\\') {
            out.push_back('\\');
        }
        out.push_back(c);
    }
    return out + ")";
}

} // namespace

Writer::Writer() : m_zip(std::make_unique<z_stream>()) {
    // The fastest level, and a hash table small enough to clear for every page.
    if (deflateInit2(m_zip.get(), 1, Z_DEFLATED, 15, 6, Z_DEFAULT_STRATEGY) != Z_OK) {
        m_zip.reset();
    }
}

Writer::~Writer() {
    if (m_zip) {
        deflateEnd(m_zip.get());
    }
    if (m_file != nullptr) {
        std::fclose(m_file);
    }
}

bool Writer::Open(const std::string& path, std::string_view title) {
    m_file = std::fopen(path.c_str(), "wb");
    if (m_file == nullptr) {
        return false;
    }
    std::setvbuf(m_file, nullptr, _IOFBF, 1 << 20);
    m_title = title;
    Write("%PDF-1.4\n%\xE2\xE3\xCF\xD3\n");
    for (int i = 0; i < 4; ++i) { // catalog, page tree, resources, information
        NewObject();
    }
    m_content.reserve(1 << 20);
    return true;
}

int Writer::AddFont(Font font) {
    FontMetrics metrics = ReadMetrics(font.tables);
    const bool cff = !metrics.outlines && !font.tables.Find("CFF ").empty();
    m_fonts.push_back(EmbeddedFont{std::move(font), std::move(metrics), {}, cff, {}, 0});
    return static_cast<int>(m_fonts.size()) - 1;
}

int Writer::NewObject() {
    m_objects.push_back(0);
    return static_cast<int>(m_objects.size());
}

void Writer::BeginObject(int number) {
    m_objects[static_cast<std::size_t>(number) - 1] = m_offset;
    std::string s;
    Int(s, number);
    s += " 0 obj\n";
    Write(s);
}

void Writer::Write(std::string_view s) {
    if (m_file == nullptr || s.empty()) {
        return;
    }
    if (std::fwrite(s.data(), 1, s.size(), m_file) != s.size() && m_error == 0) {
        m_error = errno != 0 ? errno : EIO;
    }
    m_offset += s.size();
}

// A stream object's dictionary (without its length) and data, compressed at
// zlib's fastest level when asked.
void Writer::WriteStream(std::string_view head, std::string_view data, bool compress) {
    if (compress && m_zip) {
        m_packed.resize(deflateBound(m_zip.get(), data.size()) + 16);
        z_stream& z = *m_zip;
        deflateReset(&z);
        z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
        z.avail_in = static_cast<uInt>(data.size());
        z.next_out = reinterpret_cast<Bytef*>(m_packed.data());
        z.avail_out = static_cast<uInt>(m_packed.size());
        deflate(&z, Z_FINISH);
        m_packed.resize(z.total_out);
        data = m_packed;
    }
    std::string s = "<<";
    s += head;
    s += compress && m_zip ? "/Filter/FlateDecode/Length " : "/Length ";
    Int(s, static_cast<long long>(data.size()));
    s += ">>\nstream\n";
    Write(s);
    Write(data);
    Write("\nendstream\nendobj\n");
}

void Writer::BeginPage(double widthPt, double heightPt, double leftPt, double topPt, double dpi) {
    m_pageWidth = widthPt;
    m_pageHeight = heightPt;
    m_content.clear();
    m_fillKnown = false;
    // Dots, y down, from the page's (left, top) point.
    const double s = 72.0 / dpi;
    Matrix(m_content, Exact, s, -s, leftPt, heightPt - topPt);
    m_content += " cm\n";
}

void Writer::SetFill(Rgb c) {
    if (m_fillKnown && c == m_fill) {
        return;
    }
    for (const unsigned v : {c.r, c.g, c.b}) {
        Num(m_content, v / 255.0);
        m_content.push_back(' ');
    }
    m_content += "rg\n";
    m_fill = c;
    m_fillKnown = true;
}

void Writer::FillRects(Rgb colour, const Frame& frame, const Rect* rects, std::size_t count) {
    FillShapes(colour, frame, rects, count);
}

void Writer::FillRects(Rgb colour, const Frame& frame, const Box* boxes, std::size_t count) {
    FillShapes(colour, frame, boxes, count);
}

template <class Shape>
void Writer::FillShapes(Rgb colour, const Frame& frame, const Shape* rects, std::size_t count) {
    if (count == 0) {
        return;
    }
    std::string& s = m_content;
    // Rectangles of one top and height (a row's bars) are drawn one unit high
    // from that top: two figures fewer each.
    bool row = true;
    for (std::size_t i = 1; i < count && row; ++i) {
        row = rects[i].y == rects[0].y && rects[i].h == rects[0].h;
    }
    row = row && rects[0].h != 0;
    const double height = row ? rects[0].h : 1;
    const double top = row ? rects[0].y : 0;
    // The next path of the same frame (a row's bars on its background) keeps it.
    const std::array<double, 4> matrix{frame.unitX, height * frame.unitY, frame.originX,
                                       frame.originY + top * frame.unitY};
    if (m_matrixOpen && matrix != m_matrix) {
        CloseMatrix();
    }
    if (!m_matrixOpen) {
        s += "q ";
        Matrix(s, Num, matrix[0], matrix[1], matrix[2], matrix[3]);
        s += " cm\n";
        m_matrix = matrix;
        m_matrixOpen = true;
    }
    SetFill(colour);
    const std::size_t most = count * (4 * kNumber + 8);
    if (m_scratch.size() < most) {
        m_scratch = std::vector<char>(most);
    }
    char* p = m_scratch.data();
    for (std::size_t i = 0; i < count; ++i) {
        const Shape& r = rects[i];
        p = Put(p, r.x);
        if (row) {
            std::memcpy(p, " 0 ", 3);
            p = Put(p + 3, r.w);
            std::memcpy(p, " 1 re\n", 6);
            p += 6;
        } else {
            *p++ = ' ';
            p = Put(p, (r.y - top) / height);
            *p++ = ' ';
            p = Put(p, r.w);
            *p++ = ' ';
            p = Put(p, r.h / height);
            std::memcpy(p, " re\n", 4);
            p += 4;
        }
    }
    s.append(m_scratch.data(), p);
    s += "f\n";
}

void Writer::CloseMatrix() {
    if (m_matrixOpen) {
        m_content += "Q\n";
        m_matrixOpen = false;
        m_fillKnown = false; // the colour before the q is back
    }
}

void Writer::ShowText(int font, Rgb colour, double x, double y, double emX, double emY,
                      std::string_view text, const double* advances) {
    if (text.empty() || font < 0 || font >= static_cast<int>(m_fonts.size())) {
        return;
    }
    EmbeddedFont& f = m_fonts[static_cast<std::size_t>(font)];
    const Widths& widths = WidthsFor(f, text, advances);
    CloseMatrix();
    SetFill(colour);
    std::string& s = m_content;
    s += "BT /F";
    Int(s, widths.resource);
    s += " 1 Tf ";
    Matrix(s, Num, emX, -emY, x, y);
    s += " Tm [<";
    const double units = f.metrics.unitsPerEm;
    // Each next glyph goes where the layout put it, not where the font's width
    // says, to a fiftieth of a dot: the differences are kept until they come to that.
    const double close = 1000.0 / 50 / std::max(std::abs(emX), 1e-9);
    double shift = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto code = static_cast<unsigned char>(text[i]);
        const unsigned glyph = f.font.glyphs[code];
        f.used.set(code);
        const unsigned key = f.cff ? glyph : code;
        Hex4(s, key);
        shift += (key < 256 && widths.known.test(key) ? widths.advance[key]
                                                      : f.metrics.Advance(glyph) * 1000.0 / units) -
                 advances[i] * 1000.0;
        if (i + 1 < text.size() && std::abs(shift) >= close) {
            s += ">";
            Num(s, shift);
            s += "<";
            shift = 0;
        }
    }
    s += ">]TJ ET\n";
}

// The widths a text was laid out with: those of an earlier text when its
// characters agree with them, else new ones.
Writer::Widths& Writer::WidthsFor(EmbeddedFont& f, std::string_view text, const double* advances) {
    auto fits = [&](Widths& w, bool take) {
        for (std::size_t i = 0; i < text.size(); ++i) {
            const auto latin1 = static_cast<unsigned char>(text[i]);
            const unsigned key = f.cff ? f.font.glyphs[latin1] : latin1;
            if (key > 255) {
                continue; // a glyph number beyond the table keeps the font's own width
            }
            const double advance = advances[i] * 1000.0;
            if (!w.known.test(key)) {
                if (take) {
                    w.advance[key] = advance;
                    w.known.set(key);
                }
            } else if (std::abs(w.advance[key] - advance) > 1e-6) {
                return false;
            }
        }
        return true;
    };
    for (std::size_t n = 0; n < f.widths.size(); ++n) {
        Widths& w = f.widths[(f.last + n) % f.widths.size()];
        if (fits(w, false)) {
            fits(w, true);
            f.last = static_cast<std::size_t>(&w - f.widths.data());
            return w;
        }
    }
    Widths& w = f.widths.emplace_back();
    w.resource = m_resources++;
    fits(w, true);
    f.last = f.widths.size() - 1;
    return w;
}

void Writer::EndPage() {
    CloseMatrix();
    const int content = NewObject();
    BeginObject(content);
    WriteStream({}, m_content, true);
    const int page = NewObject();
    BeginObject(page);
    std::string s = "<</Type/Page/Parent 2 0 R/Resources 3 0 R/MediaBox[0 0 ";
    Exact(s, m_pageWidth);
    s.push_back(' ');
    Exact(s, m_pageHeight);
    s += "]/Contents ";
    Int(s, content);
    s += " 0 R>>\nendobj\n";
    Write(s);
    m_pages.push_back(page);
}

// The font as a composite font with its widths, its Unicode and its outlines.
// A TrueType font's codes are the Latin-1 codes (two bytes each) shown with
// the glyphs the layout chose, and only the glyphs used are kept; a font with
// CFF outlines is embedded whole and its codes are its glyph numbers.
// A font resource: the font with one set of widths.
void Writer::WriteFontDict(const EmbeddedFont& f, const Widths& w, const Codes& codes,
                           const std::string& name, int number, int descriptor, int map,
                           int toGlyph) {
    const int cid = NewObject();
    BeginObject(number);
    std::string s =
        "<</Type/Font/Subtype/Type0/BaseFont" + name + "/Encoding/Identity-H/DescendantFonts[";
    Int(s, cid);
    s += " 0 R]/ToUnicode ";
    Int(s, map);
    s += " 0 R>>\nendobj\n";
    Write(s);

    BeginObject(cid);
    s = "<</Type/Font/Subtype/" + std::string(f.cff ? "CIDFontType0" : "CIDFontType2") +
        "/BaseFont" + name + "/CIDSystemInfo<</Registry(Adobe)/Ordering(Identity)/Supplement 0>>";
    if (toGlyph != 0) {
        s += "/CIDToGIDMap ";
        Int(s, toGlyph);
        s += " 0 R";
    }
    s += "/FontDescriptor ";
    Int(s, descriptor);
    s += " 0 R/W[";
    const double scale = 1000.0 / f.metrics.unitsPerEm;
    for (const auto& [code, latin1] : codes) {
        Int(s, code);
        s += "[";
        Num(s, code < 256 && w.known.test(code) ? w.advance[code]
                                                : f.metrics.Advance(f.font.glyphs[latin1]) * scale);
        s += "]";
    }
    s += "]>>\nendobj\n";
    Write(s);
}

void Writer::WriteFont(int index, const std::vector<int>& numbers) {
    const EmbeddedFont& f = m_fonts[static_cast<std::size_t>(index)];
    std::vector<bool> keep;
    Codes codes;
    std::string glyphMap;
    for (unsigned c = 0; c < 256; ++c) {
        const unsigned g = f.font.glyphs[c];
        glyphMap.push_back(static_cast<char>(g >> 8));
        glyphMap.push_back(static_cast<char>(g & 0xFF));
        const bool shown = f.cff ? keep.size() <= g || !keep[g] : true;
        if (f.used.test(c) && shown) {
            codes.emplace_back(f.cff ? g : c, c);
            keep.resize(std::max<std::size_t>(keep.size(), g + 1));
            keep[g] = true;
        }
    }
    std::sort(codes.begin(), codes.end());
    const std::string program =
        f.cff ? OpenTypeFont(f.font.tables) : SubsetFont(f.font.tables, keep);
    const double scale = 1000.0 / f.metrics.unitsPerEm;
    // A subset's name starts with six capitals of its own.
    std::string tag = "TAVAAA+";
    tag[4] = static_cast<char>('A' + index / 676 % 26);
    tag[5] = static_cast<char>('A' + index / 26 % 26);
    tag[3] = static_cast<char>('A' + index % 26);
    const std::string name = "/" + (f.cff ? std::string() : tag) + Name(f.font.name);
    const int descriptor = NewObject(), map = NewObject();
    const int toGlyph = f.cff ? 0 : NewObject();
    const int file = program.empty() ? 0 : NewObject(); // outlines it cannot read stay out
    for (std::size_t i = 0; i < f.widths.size(); ++i) {
        WriteFontDict(f, f.widths[i], codes, name, numbers[i], descriptor, map, toGlyph);
    }

    BeginObject(descriptor);
    std::string s = "<</Type/FontDescriptor/FontName" + name + "/Flags 4/FontBBox[";
    for (const int v : {f.metrics.xMin, f.metrics.yMin, f.metrics.xMax, f.metrics.yMax}) {
        Num(s, v * scale);
        s.push_back(' ');
    }
    s += "]/ItalicAngle 0/Ascent ";
    Num(s, f.metrics.ascent * scale);
    s += "/Descent ";
    Num(s, f.metrics.descent * scale);
    s += "/CapHeight ";
    Num(s, f.metrics.ascent * scale);
    s += "/StemV 80";
    if (file != 0) {
        s += f.cff ? "/FontFile3 " : "/FontFile2 ";
        Int(s, file);
        s += " 0 R";
    }
    s += ">>\nendobj\n";
    Write(s);

    if (toGlyph != 0) {
        BeginObject(toGlyph);
        WriteStream({}, glyphMap, true);
    }
    if (file != 0) {
        BeginObject(file);
        std::string head = f.cff ? "/Subtype/OpenType" : "/Length1 ";
        if (!f.cff) {
            Int(head, static_cast<long long>(program.size()));
        }
        WriteStream(head, program, true);
    }

    s = "/CIDInit/ProcSet findresource begin 12 dict begin begincmap\n"
        "/CIDSystemInfo<</Registry(Adobe)/Ordering(UCS)/Supplement 0>>def\n"
        "/CMapName/Adobe-Identity-UCS def/CMapType 2 def\n"
        "1 begincodespacerange <0000><FFFF> endcodespacerange\n";
    for (std::size_t i = 0; i < codes.size(); i += 100) {
        const std::size_t n = std::min<std::size_t>(100, codes.size() - i);
        Int(s, static_cast<long long>(n));
        s += " beginbfchar\n";
        for (std::size_t k = i; k < i + n; ++k) {
            s += "<";
            Hex4(s, codes[k].first);
            s += "><";
            Hex4(s, codes[k].second);
            s += ">\n";
        }
        s += "endbfchar\n";
    }
    s += "endcmap CMapName currentdict /CMap defineresource pop end end\n";
    BeginObject(map);
    WriteStream({}, s, true);
}

bool Writer::Close() {
    if (m_file == nullptr) {
        errno = EBADF;
        return false;
    }
    std::string s = "<</Font<<";
    std::vector<std::vector<int>> fonts; // the objects of each font's resources
    for (const EmbeddedFont& f : m_fonts) {
        fonts.emplace_back();
        for (const Widths& w : f.widths) {
            fonts.back().push_back(NewObject());
            s += "/F";
            Int(s, w.resource);
            s.push_back(' ');
            Int(s, fonts.back().back());
            s += " 0 R";
        }
    }
    s += ">>>>\nendobj\n";
    BeginObject(3);
    Write(s);
    for (std::size_t i = 0; i < m_fonts.size(); ++i) {
        if (!m_fonts[i].widths.empty()) {
            WriteFont(static_cast<int>(i), fonts[i]);
        }
    }
    BeginObject(1);
    Write("<</Type/Catalog/Pages 2 0 R>>\nendobj\n");
    BeginObject(2);
    s = "<</Type/Pages/Count ";
    Int(s, static_cast<long long>(m_pages.size()));
    s += "/Kids[";
    for (const int p : m_pages) {
        Int(s, p);
        s += " 0 R ";
    }
    s += "]>>\nendobj\n";
    Write(s);
    BeginObject(4);
    Write("<</Title" + Literal(m_title) + "/Creator(Tavik)/Producer(Tavik)>>\nendobj\n");

    const std::size_t xref = m_offset;
    s = "xref\n0 ";
    Int(s, static_cast<long long>(m_objects.size()) + 1);
    s += "\n0000000000 65535 f \n";
    for (const std::size_t at : m_objects) {
        char line[21];
        std::snprintf(line, sizeof line, "%010zu 00000 n \n", at);
        s.append(line, 20);
    }
    s += "trailer\n<</Size ";
    Int(s, static_cast<long long>(m_objects.size()) + 1);
    s += "/Root 1 0 R/Info 4 0 R>>\nstartxref\n";
    Int(s, static_cast<long long>(xref));
    s += "\n%%EOF\n";
    Write(s);
    const bool closed = std::fclose(m_file) == 0;
    m_file = nullptr;
    if (!closed && m_error == 0) {
        m_error = errno != 0 ? errno : EIO;
    }
    if (m_error != 0) {
        errno = m_error;
        return false;
    }
    return true;
}

} // namespace pdf

#include "DC.h"

#include "MulDiv.h"
#include "PaintTarget.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QGuiApplication>
#include <QPaintEngine>
#include <QPainter>
#include <QRawFont>
#include <QScreen>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

QColor ToQColor(COLORREF c) {
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

QString FaceName(const LOGFONT& lf) {
    return QString::fromLatin1(lf.lfFaceName,
                               static_cast<qsizetype>(qstrnlen(lf.lfFaceName, LF_FACESIZE)));
}

} // namespace

CDC::CDC(QPainter* painter, Resolution output, Resolution attribute, bool printing)
    : m_painter(painter), m_output(output), m_attribute(attribute), m_printing(printing),
      m_fonts(SharedFontCache()), m_dotGrid(printing) {
    constexpr int kHuge = std::numeric_limits<int>::max() / 2;
    m_deviceClip = QRect(-kHuge, -kHuge, 2 * kHuge, 2 * kHuge);
    if (m_painter != nullptr) {
        m_painter->setRenderHint(QPainter::Antialiasing, false);
    }
    ApplyTransform();
}

CDC::CDC(CPaintTarget& target, Resolution dpi) : CDC(nullptr, dpi, dpi, true) {
    m_target = &target;
}

CDC::~CDC() {
    Flush();
}

int CDC::GetDeviceCaps(int index) const {
    return index == LOGPIXELSX ? m_output.x : (index == LOGPIXELSY ? m_output.y : 0);
}

int CDC::GetAttribDeviceCaps(int index) const {
    return index == LOGPIXELSX ? m_attribute.x : (index == LOGPIXELSY ? m_attribute.y : 0);
}

int CDC::SetMapMode(int mode) {
    Flush();
    const int old = m_mapMode;
    m_mapMode = mode;
    ApplyTransform();
    return old;
}

QSize CDC::SetWindowExt(int cx, int cy) {
    Flush();
    const QSize old = m_windowExt;
    m_windowExt = QSize(cx, cy);
    ApplyTransform();
    return old;
}

QSize CDC::SetViewportExt(int cx, int cy) {
    Flush();
    const QSize old = m_viewportExt;
    m_viewportExt = QSize(cx, cy);
    ApplyTransform();
    return old;
}

QPoint CDC::SetWindowOrg(int x, int y) {
    Flush();
    const QPoint old = m_windowOrg;
    m_windowOrg = QPoint(x, y);
    ApplyTransform();
    return old;
}

QPoint CDC::SetViewportOrg(int x, int y) {
    Flush();
    const QPoint old = m_viewportOrg;
    m_viewportOrg = QPoint(x, y);
    ApplyTransform();
    return old;
}

// device = (logical - windowOrg) * viewportExt / windowExt + viewportOrg;
// in MM_TEXT the extents are 1:1.
QTransform CDC::LogicalToDevice() const {
    qreal sx = 1.0, sy = 1.0;
    if (m_mapMode == MM_ANISOTROPIC && m_windowExt.width() != 0 && m_windowExt.height() != 0) {
        sx = static_cast<qreal>(m_viewportExt.width()) / m_windowExt.width();
        sy = static_cast<qreal>(m_viewportExt.height()) / m_windowExt.height();
    }
    return QTransform(sx, 0, 0, sy, m_viewportOrg.x() - m_windowOrg.x() * sx,
                      m_viewportOrg.y() - m_windowOrg.y() * sy);
}

void CDC::SetDevicePixelRatio(qreal ratio) {
    Flush();
    m_pixelRatio = ratio > 0 ? ratio : 1;
    ApplyTransform();
}

void CDC::ApplyTransform() {
    m_toDevice = LogicalToDevice();
    m_toDots = m_toDevice * QTransform::fromScale(m_pixelRatio, m_pixelRatio);
    if (m_painter != nullptr) {
        m_painter->setWorldTransform(m_toDevice);
    }
}

QRect CDC::GetClipBox() const {
    const QRectF logical = LogicalToDevice().inverted().mapRect(QRectF(m_deviceClip));
    static constexpr double kMax = std::numeric_limits<int>::max() / 2;
    auto clamp = [](double v) { return static_cast<int>(std::clamp(v, -kMax, kMax)); };
    // The mapped edges are exclusive; the last unit touched is the one before them.
    return QRect(
        QPoint(clamp(std::floor(logical.left())), clamp(std::floor(logical.top()))),
        QPoint(clamp(std::ceil(logical.right()) - 1), clamp(std::ceil(logical.bottom()) - 1)));
}

std::pair<long long, long long> CDC::GetClipRows() const {
    const QRectF logical = LogicalToDevice().inverted().mapRect(QRectF(m_deviceClip));
    return {static_cast<long long>(std::floor(logical.top())),
            static_cast<long long>(std::ceil(logical.bottom())) - 1};
}

CFont* CDC::SelectObject(CFont* font) {
    Flush();
    CFont* old = m_font;
    m_font = font;
    return old;
}

COLORREF CDC::SetTextColor(COLORREF colour) {
    const COLORREF old = m_textColour;
    m_textColour = colour;
    return old;
}

QFont CDC::MakeFont(const LOGFONT& lf, int dpiY) {
    QFont font(FaceName(lf));
    // Pixel sizes are kept within what the font engine renders sensibly.
    constexpr long long kMaxPixels = 10000;
    long long height = lf.lfHeight;
    if (height == 0) {
        height = -MulDiv(12, dpiY, 72); // the default: 12 points
    }
    if (height < 0) {
        font.setPixelSize(static_cast<int>(std::clamp(-height, 1LL, kMaxPixels)));
    } else {
        // A positive height is the cell height (ascent + descent): scale the em to fit.
        font.setPixelSize(100);
        const QFontMetricsF fm(font);
        const qreal cell = fm.ascent() + fm.descent();
        const auto em = static_cast<long long>(height * 100.0 / (cell > 0 ? cell : 100));
        font.setPixelSize(static_cast<int>(std::clamp(em, 1LL, kMaxPixels)));
    }
    const int weight = lf.lfWeight == FW_DONTCARE ? FW_NORMAL : std::clamp(lf.lfWeight, 1, 1000);
    font.setWeight(static_cast<QFont::Weight>(weight));
    font.setItalic(lf.lfItalic != 0);
    font.setUnderline(lf.lfUnderline != 0);
    font.setStrikeOut(lf.lfStrikeOut != 0);
    font.setKerning(false); // characters sit at their advances, as laid out here
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

// Font sizes are logical units; the default height follows the logical resolution.
int CDC::LogicalDpiY() const {
    return m_mapMode == MM_ANISOTROPIC ? m_windowExt.height() : m_output.y;
}

struct CDC::CachedFont {
    LOGFONT lf;
    int dpi;
    QFont font;
    QRawFont raw;
    qreal ascent = 0;
    qreal lineWidth = 0, underline = 0, strikeOut = 0; // below the baseline, and above it
    qreal descent = 0;
    std::array<quint32, 256> glyphs{};
    std::array<qreal, 256> advances{};

    CachedFont(const LOGFONT& description, int dpiY)
        : lf(description), dpi(dpiY), font(MakeFont(description, dpiY)),
          raw(QRawFont::fromFont(font)) {
        const QFontMetricsF fm(font);
        ascent = fm.ascent();
        descent = fm.descent();
        lineWidth = fm.lineWidth();
        underline = fm.underlinePos();
        strikeOut = fm.strikeOutPos();
        QString all(256, QChar());
        for (int c = 0; c < 256; ++c) {
            all[c] = QChar(c);
        }
        if (raw.isValid()) {
            QList<quint32> indexes = raw.glyphIndexesForString(all);
            QList<QPointF> advance = raw.advancesForGlyphIndexes(indexes);
            for (int c = 0; c < 256 && c < indexes.size(); ++c) {
                glyphs[c] = indexes[c];
                advances[c] = advance[c].x();
            }
        }
    }

    qreal Width(std::string_view text) const {
        qreal w = 0;
        for (const char ch : text) {
            w += advances[static_cast<unsigned char>(ch)];
        }
        return w;
    }
};

struct CDC::FontCache {
    std::vector<std::unique_ptr<CachedFont>> fonts;
};

// The contexts alive on one thread share their fonts: a context made for each
// page or each check finds them made. The fonts go with the last of them.
std::shared_ptr<CDC::FontCache> CDC::SharedFontCache() {
    thread_local std::weak_ptr<FontCache> shared;
    std::shared_ptr<FontCache> cache = shared.lock();
    if (!cache) {
        cache = std::make_shared<FontCache>();
        shared = cache;
    }
    return cache;
}

const CDC::CachedFont& CDC::FontFor(const CFont* font) const {
    // Without a font the surface's default one is used.
    const LOGFONT lf = font != nullptr && font->HasFont() ? font->Description() : LOGFONT{};
    const int dpi = LogicalDpiY();
    auto& fonts = m_fonts->fonts;
    for (const auto& c : fonts) {
        if (c->dpi == dpi && std::memcmp(&c->lf, &lf, sizeof lf) == 0) {
            return *c;
        }
    }
    fonts.push_back(std::make_unique<CachedFont>(lf, dpi));
    return *fonts.back();
}

QSize CDC::GetTextExtent(std::string_view text) const {
    return GetTextExtent(text, m_font);
}

QSize CDC::GetTextExtent(std::string_view text, const CFont* font) const {
    const CachedFont& f = FontFor(font);
    return QSize(static_cast<int>(std::ceil(f.Width(text))),
                 static_cast<int>(std::ceil(f.ascent + f.descent)));
}

// Characters are placed at their advances, without kerning, each with the
// font's own glyph; the cell behind them is filled white first.
void CDC::TextOut(int x, int y, std::string_view text) {
    Flush();
    if (!Draws() || text.empty()) {
        return;
    }
    const CachedFont& f = FontFor(m_font);
    if (m_target != nullptr) {
        const QRectF cell(x, y, f.Width(text), f.ascent + f.descent);
        m_target->FillRects(RGB(255, 255, 255), m_toDots, &cell, 1);
        const qreal baseline = y + f.ascent;
        if (f.raw.isValid()) {
            m_target->DrawText(f.raw, m_textColour, m_toDots, QPointF(x, baseline), text, f.glyphs,
                               f.advances);
        }
        // Underline and strike-out as lines of the font's own thickness.
        for (const auto& [on, at] : {std::pair(f.font.underline(), baseline + f.underline),
                                     std::pair(f.font.strikeOut(), baseline - f.strikeOut)}) {
            const QRectF line(x, at - f.lineWidth / 2, f.Width(text), f.lineWidth);
            if (on) {
                m_target->FillRects(m_textColour, m_toDots, &line, 1);
            }
        }
        return;
    }
    m_painter->fillRect(QRectF(x, y, f.Width(text), f.ascent + f.descent), Qt::white);
    m_painter->setPen(ToQColor(m_textColour));
    // A vector drawing keeps its text as text (with its font's name).
    const bool asText = m_painter->paintEngine() != nullptr &&
                        m_painter->paintEngine()->type() == QPaintEngine::SVG;
    if (asText || !f.raw.isValid()) {
        m_painter->setFont(f.font);
        m_painter->drawText(QPointF(x, y + f.ascent),
                            QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
        return;
    }
    QList<quint32> indexes(static_cast<qsizetype>(text.size()));
    QList<QPointF> positions(static_cast<qsizetype>(text.size()));
    qreal pen = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        indexes[static_cast<qsizetype>(i)] = f.glyphs[c];
        positions[static_cast<qsizetype>(i)] = QPointF(pen, 0);
        pen += f.advances[c];
    }
    QGlyphRun run;
    run.setRawFont(f.raw);
    run.setGlyphIndexes(indexes);
    run.setPositions(positions);
    run.setUnderline(f.font.underline());
    run.setStrikeOut(f.font.strikeOut());
    m_painter->drawGlyphRun(QPointF(x, y + f.ascent), run);
}

CDrawSurface::Pen CDC::CreateSolidPen(int width, COLORREF colour) {
    const Pen pen = m_nextPen++;
    m_pens.push_back(PenInfo{pen, width, colour});
    m_selected = FindPen(m_pen);
    m_previous = nullptr;
    return pen;
}

CDrawSurface::Pen CDC::SelectPen(Pen pen) {
    const Pen old = m_pen;
    if (pen == old) {
        return old;
    }
    m_pen = pen;
    // Bars and spaces take turns: the pen before is kept at hand.
    const PenInfo* before = m_selected;
    m_selected = m_previous != nullptr && m_previous->pen == pen ? m_previous : FindPen(pen);
    m_previous = before;
    return old;
}

// The next line of a symbol: it starts where the chain's last line ended, with
// the same pen width, top and bottom.
bool CDC::ContinuesChain(long long left, int top, int bottom, int width) const {
    return m_chain.active && m_chain.rowKnown && m_chain.logicalRight == left &&
           m_chain.width == width && m_chain.top == top && m_chain.bottom == bottom &&
           m_chain.deviceRight <= std::numeric_limits<int>::max() - m_chain.dots;
}

// What GridRun and AddRun make of such a line, without working it out again.
[[gnu::always_inline]] inline void CDC::ExtendChain(COLORREF colour) {
    const int deviceLeft = static_cast<int>(m_chain.deviceRight);
    m_chain.logicalRight += m_chain.width;
    m_chain.deviceRight += m_chain.dots;
    const int deviceRight = static_cast<int>(m_chain.deviceRight);
    if (m_run.active && m_run.colour == colour && m_run.right == deviceLeft &&
        m_run.top == m_chain.deviceTop && m_run.bottom == m_chain.deviceBottom) {
        m_run.right = deviceRight;
        return;
    }
    Run run{deviceLeft, deviceRight, m_chain.deviceTop,    m_chain.deviceBottom,
            colour,     true,        colour == m_chain.bar};
    FinishRun(&run);
    m_run = run;
}

void CDC::MoveTo(int x, int y) {
    m_current = QPoint(x, y);
}

void CDC::LineTo(int x, int y) {
    const QPoint from = m_current;
    m_current = QPoint(x, y);
    // Most lines are the next module of a symbol: straight on from the last one.
    const PenInfo* pen = m_selected;
    if (m_chain.rowKnown && m_chain.active && x == from.x() && from.y() == m_chain.top &&
        y == m_chain.bottom && pen != nullptr && pen->width == m_chain.width &&
        x - m_chain.width / 2 == m_chain.logicalRight && m_dotGrid && Draws() &&
        m_chain.deviceRight <= std::numeric_limits<int>::max() - m_chain.dots) {
        ExtendChain(pen->colour);
        return;
    }
    VerticalLine(from.x(), from.y(), y);
}

// A surface has a few pens at a time: a pen is looked up among them when selected.
const CDC::PenInfo* CDC::FindPen(Pen pen) const {
    const auto it = std::find_if(m_pens.begin(), m_pens.end(),
                                 [pen](const PenInfo& p) { return p.pen == pen; });
    return it == m_pens.end() ? nullptr : &*it;
}

void CDC::VerticalLine(int x, int fromY, int toY) {
    if (!Draws() || fromY == toY) {
        return;
    }
    const PenInfo* pen = m_selected;
    // A width of 0 or less, or the surface's own pen, draws one unit wide.
    const int width = (pen == nullptr || pen->width <= 0) ? 1 : pen->width;
    const COLORREF colour = pen == nullptr ? 0 : pen->colour;

    // A vertical line: the pen is centred on x and the end point is not painted.
    const long long left = static_cast<long long>(x) - width / 2;
    const int top = fromY < toY ? fromY : toY + 1;
    const int bottom = fromY < toY ? toY : fromY + 1; // exclusive
    const long long right = left + width;
    if (m_dotGrid && ContinuesChain(left, top, bottom, width)) {
        ExtendChain(colour);
        return;
    }
    Run run{0, 0, top, bottom, colour, true};
    if (m_dotGrid) {
        if (!GridRun(left, right, top, bottom, width, run)) {
            return;
        }
    } else if (left < std::numeric_limits<int>::min() || right > std::numeric_limits<int>::max()) {
        return;
    } else {
        run.left = static_cast<int>(left);
        run.right = static_cast<int>(right);
    }
    AddRun(run);
}

void CDC::SetLineScale(double across, double down) {
    Flush();
    m_lineAcross = across > 0 ? across : 1;
    m_lineDown = down > 0 ? down : 1;
}

int CDC::GridDots(int width) const {
    return GridDots(width * m_lineAcross, m_toDots);
}

int CDC::GridDots(double width, const QTransform& toDevice) {
    const double dots = std::round(width * std::abs(toDevice.m11()));
    return static_cast<int>(std::clamp(dots, 1.0, std::numeric_limits<int>::max() / 2.0));
}

bool CDC::GridRun(long long left, long long right, int top, int bottom, int width, Run& run) {
    const QTransform& t = m_toDots;
    if (!m_chain.active || m_chain.logicalRight != left) {
        const double start = std::round(static_cast<double>(left) * t.m11() + t.dx());
        if (!(std::abs(start) < std::numeric_limits<int>::max() / 2)) {
            m_chain.active = false;
            return false;
        }
        const int dots = GridDots(width * m_lineAcross, t);
        m_chain = Chain{left, static_cast<long long>(start), run.colour,
                        std::min(m_barReduction, dots - 1), true};
        m_chain.width = width;
        m_chain.dots = dots;
    }
    if (width != m_chain.width) {
        m_chain.width = width;
        m_chain.dots = GridDots(width * m_lineAcross, t);
    }
    if (!m_chain.rowKnown || top != m_chain.top || bottom != m_chain.bottom) {
        constexpr double kMax = std::numeric_limits<int>::max() / 2;
        const double y0 = std::clamp(std::round(top * t.m22() + t.dy()), -kMax, kMax);
        const double y1 =
            m_lineDown == 1
                ? std::clamp(std::round(bottom * t.m22() + t.dy()), -kMax, kMax)
                : std::clamp(y0 + std::round((bottom - top) * m_lineDown * t.m22()), -kMax, kMax);
        m_chain.top = top;
        m_chain.bottom = bottom;
        m_chain.deviceTop = static_cast<int>(std::min(y0, y1));
        m_chain.deviceBottom = std::max(m_chain.deviceTop + 1, static_cast<int>(std::max(y0, y1)));
        m_chain.rowKnown = true;
    }
    const long long deviceLeft = m_chain.deviceRight;
    m_chain.logicalRight = right;
    m_chain.deviceRight = deviceLeft + m_chain.dots;
    if (m_chain.deviceRight > std::numeric_limits<int>::max()) {
        m_chain.active = false;
        return false;
    }
    run.left = static_cast<int>(deviceLeft);
    run.right = static_cast<int>(m_chain.deviceRight);
    run.top = m_chain.deviceTop;
    run.bottom = m_chain.deviceBottom;
    run.bar = run.colour == m_chain.bar;
    return true;
}

void CDC::AddRun(Run run) {
    if (m_run.active && m_run.colour == run.colour && m_run.top == run.top &&
        m_run.bottom == run.bottom && m_run.right == run.left) {
        m_run.right = run.right;
        return;
    }
    FinishRun(&run);
    m_run = run;
}

// Moves the finished run to the paint list; on the grid a bar gives its last
// reduction dots to the space that follows it.
void CDC::FinishRun(Run* next) {
    if (!m_run.active) {
        return;
    }
    const int reduction = m_dotGrid && m_run.bar ? m_chain.reduction : 0;
    if (reduction > 0) {
        if (next != nullptr && next->left == m_run.right) {
            next->left -= reduction;
        }
        m_run.right -= reduction;
    }
    m_runs.push_back(m_run);
    m_run.active = false;
}

void CDC::DeletePen(Pen pen) {
    Flush();
    std::erase_if(m_pens, [pen](const PenInfo& p) { return p.pen == pen; });
    m_selected = FindPen(m_pen);
    m_previous = nullptr;
}

void CDC::Flush() {
    FinishRun(nullptr);
    m_chain.active = false;
    PaintRuns();
}

void CDC::PaintRuns() {
    if (m_runs.empty() || !Draws()) {
        m_runs.clear();
        return;
    }
    const QPoint origin = m_dotGrid ? QPoint(m_runs.front().left, m_runs.front().top) : QPoint();
    bool disjoint = true; // each run starts at or right of the previous one's end
    bool tiled = true;    // ... exactly at it, with the same top and bottom
    int left = origin.x(), right = left, top = origin.y(), bottom = top; // all the runs
    std::vector<COLORREF>& colours = m_colours;                          // in the order they come
    colours.assign(1, m_runs.front().colour);
    for (std::size_t i = 1; i < m_runs.size(); ++i) {
        const Run& a = m_runs[i - 1];
        const Run& b = m_runs[i];
        disjoint = disjoint && b.left >= a.right;
        tiled = tiled && b.left == a.right && b.top == a.top && b.bottom == a.bottom;
        left = std::min(left, b.left);
        right = std::max(right, a.right);
        top = std::min(top, b.top);
        bottom = std::max(bottom, a.bottom);
        if (b.colour != a.colour &&
            std::find(colours.begin(), colours.end(), b.colour) == colours.end()) {
            colours.push_back(b.colour);
        }
    }
    right = std::max(right, m_runs.back().right);
    bottom = std::max(bottom, m_runs.back().bottom);
    // The farthest edge from the origin, in dots.
    const long long reach = std::max(
        {static_cast<long long>(origin.x()) - left, static_cast<long long>(right) - origin.x(),
         static_cast<long long>(origin.y()) - top, static_cast<long long>(bottom) - origin.y()});

    // On the dot grid the runs are in device dots, and every edge is drawn a
    // part of a dot inside its dot boundary: rasterisers that paint each dot a
    // shape touches, and those that paint each dot whose centre it covers, then
    // paint the same dots. They are painted from the first run's corner in
    // eighths of a dot (quarters on a paint target), so every figure is a small
    // whole number. A paint target writes each figure: on it a row comes in half
    // dots from a corner a quarter of a dot in, each rectangle half a dot
    // narrower and lower (the same edges, in fewer digits).
    const bool boxes =
        m_dotGrid && m_target != nullptr && reach < std::numeric_limits<int>::max() / 4;
    const int parts = boxes ? 2 : (m_target != nullptr ? 4 : 8);
    const double corner = boxes ? 0.25 : 0;
    // The runs' coordinates in device dots.
    const QTransform toDots = m_dotGrid ? QTransform(1.0 / parts, 0, 0, 1.0 / parts,
                                                     origin.x() + corner, origin.y() + corner)
                                        : m_toDots;
    if (m_dotGrid && m_painter != nullptr) {
        m_painter->setWorldTransform(toDots *
                                     QTransform::fromScale(1 / m_pixelRatio, 1 / m_pixelRatio));
    }
    const qreal scale = m_dotGrid ? parts : 1;
    const qreal inset = m_dotGrid ? 1 : 0;
    auto rect = [&](const Run& r) {
        return QRectF((r.left - origin.x()) * scale + inset, (r.top - origin.y()) * scale + inset,
                      (static_cast<qreal>(r.right) - r.left) * scale - 2 * inset,
                      (static_cast<qreal>(r.bottom) - r.top) * scale - 2 * inset);
    };
    auto box = [&](const Run& r) {
        return QRect((r.left - origin.x()) * 2, (r.top - origin.y()) * 2,
                     (r.right - r.left) * 2 - 1, (r.bottom - r.top) * 2 - 1);
    };
    // Fills the runs of one colour (all of them without one), or the whole row.
    auto fill = [&](COLORREF colour, const Run* only, bool allColours) {
        m_rects.clear();
        m_boxes.clear();
        for (const Run* r = only != nullptr ? only : m_runs.data();
             r != (only != nullptr ? only + 1 : m_runs.data() + m_runs.size()); ++r) {
            if (allColours || r->colour == colour) {
                if (boxes) {
                    m_boxes.push_back(box(*r));
                } else {
                    m_rects.push_back(rect(*r));
                }
            }
        }
        if (boxes) {
            m_target->FillBoxes(colour, toDots, m_boxes.data(), std::ssize(m_boxes));
        } else {
            FillRects(colour, toDots, m_rects);
        }
    };
    if (!disjoint) { // overlapping lines: paint in order
        for (const Run& r : m_runs) {
            if (m_painter != nullptr) {
                m_painter->fillRect(rect(r), ToQColor(r.colour));
            } else {
                fill(r.colour, &r, true);
            }
        }
        m_runs.clear();
        ApplyTransform();
        return;
    }
    // Disjoint rectangles can be painted in any order. A tiled row is first filled
    // whole in the colour of its second run (a symbol's spaces), then only the
    // other colours are painted on it, as ink on paper.
    const bool background = tiled && m_runs.size() > 2 && colours.size() > 1;
    if (background) {
        std::swap(colours[0], colours[1]); // the second run's colour comes first
    }
    if (m_painter != nullptr) {
        m_painter->setPen(Qt::NoPen); // only TextOut uses the pen, and it sets its own
    }
    if (background) {
        Run whole = m_runs.front();
        whole.right = m_runs.back().right;
        fill(colours.front(), &whole, true);
    }
    for (std::size_t c = background ? 1 : 0; c < colours.size(); ++c) {
        fill(colours[c], nullptr, false);
    }
    m_runs.clear();
    ApplyTransform();
}

void CDC::FillRects(COLORREF colour, const QTransform& toDots, const std::vector<QRectF>& rects) {
    if (m_target != nullptr) {
        m_target->FillRects(colour, toDots, rects.data(), std::ssize(rects));
        return;
    }
    m_painter->setBrush(ToQColor(colour));
    m_painter->drawRects(rects.data(), static_cast<int>(rects.size()));
}

CDC::Resolution DisplayResolution() {
    const QScreen* screen = qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr
                                ? QGuiApplication::primaryScreen()
                                : nullptr;
    if (screen == nullptr) {
        return CDC::Resolution{96, 96};
    }
    return CDC::Resolution{qRound(screen->logicalDotsPerInchX()),
                           qRound(screen->logicalDotsPerInchY())};
}

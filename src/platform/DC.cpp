#include "DC.h"

#include "MulDiv.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

QColor ToQColor(COLORREF c) { return QColor(GetRValue(c), GetGValue(c), GetBValue(c)); }

QString FaceName(const LOGFONT& lf)
{
    return QString::fromLatin1(lf.lfFaceName, static_cast<qsizetype>(qstrnlen(lf.lfFaceName,
                                                                              LF_FACESIZE)));
}

} // namespace

CDC::CDC(QPainter* painter, Resolution output, Resolution attribute, bool printing)
    : m_painter(painter), m_output(output), m_attribute(attribute), m_printing(printing)
{
    constexpr int kHuge = std::numeric_limits<int>::max() / 2;
    m_deviceClip = QRect(-kHuge, -kHuge, 2 * kHuge, 2 * kHuge);
    if (m_painter != nullptr) {
        m_painter->setRenderHint(QPainter::Antialiasing, false);
        ApplyTransform();
    }
}

CDC::~CDC() { Flush(); }

int CDC::GetDeviceCaps(int index) const
{
    return index == LOGPIXELSX ? m_output.x : (index == LOGPIXELSY ? m_output.y : 0);
}

int CDC::GetAttribDeviceCaps(int index) const
{
    return index == LOGPIXELSX ? m_attribute.x : (index == LOGPIXELSY ? m_attribute.y : 0);
}

int CDC::SetMapMode(int mode)
{
    Flush();
    const int old = m_mapMode;
    m_mapMode = mode;
    ApplyTransform();
    return old;
}

QSize CDC::SetWindowExt(int cx, int cy)
{
    Flush();
    const QSize old = m_windowExt;
    m_windowExt = QSize(cx, cy);
    ApplyTransform();
    return old;
}

QSize CDC::SetViewportExt(int cx, int cy)
{
    Flush();
    const QSize old = m_viewportExt;
    m_viewportExt = QSize(cx, cy);
    ApplyTransform();
    return old;
}

QPoint CDC::SetWindowOrg(int x, int y)
{
    Flush();
    const QPoint old = m_windowOrg;
    m_windowOrg = QPoint(x, y);
    ApplyTransform();
    return old;
}

QPoint CDC::SetViewportOrg(int x, int y)
{
    Flush();
    const QPoint old = m_viewportOrg;
    m_viewportOrg = QPoint(x, y);
    ApplyTransform();
    return old;
}

// device = (logical - windowOrg) * viewportExt / windowExt + viewportOrg;
// in MM_TEXT the extents are 1:1.
QTransform CDC::LogicalToDevice() const
{
    qreal sx = 1.0, sy = 1.0;
    if (m_mapMode == MM_ANISOTROPIC && m_windowExt.width() != 0 && m_windowExt.height() != 0) {
        sx = static_cast<qreal>(m_viewportExt.width()) / m_windowExt.width();
        sy = static_cast<qreal>(m_viewportExt.height()) / m_windowExt.height();
    }
    return QTransform(sx, 0, 0, sy, m_viewportOrg.x() - m_windowOrg.x() * sx,
                      m_viewportOrg.y() - m_windowOrg.y() * sy);
}

void CDC::ApplyTransform()
{
    if (m_painter != nullptr) {
        m_painter->setWorldTransform(LogicalToDevice());
    }
}

QRect CDC::GetClipBox() const
{
    const QRectF logical = LogicalToDevice().inverted().mapRect(QRectF(m_deviceClip));
    static constexpr double kMax = std::numeric_limits<int>::max() / 2;
    auto clamp = [](double v) { return static_cast<int>(std::clamp(v, -kMax, kMax)); };
    return QRect(QPoint(clamp(std::floor(logical.left())), clamp(std::floor(logical.top()))),
                 QPoint(clamp(std::ceil(logical.right())), clamp(std::ceil(logical.bottom()))));
}

CFont* CDC::SelectObject(CFont* font)
{
    Flush();
    CFont* old = m_font;
    m_font = font;
    return old;
}

COLORREF CDC::SetTextColor(COLORREF colour)
{
    const COLORREF old = m_textColour;
    m_textColour = colour;
    return old;
}

QFont CDC::MakeFont(const LOGFONT& lf, int dpiY)
{
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
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

// Font sizes are logical units; the default height follows the logical resolution.
int CDC::LogicalDpiY() const
{
    return m_mapMode == MM_ANISOTROPIC ? m_windowExt.height() : m_output.y;
}

QFont CDC::FontFor(const CFont* font) const
{
    if (font != nullptr && font->HasFont()) {
        return MakeFont(font->Description(), LogicalDpiY());
    }
    return MakeFont(LOGFONT{}, LogicalDpiY()); // the surface's default font
}

QFont CDC::CurrentFont() const { return FontFor(m_font); }

QSize CDC::GetTextExtent(std::string_view text) const { return GetTextExtent(text, m_font); }

QSize CDC::GetTextExtent(std::string_view text, const CFont* font) const
{
    const QFontMetricsF fm(FontFor(font));
    const QString s = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
    return QSize(static_cast<int>(std::ceil(fm.horizontalAdvance(s))),
                 static_cast<int>(std::ceil(fm.ascent() + fm.descent())));
}

void CDC::TextOut(int x, int y, std::string_view text)
{
    Flush();
    if (m_painter == nullptr || text.empty()) {
        return;
    }
    const QFont font = CurrentFont();
    const QFontMetricsF fm(font);
    const QString s = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
    const QRectF box(x, y, fm.horizontalAdvance(s), fm.ascent() + fm.descent());
    m_painter->fillRect(box, Qt::white);
    m_painter->setFont(font);
    m_painter->setPen(ToQColor(m_textColour));
    m_painter->drawText(QPointF(x, y + fm.ascent()), s);
}

CDrawSurface::Pen CDC::CreateSolidPen(int width, COLORREF colour)
{
    const Pen pen = m_nextPen++;
    m_pens[pen] = PenInfo{width, colour};
    return pen;
}

CDrawSurface::Pen CDC::SelectPen(Pen pen)
{
    const Pen old = m_pen;
    m_pen = pen;
    return old;
}

void CDC::MoveTo(int x, int y) { m_current = QPoint(x, y); }

void CDC::LineTo(int x, int y)
{
    const QPoint from = m_current;
    m_current = QPoint(x, y);
    if (m_painter == nullptr || from.y() == y) {
        return;
    }
    const auto it = m_pens.find(m_pen);
    // A width of 0 or less, or the surface's own pen, draws one unit wide.
    const int width = (it == m_pens.end() || it->second.width <= 0) ? 1 : it->second.width;
    const COLORREF colour = it == m_pens.end() ? 0 : it->second.colour;

    // A vertical line: the pen is centred on x and the end point is not painted.
    const long long left = static_cast<long long>(from.x()) - width / 2;
    const int top = from.y() < y ? from.y() : y + 1;
    const int bottom = from.y() < y ? y : from.y() + 1; // exclusive
    const long long right = left + width;
    if (left < std::numeric_limits<int>::min() || right > std::numeric_limits<int>::max()) {
        return;
    }
    if (m_run.active && m_run.colour == colour && m_run.top == top && m_run.bottom == bottom &&
        m_run.right == left) {
        m_run.right = static_cast<int>(right);
        return;
    }
    Flush();
    m_run = Run{static_cast<int>(left), static_cast<int>(right), top, bottom, colour, true};
}

void CDC::DeletePen(Pen pen)
{
    Flush();
    m_pens.erase(pen);
}

void CDC::Flush()
{
    if (!m_run.active || m_painter == nullptr) {
        m_run.active = false;
        return;
    }
    m_run.active = false;
    const QRectF r(m_run.left, m_run.top, static_cast<qreal>(m_run.right) - m_run.left,
                   static_cast<qreal>(m_run.bottom) - m_run.top);
    m_painter->fillRect(r, ToQColor(m_run.colour));
}

CDC::Resolution DisplayResolution()
{
    const QScreen* screen = qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr
                                ? QGuiApplication::primaryScreen()
                                : nullptr;
    if (screen == nullptr) {
        return CDC::Resolution{96, 96};
    }
    return CDC::Resolution{qRound(screen->logicalDotsPerInchX()),
                           qRound(screen->logicalDotsPerInchY())};
}

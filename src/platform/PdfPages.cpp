#include "PdfPages.h"

#include "DC.h"
#include "PaintTarget.h"
#include "PdfWriter.h"

#include <QFile>
#include <QPrinter>

#include <cerrno>
#include <cstring>
#include <vector>

namespace {

pdf::Rgb ToRgb(COLORREF c) {
    return pdf::Rgb{static_cast<std::uint8_t>(GetRValue(c)),
                    static_cast<std::uint8_t>(GetGValue(c)),
                    static_cast<std::uint8_t>(GetBValue(c))};
}

// The tables a PDF reader uses of a font's TrueType or CFF outlines.
constexpr const char* kTables[] = {"cvt ", "fpgm", "glyf", "head", "hhea", "hmtx", "loca",
                                   "maxp", "prep", "CFF ", "OS/2", "cmap", "name", "post"};

// A context's drawing as the PDF writer's rectangles and text.
class CPdfTarget final : public CPaintTarget {
public:
    explicit CPdfTarget(pdf::Writer& writer) : m_writer(writer) {}

    void FillRects(COLORREF colour, const QTransform& toDots, const QRectF* rects,
                   qsizetype count) override {
        m_rects.clear();
        const bool across = Across(toDots);
        for (qsizetype i = 0; i < count; ++i) {
            const QRectF r = across ? rects[i] : toDots.mapRect(rects[i]);
            m_rects.push_back(pdf::Rect{r.x(), r.y(), r.width(), r.height()});
        }
        m_writer.FillRects(ToRgb(colour), across ? FrameOf(toDots) : pdf::Frame{}, m_rects.data(),
                           m_rects.size());
    }

    void FillBoxes(COLORREF colour, const QTransform& toDots, const QRect* boxes,
                   qsizetype count) override {
        if (!Across(toDots)) {
            CPaintTarget::FillBoxes(colour, toDots, boxes, count);
            return;
        }
        m_boxes.clear();
        for (qsizetype i = 0; i < count; ++i) {
            const QRect& b = boxes[i];
            m_boxes.push_back(pdf::Box{b.x(), b.y(), b.width(), b.height()});
        }
        m_writer.FillRects(ToRgb(colour), FrameOf(toDots), m_boxes.data(), m_boxes.size());
    }

    void DrawText(const QRawFont& font, COLORREF colour, const QTransform& toDots, QPointF origin,
                  std::string_view text, const std::array<quint32, 256>& glyphs,
                  const std::array<qreal, 256>& advances) override {
        const qreal em = font.pixelSize();
        if (em <= 0) {
            return;
        }
        m_advances.clear();
        for (const char c : text) {
            m_advances.push_back(advances[static_cast<unsigned char>(c)] / em);
        }
        const QPointF at = toDots.map(origin);
        m_writer.ShowText(FontFor(font, glyphs), ToRgb(colour), at.x(), at.y(), em * toDots.m11(),
                          em * toDots.m22(), text, m_advances.data());
    }

private:
    // Rows come across in fractions of a dot from their first corner: kept so.
    static bool Across(const QTransform& toDots) {
        return toDots.type() <= QTransform::TxScale && toDots.m11() > 0 && toDots.m22() > 0;
    }
    static pdf::Frame FrameOf(const QTransform& toDots) {
        return pdf::Frame{toDots.dx(), toDots.dy(), toDots.m11(), toDots.m22()};
    }

    // The writer's number of a font, added the first time it is used.
    int FontFor(const QRawFont& font, const std::array<quint32, 256>& glyphs) {
        if (m_lastId >= 0 && font == m_last) {
            return m_lastId;
        }
        m_last = font;
        m_lastId = AddFont(font, glyphs);
        return m_lastId;
    }

    int AddFont(const QRawFont& font, const std::array<quint32, 256>& glyphs) {
        const QString key = font.familyName() + QLatin1Char('\n') + font.styleName() +
                            QLatin1Char('\n') + QString::number(font.weight()) + QLatin1Char('\n') +
                            QString::number(font.style());
        for (const auto& [known, id] : m_fonts) {
            if (known == key) {
                return id;
            }
        }
        pdf::Font f;
        f.name = (QString(font.familyName()).remove(QLatin1Char(' ')) + QLatin1Char('-') +
                  QString(font.styleName()).remove(QLatin1Char(' ')))
                     .toStdString();
        for (const char* tag : kTables) {
            const QByteArray table = font.fontTable(tag);
            if (!table.isEmpty()) {
                f.tables.tables.emplace_back(tag, table.toStdString());
            }
        }
        for (std::size_t c = 0; c < glyphs.size(); ++c) {
            f.glyphs[c] = static_cast<std::uint16_t>(glyphs[c] <= 0xFFFF ? glyphs[c] : 0);
        }
        const int id = m_writer.AddFont(std::move(f));
        m_fonts.emplace_back(key, id);
        return id;
    }

    pdf::Writer& m_writer;
    std::vector<pdf::Rect> m_rects;
    std::vector<pdf::Box> m_boxes;
    std::vector<double> m_advances;
    std::vector<std::pair<QString, int>> m_fonts;
    QRawFont m_last; // of the text before
    int m_lastId = -1;
};

// A length in points, exactly.
double Points(double v, QPageSize::Unit unit) {
    switch (unit) {
    case QPageSize::Millimeter:
        return v * 72 / 25.4;
    case QPageSize::Inch:
        return v * 72;
    case QPageSize::Pica:
        return v * 12;
    case QPageSize::Point:
        return v;
    default:
        return -1;
    }
}

} // namespace

CPdfLayout PdfLayoutOf(const QPrinter& printer) {
    CPdfLayout out;
    const QPageLayout layout = printer.pageLayout();
    out.dpi = printer.resolution();
    const QPageSize page = layout.pageSize();
    const QSizeF size = page.definitionSize();
    out.pagePoints = QSizeF(Points(size.width(), page.definitionUnits()),
                            Points(size.height(), page.definitionUnits()));
    if (out.pagePoints.width() <= 0 || out.pagePoints.height() <= 0) {
        out.pagePoints = page.size(QPageSize::Point);
    }
    if (layout.orientation() == QPageLayout::Landscape) {
        out.pagePoints.transpose();
    }
    out.paintDots = layout.paintRectPixels(out.dpi);
    out.range = PrintRange(printer);
    out.title = printer.docName();
    return out;
}

PrintResult WritePdfPages(CPageSource& pages, const CPdfLayout& layout, const QString& path,
                          int barReduction, const PageProgress& progress) {
    pdf::Writer writer;
    CPdfTarget target(writer);
    const CDC::Resolution dpi{layout.dpi, layout.dpi};
    CDC dc(target, dpi); // one for every page: its fonts are made once
    const double point = 72.0 / layout.dpi;
    bool opened = false; // a range past the last page writes no file
    PrintResult result = RunPageRange(
        layout.range,
        [&] {
            CDC measure(nullptr, dpi, dpi, true);
            return DrawPrintPage(pages, measure, layout.paintDots, 1, 0);
        },
        [&](int page, bool first) {
            if (first && !(opened = writer.Open(QFile::encodeName(path).toStdString(),
                                                layout.title.toLatin1().toStdString()))) {
                return 0;
            }
            writer.BeginPage(layout.pagePoints.width(), layout.pagePoints.height(),
                             layout.paintDots.left() * point, layout.paintDots.top() * point,
                             layout.dpi);
            const int count = DrawPrintPage(pages, dc, layout.paintDots, page, barReduction);
            dc.Flush();
            writer.EndPage();
            return count;
        },
        progress);
    if ((result.pages > 0 || !result.ok) && !result.cancelled && !(opened && writer.Close())) {
        result.ok = false;
        result.error = QStringLiteral("cannot write the pages to %1: %2")
                           .arg(path, QString::fromLocal8Bit(std::strerror(errno)));
    }
    return result;
}

#include "RowImage.h"

#include <QBuffer>
#include <QPainter>
#include <QSvgGenerator>

namespace {

bool FitsImage(QSize size, int scale, qint64 maxPixels) {
    const qint64 pixels = qint64(size.width()) * scale * qint64(size.height()) * scale;
    return !size.isEmpty() && scale >= 1 && pixels <= maxPixels &&
           size.width() * qint64(scale) <= 32767 && size.height() * qint64(scale) <= 32767;
}

} // namespace

void PaintArea(QPaintDevice& device, QSize size, int scale, CDC::Resolution screen,
               const std::function<void(CDC&)>& draw) {
    QPainter painter(&device);
    painter.fillRect(QRect(QPoint(0, 0), size * scale), Qt::white);
    painter.setViewport(0, 0, size.width() * scale, size.height() * scale);
    painter.setWindow(0, 0, size.width(), size.height());
    CDC dc(&painter, screen, screen, false);
    dc.SetDeviceClip(QRect(QPoint(0, 0), size));
    draw(dc);
}

QImage MakeImage(QSize size, int scale, qint64 maxPixels,
                 const std::function<void(QPaintDevice&)>& paint) {
    if (!FitsImage(size, scale, maxPixels)) {
        return {};
    }
    QImage image(size * scale, QImage::Format_RGB32);
    paint(image);
    return image;
}

QByteArray MakeSvg(QSize size, int scale, CDC::Resolution screen,
                   const std::function<void(QPaintDevice&)>& paint) {
    QByteArray out;
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(size * scale);
    svg.setViewBox(QRect(QPoint(0, 0), size * scale));
    svg.setTitle(QStringLiteral("Tavik"));
    svg.setResolution(screen.y); // one unit is one display pixel
    paint(svg);
    return out;
}

void PaintRows(CRowSnapshot& rows, QPaintDevice& device, QSize size, int scale,
               const CRowRenderer::Encode& encode) {
    PaintArea(device, size, scale, rows.Screen(),
              [&](CDC& dc) { rows.Renderer().DrawScreen(dc, encode ? encode : rows.Encoder()); });
}

QImage RenderRowsImage(CRowSnapshot& rows, QSize size, int scale, qint64 maxPixels,
                       const CRowRenderer::Encode& encode) {
    return MakeImage(size, scale, maxPixels,
                     [&](QPaintDevice& device) { PaintRows(rows, device, size, scale, encode); });
}

QByteArray RenderRowsSvg(CRowSnapshot& rows, QSize size, int scale,
                         const CRowRenderer::Encode& encode) {
    return MakeSvg(size, scale, rows.Screen(),
                   [&](QPaintDevice& device) { PaintRows(rows, device, size, scale, encode); });
}

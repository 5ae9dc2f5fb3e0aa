#include "ViewRender.h"

#include "SaveFile.h"
#include "TavikView.h"

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

QSize MeasureView(CTavikView& view) {
    view.RunRowPassNow();
    return view.GetTotalSize();
}

namespace {

// Paints the area (0, 0, size) scaled on device, white first, with draw on a
// surface of the given resolution.
template <typename Draw>
void PaintArea(QPaintDevice& device, QSize size, int scale, CDC::Resolution screen, Draw&& draw) {
    QPainter painter(&device);
    painter.fillRect(QRect(QPoint(0, 0), size * scale), Qt::white);
    painter.setViewport(0, 0, size.width() * scale, size.height() * scale);
    painter.setWindow(0, 0, size.width(), size.height());
    CDC dc(&painter, screen, screen, false);
    dc.SetDeviceClip(QRect(QPoint(0, 0), size));
    draw(dc);
}

// The image or SVG of an area, drawn by paint(device).
template <typename Paint> QImage MakeImage(QSize size, int scale, qint64 maxPixels, Paint&& paint) {
    if (!FitsImage(size, scale, maxPixels)) {
        return {};
    }
    QImage image(size * scale, QImage::Format_RGB32);
    paint(image);
    return image;
}

template <typename Paint>
QByteArray MakeSvg(QSize size, int scale, CDC::Resolution screen, Paint&& paint) {
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

} // namespace

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

// The view's own forms draw with its own encoders, as its window does.
void PaintView(CTavikView& view, QPaintDevice& device, QSize size, int scale) {
    PaintArea(device, size, scale, view.ScreenResolution(), [&](CDC& dc) {
        view.OnPrepareDC(&dc, nullptr);
        view.OnDraw(&dc);
    });
}

QImage RenderViewImage(CTavikView& view, int scale, qint64 maxPixels) {
    const QSize size = MeasureView(view);
    return MakeImage(size, scale, maxPixels,
                     [&](QPaintDevice& device) { PaintView(view, device, size, scale); });
}

bool RenderViewSvg(CTavikView& view, QByteArray& out, int scale) {
    const QSize size = MeasureView(view);
    out = MakeSvg(size, scale, view.ScreenResolution(),
                  [&](QPaintDevice& device) { PaintView(view, device, size, scale); });
    return true;
}

bool RenderViewSvg(CTavikView& view, const QString& path, int scale, QString* error) {
    QByteArray data;
    RenderViewSvg(view, data, scale);
    return SaveWholeFile(path, data, error); // written whole or not at all
}

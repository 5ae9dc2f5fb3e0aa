#include "ViewRender.h"

#include "SaveFile.h"
#include "TavikView.h"

#include <QBuffer>
#include <QPainter>
#include <QSvgGenerator>

QSize MeasureView(CTavikView& view) {
    view.RunRowPassNow();
    return view.GetTotalSize();
}

void PaintView(CTavikView& view, QPaintDevice& device, QSize size, int scale) {
    QPainter painter(&device);
    painter.fillRect(QRect(QPoint(0, 0), size * scale), Qt::white);
    painter.setViewport(0, 0, size.width() * scale, size.height() * scale);
    painter.setWindow(0, 0, size.width(), size.height());
    const CDC::Resolution screen = view.ScreenResolution();
    CDC dc(&painter, screen, screen, false);
    dc.SetDeviceClip(QRect(QPoint(0, 0), size));
    view.OnPrepareDC(&dc, nullptr);
    view.OnDraw(&dc);
}

QImage RenderViewImage(CTavikView& view, int scale, qint64 maxPixels) {
    const QSize size = MeasureView(view);
    const qint64 pixels = qint64(size.width()) * scale * qint64(size.height()) * scale;
    if (size.isEmpty() || scale < 1 || pixels > maxPixels || size.width() * qint64(scale) > 32767 ||
        size.height() * qint64(scale) > 32767) {
        return {};
    }
    QImage image(size * scale, QImage::Format_RGB32);
    PaintView(view, image, size, scale);
    return image;
}

bool RenderViewSvg(CTavikView& view, QByteArray& out, int scale) {
    const QSize size = MeasureView(view);
    QBuffer buffer(&out);
    if (!buffer.open(QIODevice::WriteOnly)) {
        return false;
    }
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(size * scale);
    svg.setViewBox(QRect(QPoint(0, 0), size * scale));
    svg.setTitle(QStringLiteral("Tavik"));
    svg.setResolution(view.ScreenResolution().y); // one unit is one display pixel
    PaintView(view, svg, size, scale);
    return true;
}

bool RenderViewSvg(CTavikView& view, const QString& path, int scale, QString* error) {
    QByteArray data;
    RenderViewSvg(view, data, scale);
    return SaveWholeFile(path, data, error); // written whole or not at all
}

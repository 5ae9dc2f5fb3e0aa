#include "ViewRender.h"

#include "SaveFile.h"
#include "TavikView.h"

QSize MeasureView(CTavikView& view) {
    view.RunRowPassNow();
    return view.GetTotalSize();
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

#pragma once

#include "RowRenderer.h"

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

#include <functional>

class CTavikView;
class QPaintDevice;

// Draws rows the way the screen shows them, unscrolled, onto other surfaces,
// one logical unit per pixel (times scale). The snapshot forms run on any
// thread; encode puts each row's text into the snapshot's encoders (by
// default its own Encode) and may stop the drawing by refusing every row.

// Measures every row on this thread, so the view's scroll sizes cover them
// all; returns them.
QSize MeasureView(CTavikView& view);

// Paints the area (0, 0, size) of the rows on device, scaled.
void PaintRows(CRowSnapshot& rows, QPaintDevice& device, QSize size, int scale,
               const CRowRenderer::Encode& encode = {});
// The area as an image on white; a null image when it would be larger than
// maxPixels.
QImage RenderRowsImage(CRowSnapshot& rows, QSize size, int scale, qint64 maxPixels,
                       const CRowRenderer::Encode& encode = {});
// The same drawing as SVG data.
QByteArray RenderRowsSvg(CRowSnapshot& rows, QSize size, int scale,
                         const CRowRenderer::Encode& encode = {});

// The same for a view's whole scroll area, measured first.
void PaintView(CTavikView& view, QPaintDevice& device, QSize size, int scale);
QImage RenderViewImage(CTavikView& view, int scale, qint64 maxPixels = 256LL * 1024 * 1024);
// The same drawing as SVG data; false when it cannot be made.
bool RenderViewSvg(CTavikView& view, QByteArray& out, int scale);
// The same drawing as an SVG file; false with a message when it cannot be written.
bool RenderViewSvg(CTavikView& view, const QString& path, int scale, QString* error);

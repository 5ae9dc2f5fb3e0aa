#pragma once

#include "RowRenderer.h"

#include <QByteArray>
#include <QImage>
#include <QSize>

#include <functional>

class QPaintDevice;

// Draws rows the way the screen shows them, unscrolled, onto other surfaces,
// one logical unit per pixel (times scale), on any thread; encode puts each
// row's text into the snapshot's encoders (by default its own Encode) and may
// stop the drawing by refusing every row.

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

// The surfaces under them: the area (0, 0, size) scaled on device, white first,
// drawn by draw on a surface of the given resolution; and the image or SVG of
// an area drawn by paint(device) (a null image when it is larger than maxPixels).
void PaintArea(QPaintDevice& device, QSize size, int scale, CDC::Resolution screen,
               const std::function<void(CDC&)>& draw);
QImage MakeImage(QSize size, int scale, qint64 maxPixels,
                 const std::function<void(QPaintDevice&)>& paint);
QByteArray MakeSvg(QSize size, int scale, CDC::Resolution screen,
                   const std::function<void(QPaintDevice&)>& paint);

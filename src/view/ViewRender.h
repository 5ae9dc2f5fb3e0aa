#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

class CTavikView;
class QPaintDevice;

// Draws a view the way the screen shows it, unscrolled, onto other surfaces:
// OnPrepareDC then OnDraw, one logical unit per pixel (times scale).

// Measures every row on this thread, so the view's scroll sizes cover them
// all; returns them.
QSize MeasureView(CTavikView& view);

// Paints the area (0, 0, size) of the view on device, scaled.
void PaintView(CTavikView& view, QPaintDevice& device, QSize size, int scale);

// The whole scroll area as an image on white; a null image when it would be
// larger than maxPixels.
QImage RenderViewImage(CTavikView& view, int scale, qint64 maxPixels = 256LL * 1024 * 1024);

// The same drawing as SVG data; false when it cannot be made.
bool RenderViewSvg(CTavikView& view, QByteArray& out, int scale);
// The same drawing as an SVG file; false with a message when it cannot be written.
bool RenderViewSvg(CTavikView& view, const QString& path, int scale, QString* error);

#pragma once

#include "RowImage.h"

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

class CTavikView;
class QPaintDevice;

// A view's drawing on other surfaces, as RowImage.h draws rows, with the
// view's own encoders.

// Measures every row on this thread, so the view's scroll sizes cover them
// all; returns them.
QSize MeasureView(CTavikView& view);

// The same for a view's whole scroll area, measured first.
void PaintView(CTavikView& view, QPaintDevice& device, QSize size, int scale);
QImage RenderViewImage(CTavikView& view, int scale, qint64 maxPixels = 256LL * 1024 * 1024);
// The same drawing as SVG data; false when it cannot be made.
bool RenderViewSvg(CTavikView& view, QByteArray& out, int scale);
// The same drawing as an SVG file; false with a message when it cannot be written.
bool RenderViewSvg(CTavikView& view, const QString& path, int scale, QString* error);

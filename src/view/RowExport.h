#pragma once

#include "DrawingLimits.h"
#include "PrintLoop.h"
#include "RowRenderer.h"

#include <QSize>
#include <QString>

#include <functional>
#include <memory>
#include <string>

class QPrinter;

// Writing rows' drawing to files, for the window and tavik-batch alike. The
// functions return an empty string on success, else a message with the reason.

// Empty when a drawing of size at scale is within the limits.
std::string CheckDrawingSize(QSize size, int scale);

bool IsSvg(const QString& path);
bool IsPdf(const QString& path);

// The drawing of rows of size (as the layout measured them) as a PNG file, or
// an SVG file when path ends in .svg; written whole or not at all, on any
// thread. cancelled, when it returns true once the drawing is made, keeps the
// file unwritten.
std::string WriteDrawing(CRowSnapshot& rows, QSize size, const QString& path, int scale,
                         const CRowRenderer::Encode& encode = {},
                         const std::function<bool()>& cancelled = {});

// A printer that writes PDF at dpi dots per inch.
std::unique_ptr<QPrinter> MakePdfPrinter(int dpi);
// The printed pages of a page source as a PDF, written whole or not at all,
// on any thread; an interrupted run leaves no partial file. An existing file
// keeps its permissions; a link is written through. progress may cancel the
// run, which then leaves no file and sets cancelled. The page fit is checked
// with CheckPageFit (PrintChecks.h).
std::string WritePdf(CPageSource& pages, QPrinter& printer, const QString& path, int barReduction,
                     const PageProgress& progress, bool* cancelled = nullptr);

#pragma once

#include "RowExport.h"

#include <QString>

#include <string>

class CTavikView;
class QPrinter;

// A view's drawing written to files, as RowExport.h writes rows.

// The whole drawing as a PNG file, or an SVG file when path ends in .svg.
std::string WriteDrawing(CTavikView& view, const QString& path, int scale);
// The printed pages as a PDF.
std::string WritePdf(CTavikView& view, QPrinter& printer, const QString& path, int barReduction);

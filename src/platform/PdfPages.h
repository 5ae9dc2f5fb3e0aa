#pragma once

#include "PrintLoop.h"

#include <QRect>
#include <QSizeF>
#include <QString>

class QPrinter;

// The pages of a PDF as a printer's page layout gives them.
struct CPdfLayout {
    int dpi = 600;
    QSizeF pagePoints; // exactly the page chosen, not rounded to whole points
    QRect paintDots;   // the printable area in dots from the page's top-left corner
    PageRange range;
    QString title;
};
CPdfLayout PdfLayoutOf(const QPrinter& printer);

// Draws the pages of layout's range into a PDF file at path (made, or
// replaced), with our own writer: the same layout and dots as on printer's
// paint device. Not ok, with the reason, when the file could not be written;
// a cancelled run leaves its part of the file behind.
PrintResult WritePdfPages(CPageSource& pages, const CPdfLayout& layout, const QString& path,
                          int barReduction, const PageProgress& progress);

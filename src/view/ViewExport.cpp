#include "ViewExport.h"

#include "TavikView.h"
#include "ViewRender.h"

std::string WritePdf(CTavikView& view, QPrinter& printer, const QString& path, int barReduction) {
    CViewPages pages(view);
    return WritePdf(pages, printer, path, barReduction, {});
}

std::string WriteDrawing(CTavikView& view, const QString& path, int scale) {
    const QSize size = MeasureView(view);
    return WriteDrawing(*view.Snapshot(), size, path, scale);
}

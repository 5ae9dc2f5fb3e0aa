#include "ViewPrint.h"

#include "MessageBox.h"
#include "PrintLoop.h"
#include "ScrollView.h"

#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

bool DoPreparePrinting(CScrollView& view, QPrinter& printer) {
    QPrintDialog dialog(&printer, view.window());
    // The loop prints every page, so no range, selection or current page is offered.
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    dialog.setPrintRange(QAbstractPrintDialog::AllPages);
    return dialog.exec() == QDialog::Accepted;
}

bool OnFilePrint(CScrollView& view, QPrinter& printer, bool direct) {
    if (!direct && !DoPreparePrinting(view, printer)) {
        return false;
    }
    if (!RunPrintLoop(view, printer).ok) {
        AfxMessageBox(QStringLiteral("Failed to start print job."));
        return false;
    }
    return true;
}

void OnFilePrintPreview(CScrollView& view, QPrinter& printer) {
    QPrintPreviewDialog preview(&printer, view.window());
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested,
                     [&view](QPrinter* target) { RunPrintLoop(view, *target); });
    preview.exec();
}

#include "ViewPrint.h"

#include "MessageBox.h"
#include "PrintLoop.h"
#include "ScrollView.h"

#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

namespace {

// The highest page number the Print dialog accepts.
constexpr int kMaxPrintPage = 0xFFFF;

} // namespace

bool DoPreparePrinting(CScrollView& view, QPrinter& printer) {
    QPrintDialog dialog(&printer, view.window());
    // All pages or a range of them; the count is known only once printing starts.
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize |
                      QAbstractPrintDialog::PrintPageRange);
    dialog.setMinMax(1, kMaxPrintPage);
    dialog.setPrintRange(QAbstractPrintDialog::AllPages);
    return dialog.exec() == QDialog::Accepted;
}

bool OnFilePrint(CScrollView& view, QPrinter& printer, bool direct) {
    // A range chosen for an earlier job is not kept: direct printing prints every page.
    printer.setPrintRange(QPrinter::AllPages);
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
    printer.setPrintRange(QPrinter::AllPages);
    QPrintPreviewDialog preview(&printer, view.window());
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested,
                     [&view](QPrinter* target) { RunPrintLoop(view, *target); });
    preview.exec();
}

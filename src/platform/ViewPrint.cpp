#include "ViewPrint.h"

#include "MessageBox.h"
#include "PrintLoop.h"
#include "PrintPreview.h"
#include "PrinterResolution.h"
#include "ScrollView.h"

#include <QPrintDialog>
#include <QPrinter>

#ifdef __GLIBC__
#include <malloc.h>
#endif

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
    view.PreparePrinter(printer);
    if (!direct && !DoPreparePrinting(view, printer)) {
        return false;
    }
    UseQueueResolution(printer);
    if (const QString refusal = view.CheckPrintable(printer); !refusal.isEmpty()) {
        AfxMessageBox(QStringLiteral("Cannot print: %1.").arg(refusal));
        return false;
    }
    const PrintResult printed = view.PrintPages(printer);
    if (printed.cancelled || printed.reported) {
        return false;
    }
    if (!printed.ok) {
        AfxMessageBox(QStringLiteral("Failed to start print job."));
        return false;
    }
    return true;
}

void OnFilePrintPreview(CScrollView& view, QPrinter& printer) {
    printer.setPrintRange(QPrinter::AllPages);
    view.PreparePrinter(printer);
    {
        CPrintPreview preview(
            view, printer, [&] { return OnFilePrint(view, printer, false); }, view.window());
        preview.exec();
    }
#ifdef __GLIBC__
    malloc_trim(0); // the pages' memory goes back to the system, not only to the heap
#endif
}

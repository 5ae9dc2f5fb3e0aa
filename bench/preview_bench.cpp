// Opening the print preview of a long list and showing its last page: time
// and memory growth, one run. Usage: preview_bench [LINES] (default 1000000).
#include "Document.h"
#include "PageCache.h"
#include "PrintPreview.h"
#include "TavikDoc.h"
#include "TavikView.h"

#include <QAction>
#include <QApplication>
#include <QPrinter>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include <unistd.h>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {

// Resident set size in MiB.
double ResidentMiB() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0;
    long resident = 0;
    statm >> pages >> resident;
    return double(resident) * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const long lines = argc > 1 ? std::atol(argv[1]) : 1000000;
    std::string bytes;
    for (long i = 0; i < lines; ++i) {
        bytes += "ROW" + std::to_string(i) + "\n";
    }
    CTavikDoc doc;
    CArchive ar(CArchive::load, std::move(bytes));
    doc.Serialize(ar);
    CTavikView view;
    doc.AddView(&view);
    view.OnInitialUpdate();
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setResolution(600);
    printer.setPageSize(QPageSize(QPageSize::A4));

    const double before = ResidentMiB();
    const auto start = std::chrono::steady_clock::now();
    int pages = 0;
    int drawn = 0;
    {
        CPrintPreview preview(view, printer, {});
        preview.show();
        preview.findChild<QAction*>(QStringLiteral("previewLast"))->trigger();
        preview.grab(); // paints the pages on show
        const auto shown = std::chrono::steady_clock::now();
        pages = preview.PageCount();
        drawn = preview.findChild<CPageCache*>(QStringLiteral("previewPageCache"))->Drawn();
        std::printf("lines %ld, pages %d, pages drawn %d\n", lines, pages, drawn);
        std::printf("open and show the last page: %.0f ms, growth %.1f MiB\n",
                    std::chrono::duration<double, std::milli>(shown - start).count(),
                    ResidentMiB() - before);
    }
#ifdef __GLIBC__
    malloc_trim(0);
#endif
    std::printf("after close: growth %.1f MiB\n", ResidentMiB() - before);
    return 0;
}

// Export of a long list to PDF from the window, as the Export command runs it:
// the pages are written on a worker thread while the window's thread only
// checks the page fit, shows the progress and handles events.
//   export_job LIST OUT.pdf
// prints the wall time, the process CPU time and the window thread's CPU time.
// Runs on Qt's offscreen platform, with the view in a window (so its row pass
// also checks every row, as in the program).

#include "Fonts.h"
#include "TavikDoc.h"
#include "TavikView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QMainWindow>

#include <cstdio>
#include <ctime>
#include <memory>

namespace {

double CpuSeconds(clockid_t clock) {
    timespec t{};
    clock_gettime(clock, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: export_job LIST OUT.pdf\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    RegisterBundledFonts();
    CTavikDoc doc;
    if (!doc.OnOpenDocument(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "export_job: cannot open %s\n", argv[1]);
        return 1;
    }
    QMainWindow window;
    auto* view = new CTavikView(&window); // the window owns it
    window.setCentralWidget(view);
    doc.AddView(view);
    view->OnInitialUpdate();
    window.show();
    while (view->IsRowPassRunning()) {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
    const QString out = QString::fromLocal8Bit(argv[2]);
    QFile::remove(out); // a file there would make Export ask before replacing it
    QElapsedTimer wall;
    wall.start();
    const double process = CpuSeconds(CLOCK_PROCESS_CPUTIME_ID);
    const double thread = CpuSeconds(CLOCK_THREAD_CPUTIME_ID);
    const bool ok = view->ExportTo(out);
    const double windowCpu = CpuSeconds(CLOCK_THREAD_CPUTIME_ID) - thread;
    const double wallSeconds = double(wall.nsecsElapsed()) / 1e9;
    std::printf("export %s: wall %.2f s, process CPU %.2f s, window thread CPU %.2f s (%.1f %%)\n",
                ok ? "done" : "FAILED", wallSeconds,
                CpuSeconds(CLOCK_PROCESS_CPUTIME_ID) - process, windowCpu,
                100.0 * windowCpu / wallSeconds);
    doc.RemoveView(view);
    return ok ? 0 : 1;
}

// The view's long jobs, off the window's thread: export, copy and print.
#include "TavikView.h"

#include "BackgroundJob.h"
#include "DocTemplate.h"
#include "Document.h"
#include "MessageBox.h"
#include "PrintChecks.h"
#include "SaveFile.h"
#include "ViewExport.h"
#include "ViewRender.h"
#include "WinApp.h"

#include <QApplication>
#include <QClipboard>
#include <QFileInfo>
#include <QMessageBox>
#include <QMimeData>
#include <QPointer>
#include <QPrinter>

namespace {

// Print-size problems a Print reports in full; the others are counted.
constexpr std::size_t kMostSizeProblems = 10;

QString FromStd(const std::string& s) {
    return QString::fromStdString(s);
}

// The reason in a writer's message, without the file name it repeats.
QString Reason(const std::string& error, const QString& path) {
    const QString e = FromStd(error);
    const QString prefix = QStringLiteral("cannot write %1").arg(path);
    if (e == prefix) {
        return QStringLiteral("the file could not be written");
    }
    return e.startsWith(prefix + QStringLiteral(": ")) ? e.mid(prefix.size() + 2) : e;
}

// Progress of a job over rows: each encoded row is one step.
CRowRenderer::Encode CountingEncoder(CRowSnapshot& rows, CBackgroundJob& job, qint64 total,
                                     qint64& done) {
    return [&rows, &job, total, &done](std::string_view text) {
        return job.Step(++done, total) && rows.Encode(text);
    };
}

// The dots the print loop takes off the snapshot's bars.
int BarReductionOf(const CRowSnapshot& rows) {
    return rows.Renderer().Settings().m_print.barReduction;
}

} // namespace

void CTavikView::OnDocumentLeaving() {
    CancelRowPass();
    if (m_pJob != nullptr) {
        m_pJob->Cancel();
        m_pJob->Wait();
    }
}

CTavikView::JobOutcome CTavikView::RunJob(const QString& title, const QString& label,
                                          const QString& units,
                                          std::function<QString(CBackgroundJob&)> work) {
    JobOutcome out;
    if (RefuseSecondJob()) {
        return out;
    }
    CBackgroundJob job(std::move(work));
    m_pJob = &job;
    const QPointer<CTavikView> self(this);
    out.ran = true;
    out.error = job.Exec(this, title, label, units);
    out.cancelled = job.IsCancelled();
    if (self.isNull()) { // closed meanwhile: its destructor stopped the job
        out.viewGone = true;
        out.cancelled = true;
        return out;
    }
    m_pJob = nullptr;
    return out;
}

bool CTavikView::RefuseSecondJob() const {
    if (m_pJob == nullptr) {
        return false;
    }
    AfxMessageBox(QStringLiteral("An export, print or copy of this document is still running: "
                                 "wait for it to finish, or cancel it."));
    return true;
}

QString CTavikView::WriteRefusal(const QString& path) const {
    const QString reason = QStringLiteral("it is the opened text file, which is never written");
    const CDocument* own = GetDocument();
    if (own != nullptr && !own->GetPathName().isEmpty() && IsSameFile(own->GetPathName(), path)) {
        return reason;
    }
    // Every list open in the program is read from its file.
    const CWinApp* app = AfxGetApp();
    const CMultiDocTemplate* docs = app != nullptr ? app->GetDocTemplate() : nullptr;
    if (docs != nullptr) {
        for (const auto& doc : docs->GetDocuments()) {
            if (!doc->GetPathName().isEmpty() && IsSameFile(doc->GetPathName(), path)) {
                return QStringLiteral("it is an opened text file, which is never written");
            }
        }
    }
    return {};
}

// The whole drawing as PNG and SVG, as tavik-batch -o writes them.
void CTavikView::OnEditCopy() {
    if (RefuseSecondJob()) {
        return;
    }
    const QSize size = MeasureView(*this);
    if (const std::string e = CheckDrawingSize(size, 1); !e.empty()) {
        AfxMessageBox(QStringLiteral("Cannot copy the drawing: %1.").arg(FromStd(e)));
        return;
    }
    const std::shared_ptr<CRowSnapshot> rows = Snapshot();
    auto image = std::make_shared<QImage>();
    auto svg = std::make_shared<QByteArray>();
    const JobOutcome out =
        RunJob(QStringLiteral("Copy"), QStringLiteral("Copying the drawing"),
               QStringLiteral("rows"), [rows, size, image, svg](CBackgroundJob& job) {
                   const qint64 total = 2 * rows->Renderer().RowCount();
                   qint64 done = 0;
                   const CRowRenderer::Encode encode = CountingEncoder(*rows, job, total, done);
                   *image = RenderRowsImage(*rows, size, 1, DrawingLimits::kMaxArea, encode);
                   *svg = RenderRowsSvg(*rows, size, 1, encode);
                   return QString();
               });
    if (!out.ran || out.cancelled) {
        return;
    }
    if (image->isNull()) {
        AfxMessageBox(QStringLiteral("Cannot copy the drawing."));
        return;
    }
    auto mime = std::make_unique<QMimeData>();
    mime->setImageData(*image);
    mime->setData(QStringLiteral("image/svg+xml"), *svg);
    QApplication::clipboard()->setMimeData(mime.release());
}

bool CTavikView::ExportTo(const QString& path) {
    if (RefuseSecondJob()) {
        return false;
    }
    const QFileInfo target(path);
    std::string e = WriteRefusal(path).toStdString();
    if (e.empty() && target.exists()) {
        QMessageBox ask(
            QMessageBox::Question, QStringLiteral("Export"),
            QStringLiteral("%1 already exists.\nDo you want to replace it?").arg(target.fileName()),
            QMessageBox::Yes | QMessageBox::No, this);
        ask.setObjectName(QStringLiteral("ExportReplaceBox"));
        ask.setDefaultButton(QMessageBox::No);
        if (ask.exec() != QMessageBox::Yes) {
            return false;
        }
    }
    const QString label = QStringLiteral("Exporting %1").arg(target.fileName());
    JobOutcome out;
    if (e.empty() && IsPdf(path)) {
        const std::shared_ptr<QPrinter> printer = ExportPrinter();
        e = BarReductionRefusal(*printer);
        if (e.empty()) {
            e = CheckPageFit(*this, *printer);
        }
        if (e.empty()) {
            const std::shared_ptr<CRowSnapshot> rows = Snapshot();
            out = RunJob(QStringLiteral("Export"), label, QStringLiteral("pages"),
                         [rows, printer, path](CBackgroundJob& job) {
                             CRowPages pages(*rows);
                             return FromStd(WritePdf(
                                 pages, *printer, path, BarReductionOf(*rows),
                                 [&job](int done, int count) { return job.Step(done, count); }));
                         });
        }
    } else if (e.empty()) {
        const QSize size = MeasureView(*this);
        e = CheckDrawingSize(size, 1);
        if (e.empty()) {
            const std::shared_ptr<CRowSnapshot> rows = Snapshot();
            out = RunJob(QStringLiteral("Export"), label, QStringLiteral("rows"),
                         [rows, size, path](CBackgroundJob& job) {
                             qint64 done = 0;
                             return FromStd(WriteDrawing(
                                 *rows, size, path, 1,
                                 CountingEncoder(*rows, job, rows->Renderer().RowCount(), done),
                                 [&job] { return job.IsCancelled(); }));
                         });
        }
    }
    if (e.empty() && (!out.ran || out.cancelled)) {
        return false; // told already, or nothing was asked any more
    }
    if (e.empty()) {
        e = out.error.toStdString();
    }
    if (!e.empty()) {
        AfxMessageBox(QStringLiteral("Cannot export to %1: %2.").arg(path, Reason(e, path)));
        return false;
    }
    return true;
}

PrintResult CTavikView::PrintPages(QPrinter& printer) {
    PrintResult result;
    if (RefuseSecondJob()) {
        result.reported = true;
        return result;
    }
    const bool toFile = printer.outputFormat() == QPrinter::PdfFormat;
    const QString path = printer.outputFileName();
    if (toFile) {
        if (const QString refusal = WriteRefusal(path); !refusal.isEmpty()) {
            AfxMessageBox(QStringLiteral("Cannot print to %1: %2.").arg(path, refusal));
            result.reported = true;
            return result;
        }
    }
    // The job draws on a printer of its own, made here: the window's printer
    // stays the window's while the pages are drawn and sent.
    std::shared_ptr<CQueueJob> queued;
    if (!toFile) {
        queued = std::make_shared<CQueueJob>(PrepareQueueJob(printer));
        if (!queued->pdf) {
            result.error = queued->error;
            return result;
        }
    }
    const std::shared_ptr<CRowSnapshot> rows = Snapshot();
    const std::shared_ptr<QPrinter> target =
        toFile ? std::shared_ptr<QPrinter>(JobPdfPrinter(printer, path)) : nullptr;
    const QString title = GetDocument() != nullptr ? GetDocument()->GetTitle() : QString();
    // What the job's pages are, for the print-size checks made on the job's thread.
    const PrintedPage page =
        PrintedPageOf(rows->Renderer().Settings(), queued ? *queued->pdf : *target);
    auto sizeProblems = std::make_shared<std::vector<std::string>>();
    const JobOutcome out = RunJob(
        QStringLiteral("Print"), QStringLiteral("Printing %1").arg(title), QStringLiteral("pages"),
        [rows, target, queued, path, page, sizeProblems](CBackgroundJob& job) {
            *sizeProblems =
                PrintSizeProblems(rows->PassInput(), page, kMostSizeProblems, *job.CancelFlag());
            CRowPages pages(*rows);
            const PageProgress progress = [&job](int done, int count) {
                return job.Step(done, count);
            };
            const int reduction = BarReductionOf(*rows);
            if (!queued) {
                return FromStd(WritePdf(pages, *target, path, reduction, progress));
            }
            const PrintResult printed =
                RunQueueJob(pages, *queued, reduction, progress, job.CancelFlag());
            return printed.ok || printed.cancelled
                       ? QString()
                       : (printed.error.isEmpty() ? QStringLiteral("the job failed")
                                                  : printed.error);
        });
    result.reported = !out.ran;
    result.cancelled = out.cancelled;
    if (!out.ran || out.cancelled) {
        return result;
    }
    if (!out.error.isEmpty() && toFile) {
        AfxMessageBox(QStringLiteral("Cannot print to %1: %2.")
                          .arg(path, Reason(out.error.toStdString(), path)));
        result.reported = true;
        return result;
    }
    result.ok = out.error.isEmpty();
    result.error = out.error;
    if (result.ok && !sizeProblems->empty()) {
        QStringList lines;
        for (const std::string& line : *sizeProblems) {
            lines.append(QString::fromStdString(line));
        }
        AfxMessageBox(QStringLiteral("Printed, but not at the size the standard asks:"),
                      lines.join(QLatin1Char('\n')));
    }
    return result;
}

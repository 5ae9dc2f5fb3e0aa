#pragma once

#include <QByteArray>
#include <QString>

#include <atomic>
#include <utility>
#include <vector>

class QPrinter;

// A job option as the print service takes it, name and value ("landscape" has none).
using JobOption = std::pair<QByteArray, QByteArray>;

// A job for a print queue.
struct CupsJobSpec {
    QString printer;                // "queue" or "queue/instance"; empty: the default queue
    QString title;                  // the job's name in the queue
    std::vector<JobOption> options; // of a name given twice the first counts
};

// What sending a job came to.
struct CupsJobResult {
    int jobId = 0;          // the service's id of the job sent; 0 when none was
    bool cancelled = false; // stopped by the caller's flag: nothing is left in the queue
    QString error;          // why no job was sent, when it was not cancelled
};

// The job that prints printer's pages, as a PDF drawn at printer's resolution
// and page layout, on printer's queue. The job carries that resolution and
// page: a named sheet size (A4, Letter...) by name, turned when the layout is
// landscape; any other page as media of its own width and length, upright (a
// size the queue lists, else a custom size), never scaled. The print dialog's
// options and the user's default options for the queue follow where they do not
// touch these. Empty printer and error set when the queue cannot take the page.
CupsJobSpec JobSpecFor(const QPrinter& printer, QString* error);

// Sends the finished PDF file at pdfPath as one job. While the file is being
// sent a true *cancel stops it and removes the job. May run on any thread.
CupsJobResult SubmitPdfJob(const QString& pdfPath, const CupsJobSpec& request,
                           const std::atomic<bool>* cancel = nullptr);

// Cancels job jobId on printer's queue; empty when done, else the reason.
QString CancelCupsJob(const QString& printer, int jobId);

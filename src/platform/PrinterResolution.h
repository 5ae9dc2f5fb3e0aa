#pragma once

#include <QByteArray>
#include <QStringList>

class QPrinter;

// The resolution a job on a print queue is printed at, and the "Resolution"
// value that asks for it.
struct QueueResolutionChoice {
    int dpi = 0;       // 0 when the print service says nothing
    QByteArray option; // as the choice was spelled: "300dpi", "300x300dpi"
};

// The resolution for a job on printerName: the print dialog's choice (its
// "Resolution" in dialogOptions, name and value pairs), else the user's default
// option, else the queue's default. A choice the queue does not list among its
// resolutions cannot be carried by the job and is passed over.
QueueResolutionChoice ChooseQueueResolution(const QString& printerName,
                                            const QStringList& dialogOptions);

// The same without a dialog's choice; 0 when the service says nothing.
int QueueResolution(const QString& printerName);

// The print service options the print dialog collected for a printer on a
// queue (name and value pairs); empty for a printer writing a PDF file.
QStringList DialogCupsOptions(const QPrinter& printer);

// The resolution printer's pages are laid out at when printed: a queue's as
// UseQueueResolution sets it (fallback when it reports none), else the printer's own.
int PrintedResolution(const QPrinter& printer, int fallback = 600);

// Sets a printer that prints on a print queue to the resolution its job will
// be printed at (fallback dpi when the queue reports none); a printer writing a
// PDF file keeps its own.
void UseQueueResolution(QPrinter& printer, int fallback = 600);

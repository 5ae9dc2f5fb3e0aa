#pragma once

class QPrinter;
class QString;

// The resolution a print queue prints at, as the print service reports it
// (the user's default option, else the queue's default); 0 when it says nothing.
int QueueResolution(const QString& printerName);

// Sets a printer that prints on a print queue to that queue's resolution
// (fallback dpi when the queue reports none); a printer writing a PDF file keeps its own.
void UseQueueResolution(QPrinter& printer, int fallback = 600);

#pragma once

#include <QByteArray>
#include <QString>

// Writing files whole or not at all, with the system's reason when it fails.
// Ours rather than QSaveFile: whole writes and the export jobs' partial files
// commit the same way, and a failure names its errno reason.

// Writes data to path through a temporary file beside it, renamed into place.
// An existing file keeps its permissions; a link is written through. False
// with error set to "cannot write PATH: REASON" (e.g. "No space left on
// device") when it cannot.
bool SaveWholeFile(const QString& path, const QByteArray& data, QString* error);

// Whether a and b name the same file: one device and inode, through symbolic
// and hard links; two names of no existing file are the same when their
// absolute paths are.
bool IsSameFile(const QString& a, const QString& b);

// The file a write to path goes to: a link's target, else path made absolute.
QString WriteTarget(const QString& path);

// Gives the finished file partial the permissions target has (or new files
// get) and renames it over target; 0, or the errno value when it fails.
int CommitPartialFile(const QByteArray& partial, const QByteArray& target);

// Why writing to the file at path fails now (an errno value such as ENOSPC),
// found by appending a block to it and taking it off again; 0 when it works.
int ProbeWriteError(const QString& path);

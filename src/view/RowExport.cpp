#include "RowExport.h"

#include "PdfPages.h"
#include "PrintLoop.h"
#include "RowImage.h"
#include "SaveFile.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QPrinter>
#include <QSaveFile>
#include <QTemporaryFile>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <csignal>
#include <cstdio>
#include <cstring>

namespace {

std::string Str(const QString& s) {
    return s.toStdString();
}

// The partial PDF being written; an interrupted run removes it.
char g_partialPdf[4096] = {};

extern "C" void RemovePartialPdf(int sig) {
    if (g_partialPdf[0] != '\0') {
        ::unlink(g_partialPdf);
    }
    std::signal(sig, SIG_DFL);
    std::raise(sig);
}

// Removes the partial file if the run is interrupted while it exists.
class PartialFileGuard {
public:
    explicit PartialFileGuard(const QByteArray& path) {
        if (path.size() < static_cast<qsizetype>(sizeof g_partialPdf)) {
            std::memcpy(g_partialPdf, path.constData(), static_cast<std::size_t>(path.size()) + 1);
        }
        for (const int sig : kSignals) {
            std::signal(sig, RemovePartialPdf);
        }
    }
    ~PartialFileGuard() {
        for (const int sig : kSignals) {
            std::signal(sig, SIG_DFL);
        }
        g_partialPdf[0] = '\0';
    }
    PartialFileGuard(const PartialFileGuard&) = delete;
    PartialFileGuard& operator=(const PartialFileGuard&) = delete;

private:
    static constexpr std::array<int, 4> kSignals{SIGINT, SIGTERM, SIGHUP, SIGPIPE};
};

// A complete PDF ends with its end-of-file marker; a short write (a full
// disk, a file size limit) leaves it out.
bool EndsLikePdf(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() < 16) {
        return false;
    }
    file.seek(std::max<qint64>(0, file.size() - 64));
    return file.readAll().contains("%%EOF");
}

} // namespace

bool IsSvg(const QString& path) {
    return path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive);
}

bool IsPdf(const QString& path) {
    return path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive);
}

std::unique_ptr<QPrinter> MakePdfPrinter(int dpi) {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setResolution(dpi);
    printer->setCreator(QStringLiteral("Tavik"));
    return printer;
}

std::string CheckDrawingSize(QSize size, int scale) {
    const std::string shown = std::to_string(size.width()) + " x " + std::to_string(size.height());
    if (size.isEmpty()) {
        return "nothing to draw: the drawing area is " + shown;
    }
    const std::int64_t w = std::int64_t{size.width()} * scale;
    const std::int64_t h = std::int64_t{size.height()} * scale;
    if (w > DrawingLimits::kMaxSide || h > DrawingLimits::kMaxSide ||
        w * h > DrawingLimits::kMaxArea) {
        return "drawing too large: " + shown + " at scale " + std::to_string(scale) + " (at most " +
               std::to_string(DrawingLimits::kMaxSide) + " a side and " +
               std::to_string(DrawingLimits::kMaxArea) + " in area)";
    }
    return {};
}

std::string WritePdf(CPageSource& pages, QPrinter& printer, const QString& path, int barReduction,
                     const PageProgress& progress, bool* cancelled) {
    const QString target = WriteTarget(path);
    QTemporaryFile partial(QFileInfo(target).absolutePath() + QStringLiteral("/.tavik-XXXXXX.pdf"));
    if (!partial.open()) {
        return "cannot write " + Str(path) + ": " + Str(partial.errorString());
    }
    partial.close();
    const PartialFileGuard guard(QFile::encodeName(partial.fileName()));
    // A failed write is tried again to learn its reason.
    int reason = 0;
    const PrintResult printed =
        WritePdfPages(pages, PdfLayoutOf(printer), partial.fileName(), barReduction, progress);
    if (cancelled != nullptr) {
        *cancelled = printed.cancelled;
    }
    if (printed.cancelled) {
        return {}; // the partial file goes with it
    }
    if (!printed.ok || !EndsLikePdf(partial.fileName())) {
        reason = ProbeWriteError(partial.fileName());
        return "cannot write " + Str(path) +
               (reason != 0 ? ": " + std::string(std::strerror(reason)) : "");
    }
    reason = CommitPartialFile(QFile::encodeName(partial.fileName()), QFile::encodeName(target));
    if (reason != 0) {
        return "cannot write " + Str(path) + ": " + std::strerror(reason);
    }
    partial.setAutoRemove(false); // renamed into place
    return {};
}

std::string WriteDrawing(CRowSnapshot& rows, QSize size, const QString& path, int scale,
                         const CRowRenderer::Encode& encode,
                         const std::function<bool()>& cancelled) {
    QString error;
    if (IsSvg(path)) {
        const QByteArray svg = RenderRowsSvg(rows, size, scale, encode);
        if (cancelled && cancelled()) {
            return {};
        }
        return SaveWholeFile(path, svg, &error) ? std::string() : Str(error);
    }
    const QImage image = RenderRowsImage(rows, size, scale, DrawingLimits::kMaxArea, encode);
    if (cancelled && cancelled()) {
        return {};
    }
    if (image.isNull()) {
        return CheckDrawingSize(size, scale);
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) {
        return "cannot write " + Str(path) + ": the image could not be encoded";
    }
    return SaveWholeFile(path, png, &error) ? std::string() : Str(error);
}

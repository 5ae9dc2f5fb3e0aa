#include "ViewExport.h"

#include "PrintLoop.h"
#include "TavikView.h"
#include "ViewRender.h"

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

int NarrowDots(const BarcodeSettings& s, const QPrinter& printer) {
    return std::max(1,
                    qRound(double(s.m_nBarWidth) * printer.resolution() / DisplayResolution().x));
}

std::string CheckPageFit(CTavikView& view, const QPrinter& printer) {
    const CDC::Resolution display = DisplayResolution();
    const QRectF inches = printer.pageLayout().paintRect(QPageLayout::Inch);
    const auto pageWidth = static_cast<std::int64_t>(inches.width() * display.x);
    const auto pageHeight = static_cast<std::int64_t>(inches.height() * display.y);
    MeasureView(view);
    const BarcodeSettings& s = view.m_settings;
    CDC dc(nullptr, display, display, true);
    const std::int64_t pitch = view.RowPitch(&dc);
    std::int64_t right = std::max<std::int64_t>(view.DrawnRight(), s.m_nOriginX);
    // Bars laid on the printer's dots can come out wider than at display scale;
    // the row is then held to the wider figure.
    const std::int64_t gridUnits = std::int64_t{NarrowDots(s, printer)} * display.x;
    const std::int64_t logicalUnits = std::int64_t{s.m_nBarWidth} * printer.resolution();
    if (!s.m_bTrueType && gridUnits > logicalUnits) {
        right = s.m_nOriginX + (right - s.m_nOriginX) * gridUnits / logicalUnits + 1;
    }
    const std::string page = " the page's printable area is " + std::to_string(pageWidth) + " x " +
                             std::to_string(pageHeight) + " units";
    if (s.m_nOriginX < 0 || s.m_nOriginY < 0) {
        return "the drawing starts above or left of the page (origin " +
               std::to_string(s.m_nOriginX) + "," + std::to_string(s.m_nOriginY) + ")";
    }
    if (right > pageWidth) {
        return "the rows do not fit on the page: they reach " + std::to_string(right) +
               " units across;" + page;
    }
    if (pitch <= 0 || s.m_nOriginY + pitch > pageHeight) {
        return "no row fits on the page: a row takes " + std::to_string(pitch) +
               " units below the origin at " + std::to_string(s.m_nOriginY) + ";" + page;
    }
    return {};
}

std::string WritePdf(CTavikView& view, QPrinter& printer, const QString& path, int barReduction) {
    const QFileInfo given(path);
    const QString target = given.exists() ? given.canonicalFilePath() : given.absoluteFilePath();
    const QByteArray targetName = QFile::encodeName(target);
    QTemporaryFile partial(QFileInfo(target).absolutePath() + QStringLiteral("/.tavik-XXXXXX.pdf"));
    if (!partial.open()) {
        return "cannot write " + Str(path) + ": " + Str(partial.errorString());
    }
    partial.close();
    const PartialFileGuard guard(QFile::encodeName(partial.fileName()));
    struct stat old {};
    const bool existed = ::stat(targetName.constData(), &old) == 0;
    printer.setOutputFileName(partial.fileName());
    if (!RunPrintLoop(view, printer, barReduction).ok || !EndsLikePdf(partial.fileName()) ||
        std::rename(QFile::encodeName(partial.fileName()).constData(), targetName.constData()) !=
            0) {
        return "cannot write " + Str(path);
    }
    partial.setAutoRemove(false); // renamed into place
    const mode_t mask = umask(0);
    umask(mask);
    chmod(targetName.constData(), existed ? (old.st_mode & 07777) : (0666 & ~mask));
    return {};
}

std::string WriteDrawing(CTavikView& view, const QString& path, int scale) {
    QString error;
    if (IsSvg(path)) {
        return RenderViewSvg(view, path, scale, &error) ? std::string() : Str(error);
    }
    const QImage image = RenderViewImage(view, scale, DrawingLimits::kMaxArea);
    if (image.isNull()) {
        return CheckDrawingSize(view.GetTotalSize(), scale);
    }
    QSaveFile file(path);
    // A short write shows only at the flush; commit alone would not notice it.
    if (!file.open(QIODevice::WriteOnly) || !image.save(&file, "PNG") || !file.flush() ||
        file.error() != QFileDevice::NoError || !file.commit()) {
        return "cannot write " + Str(path) + ": " + Str(file.errorString());
    }
    return {};
}

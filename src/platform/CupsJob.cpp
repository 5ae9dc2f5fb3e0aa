#include "CupsJob.h"

#include "CupsDest.h"
#include "PrinterResolution.h"

#include <QFile>
#include <QPageLayout>
#include <QPrinter>
#include <QStringList>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>

namespace {

// The options a job sets itself; any spelling of them from the dialog or the
// user's defaults would print the page at another size, turn or scale it.
constexpr const char* kOwnedOptions[] = {"media",
                                         "media-col",
                                         "PageSize",
                                         "PageRegion",
                                         "landscape",
                                         "orientation-requested",
                                         "Resolution",
                                         "printer-resolution",
                                         "copies",
                                         "Collate",
                                         "multiple-document-handling",
                                         "sides",
                                         "Duplex",
                                         "print-scaling",
                                         "fit-to-page",
                                         "scaling",
                                         "natural-scaling",
                                         "ppi",
                                         "number-up"};

bool Owned(const QByteArray& name) {
    for (const char* owned : kOwnedOptions) {
        if (name.compare(owned, Qt::CaseInsensitive) == 0) {
            return true;
        }
    }
    return false;
}

// Sizes in hundredths of a millimetre, as the print service gives them.
struct MediaSize {
    int width = 0;
    int length = 0;
};

// A listed size counts as the page's when each side is within a point of it:
// a driver's sizes are whole points.
constexpr int kSizeTolerance = 36;

QString Millimetres(int hundredths) {
    return QString::number(hundredths / 100.0, 'g', 10); // 101.6, 50
}

// What the queue lists for a page: its size nearest to the page within the
// tolerance, and the range of custom sizes it takes.
struct ListedMedia {
    bool listed = false; // the queue says which media it has
    QByteArray nearest;
    std::optional<MediaSize> low;
    std::optional<MediaSize> high;

    bool InRange(MediaSize page) const {
        return low && high && page.width >= low->width && page.width <= high->width &&
               page.length >= low->length && page.length <= high->length;
    }
};

ListedMedia ReadMedia(const CupsDest& dest, MediaSize page) {
    ListedMedia found;
    ipp_attribute_t* media = dest.Supported("media");
    found.listed = media != nullptr;
    int nearestOff = kSizeTolerance * 2 + 1;
    for (int i = 0; media != nullptr && i < ippGetCount(media); ++i) {
        const char* name = ippGetString(media, i, nullptr);
        const pwg_media_t* size = name != nullptr ? pwgMediaForPWG(name) : nullptr;
        if (size == nullptr) {
            continue;
        }
        const int dw = std::abs(size->width - page.width);
        const int dl = std::abs(size->length - page.length);
        if (std::strncmp(name, "custom_min_", 11) == 0) {
            found.low = MediaSize{size->width, size->length};
        } else if (std::strncmp(name, "custom_max_", 11) == 0) {
            found.high = MediaSize{size->width, size->length};
        } else if (dw <= kSizeTolerance && dl <= kSizeTolerance && dw + dl < nearestOff) {
            found.nearest = name;
            nearestOff = dw + dl;
        }
    }
    return found;
}

// The queue's media for a page: the listed size nearest to it, else a custom
// size in the queue's range (also on a queue that lists no media). Empty, with
// error set, when neither.
std::vector<JobOption> MediaFor(const CupsDest& dest, MediaSize page, const QString& printer,
                                QString* error) {
    const ListedMedia media = ReadMedia(dest, page);
    if (!media.nearest.isEmpty()) {
        return {{"media", media.nearest}};
    }
    const QString w = Millimetres(page.width);
    const QString l = Millimetres(page.length);
    if (media.InRange(page) || !media.listed) {
        const QString dims = w + QLatin1Char('x') + l + QStringLiteral("mm");
        return {{"PageSize", (QStringLiteral("Custom.") + dims).toUtf8()},
                {"media", (QStringLiteral("custom_") + dims + QLatin1Char('_') + dims).toUtf8()}};
    }
    *error = QStringLiteral("\"%1\" has no %2 x %3 mm media (width x length) and takes no "
                            "custom size of it")
                 .arg(printer, w, l);
    return {};
}

JobOption Sides(const QPrinter& printer) {
    switch (printer.duplex()) {
    case QPrinter::DuplexNone:
        return {"sides", "one-sided"};
    case QPrinter::DuplexAuto:
        return {"sides", printer.pageLayout().orientation() == QPageLayout::Portrait
                             ? "two-sided-long-edge"
                             : "two-sided-short-edge"};
    case QPrinter::DuplexLongSide:
        return {"sides", "two-sided-long-edge"};
    case QPrinter::DuplexShortSide:
        return {"sides", "two-sided-short-edge"};
    }
    return {"sides", "one-sided"};
}

// The page as media: a named sheet size by its name (turned for landscape),
// any other page upright as drawn.
std::vector<JobOption> PageOptions(const QPrinter& printer, const CupsDest& dest, QString* error) {
    const QPageLayout layout = printer.pageLayout();
    if (layout.pageSize().id() != QPageSize::Custom) {
        std::vector<JobOption> options = {{"media", layout.pageSize().key().toUtf8()}};
        if (layout.orientation() == QPageLayout::Landscape) {
            options.emplace_back("landscape", QByteArray());
        }
        return options;
    }
    const QRectF drawn = layout.fullRect(QPageLayout::Millimeter);
    return MediaFor(dest, {qRound(drawn.width() * 100), qRound(drawn.height() * 100)},
                    printer.printerName(), error);
}

// Adds options not yet given; owned ones are taken only from the job itself.
void AddDefaults(std::vector<JobOption>& options, const std::vector<JobOption>& more) {
    for (const JobOption& option : more) {
        const bool given = std::any_of(options.begin(), options.end(), [&](const JobOption& o) {
            return o.first.compare(option.first, Qt::CaseInsensitive) == 0;
        });
        if (!given && !Owned(option.first)) {
            options.push_back(option);
        }
    }
}

QString LastError() {
    return QString::fromUtf8(cupsLastErrorString());
}

struct CloseHttp {
    void operator()(http_t* http) const { httpClose(http); }
};
using Http = std::unique_ptr<http_t, CloseHttp>;

// A connection of its own to the print service the queues were listed by.
Http Connect() {
    return Http(httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1,
                             30000, nullptr));
}

// Options as the print service's library holds them.
class CupsOptions {
public:
    explicit CupsOptions(const std::vector<JobOption>& options) {
        for (const JobOption& o : options) {
            if (cupsGetOption(o.first.constData(), m_count, m_options) == nullptr) {
                m_count =
                    cupsAddOption(o.first.constData(), o.second.constData(), m_count, &m_options);
            }
        }
    }
    ~CupsOptions() { cupsFreeOptions(m_count, m_options); }
    CupsOptions(const CupsOptions&) = delete;
    CupsOptions& operator=(const CupsOptions&) = delete;
    int Count() const { return m_count; }
    cups_option_t* Options() const { return m_options; }

private:
    int m_count = 0;
    cups_option_t* m_options = nullptr;
};

QString NoPrinter(const QString& printer) {
    return printer.isEmpty() ? QStringLiteral("no default printer")
                             : QStringLiteral("no printer named \"%1\"").arg(printer);
}

// Streams the file into the job's document; false with error set when sending failed.
bool SendDocument(http_t* http, QFile& file, const std::atomic<bool>* cancel, bool& cancelled,
                  QString& error) {
    std::array<char, 65536> buffer{};
    for (;;) {
        if (cancel != nullptr && cancel->load()) {
            cancelled = true;
            return false;
        }
        const qint64 n = file.read(buffer.data(), buffer.size());
        if (n < 0) {
            error = QStringLiteral("cannot read %1: %2").arg(file.fileName(), file.errorString());
            return false;
        }
        if (n == 0) {
            return true;
        }
        if (cupsWriteRequestData(http, buffer.data(), std::size_t(n)) != HTTP_STATUS_CONTINUE) {
            error = LastError();
            return false;
        }
    }
}

// Sends the file as the job's one document; false with result's reason when it was not sent.
bool SendJobDocument(http_t* http, const CupsDest& dest, cups_dinfo_t* info, int jobId,
                     const QByteArray& title, QFile& file, const std::atomic<bool>* cancel,
                     CupsJobResult& result) {
    if (cupsStartDestDocument(http, dest.Dest(), info, jobId, title.constData(), CUPS_FORMAT_PDF, 0,
                              nullptr, 1) != HTTP_STATUS_CONTINUE) {
        result.error = LastError();
        return false;
    }
    if (!SendDocument(http, file, cancel, result.cancelled, result.error)) {
        return false;
    }
    if (cupsFinishDestDocument(http, dest.Dest(), info) > IPP_STATUS_OK_EVENTS_COMPLETE) {
        result.error = LastError();
        return false;
    }
    return true;
}

// The resolution the pages were drawn at (in the queue's spelling when it is the
// chosen one), copies, sides, and pages printed as they are.
void AddJobOptions(std::vector<JobOption>& options, const QPrinter& printer,
                   const QueueResolutionChoice& chosen) {
    const QByteArray dpi = QByteArray::number(printer.resolution()) + "dpi";
    options.emplace_back("Resolution", chosen.dpi == printer.resolution() ? chosen.option : dpi);
    options.emplace_back("printer-resolution", dpi);
    options.emplace_back("copies", QByteArray::number(std::max(1, printer.copyCount())));
    if (printer.copyCount() > 1 && printer.collateCopies()) {
        options.emplace_back("Collate", "True");
    }
    options.push_back(Sides(printer));
    options.emplace_back("print-scaling", "none");
    options.emplace_back("number-up", "1");
}

} // namespace

CupsJobSpec JobSpecFor(const QPrinter& printer, QString* error) {
    CupsJobSpec request;
    const CupsDest dest(printer.printerName());
    if (!dest) {
        *error = NoPrinter(printer.printerName());
        return request;
    }
    const QStringList dialog = DialogCupsOptions(printer);
    std::vector<JobOption> options = PageOptions(printer, dest, error);
    if (options.empty()) {
        return request;
    }
    AddJobOptions(options, printer, ChooseQueueResolution(printer.printerName(), dialog));
    std::vector<JobOption> chosen;
    for (qsizetype i = 0; i + 1 < dialog.size(); i += 2) {
        chosen.emplace_back(dialog[i].toUtf8(), dialog[i + 1].toUtf8());
    }
    AddDefaults(options, chosen);
    std::vector<JobOption> defaults;
    for (int i = 0; i < dest.Dest()->num_options; ++i) {
        defaults.emplace_back(dest.Dest()->options[i].name, dest.Dest()->options[i].value);
    }
    AddDefaults(options, defaults);
    request.printer = printer.printerName();
    request.title = printer.docName();
    request.options = std::move(options);
    return request;
}

CupsJobResult SubmitPdfJob(const QString& pdfPath, const CupsJobSpec& request,
                           const std::atomic<bool>* cancel) {
    CupsJobResult result;
    if (cancel != nullptr && cancel->load()) {
        result.cancelled = true;
        return result;
    }
    QFile file(pdfPath);
    if (!file.open(QIODevice::ReadOnly)) {
        result.error = QStringLiteral("cannot read %1: %2").arg(pdfPath, file.errorString());
        return result;
    }
    const CupsDest dest(request.printer);
    if (!dest) {
        result.error = NoPrinter(request.printer);
        return result;
    }
    Http http = Connect();
    if (!http) {
        result.error = LastError();
        return result;
    }
    const std::unique_ptr<cups_dinfo_t, decltype(&cupsFreeDestInfo)> info(
        cupsCopyDestInfo(http.get(), dest.Dest()), cupsFreeDestInfo);
    if (!info) {
        result.error = LastError();
        return result;
    }
    const CupsOptions options(request.options);
    const QByteArray title = request.title.toUtf8();
    int jobId = 0;
    if (cupsCreateDestJob(http.get(), dest.Dest(), info.get(), &jobId, title.constData(),
                          options.Count(), options.Options()) > IPP_STATUS_OK_EVENTS_COMPLETE) {
        result.error = LastError();
        return result;
    }
    if (!SendJobDocument(http.get(), dest, info.get(), jobId, title, file, cancel, result)) {
        http.reset(); // a document stopped half-way; the job is cancelled on a fresh connection
        const QString why = CancelCupsJob(request.printer, jobId);
        if (result.cancelled && !why.isEmpty()) {
            result.cancelled = false;
            result.error = QStringLiteral("the job could not be cancelled: ") + why;
        }
        return result;
    }
    result.jobId = jobId;
    return result;
}

QString CancelCupsJob(const QString& printer, int jobId) {
    const CupsDest dest(printer);
    if (!dest) {
        return NoPrinter(printer);
    }
    const Http http = Connect();
    if (!http) {
        return LastError();
    }
    return cupsCancelDestJob(http.get(), dest.Dest(), jobId) > IPP_STATUS_OK_EVENTS_COMPLETE
               ? LastError()
               : QString();
}

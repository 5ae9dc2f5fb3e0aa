#include "Render.h"

#include "BatchCommon.h"
#include "BatchOptions.h"
#include "CupsJob.h"
#include "FileRead.h"
#include "Fonts.h"
#include "LabelSheets.h"
#include "Latin1.h"
#include "LineList.h"
#include "PrintChecks.h"
#include "PrintLoop.h"
#include "PrintSize.h"
#include "PrinterResolution.h"
#include "RowExport.h"
#include "RowLayout.h"
#include "RowReport.h"
#include "SaveFile.h"

#include <QBuffer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPrinter>
#include <QPrinterInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <iostream>
#include <limits>
#include <memory>
#include <vector>

namespace {

using L = BatchLimits;

// Qt's own notes (runtime directories, platform details) are no business of the
// tool's user; only critical and fatal messages get through.
void QuietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg) {
        std::cerr << "tavik-batch: " << message.toStdString() << "\n";
    }
}

// A QGuiApplication on the offscreen platform (unless the user chose another one),
// with the bundled barcode font registered. Fonts and printers need it alive.
class OffscreenApp {
public:
    OffscreenApp() {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        qInstallMessageHandler(QuietQtMessages);
        m_app = std::make_unique<QGuiApplication>(m_argc, m_argv.data());
        RegisterBundledFonts();
    }

private:
    int m_argc = 1;
    char m_name[12] = "tavik-batch";
    std::array<char*, 2> m_argv{m_name, nullptr};
    std::unique_ptr<QGuiApplication> m_app;
};

std::string Str(const QString& s) {
    return s.toStdString();
}

// A file name as Qt sees it; empty when the bytes have no exact form there
// (not valid in the system's encoding), so no other file is ever used instead.
QString FileName(const std::string& name) {
    const QString decoded = QFile::decodeName(name.c_str());
    return QFile::encodeName(decoded).toStdString() == name ? decoded : QString();
}

// OUT must be creatable: an existing directory that is writable, and not a
// directory, a device or a pipe itself.
std::string CheckOutputPath(const QString& path) {
    const QFileInfo info(path);
    const std::string cannot = "cannot write " + Str(path) + ": ";
    if (info.isDir()) {
        return cannot + "it is a directory";
    }
    if (info.exists() && !info.isFile()) {
        return cannot + "it is not a regular file";
    }
    const QFileInfo dir(info.absolutePath());
    if (!dir.isDir()) {
        return cannot + "there is no directory " + Str(dir.filePath());
    }
    if (!dir.isWritable()) {
        return cannot + "the directory " + Str(dir.filePath()) + " is not writable";
    }
    return {};
}

// The lines of -i FILE (opened as the window opens it, with its message) or of
// standard input, or none.
std::string LoadDocument(CLineList& lines, const std::optional<std::string>& input,
                         const std::optional<NumberSequence>& sequence) {
    if (sequence) {
        lines.Generate(*sequence);
        return {};
    }
    if (!input) {
        return {};
    }
    if (*input == "-") {
        return LoadList(lines, *input);
    }
    QString error;
    std::string bytes;
    if (!ReadWholeFile(FileName(*input), bytes, &error)) {
        return Str(error);
    }
    lines.Load(std::move(bytes));
    return {};
}

void SetFont(LOGFONT& lf, const FontChoice& font) {
    lf.lfHeight = font.height;
    std::fill(std::begin(lf.lfFaceName), std::end(lf.lfFaceName), '\0');
    font.face.copy(lf.lfFaceName, LF_FACESIZE - 1);
}

// The settings the command line gives; the others keep the view's initial values.
void ApplyOptions(BarcodeSettings& s, const BatchOptions& o,
                  const std::optional<std::string>& text) {
    s.m_nType = o.type;
    s.m_strText = text.value_or(s.m_strText);
    s.m_nBarWidth = o.lineWidth.value_or(s.m_nBarWidth);
    s.m_nBarHeight = o.barHeight.value_or(s.m_nBarHeight);
    s.m_print.xMm = o.lineWidthMm.value_or(0);
    s.m_print.barHeightMm = o.barHeightMm.value_or(0);
    s.m_nOriginX = o.originX.value_or(s.m_nOriginX);
    s.m_nOriginY = o.originY.value_or(s.m_nOriginY);
    s.m_nRepeat = o.repeat.value_or(s.m_nRepeat);
    s.m_bShowText = !o.noText;
    s.m_bTrueType = o.trueType;
    s.m_crBar = o.barColor.value_or(s.m_crBar);
    s.m_crSpace = o.spaceColor.value_or(s.m_crSpace);
    s.m_crText = o.textColor.value_or(s.m_crText);
    s.m_crBarcodeFont = o.barcodeFontColor.value_or(s.m_crBarcodeFont);
    if (o.textFont) {
        SetFont(s.m_lfText, *o.textFont);
    }
    if (o.barcodeFont) {
        SetFont(s.m_lfBarcode, *o.barcodeFont);
    }
    s.m_labels = o.labels;
}

// The rows as the window lays them out and draws them, from the command line's
// settings: fonts and offsets settled as after a Settings OK, the text encoded.
// The fonts and offsets follow the settings also when the text is refused
// (CheckRows reports it), as there is no earlier choice to keep.
struct BatchRows {
    BatchRows(const CLineList& lines, const BatchOptions& o, const std::optional<std::string>& text)
        : screen(DisplayResolution()) {
        InitialFonts(settings);
        if (!lines.IsEmpty()) {
            settings.m_pLines = &lines;
        }
        ApplyOptions(settings, o, text);
        SettleSettings(settings, textFont, barcodeFont, screen);
        encoders.EncodeQuietly(settings.m_nType, settings.m_strText);
    }
    RowPassInput Input() const { return RowPassInput{settings, textFont, barcodeFont, screen}; }
    // The right edge of the widest row drawn; INT64_MIN when none is.
    std::int64_t DrawnRight() const {
        return ::DrawnRight(settings, CRowPass::MeasureWidest(Input()));
    }
    int Pitch() const {
        CDC dc(nullptr, screen, screen, false);
        return CRowRenderer(settings, textFont, barcodeFont, encoders, screen).RowPitch(dc);
    }

    CDC::Resolution screen;
    BarcodeSettings settings;
    CFont textFont;
    CFont barcodeFont;
    EncoderSet encoders;
};

// Checks every drawn row against its text and reports the problem rows; with --strict a row
// whose bars read differently is drawn empty, as a refused one is (a TEXT then shows only its
// text), and so is a line too wide for the page of printer (when there is one). A TEXT with
// no 8-bit form (refused before the rows) is reported as given. True when no row failed.
bool CheckRows(CLineList& lines, CRowSnapshot& rows, const BatchOptions& o,
               const std::string& unrepresentable, const QPrinter* printer) {
    RowReporter report = MakeRowReporter(o);
    std::vector<std::size_t> empty;
    const BarcodeSettings& s = rows.Renderer().Settings();
    if (s.m_pLines == nullptr && !unrepresentable.empty()) {
        report.Unrepresentable(unrepresentable);
    } else {
        CheckRowsForPage(rows.PassInput(), report, printer, [&](std::size_t i, bool tooWide) {
            if (i == SIZE_MAX) {
                rows.EncoderFor(s.m_nType)->Clear();
            } else if (o.strict || tooWide) {
                empty.push_back(i);
            }
        });
    }
    if (!empty.empty()) {
        lines.EmptyLines(empty);
    }
    return !report.Failed();
}

bool IsPdf(const std::optional<std::string>& path) {
    return path &&
           QFile::decodeName(path->c_str()).endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive);
}

QPageSize::Unit QtUnit(Length::Unit unit) {
    switch (unit) {
    case Length::Unit::Inch:
        return QPageSize::Inch;
    case Length::Unit::Point:
        return QPageSize::Point;
    default:
        return QPageSize::Millimeter;
    }
}

// The page of --page-size and the margins of --margins; empty when they fit
// together. A WIDTHxHEIGHT page is a label that wide and that long, upright;
// without --margins it has none in a PDF and, on a printer, only the strips
// the printer cannot print on.
std::string SetPage(QPrinter& printer, const BatchOptions& o) {
    const PageChoice& p = o.page;
    if (p.named == PageChoice::Named::Custom) {
        printer.setPageSize(QPageSize(QSizeF(p.width, p.height), QtUnit(p.unit),
                                      QStringLiteral("Label"), QPageSize::ExactMatch));
        printer.setPageOrientation(QPageLayout::Portrait);
        if (!o.margins) {
            const QPageLayout layout = printer.pageLayout();
            printer.setPageMargins(layout.minimumMargins(), layout.units());
        }
    } else {
        printer.setPageSize(
            QPageSize(p.named == PageChoice::Named::Letter ? QPageSize::Letter : QPageSize::A4));
        printer.setPageOrientation(QPageLayout::Portrait);
    }
    if (o.margins) {
        const double m = o.margins->value;
        const auto unit = static_cast<QPageLayout::Unit>(QtUnit(o.margins->unit));
        if (!printer.setPageMargins(QMarginsF(m, m, m, m), unit) ||
            printer.pageLayout().paintRect().isEmpty()) {
            return "the margins leave no printable area on the page";
        }
    }
    return {};
}

// A bar must keep at least one dot after --bar-reduction.
std::string CheckBarReduction(const BarcodeSettings& s, const QPrinter& printer,
                              const BatchOptions& o) {
    const int reduction = o.barReduction.value_or(0);
    const std::string problem =
        PrintSize::BarReductionProblem(s, reduction, printer.resolution(), DisplayResolution().x);
    return problem.empty() ? problem
                           : "--bar-reduction " + std::to_string(reduction) + " " + problem;
}

// The printer of the pages: a PDF printer at --printer-dpi, or the print
// service's printer at its own resolution for --print; null with error set when
// there is no such printer or the page does not hold the margins.
std::unique_ptr<QPrinter> MakePrinter(const BatchOptions& o, std::string& error) {
    std::unique_ptr<QPrinter> printer;
    if (o.mode == BatchOptions::Mode::Print) {
        QString e;
        const QPrinterInfo info = CommandLinePrinter(
            o.printer ? std::optional(QString::fromStdString(*o.printer)) : std::nullopt, &e);
        if (info.isNull()) {
            error = Str(e);
            return nullptr;
        }
        printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
        printer->setDocName(QStringLiteral("Tavik"));
        UseQueueResolution(*printer);
    } else {
        printer = MakePdfPrinter(o.printerDpi.value_or(L::kDefaultPrinterDpi));
    }
    if (o.labels.Active()) {
        Labels::UseSheetPage(*printer, o.labels.sheet);
    } else {
        error = SetPage(*printer, o);
    }
    // The queue must take the page as it is laid out.
    if (QString e; error.empty() && o.mode == BatchOptions::Mode::Print &&
                   JobSpecFor(*printer, &e).options.empty()) {
        error = Str(e);
    }
    return error.empty() ? std::move(printer) : nullptr;
}

// Why no page may be printed: a bar reduction that leaves no dot, rows that do
// not fit on the page (or a text that does not fit its label), or with --strict an
// X outside the standard's range; empty when they may.
std::string PageRefusal(const BatchRows& batch, const QPrinter& printer, const BatchOptions& o) {
    std::string e = CheckBarReduction(batch.settings, printer, o);
    if (e.empty()) {
        e = CheckPageFit(batch.Input(), printer, [&batch] { return batch.DrawnRight(); });
    }
    if (e.empty()) {
        e = Labels::TextOnLabelProblem(batch.Input(), batch.encoders.For(batch.settings.m_nType),
                                       printer);
    }
    if (e.empty() && o.strict) {
        e = PrintedXProblem(batch.settings, printer);
    }
    return e;
}

// --check of the printed pages: the X printed, then every problem row as the
// pages would have it, and the counts; no page is made.
int CheckPages(CLineList& lines, const BatchOptions& o, const std::optional<std::string>& text,
               const std::string& unrepresentable) {
    BatchRows batch(lines, o, text);
    CRowSnapshot rows(batch.settings, batch.textFont, batch.barcodeFont, batch.encoders,
                      DisplayResolution(), batch.screen);
    std::string e;
    const std::unique_ptr<QPrinter> printer = MakePrinter(o, e);
    if (!printer || !(e = PageRefusal(batch, *printer, o)).empty()) {
        return Usage(e);
    }
    if (!batch.settings.m_bTrueType) {
        std::printf("%s\n", PrintSize::DescribeX(batch.settings, printer->resolution(),
                                                 DisplayResolution().x)
                                .c_str());
    }
    RowReporter report = MakeRowReporter(o);
    if (batch.settings.m_pLines == nullptr && !unrepresentable.empty()) {
        report.Unrepresentable(unrepresentable);
    } else {
        CheckRowsForPage(rows.PassInput(), report, printer.get());
    }
    std::printf("%s\n", report.Summary().c_str());
    return FinishOutput(report.AllMatch() ? 0 : 1);
}

// The rows' size as the window lays them out, measured; empty with error set
// when the drawing is too large.
QSize DrawingSize(const BatchRows& batch, const BatchOptions& o, std::string& error) {
    const BarcodeSettings& s = batch.settings;
    // The height needs no drawing: a list far too long is refused before
    // every row is measured.
    const int pitch = batch.Pitch();
    const std::int64_t high =
        std::int64_t{LayoutSize(s, pitch, std::numeric_limits<std::int64_t>::min()).height()} *
        o.scale;
    if (high > L::kMaxSide) {
        error = "drawing too large: " + std::to_string(high) + " units high at scale " +
                std::to_string(o.scale) + " (at most " + std::to_string(L::kMaxSide) + " a side)";
        return {};
    }
    const QSize size = LayoutSize(s, pitch, batch.DrawnRight()).expandedTo(QSize(0, 0));
    error = CheckDrawingSize(size, o.scale);
    return size;
}

// Draws the lines (or the text); returns the exit status. unrepresentable is a
// TEXT with no 8-bit form: its row is drawn empty.
int DrawDocument(CLineList& lines, const BatchOptions& o, const std::optional<std::string>& text,
                 const std::string& unrepresentable) {
    if (o.check) {
        return CheckPages(lines, o, text, unrepresentable);
    }
    BatchRows batch(lines, o, text);
    CRowSnapshot rows(batch.settings, batch.textFont, batch.barcodeFont, batch.encoders,
                      DisplayResolution(), batch.screen);
    CRowPages pages(rows);
    const int barReduction = o.barReduction.value_or(0);
    std::string e;
    if (o.mode == BatchOptions::Mode::Print) {
        const std::unique_ptr<QPrinter> printer = MakePrinter(o, e);
        if (!printer) {
            return Usage(e);
        }
        const CommandLinePrint run = PrintFromCommandLine(
            pages, *printer, barReduction,
            [&] { return QString::fromStdString(PageRefusal(batch, *printer, o)); },
            [&] { return CheckRows(lines, rows, o, unrepresentable, printer.get()); });
        if (!run.refusal.isEmpty()) {
            return Usage(Str(run.refusal));
        }
        if (!run.printed.ok) {
            return Usage("printing on " + Str(printer->printerName()) + " failed" +
                         (run.printed.error.isEmpty() ? "" : ": " + Str(run.printed.error)));
        }
        return run.allRows ? 0 : 1;
    }
    bool rowsAccepted = false;
    if (IsPdf(o.output)) {
        const std::unique_ptr<QPrinter> printer = MakePrinter(o, e);
        if (!printer || !(e = PageRefusal(batch, *printer, o)).empty()) {
            return Usage(e);
        }
        rowsAccepted = CheckRows(lines, rows, o, unrepresentable, printer.get());
        e = WritePdf(pages, *printer, FileName(*o.output), barReduction, {});
    } else {
        const QSize size = DrawingSize(batch, o, e);
        if (!e.empty()) {
            return Usage(e);
        }
        rowsAccepted = CheckRows(lines, rows, o, unrepresentable, nullptr);
        e = WriteDrawing(rows, size, FileName(*o.output), o.scale);
    }
    if (!e.empty()) {
        return Usage(e);
    }
    return rowsAccepted ? 0 : 1;
}

} // namespace

int Render(const BatchOptions& o) {
    for (const std::optional<std::string>& name : {o.input, o.output}) {
        if (name && *name != "-" && FileName(*name).isEmpty()) {
            return Usage("cannot use the file name " + Shown(*name) +
                         ": it is not valid in the system's encoding");
        }
    }
    if (o.output) {
        if (o.input && *o.input != "-" && IsSameFile(FileName(*o.input), FileName(*o.output))) {
            return Usage("the output " + *o.output + " is the input file; it is never written");
        }
        if (const std::string e = CheckOutputPath(FileName(*o.output)); !e.empty()) {
            return Usage(e);
        }
    }
    // A TEXT with a character beyond Latin-1 is a refused row, drawn empty.
    std::optional<std::string> text;
    std::string unrepresentable;
    if (o.text) {
        text = Utf8ToLatin1(*o.text);
        if (!text) {
            unrepresentable = *o.text;
            text = std::string();
        }
    }
    CLineList lines; // outlives the rows, which outlive the application
    if (const std::string e = LoadDocument(lines, o.input, o.sequence); !e.empty()) {
        return Usage(e);
    }
    if (o.input && lines.GetSize() == 0) {
        std::cerr << "tavik-batch: " << (*o.input == "-" ? "standard input" : *o.input)
                  << " holds no lines: the view draws its own text\n";
    }
    const OffscreenApp app;
    return DrawDocument(lines, o, text, unrepresentable);
}

#include "Render.h"

#include "BatchCommon.h"
#include "BatchOptions.h"
#include "Fonts.h"
#include "Latin1.h"
#include "MessageBox.h"
#include "MulDiv.h"
#include "PrintLoop.h"
#include "TavikDoc.h"
#include "TavikView.h"
#include "ViewRender.h"

#include <QApplication>
#include <QFileInfo>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSaveFile>
#include <QTemporaryFile>

#include <cstdio>
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <iostream>
#include <memory>

namespace {

using L = BatchLimits;

// Qt's own notes (runtime directories, platform details) are no business of the
// tool's user; only critical and fatal messages get through.
void QuietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg) {
        std::cerr << "tavik-batch: " << message.toStdString() << "\n";
    }
}

// A QApplication on the offscreen platform (unless the user chose another one),
// with the bundled barcode font registered. Views need it alive.
class OffscreenApp {
public:
    OffscreenApp() {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        qInstallMessageHandler(QuietQtMessages);
        m_app = std::make_unique<QApplication>(m_argc, m_argv.data());
        RegisterBundledFonts();
        // An encoder exception would open a message box; there is no one to close it.
        SetMessageBoxHandler([](const QString& text) { std::cerr << text.toStdString() << "\n"; });
    }

private:
    int m_argc = 1;
    char m_name[12] = "tavik-batch";
    std::array<char*, 2> m_argv{m_name, nullptr};
    std::unique_ptr<QApplication> m_app;
};

std::string Str(const QString& s) {
    return s.toStdString();
}

// OUT must be creatable: an existing directory that is writable, and not a directory itself.
std::string CheckOutputPath(const QString& path) {
    const QFileInfo info(path);
    const std::string cannot = "cannot write " + Str(path) + ": ";
    if (info.isDir()) {
        return cannot + "it is a directory";
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

// Fills the document: the lines of -i FILE (or standard input), or nothing.
std::string LoadDocument(CTavikDoc& doc, const std::optional<std::string>& input) {
    doc.OnNewDocument();
    if (!input) {
        return {};
    }
    if (*input == "-") {
        std::string bytes;
        if (!ReadAll("-", bytes)) {
            return "cannot read standard input";
        }
        CArchive ar(CArchive::load, std::move(bytes));
        doc.Serialize(ar);
        return {};
    }
    QString error;
    if (!doc.OnOpenDocument(QFile::decodeName(input->c_str()), &error)) {
        return Str(error);
    }
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
}

// What the Settings command does after OK: encode the text, remake the fonts and
// the derived offsets. Returns false when the text was refused; the fonts and
// offsets follow the settings even then, as there is no earlier choice to keep.
bool BringInLine(CTavikView& view) {
    BarcodeSettings& s = view.m_settings;
    const bool accepted = view.EncodeText(s.m_strText);
    view.m_fontText.DeleteObject();
    view.m_fontText.CreateFontIndirect(&s.m_lfText);
    view.m_fontBarcode.DeleteObject();
    view.m_fontBarcode.CreateFontIndirect(&s.m_lfBarcode);
    if (s.m_bTrueType) {
        s.m_nFontOffset = 10 - MulDiv(s.m_lfBarcode.lfHeight, view.ScreenResolution().y, 72) / 2;
    }
    s.m_nGuardExtra = s.m_nType == BARCODE_EAN13 ? static_cast<int>(s.m_nBarHeight * 0.2) : 0;
    return accepted;
}

// Reports every drawn row whose text the symbology refuses; true when there is none.
bool CheckRows(CTavikView& view, bool textAccepted) {
    const BarcodeSettings& s = view.m_settings;
    if (s.m_pLines == nullptr) {
        if (!textAccepted) {
            ReportRefused(Latin1ToUtf8(s.m_strText), 0);
        }
        return textAccepted;
    }
    bool all = true;
    for (std::size_t i = 0; i < s.m_pLines->GetSize(); ++i) {
        const std::string_view line = s.m_pLines->GetAt(i);
        if (!view.EncodeText(std::string(line))) {
            ReportRefused(Latin1ToUtf8(line), static_cast<long>(i + 1));
            all = false;
        }
    }
    return all;
}

std::string CheckSize(QSize size, int scale) {
    const std::string shown = std::to_string(size.width()) + " x " + std::to_string(size.height());
    if (size.isEmpty()) {
        return "nothing to draw: the drawing area is " + shown;
    }
    const std::int64_t w = std::int64_t{size.width()} * scale;
    const std::int64_t h = std::int64_t{size.height()} * scale;
    if (w > L::kMaxSide || h > L::kMaxSide || w * h > L::kMaxArea) {
        return "drawing too large: " + shown + " at scale " + std::to_string(scale) + " (at most " +
               std::to_string(L::kMaxSide) + " a side and " + std::to_string(L::kMaxArea) +
               " in area)";
    }
    return {};
}

// The drawing's height as the view lays it out: rows times pitch plus the origin.
int LayoutHeight(CTavikView& view) {
    const CDC::Resolution screen = view.ScreenResolution();
    CDC dc(nullptr, screen, screen, false);
    const BarcodeSettings& s = view.m_settings;
    const std::int64_t rows = s.m_pLines != nullptr
                                  ? static_cast<std::int64_t>(s.m_pLines->GetSize())
                                  : std::int64_t{s.m_nRepeat};
    return SaturateInt(rows * view.RowPitch(&dc) + s.m_nOriginY);
}

bool IsSvg(const QString& path) {
    return path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive);
}

bool IsPdf(const std::optional<std::string>& path) {
    return path &&
           QFile::decodeName(path->c_str()).endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive);
}

void SetPage(QPrinter& printer, bool letter) {
    printer.setPageSize(QPageSize(letter ? QPageSize::Letter : QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Portrait);
}

// The printed pages as a PDF at 1200 dpi, written whole or not at all.
std::string WritePdf(CTavikView& view, const QString& path, bool letter) {
    const QFileInfo target(path);
    QTemporaryFile partial(target.absolutePath() + QStringLiteral("/.tavik-XXXXXX.pdf"));
    if (!partial.open()) {
        return "cannot write " + Str(path) + ": " + Str(partial.errorString());
    }
    partial.close();
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setResolution(1200);
    printer.setCreator(QStringLiteral("Tavik"));
    printer.setOutputFileName(partial.fileName());
    SetPage(printer, letter);
    if (!RunPrintLoop(view, printer).ok ||
        std::rename(QFile::encodeName(partial.fileName()).constData(),
                    QFile::encodeName(target.absoluteFilePath()).constData()) != 0) {
        return "cannot write " + Str(path);
    }
    partial.setAutoRemove(false); // renamed into place
    const mode_t mask = umask(0);
    umask(mask);
    chmod(QFile::encodeName(target.absoluteFilePath()).constData(), 0666 & ~mask);
    return {};
}

// The printed pages on a printer of the print service.
std::string PrintPages(CTavikView& view, const std::optional<std::string>& name, bool letter) {
    const QPrinterInfo info = name ? QPrinterInfo::printerInfo(QString::fromStdString(*name))
                                   : QPrinterInfo::defaultPrinter();
    if (info.isNull()) {
        return name ? "no printer named \"" + *name + "\"" : std::string("no default printer");
    }
    QPrinter printer(info, QPrinter::HighResolution);
    printer.setDocName(QStringLiteral("Tavik"));
    SetPage(printer, letter);
    if (!RunPrintLoop(view, printer).ok) {
        return "printing on " + Str(info.printerName()) + " failed";
    }
    return {};
}

// Writes the whole drawing to path, or nothing at all.
std::string WriteOutput(CTavikView& view, const QString& path, int scale) {
    QString error;
    if (IsSvg(path)) {
        return RenderViewSvg(view, path, scale, &error) ? std::string() : Str(error);
    }
    const QImage image = RenderViewImage(view, scale, L::kMaxArea);
    if (image.isNull()) {
        return CheckSize(view.GetTotalSize(), scale);
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !image.save(&file, "PNG") || !file.commit()) {
        return "cannot write " + Str(path) + ": " + Str(file.errorString());
    }
    return {};
}

// Draws the prepared document; returns the exit status.
int DrawDocument(CTavikDoc& doc, const BatchOptions& o, const std::optional<std::string>& text) {
    auto view = std::make_unique<CTavikView>();
    doc.AddView(view.get());
    view->OnInitialUpdate();
    ApplyOptions(view->m_settings, o, text);
    const bool textAccepted = BringInLine(*view);
    const bool paged = o.mode == BatchOptions::Mode::Print || IsPdf(o.output);
    if (!paged) {
        // The height needs no drawing: a list far too long is refused before
        // every row is measured.
        if (const std::int64_t high = std::int64_t{LayoutHeight(*view)} * o.scale;
            high > L::kMaxSide) {
            return Usage("drawing too large: " + std::to_string(high) + " units high at scale " +
                         std::to_string(o.scale) + " (at most " + std::to_string(L::kMaxSide) +
                         " a side)");
        }
        if (const std::string e = CheckSize(MeasureView(*view), o.scale); !e.empty()) {
            return Usage(e);
        }
    }
    const bool rowsAccepted = CheckRows(*view, textAccepted);
    std::string e;
    if (o.mode == BatchOptions::Mode::Print) {
        e = PrintPages(*view, o.printer, o.letter);
    } else if (paged) {
        e = WritePdf(*view, QFile::decodeName(o.output->c_str()), o.letter);
    } else {
        e = WriteOutput(*view, QFile::decodeName(o.output->c_str()), o.scale);
    }
    if (!e.empty()) {
        return Usage(e);
    }
    return rowsAccepted ? 0 : 1;
}

} // namespace

int Render(const BatchOptions& o) {
    if (o.output) {
        if (const std::string e = CheckOutputPath(QFile::decodeName(o.output->c_str()));
            !e.empty()) {
            return Usage(e);
        }
    }
    std::optional<std::string> text;
    if (o.text) {
        text = Utf8ToLatin1(*o.text);
        if (!text) {
            return Usage("TEXT \"" + *o.text + "\" is not Latin-1 text (U+0000 to U+00FF)");
        }
    }
    CTavikDoc doc; // outlives the view, which outlives the application
    if (const std::string e = LoadDocument(doc, o.input); !e.empty()) {
        return Usage(e);
    }
    const OffscreenApp app;
    return DrawDocument(doc, o, text);
}

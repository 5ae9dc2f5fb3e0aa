// Pages through our own PDF writer, checked as a printer and a reader see them:
// qpdf finds nothing wrong, every font is embedded, poppler and Ghostscript at
// the page's resolution make the same bars as the QPrinter path, row by row
// readable and on whole dots, and the text comes back as it was written.
#include "PdfPages.h"
#include "PrintLoop.h"
#include "RowLayout.h"
#include "TavikDoc.h"
#include "TavikView.h"
#include "support/Pgm.h"
#include "support/Process.h"

#include <QPageLayout>
#include <QPrinter>
#include <QTemporaryDir>
#define ZX_USE_UTF8
#include <ZXing/ReadBarcode.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

// Page 1 of pdf at dpi, one bit deep as a printer makes it, by poppler or Ghostscript.
GreyImage Raster(const std::string& pdf, int dpi, bool ghostscript) {
    const std::string out = pdf + (ghostscript ? ".gs" : ".pp");
    if (ghostscript) {
        RunProcess("/usr/bin/gs",
                   {"-q", "-dNOPAUSE", "-dBATCH", "-dSAFER", "-sDEVICE=pgmraw",
                    "-r" + std::to_string(dpi), "-dGraphicsAlphaBits=1", "-dTextAlphaBits=1",
                    "-dLastPage=1", "-sOutputFile=" + out + ".pgm", pdf});
    } else {
        RunProcess("/usr/bin/pdftoppm", {"-r", std::to_string(dpi), "-gray", "-aa", "no",
                                         "-aaVector", "no", "-singlefile", pdf, out});
    }
    GreyImage image;
    EXPECT_TRUE(ReadPgm(out + ".pgm", image)) << out;
    return image;
}

// What ZBar reads on page 1 as Raster made it, sorted.
std::vector<std::string> ZBarReads(const std::string& pdf, bool ghostscript) {
    const ProcessResult r =
        RunProcess("/usr/bin/zbarimg",
                   {"-q", "--raw", "--nodbus", pdf + (ghostscript ? ".gs" : ".pp") + ".pgm"});
    std::vector<std::string> read;
    std::istringstream lines(r.out);
    for (std::string line; std::getline(lines, line);) {
        read.push_back(line);
    }
    std::sort(read.begin(), read.end());
    return read;
}

// The rows that hold bars: a scanline through each barcode, with what ZXing reads there.
std::vector<std::string> ReadRows(const GreyImage& image, std::string& dotErrors) {
    std::vector<std::string> read;
    ZXing::DecodeHints hints;
    hints.setFormats(ZXing::BarcodeFormat::Code39 | ZXing::BarcodeFormat::Code128);
    hints.setTryRotate(false);
    for (const int y : image.BarBands(20)) {
        const ZXing::ImageView strip(&image.pixels[std::size_t(y - 4) * image.width], image.width,
                                     9, ZXing::ImageFormat::Lum);
        const ZXing::Result r = ZXing::ReadBarcode(strip, hints);
        read.push_back(r.isValid() ? r.text() : "<none at y " + std::to_string(y) + ">");
        // Every bar and space is whole modules: the narrowest run's dots.
        const std::vector<int> runs = image.RunsInRow(y);
        const int module = runs.empty() ? 1 : *std::min_element(runs.begin(), runs.end());
        for (const int run : runs) {
            if (run % module != 0) {
                dotErrors += "y " + std::to_string(y) + ": run of " + std::to_string(run) +
                             " dots, module " + std::to_string(module) + "; ";
            }
        }
    }
    return read;
}

// The pixels of a's rows that hold bars which differ in b.
std::string BarDifferences(const GreyImage& a, const GreyImage& b) {
    std::string out;
    for (const int y : a.BarBands(20)) {
        for (int x = 0; x < std::min(a.width, b.width) && y < b.height; ++x) {
            if (a.At(x, y) != b.At(x, y)) {
                out.append("(")
                    .append(std::to_string(x))
                    .append(", ")
                    .append(std::to_string(y))
                    .append(") ");
                break;
            }
        }
    }
    return out;
}

// Page 1's words with their left edges, to a hundredth of a point, as poppler places them.
std::vector<std::string> WordStarts(const std::string& pdf) {
    const std::string html = RunProcess("/usr/bin/pdftotext", {"-bbox", "-l", "1", pdf, "-"}).out;
    std::vector<std::string> words;
    for (std::size_t at = html.find("<word xMin=\""); at != std::string::npos;
         at = html.find("<word xMin=\"", at + 1)) {
        const double x = std::stod(html.substr(at + 12));
        const std::size_t text = html.find('>', at) + 1;
        char start[32];
        std::snprintf(start, sizeof start, "%.2f ", x);
        words.push_back(start + html.substr(text, html.find('<', text) - text));
    }
    return words;
}

TEST(PdfPages, PagesReadAsTheyWereWrittenWithTodaysBars) {
    const struct {
        BarcodeType type;
        bool trueType;
        int dpi;
        std::vector<std::string> lines; // Latin-1; one alone is the view's text, not a list
        std::vector<std::string> bars;  // what the bars read, top to bottom
        const char* textFace = nullptr; // else the initial one
    } cases[] = {
        {BARCODE_128B, false, 203, {"Item 17", "x-2", "#3"}, {"Item 17", "x-2", "#3"}},
        // Refused by Code 128 subset B: the text alone, every character of it.
        {BARCODE_128B, false, 300, {"Gr\xFC\xDF\x65 \xBD \xA1\xBF\xC0\xD7\xF7\xFF"}, {}},
        {BARCODE_39, false, 600, {"CODE 39", "X-7"}, {"CODE 39", "X-7"}},
        {BARCODE_39, true, 600, {"Gr\xFC\xDF\x65 \xBD"}, {}},
        // A font with CFF outlines (URW's, with Ghostscript).
        {BARCODE_128B, false, 203, {"P052 Cff", "ab"}, {"P052 Cff", "ab"}, "P052"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.lines[0] << " at " << c.dpi << " dpi");
        QTemporaryDir dir;
        const std::string base = dir.filePath(QStringLiteral("p")).toStdString();
        CTavikDoc doc;
        auto view = std::make_unique<CTavikView>();
        if (c.lines.size() == 1) {
            doc.OnNewDocument();
        } else {
            std::ofstream list(base + ".txt", std::ios::binary);
            for (const std::string& line : c.lines) {
                list << line << "\n";
            }
            list.close();
            ASSERT_TRUE(doc.OnOpenDocument(QString::fromStdString(base + ".txt")));
        }
        doc.AddView(view.get());
        view->OnInitialUpdate();
        view->m_settings.m_nType = c.type;
        view->m_settings.m_bTrueType = c.trueType;
        view->m_settings.m_nBarWidth = 2;
        if (c.textFace != nullptr) {
            std::snprintf(view->m_settings.m_lfText.lfFaceName, LF_FACESIZE, "%s", c.textFace);
            SettleSettings(view->m_settings, view->m_fontText, view->m_fontBarcode,
                           DisplayResolution());
        }
        if (c.lines.size() == 1) {
            view->m_settings.m_strText = c.lines[0];
            view->EncodeText(c.lines[0]);
        }

        // A label of fractional points with margins, as the QPrinter path lays it out.
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setResolution(c.dpi);
        printer.setPageLayout(QPageLayout(
            QPageSize(QSizeF(100.5, 70), QPageSize::Millimeter, QString(), QPageSize::ExactMatch),
            QPageLayout::Portrait, QMarginsF(2, 3, 2, 2), QPageLayout::Millimeter));
        printer.setOutputFileName(QString::fromStdString(base + "-qt.pdf"));
        ASSERT_TRUE(RunPrintLoop(*view, printer).ok);
        CViewPages pages(*view);
        const std::string pdf = base + ".pdf";
        ASSERT_TRUE(
            WritePdfPages(pages, PdfLayoutOf(printer), QString::fromStdString(pdf), 0, {}).ok);

        EXPECT_EQ(RunProcess("/usr/bin/qpdf", {"--check", pdf}).status, 0);
        EXPECT_NE(RunProcess("/usr/bin/pdfinfo", {pdf}).out.find("284.882 x 198.425 pts"),
                  std::string::npos);
        const ProcessResult fonts = RunProcess("/usr/bin/pdffonts", {pdf});
        std::istringstream rows(fonts.out);
        int embedded = 0;
        for (std::string row; std::getline(rows, row);) {
            if (const auto at = row.find("Identity-H"); at != std::string::npos) {
                EXPECT_EQ(row.substr(at + 17, 3), "yes") << row; // embedded
                ++embedded;
            }
        }
        EXPECT_EQ(embedded, c.trueType ? 2 : 1) << fonts.out;
        if (c.textFace != nullptr) {
            EXPECT_NE(fonts.out.find(c.textFace), std::string::npos) << fonts.out;
        }
        const std::string text = RunProcess("/usr/bin/pdftotext", {"-enc", "Latin1", pdf, "-"}).out;
        for (const std::string& line : c.lines) {
            EXPECT_NE(text.find(line), std::string::npos) << line << " in " << text;
        }
        if (c.trueType) {
            continue; // the barcode font's bars are glyphs, not dots of the grid
        }
        // Each word starts where the QPrinter path put it: the glyphs before it
        // moved it along as the layout did.
        EXPECT_EQ(WordStarts(pdf), WordStarts(base + "-qt.pdf"));
        for (const bool gs : {false, true}) {
            SCOPED_TRACE(gs ? "Ghostscript" : "poppler");
            const GreyImage ours = Raster(pdf, c.dpi, gs);
            std::string dotErrors;
            EXPECT_EQ(ReadRows(ours, dotErrors), c.bars);
            EXPECT_EQ(dotErrors, "");
            std::vector<std::string> sorted = c.bars;
            std::sort(sorted.begin(), sorted.end());
            EXPECT_EQ(ZBarReads(pdf, gs), sorted);
            EXPECT_EQ(BarDifferences(ours, Raster(base + "-qt.pdf", c.dpi, gs)), "");
        }
    }
}

} // namespace

// Printing through the real print loop onto PDF printers, read back with
// poppler's pdfinfo and pdftoppm.
#include "LabelSheets.h"
#include "PrintLoop.h"
#include "PrintPreview.h"
#include "TavikDoc.h"
#include "TavikView.h"
#include "support/Pgm.h"
#include "support/PreviewProbe.h"
#include "support/Process.h"
#include "support/SeamHook.h"

#include <QAction>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QPageLayout>
#include <QPainter>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>

namespace {

class PrintPages : public testing::Test {
protected:
    // A document (from lines when given) with one initialised view.
    void MakeView(const std::string& fileText = {}) {
        if (fileText.empty()) {
            doc.OnNewDocument();
        } else {
            const QString path = dir.filePath(QStringLiteral("list.txt"));
            std::ofstream(path.toStdString(), std::ios::binary) << fileText;
            ASSERT_TRUE(doc.OnOpenDocument(path));
        }
        doc.AddView(view.get());
        view->OnInitialUpdate();
        view->m_settings.m_nBarWidth = 3; // wide bars sample cleanly at 96 dpi
    }

    // A page whose printable height holds `rows` rows of pitch 69 (96 units an inch).
    void SetPage(QPrinter& printer, int rows) {
        const double heightUnits = rows * 69 + 30;
        const QSizeF points(400 * 72.0 / 96, heightUnits * 72.0 / 96);
        printer.setPageLayout(
            QPageLayout(QPageSize(points, QPageSize::Point, QString(), QPageSize::ExactMatch),
                        QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    }

    // Prints to a new PDF; a page range when from is given.
    std::string PrintPdf(int rowsPerPage, int* pages = nullptr, int from = 0, int to = 0) {
        const std::string path =
            dir.filePath(QStringLiteral("out%1.pdf").arg(++prints)).toStdString();
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setResolution(1200);
        printer.setOutputFileName(QString::fromStdString(path));
        SetPage(printer, rowsPerPage);
        if (from > 0) {
            printer.setPrintRange(QPrinter::PageRange);
            printer.setFromTo(from, to);
        }
        const PrintResult r = RunPrintLoop(*view, printer);
        EXPECT_TRUE(r.ok);
        if (pages != nullptr) {
            *pages = r.pages;
        }
        return path;
    }

    static int PdfPages(const std::string& pdf) {
        const ProcessResult r = RunProcess("/usr/bin/pdfinfo", {pdf});
        const auto at = r.out.find("Pages:");
        return at == std::string::npos ? -1 : std::stoi(r.out.substr(at + 6));
    }

    // Row tops on each page: dark runs of at least 40 pixels down column 10 at 96 dpi.
    std::vector<std::vector<int>> RowTops(const std::string& pdf, int dpi = 96) {
        lastPrefix = dir.filePath(QStringLiteral("page%1").arg(++renders)).toStdString();
        const std::string& prefix = lastPrefix;
        RunProcess("/usr/bin/pdftoppm", {"-r", std::to_string(dpi), "-gray", pdf, prefix});
        std::vector<std::vector<int>> pages;
        for (int page = 1; page < 100; ++page) {
            GreyImage image;
            if (!ReadPgm(prefix + "-" + std::to_string(page) + ".pgm", image) &&
                !ReadPgm(prefix + "-0" + std::to_string(page) + ".pgm", image) &&
                !ReadPgm(prefix + "-00" + std::to_string(page) + ".pgm", image)) {
                break;
            }
            std::vector<int> tops;
            for (auto [top, length] : image.DarkRunsInColumn(10 * dpi / 96)) {
                if (length >= 40 * dpi / 96) {
                    tops.push_back(top);
                }
            }
            pages.push_back(tops);
        }
        return pages;
    }

    QTemporaryDir dir;
    int prints = 0;
    int renders = 0;
    std::string lastPrefix; // of the pages RowTops rendered last
    CTavikDoc doc;
    std::unique_ptr<CTavikView> view = std::make_unique<CTavikView>();
};

TEST_F(PrintPages, RepeatCountSplitsIntoPages) {
    const struct {
        int repeat;
        std::vector<std::size_t> rowsPerPage;
    } cases[] = {{10, {4, 4, 2}}, {8, {4, 4}}, {1, {1}}};
    for (const auto& c : cases) {
        view = std::make_unique<CTavikView>();
        MakeView();
        view->m_settings.m_nRepeat = c.repeat;
        int printed = 0;
        const std::string pdf = PrintPdf(4, &printed);
        EXPECT_EQ(printed, static_cast<int>(c.rowsPerPage.size()));
        EXPECT_EQ(PdfPages(pdf), static_cast<int>(c.rowsPerPage.size()));
        const auto pages = RowTops(pdf);
        ASSERT_EQ(pages.size(), c.rowsPerPage.size());
        for (std::size_t p = 0; p < pages.size(); ++p) {
            ASSERT_EQ(pages[p].size(), c.rowsPerPage[p]) << "page " << p + 1;
            for (std::size_t k = 0; k < pages[p].size(); ++k) {
                // Every page starts again at the origin; rows follow at the pitch.
                EXPECT_NEAR(pages[p][k], 10 + 69 * int(k), 1) << "page " << p + 1;
            }
        }
    }
}

// Pages 1 to 3 hold 4, 4 and 2 rows; a range prints only its pages, each
// from the origin, and a range past the end starts no job.
TEST_F(PrintPages, PageRangePrintsOnlyItsPages) {
    const struct {
        int from;
        int to;
        std::vector<std::size_t> rowsPerPage;
    } cases[] = {{2, 3, {4, 2}}, {3, 9, {2}}, {2, 2, {4}}, {1, 1, {4}}, {4, 5, {}}};
    MakeView();
    view->m_settings.m_nRepeat = 10;
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.from << "-" << c.to);
        int printed = -1;
        const std::string pdf = PrintPdf(4, &printed, c.from, c.to);
        EXPECT_EQ(printed, static_cast<int>(c.rowsPerPage.size()));
        if (c.rowsPerPage.empty()) {
            EXPECT_FALSE(QFile::exists(QString::fromStdString(pdf)));
            continue;
        }
        const auto pages = RowTops(pdf);
        ASSERT_EQ(pages.size(), c.rowsPerPage.size());
        for (std::size_t p = 0; p < pages.size(); ++p) {
            ASSERT_EQ(pages[p].size(), c.rowsPerPage[p]) << "page " << p + 1;
            EXPECT_NEAR(pages[p][0], 10, 1) << "page " << p + 1;
        }
    }
}

TEST_F(PrintPages, TextListPagesIgnoreTheRepeatCount) {
    std::string lines;
    for (int i = 0; i < 100; ++i) {
        lines.append("L").append(std::to_string(i)).append("\n");
    }
    MakeView(lines);
    view->m_settings.m_nRepeat = 7;
    EXPECT_EQ(PdfPages(PrintPdf(10)), 10);
}

// A refused line, and a line too wide for the 400-unit page, leave their rows empty.
TEST_F(PrintPages, RefusedOrTooWideLineLeavesItsRowEmpty) {
    for (const std::string& second : {std::string("B#"), std::string(30, 'A')}) {
        doc.RemoveView(view.get());
        view = std::make_unique<CTavikView>();
        MakeView("A\n" + second + "\nC\nD\n");
        const auto pages = RowTops(PrintPdf(10));
        ASSERT_EQ(pages.size(), 1u);
        EXPECT_EQ(pages[0].size(), 3u) << second;
        const std::vector<int> expected = {10, 10 + 2 * 69, 10 + 3 * 69};
        for (std::size_t k = 0; k < expected.size() && k < pages[0].size(); ++k) {
            EXPECT_NEAR(pages[0][k], expected[k], 1) << second;
        }
    }
}

TEST_F(PrintPages, PageShorterThanARowIsOneEmptyPage) {
    MakeView();
    view->m_settings.m_nRepeat = 5;
    int printed = 0;
    const std::string pdf = PrintPdf(0, &printed);
    EXPECT_EQ(printed, 1);
    EXPECT_EQ(PdfPages(pdf), 1);
    EXPECT_TRUE(RowTops(pdf).at(0).empty());

    view->m_settings.m_nBarHeight = -100; // a pitch below zero
    EXPECT_EQ(PdfPages(PrintPdf(4)), 1);
}

TEST_F(PrintPages, NinetySixUnitsPrintOneInch) {
    MakeView();
    view->m_settings.m_nBarHeight = 96;
    const auto pages = RowTops(PrintPdf(4), 300);
    ASSERT_EQ(pages.size(), 1u);
    ASSERT_FALSE(pages[0].empty());
    GreyImage image;
    ASSERT_TRUE(ReadPgm(lastPrefix + "-1.pgm", image));
    int longest = 0;
    for (auto [top, length] : image.DarkRunsInColumn(10 * 300 / 96)) {
        longest = std::max(longest, length);
    }
    EXPECT_NEAR(longest, 300, 2); // one inch at 300 dpi
}

TEST_F(PrintPages, PreviewShowsThePrintedPages) {
    std::string lines;
    for (int i = 0; i < 23; ++i) {
        lines.append("P").append(std::to_string(i)).append("\n");
    }
    MakeView(lines);
    int encodes = 0;
    SeamHook hook(g_beforeEncode, [&] { ++encodes; });
    int printed = 0;
    PrintPdf(5, &printed);
    const int encodesOnPaper = encodes;

    QPrinter printer(QPrinter::HighResolution);
    printer.setResolution(1200);
    SetPage(printer, 5);
    QPrintPreviewWidget preview(&printer);
    QObject::connect(&preview, &QPrintPreviewWidget::paintRequested,
                     [&](QPrinter* p) { RunPrintLoop(*view, *p); });
    encodes = 0;
    preview.updatePreview();
    EXPECT_EQ(preview.pageCount(), printed);
    EXPECT_EQ(printed, 5);
    EXPECT_EQ(encodes, encodesOnPaper); // the same rows were drawn
    EXPECT_EQ(encodes, 23);
}

// Row tops on a previewed page: dark runs of at least 40 units down column 10,
// the page drawn at 96 dots an inch.
std::vector<int> PreviewRowTops(CPrintPreview& preview, int page, int dpi) {
    const double scale = 96.0 / dpi;
    QImage image(preview.PaperDots() * scale, QImage::Format_Grayscale8);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.scale(scale, scale);
        painter.translate(preview.PrintableOffset());
        painter.drawPicture(0, 0, preview.Page(page));
    }
    std::vector<int> tops;
    int run = 0;
    for (int y = 0; y <= image.height(); ++y) {
        const bool dark = y < image.height() && qGray(image.pixel(10, y)) < 128;
        if (!dark && run >= 40) {
            tops.push_back(y - run);
        }
        run = dark ? run + 1 : 0;
    }
    return tops;
}

// A list of 100,000 lines: the page count comes from the layout, and showing
// the last page draws it and its neighbours only.
TEST_F(PrintPages, PreviewDrawsOnlyThePagesOnShow) {
    std::string lines;
    for (int i = 0; i < 100000; ++i) {
        lines.append("L").append(std::to_string(i)).append("\n");
    }
    MakeView(lines);
    int encodes = 0;
    SeamHook hook(g_beforeEncode, [&] { ++encodes; });
    QPrinter printer(QPrinter::HighResolution);
    printer.setResolution(1200);
    SetPage(printer, 7);
    CPrintPreview preview(*view, printer, {});
    const int pages = (100000 + 6) / 7;
    EXPECT_EQ(preview.PageCount(), pages);
    preview.findChild<QAction*>(QStringLiteral("previewLast"))->trigger();
    EXPECT_EQ(preview.CurrentPage(), pages);
    const std::vector<int> expected = {10, 79, 148, 217, 286}; // 100,000 = 14,285 x 7 + 5
    const std::vector<int> tops = PreviewRowTops(preview, pages, 1200);
    ASSERT_EQ(tops.size(), expected.size());
    for (std::size_t k = 0; k < tops.size(); ++k) {
        EXPECT_NEAR(tops[k], expected[k], 1);
    }
    EXPECT_LE(PagesDrawn(preview), 4); // pages 1 and 2, the last and the one before
    EXPECT_LE(encodes, 7 * 5);         // the count's layout pass and those pages

    // The controls: previous, the page field, two pages, first; the cache stays small.
    preview.findChild<QAction*>(QStringLiteral("previewPrevious"))->trigger();
    EXPECT_EQ(preview.CurrentPage(), pages - 1);
    auto* field = preview.findChild<QLineEdit*>(QStringLiteral("previewPage"));
    field->setText(QStringLiteral("42"));
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_EQ(preview.CurrentPage(), 42);
    preview.findChild<QAction*>(QStringLiteral("previewTwoPages"))->trigger();
    for (int i = 0; i < 20; ++i) {
        preview.findChild<QAction*>(QStringLiteral("previewNext"))->trigger();
    }
    EXPECT_EQ(preview.CurrentPage(), 82);
    EXPECT_LE(PagesCached(preview), CPrintPreview::kCachedPages);
    preview.findChild<QAction*>(QStringLiteral("previewFirst"))->trigger();
    EXPECT_EQ(PreviewRowTops(preview, 1, 1200).size(), 7u);

    // Landscape: the page is 400 units high, so 5 rows a page.
    preview.findChild<QAction*>(QStringLiteral("previewLandscape"))->trigger();
    EXPECT_EQ(preview.PageCount(), 100000 / 5);
    EXPECT_EQ(PreviewRowTops(preview, 1, 1200).size(), 5u);
}

// On a label sheet the window's Preview and Print take the sheet's page and pages; the
// preview draws each label's outline faintly, the paper never does.
TEST_F(PrintPages, LabelSheetOutlinesShowOnlyInThePreview) {
    std::string lines;
    for (int i = 0; i < 30; ++i) {
        lines.append("S").append(std::to_string(i)).append("\n");
    }
    MakeView(lines);
    view->m_settings.m_nBarWidth = 1;
    view->m_settings.m_labels.sheet = *Labels::FindSheet("Avery-L7160");
    // Grey pixels from row top down.
    auto greys = [](const QImage& image, int top = 0) {
        int count = 0;
        for (int y = top; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const int g = qGray(image.pixel(x, y));
                count += g > 64 && g < 240 ? 1 : 0;
            }
        }
        return count;
    };
    QPrinter printer(QPrinter::HighResolution);
    printer.setResolution(300);
    view->PreparePrinter(printer);
    CPrintPreview preview(*view, printer, {});
    EXPECT_EQ(preview.PageCount(), 2); // 21 labels a sheet
    QImage shown(preview.PaperDots(), QImage::Format_Grayscale8);
    shown.fill(Qt::white);
    {
        QPainter painter(&shown);
        painter.drawPicture(preview.PrintableOffset(), preview.Page(2));
    }
    EXPECT_NEAR(shown.width(), 2480, 1); // A4 at 300 dpi
    EXPECT_NEAR(shown.height(), 3508, 1);
    // Page 2 holds 9 rows: its last four rows of labels are empty but for their outlines.
    EXPECT_GT(greys(shown, shown.height() / 2), 1000);

    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString pdf = dir.filePath(QStringLiteral("sheet.pdf"));
    printer.setOutputFileName(pdf);
    ASSERT_TRUE(RunPrintLoop(*view, printer).ok);
    EXPECT_EQ(PdfPages(pdf.toStdString()), 2);
    const std::string prefix = dir.filePath(QStringLiteral("sheet")).toStdString();
    RunProcess("/usr/bin/pdftoppm", {"-r", "300", "-gray", "-aa", "no", "-aaVector", "no", "-f",
                                     "1", "-l", "1", pdf.toStdString(), prefix});
    const QImage paper(QString::fromStdString(prefix + "-1.pgm"));
    ASSERT_FALSE(paper.isNull());
    EXPECT_EQ(greys(paper), 0);
}

} // namespace

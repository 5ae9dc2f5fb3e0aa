// The Page Layout dialog from the view's context menu: its checks and its
// sizes, read back from an exported PDF as a 203-dpi printer makes it.
#include "Dia_Bar.h"
#include "Dia_PageLayout.h"
#include "DialogTestSupport.h"
#include "support/Pgm.h"
#include "support/Process.h"

#define ZX_USE_UTF8
#include <ZXing/ReadBarcode.h>

#include <QAction>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QTemporaryDir>

#include <algorithm>
#include <numeric>

namespace {

class PageLayoutTest : public ShownViewTest {
protected:
    QString Label(const CDia_PageLayout& dlg, const char* name) const {
        const auto* label = dlg.findChild<QLabel*>(QString::fromLatin1(name));
        return label != nullptr ? label->text() : QStringLiteral("(no %1)").arg(name);
    }
};

std::string ZxingRead(const QString& pgm) {
    const QImage grey = QImage(pgm).convertToFormat(QImage::Format_Grayscale8);
    const ZXing::Result r = ZXing::ReadBarcode(
        ZXing::ImageView(grey.constBits(), grey.width(), grey.height(), ZXing::ImageFormat::Lum,
                         static_cast<int>(grey.bytesPerLine())));
    return r.isValid() ? r.text() : std::string();
}

// The one Code 39 symbol ZXing finds inside a rectangle of the page alone; "" when there is
// none, "<n symbols>" when there are more.
std::string ReadLabel(const GreyImage& page, int left, int top, int width, int height) {
    ZXing::DecodeHints hints;
    hints.setFormats(ZXing::BarcodeFormat::Code39);
    hints.setTryRotate(false);
    const ZXing::ImageView view(page.pixels.data() + std::size_t(top) * page.width + left,
                                std::min(width, page.width - left),
                                std::min(height, page.height - top), ZXing::ImageFormat::Lum,
                                page.width);
    const ZXing::Results results = ZXing::ReadBarcodes(view, hints);
    if (results.size() != 1) {
        return results.empty()
                   ? ""
                   : std::string("<").append(std::to_string(results.size())).append(" symbols>");
    }
    return results.front().text();
}

// The view exported as name.pdf and its first page as a 203-dpi printer makes it;
// the page's file.
std::string ExportedPage(CTavikView& view, const QTemporaryDir& dir, const char* name,
                         GreyImage& page) {
    const QString pdf = dir.filePath(QString::fromLatin1(name) + ".pdf");
    EXPECT_TRUE(view.ExportTo(pdf));
    const std::string prefix = dir.filePath(QString::fromLatin1(name)).toStdString();
    RunProcess("/usr/bin/pdftoppm",
               {"-r", "203", "-gray", "-aa", "no", "-aaVector", "no", pdf.toStdString(), prefix});
    EXPECT_TRUE(ReadPgm(prefix + "-1.pgm", page));
    return prefix + "-1.pgm";
}

TEST_F(PageLayoutTest, SizesInMmReachTheExportedPdfDotExact) {
    const std::string text = "4006381333931";
    S().m_nType = BARCODE_EAN13;
    S().m_strText = text;
    ASSERT_TRUE(view->EncodeText(text));

    ModalStep<CDia_PageLayout> step([&](CDia_PageLayout& dlg) {
        SetEdit(dlg, "xDimensionEdit", "0.33");
        SetEdit(dlg, "barHeightEdit", "22.85");
        SetEdit(dlg, "pdfDpiEdit", "203");
        EXPECT_EQ(Label(dlg, "pdfXLabel"), "Exported PDF: X 0.375 mm (114 %), 3 dots at 203 dpi");
        EXPECT_EQ(Label(dlg, "xWarningLabel"), "");

        // Below the smallest X, on the printer (600 dpi without one set up) and in the PDF.
        SetEdit(dlg, "xDimensionEdit", "0.2");
        EXPECT_EQ(Label(dlg, "pdfXLabel"), "Exported PDF: X 0.250 mm (76 %), 2 dots at 203 dpi");
        EXPECT_TRUE(Label(dlg, "xWarningLabel")
                        .contains("X below the smallest of EAN-13: 0.250 mm (2 at 203 dpi)"))
            << Label(dlg, "xWarningLabel").toStdString();
        SetEdit(dlg, "xDimensionEdit", "0,33 mm");

        const struct {
            const char* field;
            const char* bad;
            const char* good;
            const char* error;
        } refused[] = {
            {"xDimensionEdit", "abc", "0.33",
             "The X-dimension must be a length in mm from 0.01 to 25 (empty: from the line "
             "width), not \"abc\""},
            {"barHeightEdit", "-3", "22.85",
             "The bar height must be a length in mm from 0.1 to 2500 (empty: from the bar "
             "height), not \"-3\""},
            {"pdfDpiEdit", "50", "203",
             "The PDF resolution must be a whole number of dpi from 72 to 4800, not \"50\""},
            {"barReductionEdit", "3", "0",
             "A bar reduction of 3 would leave bars narrower than one dot: a narrow bar is 3 "
             "dots at 203 dpi"},
        };
        for (const auto& c : refused) {
            SetEdit(dlg, c.field, c.bad);
            Click(dlg, "IDOK");
            EXPECT_TRUE(dlg.isVisible()) << c.field;
            EXPECT_EQ(Label(dlg, "errorLabel"), c.error);
            SetEdit(dlg, c.field, c.good);
            EXPECT_EQ(Label(dlg, "errorLabel"), "") << c.field;
        }
        Click(dlg, "IDOK");
        EXPECT_FALSE(dlg.isVisible());
    });
    QAction* action = view->findChild<QAction*>(QStringLiteral("pageLayoutAction"));
    ASSERT_NE(action, nullptr);
    action->trigger();
    EXPECT_DOUBLE_EQ(S().m_print.xMm, 0.33);
    EXPECT_DOUBLE_EQ(S().m_print.barHeightMm, 22.85);
    EXPECT_EQ(S().m_print.pdfDpi, 203);
    // On the 96-dpi screen: 0.33 mm is 1 pixel, 22.85 mm 86.
    EXPECT_EQ(S().m_nBarWidth, 1);
    EXPECT_EQ(S().m_nBarHeight, 86);

    const QTemporaryDir dir;
    GreyImage page;
    const std::string pgm = ExportedPage(*view, dir, "rows", page);
    const std::vector<int> bands = page.BarBands(20);
    ASSERT_EQ(bands.size(), 1u);
    const int y = bands[0];
    const std::vector<int> runs = page.RunsInRow(y);
    // 95 modules of 3 dots, every bar and space whole modules.
    EXPECT_EQ(std::accumulate(runs.begin(), runs.end(), 0), 95 * 3);
    EXPECT_EQ(*std::min_element(runs.begin(), runs.end()), 3);
    EXPECT_TRUE(std::all_of(runs.begin(), runs.end(), [](int r) { return r % 3 == 0; }));
    // The shortest bar through the scanline (the guard bars reach further down).
    int x = 0;
    while (x < page.width && page.At(x, y) >= 128) {
        ++x;
    }
    int shortest = page.height;
    for (; x < page.width; ++x) {
        for (const auto& [top, length] : page.DarkRunsInColumn(x)) {
            if (top <= y && y < top + length) {
                shortest = std::min(shortest, length);
            }
        }
    }
    EXPECT_NEAR(shortest, 183, 1);
    EXPECT_EQ(ZxingRead(QString::fromStdString(pgm)), text);
    EXPECT_EQ(RunProcess("/usr/bin/zbarimg", {"-q", "--raw", "--nodbus", pgm}).out, text + "\n");

    // A bar reduction of 1 dot: every bar a dot narrower, every space a dot wider.
    S().m_print.barReduction = 1;
    GreyImage reduced;
    ExportedPage(*view, dir, "reduced", reduced);
    const std::vector<int> thinner = reduced.RunsInRow(y);
    ASSERT_EQ(thinner.size(), runs.size());
    for (std::size_t i = 0; i < runs.size(); ++i) {
        EXPECT_EQ(thinner[i], runs[i] + (i % 2 == 0 ? -1 : 1)) << i;
    }

    // A bar height typed in the Settings dialog wins over the one in mm; the X stays.
    {
        ModalStep<CDia_Bar> settings([](CDia_Bar& d) {
            SetEdit(d, "IDC_BAR_HEIGHT", QStringLiteral("60"));
            Click(d, "IDOK");
        });
        view->OnShowSettings();
    }
    EXPECT_EQ(S().m_print.barHeightMm, 0);
    EXPECT_EQ(S().m_nBarHeight, 60);
    EXPECT_DOUBLE_EQ(S().m_print.xMm, 0.33);
}

// The Labels part: a built-in sheet found by its part number, a partly used sheet, and a
// custom grid refused with its reason; the export lays one line on each label.
TEST_F(PageLayoutTest, ChosenLabelSheetReachesTheExportedPdf) {
    CTavikDoc listDoc;
    std::string lines;
    std::vector<std::string> expected = {"", ""}; // two labels skipped
    for (int i = 1; i <= 22; ++i) {
        lines.append("L").append(std::to_string(i)).append("\n");
        expected.push_back(std::string("L").append(std::to_string(i)));
    }
    expected.resize(2 * 21, "");
    listDoc.m_lines.Load(lines);
    auto listView = std::make_unique<CTavikView>();
    listView->SetDialogs(BarcodeDialogs());
    listDoc.AddView(listView.get());
    listView->OnInitialUpdate();
    listView->m_settings.m_nType = BARCODE_39;

    const auto list = [](const CDia_PageLayout& dlg) {
        return dlg.findChild<QListWidget*>(QStringLiteral("labelSheetList"));
    };
    ModalStep<CDia_PageLayout> step([&](CDia_PageLayout& dlg) {
        QListWidget* sheets = list(dlg);
        ASSERT_NE(sheets, nullptr);
        EXPECT_EQ(sheets->currentItem()->text(), "None (rows down the page)");

        // Three columns of 70 mm labels 66 mm apart.
        sheets->setCurrentItem(sheets->findItems(QStringLiteral("Custom"), Qt::MatchExactly)[0]);
        SetEdit(dlg, "labelGridEdit", "3x7");
        SetEdit(dlg, "labelSizeEdit", "70x38.1");
        SetEdit(dlg, "labelPitchEdit", "66 x 38.1");
        Click(dlg, "IDOK");
        EXPECT_TRUE(dlg.isVisible());
        EXPECT_EQ(Label(dlg, "errorLabel"),
                  "The custom grid does not work: the horizontal pitch 66 mm is less than the "
                  "label width 70 mm: the labels would overlap");
        EXPECT_EQ(dlg.focusWidget(), dlg.findChild<QLineEdit*>(QStringLiteral("labelPitchEdit")));

        SetEdit(dlg, "labelSearchEdit", "L7160");
        std::vector<QListWidgetItem*> shown;
        for (int row = 0; row < sheets->count(); ++row) {
            if (!sheets->item(row)->isHidden()) {
                shown.push_back(sheets->item(row));
            }
        }
        ASSERT_EQ(shown.size(), 3u); // None, the sheet, Custom
        EXPECT_TRUE(shown[1]->text().startsWith("avery-l7160 ")) << shown[1]->text().toStdString();
        sheets->setCurrentItem(shown[1]);
        EXPECT_EQ(Label(dlg, "errorLabel"), "");
        EXPECT_TRUE(Label(dlg, "labelSheetLabel").contains("21 labels 63.5 x 38.1 mm in 3 x 7"));
        SetEdit(dlg, "labelSkipEdit", "21");
        EXPECT_EQ(Label(dlg, "errorLabel"),
                  "Skipping 21 labels leaves no label of a sheet of 21 (at most 20)");
        SetEdit(dlg, "labelSkipEdit", "2");
        Click(dlg, "IDOK");
        EXPECT_FALSE(dlg.isVisible());
    });
    listView->OnPageLayout();
    const LabelChoice& chosen = listView->m_settings.m_labels;
    EXPECT_EQ(chosen.sheet.name, "avery-l7160");
    EXPECT_EQ(chosen.skip, 2);
    EXPECT_EQ(chosen.copies, 1);
    {
        ModalStep<CDia_PageLayout> again([&](CDia_PageLayout& dlg) {
            EXPECT_TRUE(list(dlg)->currentItem()->text().startsWith("avery-l7160 "));
            EXPECT_EQ(dlg.findChild<QLineEdit*>(QStringLiteral("labelSkipEdit"))->text(), "2");
        });
        listView->OnPageLayout();
    }

    // Every label of both pages, at 300 dpi, by the sheet's published figures (mm).
    const QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("sheet.pdf"));
    ASSERT_TRUE(listView->ExportTo(pdf));
    const std::string prefix = dir.filePath(QStringLiteral("sheet")).toStdString();
    RunProcess("/usr/bin/pdftoppm",
               {"-r", "300", "-gray", "-aa", "no", "-aaVector", "no", pdf.toStdString(), prefix});
    const auto px = [](double mm) { return static_cast<int>(std::lround(mm * 300 / 25.4)); };
    std::vector<std::string> read;
    GreyImage page;
    int pages = 0;
    for (; ReadPgm(prefix + "-" + std::to_string(pages + 1) + ".pgm", page); ++pages) {
        EXPECT_NEAR(page.width, 2480, 1); // A4
        EXPECT_NEAR(page.height, 3508, 1);
        for (int i = 0; i < 21; ++i) {
            read.push_back(ReadLabel(page, px(7.21 + i % 3 * 66.04), px(15.15 + i / 3 * 38.1),
                                     px(63.5), px(38.1)));
        }
    }
    EXPECT_EQ(pages, 2);
    EXPECT_EQ(read, expected);
}

} // namespace

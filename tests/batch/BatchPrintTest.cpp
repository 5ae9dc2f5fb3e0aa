// Printed pages from tavik-batch: PDF files and jobs on a private print service,
// read back with poppler or from a label printer driver's output, and decoded
// row by row with ZBar and ZXing.
#include "support/Pgm.h"
#include "support/PrivateCups.h"
#include "support/Process.h"
#include "support/Zpl.h"

#define ZX_USE_UTF8
#include <ZXing/ReadBarcode.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct TempDir {
    TempDir() {
        char name[] = "/tmp/tavik-print-XXXXXX";
        path = mkdtemp(name);
    }
    ~TempDir() { fs::remove_all(path); }
    std::string path;
};

ProcessResult Batch(const std::vector<std::string>& args) {
    return RunProcess(TAVIK_BATCH, args);
}

int PdfPages(const std::string& pdf) {
    const ProcessResult r = RunProcess("/usr/bin/pdfinfo", {pdf});
    const auto at = r.out.find("Pages:");
    return at == std::string::npos ? -1 : std::stoi(r.out.substr(at + 6));
}

void WritePgm(const std::string& path, const GreyImage& image, int top, int height) {
    std::ofstream out(path, std::ios::binary);
    out << "P5\n" << image.width << " " << height << "\n255\n";
    out.write(reinterpret_cast<const char*>(image.pixels.data()) + std::size_t(top) * image.width,
              std::streamsize(height) * image.width);
}

// Decodes the rows of one page in order: the page at 192 dpi (two pixels a
// unit) is cut into bands of one row pitch from y = 10 and ZBar reads the bands
// in that order.
std::vector<std::string> DecodePage(const std::string& pdf, int page, int pitch,
                                    const std::string& dir) {
    const std::string prefix = dir + "/p" + std::to_string(page);
    RunProcess("/usr/bin/pdftoppm",
               {"-r", "192", "-gray", "-singlefile", "-f", std::to_string(page), "-l",
                std::to_string(page), pdf, prefix});
    GreyImage image;
    if (!ReadPgm(prefix + ".pgm", image)) {
        return {"<no page " + std::to_string(page) + ">"};
    }
    std::vector<std::string> bands;
    for (int top = 2 * 10; top + 2 * pitch <= image.height; top += 2 * pitch) {
        bands.push_back(prefix + "-band" + std::to_string(bands.size()) + ".pgm");
        WritePgm(bands.back(), image, top, 2 * pitch);
    }
    std::vector<std::string> args = {"-q",
                                     "--raw",
                                     "-Sdisable",
                                     "-Scode39.enable",
                                     "-Scode93.enable",
                                     "-Scode128.enable",
                                     "-Sean13.enable",
                                     "-Si25.enable"};
    args.insert(args.end(), bands.begin(), bands.end());
    const ProcessResult r = RunProcess("/usr/bin/zbarimg", args);
    std::vector<std::string> rows;
    std::size_t start = 0;
    for (std::size_t nl; (nl = r.out.find('\n', start)) != std::string::npos; start = nl + 1) {
        rows.push_back(r.out.substr(start, nl - start));
    }
    return rows;
}

struct Symbology {
    const char* type;
    std::string (*text)(int row);  // the list's line for a row
    std::string (*shown)(int row); // what ZBar reports for it
    int pitch = 69;                // EAN-13 rows make room for the long guard bars
    int perPage = 15;              // rows on an A4 page (1068 to 1103 units high)
};

std::string Digits(int row, int width) {
    std::string s = std::to_string(1000000000000LL + row * 7919LL);
    return s.substr(s.size() - width);
}

std::string Ean13(int row) {
    const std::string d = Digits(row, 12);
    int sum = 0;
    for (int i = 0; i < 12; ++i) {
        sum += (d[i] - '0') * (i % 2 ? 3 : 1);
    }
    return d + char('0' + (10 - sum % 10) % 10);
}

const Symbology kSymbologies[] = {
    {"code39", [](int r) { return "ROW-" + std::to_string(r); },
     [](int r) { return "ROW-" + std::to_string(r); }},
    {"code93", [](int r) { return "Row " + std::to_string(r); },
     [](int r) { return "Row " + std::to_string(r); }},
    {"code128a", [](int r) { return "ROW " + std::to_string(r); },
     [](int r) { return "ROW " + std::to_string(r); }},
    {"code128b", [](int r) { return "row " + std::to_string(r); },
     [](int r) { return "row " + std::to_string(r); }},
    {"code128c", [](int r) { return Digits(r, 8); }, [](int r) { return Digits(r, 8); }},
    {"ean13", [](int r) { return Digits(r, 12); }, Ean13, 89, 12},
    {"i2of5", [](int r) { return Digits(r, 8); }, [](int r) { return Digits(r, 8); }},
};

// A list of 40 rows: A4 holds 15 rows of pitch 69 (and Letter 14), so there
// are full first pages and a partial last one.
std::string WriteList(const TempDir& dir, const Symbology& s, int rows = 40) {
    const std::string path = dir.path + "/list.txt";
    std::ofstream out(path, std::ios::binary);
    for (int r = 0; r < rows; ++r) {
        out << s.text(r) << "\n";
    }
    return path;
}

void ExpectPagesDecode(const std::string& pdf, const Symbology& s, int rows,
                       const std::string& dir) {
    const int perPage = s.perPage;
    const int pages = (rows + perPage - 1) / perPage;
    ASSERT_EQ(PdfPages(pdf), pages) << s.type;
    for (int page : {1, pages}) {
        std::vector<std::string> expected;
        for (int r = (page - 1) * perPage; r < std::min(rows, page * perPage); ++r) {
            expected.push_back(s.shown(r));
        }
        EXPECT_EQ(DecodePage(pdf, page, s.pitch, dir), expected) << s.type << " page " << page;
    }
}

TEST(BatchPdf, FirstAndLastPagesDecodeInListOrder) {
    for (const Symbology& s : kSymbologies) {
        TempDir dir;
        const std::string pdf = dir.path + "/out.pdf";
        const ProcessResult r =
            Batch({"-t", s.type, "--line-width", "2", "-i", WriteList(dir, s), "-o", pdf});
        ASSERT_EQ(r.status, 0) << r.err;
        ExpectPagesDecode(pdf, s, 40, dir.path);
    }
}

// A page as a printer driver rasterises it: at dpi, one bit deep, no smoothing.
GreyImage PrinterRaster(const std::string& pdf, int page, int dpi, const std::string& dir) {
    const std::string prefix = dir + "/raster" + std::to_string(page);
    RunProcess("/usr/bin/pdftoppm",
               {"-r", std::to_string(dpi), "-gray", "-aa", "no", "-aaVector", "no", "-singlefile",
                "-f", std::to_string(page), "-l", std::to_string(page), pdf, prefix});
    GreyImage image;
    ReadPgm(prefix + ".pgm", image);
    return image;
}

struct PageReading {
    std::vector<std::string> zbar;  // sorted
    std::vector<std::string> zxing; // one per barcode, top to bottom
    std::string dotErrors;          // runs that are not whole modules
};

// Reads every barcode of a rasterised page with ZBar and ZXing, and checks on a
// scanline through each that every bar and space is a whole number of module
// dots (bars less reduction, spaces plus it).
PageReading ReadPrintedPage(const GreyImage& image, int module, int reduction,
                            const std::string& dir) {
    PageReading reading;
    const std::string pgm = dir + "/page.pgm";
    WritePgm(pgm, image, 0, image.height);
    const ProcessResult z = RunProcess("/usr/bin/zbarimg", {"-q", "--raw", pgm});
    std::size_t start = 0;
    for (std::size_t nl; (nl = z.out.find('\n', start)) != std::string::npos; start = nl + 1) {
        reading.zbar.push_back(z.out.substr(start, nl - start));
    }
    std::sort(reading.zbar.begin(), reading.zbar.end());
    ZXing::DecodeHints hints;
    // The seven symbologies; without UPC-A an EAN-13 with a leading 0 keeps its 13 digits.
    hints.setFormats(ZXing::BarcodeFormat::Code39 | ZXing::BarcodeFormat::Code93 |
                     ZXing::BarcodeFormat::Code128 | ZXing::BarcodeFormat::EAN13 |
                     ZXing::BarcodeFormat::ITF);
    hints.setTryRotate(false);
    for (const int y : image.BarBands(module * 8)) {
        const ZXing::ImageView strip(&image.pixels[std::size_t(y - 4) * image.width], image.width,
                                     9, ZXing::ImageFormat::Lum);
        const ZXing::Result r = ZXing::ReadBarcode(strip, hints);
        reading.zxing.push_back(r.isValid() ? r.text() : "<none at y " + std::to_string(y) + ">");
        const std::vector<int> runs = image.RunsInRow(y);
        for (std::size_t i = 0; i < runs.size(); ++i) {
            const int whole = runs[i] + (i % 2 == 0 ? reduction : -reduction);
            if (whole % module != 0 || whole == 0) {
                reading.dotErrors += "y " + std::to_string(y) + " run " + std::to_string(i) + ": " +
                                     std::to_string(runs[i]) + " dots; ";
            }
        }
    }
    return reading;
}

// The bars' height in dots on the scanline y of a page: the most common dark run down the
// columns that are dark on it (guard bars reach further).
int BarHeightAt(const GreyImage& image, int y) {
    std::map<int, int> heights;
    for (int x = 0; x < image.width; ++x) {
        for (const auto& [top, length] : image.DarkRunsInColumn(x)) {
            if (top <= y && y < top + length) {
                ++heights[length];
            }
        }
    }
    return heights.empty() ? 0
                           : std::max_element(heights.begin(), heights.end(), [](auto a, auto b) {
                                 return a.second < b.second;
                             })->first;
}

// Rows as a printer of each resolution gets them: every row decodes with both
// readers and every bar and space is a whole number of module dots. A module
// from display units is the nearest whole dots, but never below the standard's
// smallest X (EAN-13: 0.264 mm); a physical X and bar height are the nearest dots.
TEST(BatchPdf, RowsAreDotExactAtPrinterResolutions) {
    const struct {
        const char* width;
        int dots[3]; // at 203, 300 and 600 dpi (EAN-13's where it differs)
        int ean13[3];
    } widths[] = {{"1", {2, 3, 6}, {3, 4, 7}},
                  {"2", {4, 6, 13}, {4, 6, 13}},
                  {"3", {6, 9, 19}, {6, 9, 19}},
                  {"0.33mm", {3, 4, 8}, {3, 4, 8}}};
    const int dpis[] = {203, 300, 600};
    for (int d = 0; d < 3; ++d) {
        const int dpi = dpis[d];
        for (const Symbology& s : kSymbologies) {
            for (const auto& w : widths) {
                TempDir dir;
                const std::string pdf = dir.path + "/out.pdf";
                const bool physical = std::string(w.width).ends_with("mm");
                std::vector<std::string> args = {"-t",
                                                 s.type,
                                                 "--line-width",
                                                 w.width,
                                                 "-i",
                                                 WriteList(dir, s, 3),
                                                 "-o",
                                                 pdf,
                                                 "--printer-dpi",
                                                 std::to_string(dpi),
                                                 "--page-size",
                                                 "120x80mm",
                                                 "--margins",
                                                 "2mm"};
                if (physical) {
                    args.insert(args.end(), {"--bar-height", "10mm"});
                }
                const ProcessResult r = Batch(args);
                ASSERT_EQ(r.status, 0) << r.err;
                const int module = std::string(s.type) == "ean13" ? w.ean13[d] : w.dots[d];
                const GreyImage image = PrinterRaster(pdf, 1, dpi, dir.path);
                const PageReading read = ReadPrintedPage(image, module, 0, dir.path);
                std::vector<std::string> expected = {s.shown(0), s.shown(1), s.shown(2)};
                const std::string where =
                    std::string(s.type) + " at " + std::to_string(dpi) + " dpi, width " + w.width;
                EXPECT_EQ(read.zxing, expected) << where;
                std::sort(expected.begin(), expected.end());
                EXPECT_EQ(read.zbar, expected) << where;
                EXPECT_EQ(read.dotErrors, "") << where;
                if (physical) {
                    for (const int y : image.BarBands(module * 8)) {
                        EXPECT_EQ(BarHeightAt(image, y), std::lround(10 * dpi / 25.4)) << where;
                    }
                }
            }
        }
    }
}

// One label a page on a roll of 50 x 25 mm labels, and ink spread made up for
// by narrower bars: still whole dots, still read.
TEST(BatchPdf, LabelPagesAndBarReduction) {
    const Symbology& s = kSymbologies[3];
    const struct {
        int dpi;
        int reduction;
    } cases[] = {{203, 0}, {300, 1}};
    for (const auto& c : cases) {
        TempDir dir;
        const std::string pdf = dir.path + "/labels.pdf";
        const ProcessResult r =
            Batch({"-t", s.type, "-i", WriteList(dir, s, 3), "-o", pdf, "--printer-dpi",
                   std::to_string(c.dpi), "--page-size", "50x25mm", "--margins", "1mm",
                   "--bar-reduction", std::to_string(c.reduction)});
        ASSERT_EQ(r.status, 0) << r.err;
        const ProcessResult info = RunProcess("/usr/bin/pdfinfo", {pdf});
        EXPECT_NE(info.out.find("141.732 x 70.8661 pts"), std::string::npos) << info.out;
        ASSERT_EQ(PdfPages(pdf), 3);
        const int module = int(std::lround(c.dpi / 96.0));
        for (int page = 1; page <= 3; ++page) {
            const PageReading read = ReadPrintedPage(PrinterRaster(pdf, page, c.dpi, dir.path),
                                                     module, c.reduction, dir.path);
            EXPECT_EQ(read.zxing, std::vector<std::string>{s.shown(page - 1)}) << page;
            EXPECT_EQ(read.zbar, std::vector<std::string>{s.shown(page - 1)}) << page;
            EXPECT_EQ(read.dotErrors, "") << c.dpi << " dpi, page " << page;
        }
    }
}

TEST(BatchPdf, PageSizes) {
    const struct {
        std::vector<std::string> args;
        std::string size;
        int pages;
    } cases[] = {
        {{}, "595.276 x 841.89 pts (A4)", 3},
        {{"--page-size", "A4"}, "595.276 x 841.89 pts (A4)", 3},
        {{"--page-size", "letter"}, "612 x 792 pts (letter)", 3},
        {{"--page-size", "6x4in", "--margins", "0.2in"}, "432 x 288 pts", 8},
        // Without --margins a label has none: a row to each 25 mm label.
        {{"--page-size", "50x25mm"}, "141.732 x 70.8661 pts", 40},
        {{"--repeat", "31"}, "595.276 x 841.89 pts (A4)", 3},
    };
    for (const auto& c : cases) {
        TempDir dir;
        const std::string pdf = dir.path + "/out.pdf";
        std::vector<std::string> args = {"-o", pdf};
        args.insert(args.end(), c.args.begin(), c.args.end());
        if (c.args.empty() || c.args[0] != "--repeat") {
            args.insert(args.end(), {"-i", WriteList(dir, kSymbologies[0])});
        }
        const ProcessResult r = Batch(args);
        ASSERT_EQ(r.status, 0) << r.err;
        const ProcessResult info = RunProcess("/usr/bin/pdfinfo", {pdf});
        EXPECT_NE(info.out.find(c.size), std::string::npos) << info.out;
        EXPECT_EQ(PdfPages(pdf), c.pages) << c.size;
    }
}

TEST(BatchPrint, Errors) {
    TempDir dir;
    const struct {
        std::vector<std::string> args;
        std::string fragment;
    } cases[] = {
        {{"--print", "--printer", "NoSuchQueue"}, "no printer named \"NoSuchQueue\""},
        {{"--print", "-o", dir.path + "/x.pdf"}, "cannot be used together"},
        {{"--printer", "Q", "-o", dir.path + "/x.pdf"}, "--printer is for --print"},
        {{"--dump", "--print"}, "cannot be used with --dump"},
        {{"--page-size", "A3", "-o", dir.path + "/x.pdf"}, "must be A4, Letter or WIDTHxHEIGHT"},
        {{"--page-size", "5x25mm", "-o", dir.path + "/x.pdf"}, "each side from 10 to 2000 mm"},
        {{"--page-size", "50x25", "-o", dir.path + "/x.pdf"}, "with a unit"},
        {{"--page-size", "50x25mm", "--margins", "13mm", "-o", dir.path + "/x.pdf"},
         "no printable area"},
        {{"--margins", "1e3mm", "-o", dir.path + "/x.pdf"}, "--margins needs a length"},
        {{"--printer-dpi", "71", "-o", dir.path + "/x.pdf"}, "from 72 to 4800"},
        {{"--printer-dpi", "300", "-o", dir.path + "/x.png"}, "--printer-dpi is for .pdf"},
        {{"--bar-reduction", "1", "-o", dir.path + "/x.svg"}, "is for printed pages"},
        {{"--bar-reduction", "2", "--printer-dpi", "203", "-o", dir.path + "/x.pdf"},
         "narrower than one dot: a narrow bar is 2 dots at 203 dpi"},
        {{"-o", dir.path + "/no/such/dir/x.pdf"}, "no directory"},
    };
    for (const auto& c : cases) {
        const ProcessResult r = Batch(c.args);
        EXPECT_EQ(r.status, 2) << c.fragment;
        EXPECT_NE(r.err.find(c.fragment), std::string::npos) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    }
    EXPECT_TRUE(fs::is_empty(dir.path));
}

// A private print service on loopback with a raw queue that keeps its jobs.
class PrivateCups : public testing::Test {
protected:
    void SetUp() override {
        std::vector<std::string> queues = {"TavikQueue"};
        if (!zplQueue.empty()) {
            queues.push_back(zplQueue);
        }
        const ProcessResult r = StartPrivateCups(dir.path + "/cups", queues);
        ASSERT_EQ(r.status, 0) << r.err;
    }
    void TearDown() override { StopPrivateCups(dir.path + "/cups"); }

    // The data file of the first job, once the service has taken it.
    std::string SpooledJob() {
        const std::string spooled = dir.path + "/cups/spool/d00001-001";
        for (int i = 0; i < 100 && !fs::exists(spooled); ++i) {
            usleep(100 * 1000);
        }
        return spooled;
    }

    TempDir dir;
    std::string zplQueue; // a second queue on CUPS's sample ZPL label printer driver
};

// The service with a queue on a ZPL label printer that writes what it gets to a file.
class PrivateZplCups : public PrivateCups {
protected:
    PrivateZplCups() { zplQueue = "TavikZebra"; }
    // The ZPL that job number `job` sent to the printer, once the job is done.
    std::string PrintedZpl(int job) {
        const std::string done = zplQueue + "-" + std::to_string(job) + " ";
        for (int i = 0; i < 300; ++i) {
            if (RunProcess("/usr/bin/lpstat", {"-W", "completed", "-o", zplQueue}).out.find(done) !=
                std::string::npos) {
                break;
            }
            usleep(100 * 1000);
        }
        const std::string file = dir.path + "/cups/" + zplQueue + ".zpl";
        std::ifstream in(file, std::ios::binary);
        std::string zpl((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        fs::remove(file);
        return zpl;
    }
};

// The queue prints at 203 dpi: the job's pages, rasterised at that resolution,
// are read in list order and every module is 4 whole dots.
TEST_F(PrivateCups, PrintedJobIsDotExactAtTheQueuesResolution) {
    const Symbology& s = kSymbologies[3];
    const ProcessResult r = Batch({"-t", s.type, "--line-width", "2", "-i", WriteList(dir, s, 20),
                                   "--print", "--printer", "TavikQueue"});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string job = SpooledJob();
    ASSERT_EQ(PdfPages(job), 2);
    for (int page = 1; page <= 2; ++page) {
        std::vector<std::string> expected;
        for (int row = (page - 1) * s.perPage; row < std::min(20, page * s.perPage); ++row) {
            expected.push_back(s.shown(row));
        }
        const PageReading read =
            ReadPrintedPage(PrinterRaster(job, page, 203, dir.path), 4, 0, dir.path);
        EXPECT_EQ(read.zxing, expected) << page;
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(read.zbar, expected) << page;
        EXPECT_EQ(read.dotErrors, "") << page;
    }
    // Checked for that queue, an EAN-13 comes out at its resolution: 3 dots, not 2.
    const ProcessResult check =
        Batch({"--check", "-t", "ean13", "590123412345", "--print", "--printer", "TavikQueue"});
    EXPECT_EQ(check.status, 0) << check.err;
    EXPECT_EQ(check.out, "X 0.375 mm (114 %), 3 dots at 203 dpi\n1 line, 0 refused, 0 differ\n");
}

// A 4 x 2 in label on a printer that cannot print the outer 1/4 in on the left
// and 1/8 in elsewhere (its driver's imageable area): the row moves in by just
// that from where a PDF without margins has it.
TEST_F(PrivateCups, LabelKeepsOnlyThePrintersMargins) {
    const Symbology& s = kSymbologies[3];
    const std::string list = WriteList(dir, s, 1);
    const std::string pdf = dir.path + "/label.pdf";
    ASSERT_EQ(
        Batch({"-t", s.type, "-i", list, "-o", pdf, "--printer-dpi", "203", "--page-size", "4x2in"})
            .status,
        0);
    const ProcessResult r = Batch(
        {"-t", s.type, "-i", list, "--print", "--printer", "TavikQueue", "--page-size", "4x2in"});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto firstDark = [&](const std::string& file) {
        const GreyImage image = PrinterRaster(file, 1, 203, dir.path);
        std::pair<int, int> first(image.width, image.height);
        for (int y = 0; y < image.height; ++y) {
            for (int x = 0; x < image.width; ++x) {
                if (image.At(x, y) < 128) {
                    first = {std::min(first.first, x), std::min(first.second, y)};
                }
            }
        }
        return first;
    };
    const auto [x0, y0] = firstDark(pdf);
    const auto [x, y] = firstDark(SpooledJob());
    EXPECT_NEAR(x - x0, 203 / 4.0, 1);
    EXPECT_NEAR(y - y0, 203 / 8.0, 1);
}

TEST_F(PrivateCups, DefaultPrinterAndUnknownName) {
    const ProcessResult none = Batch({"--print"});
    EXPECT_EQ(none.status, 2);
    EXPECT_EQ(none.err, "tavik-batch: no default printer\n");
    RunProcess("/usr/sbin/lpadmin", {"-d", "TavikQueue"});
    const ProcessResult def = Batch({"--print", "ABC"});
    EXPECT_EQ(def.status, 0) << def.err;
    EXPECT_TRUE(fs::exists(SpooledJob()));
}

// tavik's print switches make tavik-batch --print's checks and give its
// reports: the page-fit refusal when no row fits (status 2, nothing spooled),
// refused, empty and too wide lines.
TEST_F(PrivateCups, WindowPrintSwitchesCheckAsTheBatchToolDoes) {
    const struct {
        const char* name;
        std::string lines;
        int status;
        std::string report; // the line both give, after their program's name
    } cases[] = {
        {"wide.txt", std::string(200, 'A') + "\n", 2, "the rows do not fit on the page"},
        {"refused.txt", "A\nB#\nC\n", 1, "line 2: Error while encoding text \"B#\"."},
        {"empty.txt", "A\n\nC\n", 1, "line 2: empty line"},
        {"mixed.txt", "A\n" + std::string(200, 'A') + "\nC\n", 1,
         "line 2: the row does not fit on the page: it reaches "},
    };
    // The programs' own lines, without their names (Qt may add notes of its own).
    const auto own = [](const std::string& err) {
        std::vector<std::string> lines;
        std::istringstream in(err);
        for (std::string line; std::getline(in, line);) {
            if (line.rfind("tavik: ", 0) == 0 || line.rfind("tavik-batch: ", 0) == 0) {
                lines.push_back(line.substr(line.find(": ") + 2));
            } else if (line.rfind("line ", 0) == 0) {
                lines.push_back(line);
            }
        }
        return lines;
    };
    for (const auto& c : cases) {
        const std::string file = dir.path + "/" + c.name;
        std::ofstream(file) << c.lines;
        const ProcessResult gui = RunProcess(TAVIK_GUI, {"--print-to", file, "TavikQueue"});
        const ProcessResult batch = Batch({"-i", file, "--print", "--printer", "TavikQueue"});
        EXPECT_EQ(gui.status, c.status) << c.name << gui.err;
        EXPECT_EQ(batch.status, c.status) << c.name << batch.err;
        const std::vector<std::string> lines = own(gui.err);
        ASSERT_EQ(lines.size(), 1u) << gui.err;
        EXPECT_EQ(lines[0].rfind(c.report, 0), 0u) << lines[0];
        EXPECT_EQ(lines, own(batch.err));
    }
    // Only the printed lists are recent files of the window's program.
    std::ifstream settings(TestConfigHome() + "/Korvalin/Tavik.conf");
    const std::string recent{std::istreambuf_iterator<char>(settings), {}};
    EXPECT_NE(recent.find("/refused.txt"), std::string::npos) << recent;
    EXPECT_NE(recent.find("/empty.txt"), std::string::npos) << recent;
    EXPECT_EQ(recent.find("/wide.txt"), std::string::npos) << recent;
    // The printed lists' six jobs; the refused one sent none.
    EXPECT_TRUE(fs::exists(dir.path + "/cups/spool/d00006-001"));
    EXPECT_FALSE(fs::exists(dir.path + "/cups/spool/d00007-001"));
}

// What reaches a ZPL label printer through its CUPS driver, read back from the
// graphic the driver sends: at the queue's default 203 dpi, at a user's default
// of 300 dpi, and on a 4 x 2 in label. Every row decodes in list order, every bar
// and space is a whole number of module dots, and each label stands upright:
// 4 in wide and as long as the page.
TEST_F(PrivateZplCups, LabelsAreUprightAndDotExactAsTheDriverPrintsThem) {
    const Symbology& s = kSymbologies[3];
    const struct {
        const char* name;
        std::string userDefault;
        std::string page;
        int dpi;
        int lengthIn;
        std::size_t labels;
    } cases[] = {
        {"queue default", "", "4x6in", 203, 6, 1},
        {"user default", "Resolution=300dpi", "4x6in", 300, 6, 1},
        {"4x2in label", "", "4x2in", 203, 2, 2},
    };
    const std::vector<std::string> expected = {s.shown(0), s.shown(1), s.shown(2)};
    const PrivateHome home(dir.path + "/home");
    int job = 0;
    for (const auto& c : cases) {
        home.SetPrintOptions(zplQueue, c.userDefault);
        const ProcessResult r =
            Batch({"-t", s.type, "--line-width", "2", "-i", WriteList(dir, s, 3), "--print",
                   "--printer", zplQueue, "--page-size", c.page});
        ASSERT_EQ(r.status, 0) << c.name << ": " << r.err;
        const std::vector<ZplLabel> labels = DecodeZpl(PrintedZpl(++job));
        ASSERT_EQ(labels.size(), c.labels) << c.name;
        const int module = int(std::lround(2 * c.dpi / 96.0));
        std::vector<std::string> zxing;
        std::vector<std::string> zbar;
        for (const ZplLabel& label : labels) {
            EXPECT_EQ(label.printWidth, 4 * c.dpi) << c.name;
            EXPECT_EQ(label.image.height, c.lengthIn * c.dpi) << c.name;
            const PageReading read = ReadPrintedPage(label.image, module, 0, dir.path);
            zxing.insert(zxing.end(), read.zxing.begin(), read.zxing.end());
            zbar.insert(zbar.end(), read.zbar.begin(), read.zbar.end());
            EXPECT_EQ(read.dotErrors, "") << c.name;
        }
        EXPECT_EQ(zxing, expected) << c.name;
        std::sort(zbar.begin(), zbar.end());
        EXPECT_EQ(zbar, expected) << c.name;
    }
}

} // namespace

// Label sheets and sequences from the command line: every label of a printed sheet, cut
// out alone, reads exactly the line that belongs on it; numbered rows need no file.

#include "support/Pgm.h"
#include "support/Process.h"

#include <ZXing/ReadBarcode.h>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr int kDpi = 300;

// A sheet's grid as its maker publishes it, in mm.
struct Grid {
    int columns, rows;
    double width, height, pitchX, pitchY, offsetX, offsetY;
};
constexpr Grid kL7160{3, 7, 63.5, 38.1, 66.04, 38.1, 7.21, 15.15};
constexpr Grid kAvery5160{3, 10, 66.675, 25.4, 69.85, 25.4, 4.7625, 12.7};
constexpr Grid kCustom{2, 3, 80, 40, 90, 45, 10, 10};

int Px(double mm) {
    return static_cast<int>(std::lround(mm * kDpi / 25.4));
}

// The one symbol ZXing finds inside a rectangle of the page alone; "" when there is none,
// "<n symbols>" when there are more.
std::string ReadLabel(const GreyImage& page, int left, int top, int width, int height) {
    ZXing::DecodeHints hints;
    hints.setFormats(ZXing::BarcodeFormat::Code39);
    hints.setTryRotate(false);
    hints.setTryCode39ExtendedMode(false);
    const ZXing::ImageView view(page.pixels.data() + std::size_t(top) * page.width + left, width,
                                height, ZXing::ImageFormat::Lum, page.width);
    const ZXing::Results results = ZXing::ReadBarcodes(view, hints);
    if (results.size() != 1) {
        return results.empty()
                   ? ""
                   : std::string("<").append(std::to_string(results.size())).append(" symbols>");
    }
    const auto& bytes = results.front().bytes();
    return std::string(bytes.begin(), bytes.end());
}

// What every label of every page reads, in the order the labels are filled.
std::vector<std::string> ReadSheets(const fs::path& pdf, const Grid& g, bool down) {
    const fs::path prefix = pdf.parent_path() / "page";
    RunProcess("/usr/bin/pdftoppm", {"-r", std::to_string(kDpi), "-gray", "-aa", "no", "-aaVector",
                                     "no", pdf.string(), prefix.string()});
    std::vector<std::string> labels;
    GreyImage page;
    for (int n = 1; ReadPgm(prefix.string() + "-" + std::to_string(n) + ".pgm", page); ++n) {
        for (int i = 0; i < g.columns * g.rows; ++i) {
            const int column = down ? i / g.rows : i % g.columns;
            const int row = down ? i % g.rows : i / g.columns;
            const int left = Px(g.offsetX + column * g.pitchX);
            const int top = Px(g.offsetY + row * g.pitchY);
            labels.push_back(ReadLabel(page, left, top, std::min(Px(g.width), page.width - left),
                                       std::min(Px(g.height), page.height - top)));
        }
    }
    return labels;
}

std::vector<std::string> Numbered(const std::string& stem, int count) {
    std::vector<std::string> lines;
    for (int i = 1; i <= count; ++i) {
        lines.push_back(stem + std::to_string(i));
    }
    return lines;
}

TEST(BatchLabels, EveryLabelReadsItsOwnLine) {
    const std::vector<std::string> fifty = Numbered("L", 50);
    const std::vector<std::string> sixtyFive = Numbered("U", 65);
    const std::vector<std::string> twenty = Numbered("S", 20);
    const std::vector<std::string> ten = Numbered("C", 10);
    const std::vector<std::string> wide = {"OK1", "TOOWIDEFOR5160", "OK3", "QUIETZONE11", "OK5"};
    const struct {
        const char* what;
        std::vector<std::string> lines;
        std::vector<std::string> args;
        Grid grid;
        bool down;
        int status;
        std::vector<std::string> labels; // what each label reads, then empty labels
        std::string err;                 // the start of each line of standard error
    } cases[] = {
        {"three L7160 sheets", fifty, {"--labels", "avery-l7160"}, kL7160, false, 0, fifty, ""},
        {"three 5160 sheets, down the columns",
         sixtyFive,
         {"--labels", "AVERY-5160", "--label-order", "down"},
         kAvery5160,
         true,
         0,
         sixtyFive,
         ""},
        {"a partly used sheet",
         twenty,
         {"--labels", "avery-l7160", "--skip", "5"},
         kL7160,
         false,
         0,
         [&] {
             std::vector<std::string> labels(5, "");
             labels.insert(labels.end(), twenty.begin(), twenty.end());
             return labels;
         }(),
         ""},
        {"copies",
         ten,
         {"--labels", "avery-l7160", "--copies", "3"},
         kL7160,
         false,
         0,
         [&] {
             std::vector<std::string> labels;
             for (const std::string& line : ten) {
                 labels.insert(labels.end(), 3, line);
             }
             return labels;
         }(),
         ""},
        {"a custom grid",
         twenty,
         {"--labels", "2x3", "--label-size", "80x40mm", "--label-pitch", "90x45mm",
          "--label-offset", "1,1cm", "--page-size", "200x150mm"},
         kCustom,
         false,
         0,
         twenty,
         ""},
        // Line 2 is wider than its label; line 4 fits but leaves too little quiet zone.
        {"rows that do not fit their labels",
         wide,
         {"--labels", "avery-5160", "--origin", "40,10"},
         kAvery5160,
         false,
         1,
         {"OK1", "", "OK3", "", "OK5"},
         "line 2: the row does not fit on its label: it reaches |line 4: the row does not fit on "
         "its label: the quiet zone on the right is "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const fs::path dir = fs::path(testing::TempDir()) / "tavik-labels";
        fs::remove_all(dir);
        fs::create_directories(dir);
        std::ofstream list(dir / "list.txt");
        for (const std::string& line : c.lines) {
            list << line << "\n";
        }
        list.close();
        std::vector<std::string> args = {
            "-i", (dir / "list.txt").string(), "--printer-dpi", std::to_string(kDpi),
            "-o", (dir / "out.pdf").string()};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const ProcessResult r = RunProcess(TAVIK_BATCH, args);
        EXPECT_EQ(r.status, c.status) << r.err;
        std::string expectedErr = c.err;
        for (std::size_t from = 0, bar; !expectedErr.empty(); from = bar + 1) {
            bar = expectedErr.find('|', from);
            const std::string start = expectedErr.substr(from, bar - from);
            EXPECT_NE(r.err.find(start), std::string::npos) << start << "\nin: " << r.err;
            if (bar == std::string::npos) {
                break;
            }
        }
        if (c.err.empty()) {
            EXPECT_EQ(r.err, "");
        }
        const std::vector<std::string> read = ReadSheets(dir / "out.pdf", c.grid, c.down);
        const int perSheet = c.grid.columns * c.grid.rows;
        const std::size_t sheets = (c.labels.size() + perSheet - 1) / perSheet;
        std::vector<std::string> expected = c.labels;
        expected.resize(sheets * perSheet);
        EXPECT_EQ(read, expected);
        fs::remove_all(dir);
    }
}

TEST(BatchLabels, BadSheetsAndSequencesAreUsageErrors) {
    const struct {
        std::vector<std::string> args;
        std::string err;
    } cases[] = {
        {{"--labels", "avery-9999", "-o", "x.pdf"},
         "--labels needs a built-in sheet (see --list-labels) or a grid COLSxROWS"},
        {{"--labels", "3x7", "-o", "x.pdf"}, "--labels COLSxROWS needs --label-size"},
        {{"--labels", "3x7", "--label-size", "71x40mm", "-o", "x.pdf"},
         "--labels: the labels reach 213 mm across a page 210 mm wide"},
        {{"--labels", "3x2", "--label-size", "70x40mm", "--label-pitch", "60x40mm", "-o", "x.pdf"},
         "--labels: the horizontal pitch 60 mm is less than the label width 70 mm"},
        {{"--labels", "avery-l7160", "--skip", "21", "-o", "x.pdf"},
         "--skip 21 leaves no label of a sheet of 21 (at most 20)"},
        {{"--skip", "2", "-o", "x.pdf"}, "--skip is for label sheets (--labels)"},
        {{"--labels", "avery-l7160", "--page-size", "letter", "-o", "x.pdf"},
         "--page-size does nothing with --labels avery-l7160"},
        {{"--labels", "avery-l7160", "-o", "x.png"}, "--labels is for printed pages"},
        // A TEXT is the same on every label: short of its quiet zone, the job is refused.
        {{"--labels", "avery-5160", "--origin", "40,10", "QUIETZONE11", "-o", "x.pdf"},
         "the text does not fit on its label: the quiet zone on the right is"},
        {{"--sequence", "1..10/0", "--check"},
         "--sequence: the step of the range \"1..10/0\" is 0"},
        {{"--sequence", "10..1", "--check"}, "holds no number: it runs down with a step of 1"},
        {{"--sequence", "1..9223372036854775808", "--check"},
         "the range must be FROM..TO or FROM..TO/STEP with 64-bit integers"},
        {{"--sequence", "-9223372036854775808..9223372036854775807", "--check"},
         "holds more than 100000000 numbers"},
        {{"--sequence", "1..3", "--format", "ITEM", "--check"}, "has no number field"},
        {{"--sequence", "1..3", "--format", "%d-%d", "--check"}, "has more than one field"},
        {{"--sequence", "1..3", "--format", "%06s", "--check"}, "is not an integer field"},
        {{"--sequence", "1..3", "--format", "%99d", "--check"}, "is wider than 40"},
        {{"--format", "%d", "--check"}, "--format is for --sequence"},
        {{"--sequence", "1..3", "ABC", "--check"}, "give either --sequence or TEXT, not both"},
    };
    for (const auto& c : cases) {
        const ProcessResult r = RunProcess(TAVIK_BATCH, c.args);
        SCOPED_TRACE(c.args.front() + " " + c.args[1]);
        EXPECT_EQ(r.status, 2);
        EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
    }
}

TEST(BatchSequence, MakesTheRowsWithoutAFile) {
    const ProcessResult check =
        RunProcess(TAVIK_BATCH, {"--sequence", "1..1000", "--format", "ITEM-%06d", "--check"});
    EXPECT_EQ(check.status, 0) << check.err;
    EXPECT_EQ(check.out, "1000 lines, 0 refused, 0 differ\n");
    // Counting down across zero, 64-bit numbers at the top of the range, '%%'; the rows
    // as drawn, read back from the texts below their bars.
    const struct {
        std::string range, format;
        std::vector<std::string> rows;
    } cases[] = {
        {"10..-10/-7", "Q%+03d", {"Q+10", "Q+03", "Q-04"}},
        {"9223372036854775800..9223372036854775807/3",
         "%d%%",
         {"9223372036854775800%", "9223372036854775803%", "9223372036854775806%"}},
        {"255..257", "0X%X", {"0XFF", "0X100", "0X101"}},
    };
    const fs::path svg = fs::path(testing::TempDir()) / "tavik-sequence.svg";
    for (const auto& c : cases) {
        const ProcessResult r =
            RunProcess(TAVIK_BATCH, {"--sequence", c.range, "--format", c.format, "-t", "code128b",
                                     "-o", svg.string()});
        EXPECT_EQ(r.status, 0) << r.err;
        std::ifstream in(svg);
        const std::string drawing((std::istreambuf_iterator<char>(in)), {});
        std::vector<std::string> texts;
        for (std::size_t at = drawing.find("</text>"); at != std::string::npos;
             at = drawing.find("</text>", at + 1)) {
            const std::size_t open = drawing.rfind('>', at) + 1;
            texts.push_back(drawing.substr(open, at - open));
        }
        EXPECT_EQ(texts, c.rows) << c.range;
    }
    fs::remove(svg);
}

} // namespace

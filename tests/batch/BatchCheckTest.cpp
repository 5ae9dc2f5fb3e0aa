// Rows checked against their labels: --check, --strict, and the messages of problem rows.

#include "support/Process.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

ProcessResult Batch(const std::vector<std::string>& args, const std::string& input = {}) {
    return RunProcess(TAVIK_BATCH, args, input);
}

const std::string kAbc = "12103030103010121030103012103030301210101210303010"; // Code 39 "ABC"

TEST(BatchCheck, ExitStatusesReportsAndWarnings) {
    const struct {
        std::vector<std::string> args;
        std::string input;
        int status;
        std::string out;
        std::string err;
    } cases[] = {
        {{"--check", "-t", "code128c", "-i", "-"},
         "1234\nabcd\n12-5\n5678\n",
         1,
         "line 2: bars read \"0000\", label \"abcd\"\n"
         "line 3: Error while encoding text \"12-5\". Characters 3-4, \"-5\", read as -5, is not "
         "in Code 128 subset C (pairs 00-99, code bytes 200-202).\n"
         "4 lines, 1 refused, 1 differ\n",
         ""},
        {{"--check", "-t", "ean13", "590123412345"}, "", 0, "1 line, 0 refused, 0 differ\n", ""},
        // On a printing surface: the X printed, never below the standard's by rounding; a
        // physical X as asked and checked; a quiet zone cut short by the page's edge.
        {{"--check", "-t", "ean13", "590123412345", "--printer-dpi", "203"},
         "",
         0,
         "X 0.375 mm (114 %), 3 dots at 203 dpi\n1 line, 0 refused, 0 differ\n",
         ""},
        {{"--check", "-t", "ean13", "590123412345", "--printer-dpi", "300"},
         "",
         0,
         "X 0.339 mm (103 %), 4 dots at 300 dpi\n1 line, 0 refused, 0 differ\n",
         ""},
        {{"--check", "-t", "ean13", "590123412345", "--printer-dpi", "600", "--line-width",
          "0.33mm"},
         "",
         0,
         "X 0.339 mm (103 %), 8 dots at 600 dpi\n1 line, 0 refused, 0 differ\n",
         ""},
        {{"--check", "-t", "ean13", "590123412345", "--printer-dpi", "203", "--line-width",
          "9.8mil"},
         "",
         1,
         "X 0.250 mm (76 %), 2 dots at 203 dpi\n"
         "X below the smallest of EAN-13: 0.250 mm (2 at 203 dpi) against 0.264 mm (GS1 General "
         "Specifications, retail)\n1 line, 0 refused, 0 differ\n",
         ""},
        {{"--check", "-i", "-", "--page-size", "50x25mm", "--margins", "0mm", "--origin", "5,5"},
         "AB\nABCDEFG\n",
         1,
         "X 0.254 mm, 6 dots at 600 dpi\n"
         "line 1: the quiet zone on the left is 1.312 mm, Code 39 needs 2.540 mm (10 X)\n"
         "line 2: the quiet zone on the left is 1.312 mm, Code 39 needs 2.540 mm (10 X)\n"
         "2 lines, 0 refused, 0 differ, 2 off size\n",
         ""},
        {{"-t", "ean13", "590123412345", "--strict", "--line-width", "0.2mm", "-o",
          "/tmp/never.pdf"},
         "",
         2,
         "",
         "tavik-batch: X below the smallest of EAN-13: 0.212 mm (5 at 600 dpi) against 0.264 mm "
         "(GS1 General Specifications, retail)\n"},
        {{"--check", "abc", "--line-width", "2"},
         "",
         2,
         "",
         "tavik-batch: --line-width is for rendering (-o OUT or --print) and --check of printed "
         "pages (with --printer-dpi, --page-size, --margins or --print); it does nothing with "
         "--check alone\n"},
        {{"--check", "-i", "-"},
         "A\n\nB\n",
         1,
         "line 2: empty line\n3 lines, 1 refused, 0 differ\n",
         ""},
        {{"--check", ""}, "", 1, "empty text\n1 line, 1 refused, 0 differ\n", ""},
        {{"--check", "-i", "-"},
         "A*B\n",
         1,
         "line 1: bars are not one symbol, label \"A*B\". Reading stops at element 20 of 50: a "
         "start/stop character inside the symbol.\n"
         "1 line, 0 refused, 1 differ\n",
         ""},
        // The report replaces the output: asking for both is a usage error.
        {{"--check", "abc", "-o", "/nonexistent/out.png"},
         "",
         2,
         "",
         "tavik-batch: -o is for drawing (the report of --check replaces it); it does nothing "
         "with --check\n"},
        {{"--dump", "-i", "-"},
         "abc\nABC\n",
         0,
         kAbc + "\n" + kAbc + "\n",
         "line 1: bars read \"ABC\", label \"abc\"\n"},
        {{"--dump", "--strict", "-i", "-"},
         "abc\nABC\n",
         1,
         "\n" + kAbc + "\n",
         "line 1: bars read \"ABC\", label \"abc\"\n"},
        {{"--dump", "--strict", "-t", "ean13", "123456789012"}, "", 0, "", ""},
    };
    for (const auto& c : cases) {
        const ProcessResult r = Batch(c.args, c.input);
        SCOPED_TRACE(testing::PrintToString(c.args));
        EXPECT_EQ(r.status, c.status);
        if (!c.out.empty()) {
            EXPECT_EQ(r.out, c.out);
        }
        EXPECT_EQ(r.err, c.err);
    }
}

TEST(BatchCheck, HelpDescribesTheCheck) {
    const std::string help = Batch({"--help"}).out;
    for (const char* part : {"--check", "--strict", "N lines, M refused, K differ", "bars read"}) {
        EXPECT_NE(help.find(part), std::string::npos) << part;
    }
}

// Code points in a UTF-8 line.
std::size_t Width(const std::string& line) {
    std::size_t n = 0;
    for (const char c : line) {
        n += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
    }
    return n;
}

// Whatever the rows hold (10 MB, control bytes, escape sequences, text beyond Latin-1), each
// problem row gives one line of about 200 characters.
TEST(BatchCheck, EveryMessageIsOneShortLine) {
    const std::string input = "#" + std::string(10'000'000, 'A') + "\n" + std::string(700, 'a') +
                              "\n\x1B]0;title\a\x01\x02\x7F\x85\n" + std::string(400, 'A') +
                              "*B\n" + std::string(300, '\xE9') + "\n";
    const struct {
        std::vector<std::string> args;
        std::string input;
        std::size_t lines;
    } cases[] = {
        {{"--dump", "-t", "code39", "-i", "-"}, input, 5},
        {{"--dump", "-t", "code128c", "-i", "-"}, input, 5},
        {{"--check", "-t", "code128b", "-i", "-"}, input, 6},
        {{"--dump", std::string(30'000, '\xE2') + "\n"}, "", 1}, // not UTF-8
        {{"--dump", "A", std::string(100'000, 'x')}, "", 1},     // a usage error
    };
    for (const auto& c : cases) {
        const ProcessResult r = Batch(c.args, c.input);
        const std::string& messages = c.args[0] == "--check" ? r.out : r.err;
        std::size_t lines = 0;
        for (std::size_t start = 0; start < messages.size(); ++lines) {
            const std::size_t end = messages.find('\n', start);
            ASSERT_NE(end, std::string::npos);
            const std::string line = messages.substr(start, end - start);
            EXPECT_LE(Width(line), 210u) << line;
            EXPECT_EQ(line.find_first_of("\x1B\a\r"), std::string::npos) << line;
            start = end + 1;
        }
        EXPECT_EQ(lines, c.lines) << messages;
    }
}

} // namespace

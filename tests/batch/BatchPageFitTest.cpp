// Rows and pages: a row too wide for its page is refused on its own, an empty row with its
// line named; only when no row can fit is the whole job refused, and nothing is written.

#include "support/Process.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// What ZBar reads on each page of a PDF as a 203-dpi printer makes it.
std::vector<std::vector<std::string>> PageReadings(const fs::path& pdf) {
    const fs::path prefix = pdf.parent_path() / "page";
    RunProcess("/usr/bin/pdftoppm", {"-r", "203", "-gray", "-aa", "no", "-aaVector", "no",
                                     pdf.string(), prefix.string()});
    std::vector<std::vector<std::string>> pages;
    for (int page = 1; fs::exists(prefix.string() + "-" + std::to_string(page) + ".pgm"); ++page) {
        const ProcessResult r =
            RunProcess("/usr/bin/zbarimg", {"-q", "--raw", "--nodbus",
                                            prefix.string() + "-" + std::to_string(page) + ".pgm"});
        std::vector<std::string> symbols;
        std::istringstream lines(r.out);
        for (std::string line; std::getline(lines, line);) {
            symbols.push_back(line);
        }
        pages.push_back(symbols);
    }
    return pages;
}

TEST(BatchPageFit, ARowTooWideIsRefusedOnItsOwn) {
    const std::string wide(30, 'A');
    const std::string area = " the page's printable area is 181 x 86 units";
    const struct {
        std::string list;
        std::vector<std::string> args;
        int status;
        std::string err;
        std::vector<std::vector<std::string>> pages; // none: nothing is written
    } cases[] = {
        {"SHORT\n" + wide + "\nOK2\n",
         {},
         1,
         "line 2: the row does not fit on the page: it reaches 522 units across;" + area + "\n",
         {{"SHORT"}, {}, {"OK2"}}},
        // The wide row is refused once, though its bars also read differently.
        {"SHORT\n" + wide + "a\nok\n",
         {"--strict"},
         1,
         "line 2: bars read \"" + wide + "A\", label \"" + wide + "a\"\n" +
             "line 3: bars read \"OK\", label \"ok\"\n",
         {{"SHORT"}, {}, {}}},
        {wide + "\n#\n" + wide + "\n",
         {},
         2,
         "tavik-batch: the rows do not fit on the page: the narrowest reaches 522 units across;" +
             area + "\n",
         {}},
        {"A\n",
         {"--bar-height", "100"},
         2,
         "tavik-batch: no row fits on the page: a row takes 119 units below the origin at 10;" +
             area + "\n",
         {}},
    };
    for (const auto& c : cases) {
        const fs::path dir = fs::path(testing::TempDir()) / "tavik-page-fit";
        fs::remove_all(dir);
        fs::create_directories(dir);
        std::ofstream(dir / "list.txt") << c.list;
        std::vector<std::string> args = {"-i",
                                         (dir / "list.txt").string(),
                                         "--page-size",
                                         "50x25mm",
                                         "--margins",
                                         "1mm",
                                         "--printer-dpi",
                                         "203",
                                         "-o",
                                         (dir / "out.pdf").string()};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const ProcessResult r = RunProcess(TAVIK_BATCH, args);
        SCOPED_TRACE(c.list);
        EXPECT_EQ(r.status, c.status);
        EXPECT_EQ(r.err, c.err);
        EXPECT_EQ(fs::exists(dir / "out.pdf"), !c.pages.empty());
        if (!c.pages.empty()) {
            EXPECT_EQ(PageReadings(dir / "out.pdf"), c.pages);
        }
        fs::remove_all(dir);
    }
}

} // namespace

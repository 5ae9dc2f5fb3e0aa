// Options that would do nothing: each is a usage error naming the option, and nothing is written.

#include "support/Process.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

TEST(BatchOptions, AnOptionThatDoesNothingIsAUsageError) {
    const struct {
        std::vector<std::string> args;
        std::string message; // after "tavik-batch: "
    } cases[] = {
        {{"--page-size", "50x25mm", "-o", "x.png"},
         "--page-size is for printed pages (.pdf or --print); it does nothing with .png output"},
        {{"--margins", "1mm", "-o", "x.svg"},
         "--margins is for printed pages (.pdf or --print); it does nothing with .svg output"},
        {{"--bar-reduction", "1", "-o", "x.png"},
         "--bar-reduction is for printed pages (.pdf or --print); it does nothing with .png "
         "output"},
        {{"--printer-dpi", "203", "--print"},
         "--printer-dpi is for .pdf output (--print uses the printer's own resolution); it does "
         "nothing with --print"},
        {{"--scale", "2", "-o", "x.pdf"},
         "--scale is for .png and .svg output (printed pages are in printer dots); it does "
         "nothing with .pdf output"},
        {{"--print", "--scale", "2"},
         "--scale is for .png and .svg output (printed pages are in printer dots); it does "
         "nothing with --print"},
        {{"--check", "A", "-o", "x.png"},
         "-o is for drawing (the report of --check replaces it); it does nothing with --check"},
        {{"--check", "--printer", "Q"},
         "--printer is for --print; with --check, give --print --printer NAME"},
        {{"--check", "--print", "--printer-dpi", "203"},
         "--printer-dpi is for .pdf output; --print uses the printer's own resolution"},
        {{"--check", "--bar-height", "20mm"},
         "--bar-height is for rendering (-o OUT or --print) and --check of printed pages (with "
         "--printer-dpi, --page-size, --margins or --print); it does nothing with --check alone"},
        {{"--line-width", "0.5", "-o", "x.pdf"},
         "--line-width must be an integer from 1 to 100 or a length with a unit mm, in, mil or "
         "pt (e.g. 0.33mm, 13mil) of more than 0 and at most 26.5 mm, not \"0.5\""},
        {{"--bar-height", "0mm", "-o", "x.pdf"},
         "--bar-height must be an integer from 1 to 10000 or a length with a unit mm, in, mil or "
         "pt (e.g. 0.33mm, 13mil) of more than 0 and at most 2645.8 mm, not \"0mm\""},
        {{"--check", "--strict"},
         "--strict is for --dump, -o and --print (--check counts every row that differs); it "
         "does nothing with --check"},
        {{"--printer", "Q", "-o", "x.pdf"},
         "--printer is for --print; it does nothing with .pdf "
         "output"},
        {{"--dump", "--truetype"},
         "--truetype is for rendering (-o OUT or --print) and --check; it does nothing with "
         "--dump"},
        {{"--dump", "--check"},
         "--dump and --check cannot be used together (--check prints a report instead)"},
        {{"--page-size", "A4", "--page-size", "Letter", "-o", "x.pdf"},
         "option --page-size given more than once"},
        {{"--scale", "2", "--scale", "3", "-o", "x.png"}, "option --scale given more than once"},
        {{"--origin", "1,1", "--origin", "2,2", "-o", "x.png"},
         "option --origin given more than once"},
        {{"--strict", "--strict", "--dump"}, "option --strict given more than once"},
        {{"--no-text", "-o", "x.png", "--no-text"}, "option --no-text given more than once"},
    };
    const fs::path dir = fs::path(testing::TempDir()) / "tavik-batch-options";
    fs::create_directories(dir);
    for (const auto& c : cases) {
        std::vector<std::string> args = c.args;
        for (std::string& a : args) {
            a = a.rfind("x.", 0) == 0 ? (dir / a).string() : a;
        }
        const ProcessResult r = RunProcess(TAVIK_BATCH, args);
        EXPECT_EQ(r.status, 2) << c.message;
        EXPECT_EQ(r.err, "tavik-batch: " + c.message + "\n");
        EXPECT_EQ(r.out, "");
    }
    EXPECT_TRUE(fs::is_empty(dir));
    fs::remove_all(dir);
}

} // namespace

#include "BatchOptions.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace {

constexpr std::array<const char*, 7> kTypeNames = {"code39",   "code93", "code128a", "code128b",
                                                   "code128c", "ean13",  "i2of5"};

std::string Lower(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

} // namespace

int ParseBarcodeType(const std::string& value)
{
    if (value.size() == 1 && value[0] >= '0' && value[0] <= '6') {
        return value[0] - '0';
    }
    const std::string name = Lower(value);
    for (std::size_t i = 0; i < kTypeNames.size(); ++i) {
        if (name == kTypeNames[i]) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

BatchParse ParseBatchArgs(const std::vector<std::string>& args)
{
    BatchParse r;
    BatchOptions& o = r.options;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= args.size()) {
                r.error = "option " + a + " needs a value";
                return false;
            }
            out = args[++i];
            return true;
        };
        std::string v;
        if (optionsEnded || a.empty() || a[0] != '-' || a == "-") {
            if (o.text) {
                r.error = "more than one TEXT given: \"" + *o.text + "\" and \"" + a + "\"";
                return r;
            }
            o.text = a;
        } else if (a == "--") {
            optionsEnded = true;
        } else if (a == "--help" || a == "-h") {
            o.mode = BatchOptions::Mode::Help;
            return r;
        } else if (a == "--version") {
            o.mode = BatchOptions::Mode::Version;
            return r;
        } else if (a == "--dump") {
            o.mode = BatchOptions::Mode::Dump;
        } else if (a == "-t" || a == "--type") {
            if (!value(v)) {
                return r;
            }
            o.type = ParseBarcodeType(v);
            if (o.type < 0) {
                r.error = "unknown barcode type \"" + v +
                          "\" (use 0-6 or code39, code93, code128a, code128b, code128c, "
                          "ean13, i2of5)";
                return r;
            }
        } else if (a == "-i" || a == "--input") {
            if (!value(v)) {
                return r;
            }
            o.input = v;
        } else {
            r.error = "unknown option " + a;
            return r;
        }
    }
    if (o.text && o.input) {
        r.error = "give either TEXT or -i FILE, not both";
    } else if (o.mode == BatchOptions::Mode::None) {
        r.error = "nothing to do: use --dump (see --help)";
    }
    return r;
}

std::string BatchUsage()
{
    return "Usage: tavik-batch --dump [-t TYPE] [TEXT]\n"
           "       tavik-batch --dump [-t TYPE] -i FILE\n"
           "\n"
           "Encodes barcode texts and prints the element buffer of each row, one\n"
           "decimal digit per element, one line per row.\n"
           "\n"
           "Options:\n"
           "  --dump             print the element bytes of every row\n"
           "  -t, --type TYPE    symbology: 0-6 or code39 (default), code93, code128a,\n"
           "                     code128b, code128c, ean13, i2of5\n"
           "  -i, --input FILE   one barcode text per line of FILE, read as raw bytes\n"
           "                     (\"-\" reads standard input)\n"
           "  TEXT               a UTF-8 text, converted to Latin-1 (default 0123456789)\n"
           "  -h, --help         show this help\n"
           "  --version          show the version\n"
           "\n"
           "Exit status: 0 all rows encoded, 1 a row was refused, 2 usage or input error.\n";
}

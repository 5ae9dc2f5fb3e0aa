#include "BatchOptions.h"

#include "LabelSheets.h"
#include "Latin1.h"
#include "Symbology.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <tuple>
#include <utility>

namespace {

using L = BatchLimits;

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

bool EndsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// A whole decimal integer (optional '-'), nothing else.
std::optional<std::int32_t> ToInt(const std::string& v) {
    std::int32_t n = 0;
    const char* end = v.data() + v.size();
    const auto [ptr, ec] = std::from_chars(v.data(), end, n);
    if (v.empty() || ec != std::errc() || ptr != end) {
        return std::nullopt;
    }
    return n;
}

std::string RangeError(const std::string& what, int lo, int hi, const std::string& v) {
    return what + " must be an integer from " + std::to_string(lo) + " to " + std::to_string(hi) +
           ", not \"" + v + "\"";
}

// Parses v into out when it is an integer from lo to hi; else an error message.
std::string IntIn(const std::string& name, const std::string& v, int lo, int hi,
                  std::optional<std::int32_t>& out) {
    const auto n = ToInt(v);
    if (!n || *n < lo || *n > hi) {
        return RangeError(name, lo, hi, v);
    }
    out = *n;
    return {};
}

std::string ColourIn(const std::string& name, const std::string& v, std::optional<COLORREF>& out) {
    const std::string hex = !v.empty() && v[0] == '#' ? v.substr(1) : v;
    const bool ok = hex.size() == 6 && std::all_of(hex.begin(), hex.end(), [](unsigned char c) {
                        return std::isxdigit(c) != 0;
                    });
    if (!ok) {
        return name + " needs a colour as RRGGBB (six hex digits), not \"" + v + "\"";
    }
    const unsigned long rgb = std::stoul(hex, nullptr, 16);
    out = RGB(static_cast<int>(rgb >> 16), static_cast<int>(rgb >> 8), static_cast<int>(rgb));
    return {};
}

std::string FontIn(const std::string& name, const std::string& v, std::optional<FontChoice>& out) {
    const std::size_t colon = v.rfind(':');
    if (colon == std::string::npos || colon == 0) {
        return name + " needs FACE:HEIGHT (e.g. Arial:-14), not \"" + v + "\"";
    }
    const auto face = Utf8ToLatin1(std::string_view(v).substr(0, colon));
    if (!face) {
        return name + " face must be Latin-1 text: \"" + v.substr(0, colon) + "\"";
    }
    if (face->size() > static_cast<std::size_t>(L::kMaxFaceBytes) ||
        face->find('\0') != std::string::npos) {
        return name + " face must be at most " + std::to_string(L::kMaxFaceBytes) +
               " characters: \"" + v.substr(0, colon) + "\"";
    }
    std::optional<std::int32_t> height;
    if (auto e = IntIn(name + " height", v.substr(colon + 1), L::kMinFontHeight, L::kMaxFontHeight,
                       height);
        !e.empty()) {
        return e + " (a negative character height, e.g. Arial:-14)";
    }
    out = FontChoice{*face, *height};
    return {};
}

std::string OriginIn(const std::string& name, const std::string& v, BatchOptions& o) {
    const std::size_t comma = v.find(',');
    const auto x = comma == std::string::npos ? std::nullopt : ToInt(v.substr(0, comma));
    const auto y = comma == std::string::npos ? std::nullopt : ToInt(v.substr(comma + 1));
    if (!x || !y || *x < L::kMinOrigin || *x > L::kMaxOrigin || *y < L::kMinOrigin ||
        *y > L::kMaxOrigin) {
        return name + " needs X,Y with integers from " + std::to_string(L::kMinOrigin) + " to " +
               std::to_string(L::kMaxOrigin) + ", not \"" + v + "\"";
    }
    o.originX = *x;
    o.originY = *y;
    return {};
}

// A decimal number: digits with at most one point, nothing else.
std::optional<double> ToDecimal(const std::string& v) {
    if (v.empty() || v.size() > 12 || std::count(v.begin(), v.end(), '.') > 1 ||
        !std::all_of(v.begin(), v.end(),
                     [](unsigned char c) { return std::isdigit(c) || c == '.'; }) ||
        v == ".") {
        return std::nullopt;
    }
    double n = 0;
    const auto [ptr, ec] = std::from_chars(v.data(), v.data() + v.size(), n);
    return ec == std::errc() && ptr == v.data() + v.size() ? std::optional<double>(n)
                                                           : std::nullopt;
}

// A number followed by mm, cm, in or pt; the unit is removed from v.
std::optional<Length::Unit> TakeUnit(std::string& v, double& factor) {
    static constexpr struct {
        const char* suffix;
        double factor;
        Length::Unit unit;
    } kUnits[] = {{"mm", 1, Length::Unit::Millimetre},
                  {"cm", 10, Length::Unit::Millimetre},
                  {"in", 1, Length::Unit::Inch},
                  {"pt", 1, Length::Unit::Point}};
    for (const auto& u : kUnits) {
        if (EndsWith(v, u.suffix)) {
            v.resize(v.size() - 2);
            factor = u.factor;
            return u.unit;
        }
    }
    return std::nullopt;
}

double Millimetres(double value, Length::Unit unit) {
    switch (unit) {
    case Length::Unit::Inch:
        return value * 25.4;
    case Length::Unit::Point:
        return value * 25.4 / 72;
    default:
        return value;
    }
}

std::string PageSizeIn(const std::string& n, const std::string& v, PageChoice& page) {
    std::string size = Lower(v);
    if (size == "a4" || size == "letter") {
        page.named = size == "a4" ? PageChoice::Named::A4 : PageChoice::Named::Letter;
        return {};
    }
    double factor = 1;
    const auto unit = TakeUnit(size, factor);
    const std::size_t x = size.find('x');
    const auto w = unit && x != std::string::npos ? ToDecimal(size.substr(0, x)) : std::nullopt;
    const auto h = w ? ToDecimal(size.substr(x + 1)) : std::nullopt;
    auto inBounds = [&](double side) {
        const double mm = Millimetres(side * factor, *unit);
        return mm >= L::kMinPageMm && mm <= L::kMaxPageMm;
    };
    if (!h || !inBounds(*w) || !inBounds(*h)) {
        return n + " must be A4, Letter or WIDTHxHEIGHT with a unit mm, cm, in or pt (e.g. " +
               "50x25mm, 4x6in), each side from 10 to 2000 mm, not \"" + v + "\"";
    }
    page = PageChoice{PageChoice::Named::Custom, *w * factor, *h * factor, *unit};
    return {};
}

std::string MarginsIn(const std::string& n, const std::string& v, std::optional<Length>& out) {
    std::string margin = Lower(v);
    double factor = 1;
    const auto unit = TakeUnit(margin, factor);
    const auto value = unit ? ToDecimal(margin) : std::nullopt;
    if (!value || Millimetres(*value * factor, *unit) > L::kMaxMarginMm) {
        return n + " needs a length with a unit mm, cm, in or pt (e.g. 2mm, 0.1in), at most " +
               "100 mm, not \"" + v + "\"";
    }
    out = Length{*value * factor, *unit};
    return {};
}

// A setting in display units, or a length with a unit mm, in, mil or pt, converted into mm:
// more than 0, and within the setting's bounds at 96 dpi.
std::string SizeIn(const std::string& name, const std::string& v, const SettingBound& bound,
                   std::optional<std::int32_t>& units, std::optional<double>& mm) {
    if (ToInt(v)) {
        return IntIn(name, v, bound.lowest, bound.highest, units);
    }
    std::string length = Lower(v);
    std::optional<double> value;
    double factor = 1;
    if (EndsWith(length, "mil")) {
        length.resize(length.size() - 3);
        value = ToDecimal(length);
        factor = 0.0254;
    } else if (const auto unit = TakeUnit(length, factor)) {
        value = ToDecimal(length);
        factor = Millimetres(factor, *unit);
    }
    const double highest = bound.highest * 25.4 / 96;
    if (!value || *value * factor <= 0 || *value * factor > highest) {
        char most[16];
        std::snprintf(most, sizeof most, "%.1f", highest);
        return name + " must be an integer from " + std::to_string(bound.lowest) + " to " +
               std::to_string(bound.highest) + " or a length with a unit mm, in, mil or pt " +
               "(e.g. 0.33mm, 13mil) of more than 0 and at most " + most + " mm, not \"" + v + "\"";
    }
    mm = *value * factor;
    return {};
}

std::string OutputIn(const std::string& v, BatchOptions& o) {
    const std::string lower = Lower(v);
    if (!EndsWith(lower, ".png") && !EndsWith(lower, ".svg") && !EndsWith(lower, ".pdf")) {
        return "unknown output type \"" + v + "\" (the name must end in .png, .svg or .pdf)";
    }
    o.output = v;
    return {};
}

std::string LabelsIn(const std::string& n, const std::string& v, BatchOptions& o) {
    if (const LabelSheet* sheet = Labels::FindSheet(v)) {
        o.labels.sheet = *sheet;
        return {};
    }
    if (const auto grid = Labels::Grid(v)) {
        o.customLabels = true;
        o.labels.sheet.columns = grid->first;
        o.labels.sheet.rows = grid->second;
        return {};
    }
    return n + " needs a built-in sheet (see --list-labels) or a grid COLSxROWS of 1 to " +
           std::to_string(Labels::kMaxSide) + " each, not \"" + v + "\"";
}

std::string LengthPairIn(const std::string& n, const std::string& v, char separator,
                         std::optional<std::pair<double, double>>& out) {
    out = Labels::LengthPairMm(v, separator);
    if (out) {
        return {};
    }
    const std::string form = separator == 'x' ? "WIDTHxHEIGHT" : "X,Y";
    return n + " needs " + form + " with a unit mm, cm, in or pt (e.g. " +
           (separator == 'x' ? "63.5x38.1mm" : "7.2,15.1mm") + "), not \"" + v + "\"";
}

std::string SequenceIn(const std::string& n, const std::string& v, BatchOptions& o) {
    NumberSequence sequence = o.sequence.value_or(NumberSequence());
    const std::string e = ParseSequenceRange(v, sequence);
    o.sequence = sequence;
    return e.empty() ? e : n + ": " + e;
}

std::string FormatIn(const std::string& n, const std::string& v, BatchOptions& o) {
    NumberSequence sequence;
    const std::string e = ParseSequencePattern(v, sequence);
    o.format = v;
    return e.empty() ? e : n + ": " + e;
}

// Stores an option's value; returns an error message or nothing.
using Setter = std::string (*)(BatchOptions& o, const std::string& name, const std::string& v);

// The outputs an option does something for.
enum Output : unsigned {
    kDump = 1,
    kCheck = 2,
    kPng = 4,
    kSvg = 8,
    kPdf = 16,
    kPrint = 32,
    kImages = kPng | kSvg,
    kPages = kPdf | kPrint,
    kDrawn = kImages | kPages,
    kAll = kDump | kCheck | kDrawn,
    kOnPage = 64,   // with --check: a check of the printed pages
    kOnPaper = 128, // with --check: only for a check of the printed pages
};

struct OptionDef {
    const char* longName;
    const char* shortName; // may be null
    bool takesValue;
    unsigned outputs;  // the Output bits it is for
    const char* isFor; // those outputs, for the message when it is given for another
    Setter set;
};

constexpr const char* kForDrawing = "rendering (-o OUT or --print)";
constexpr const char* kForPages = "printed pages (.pdf or --print)";
constexpr const char* kForSizes =
    "rendering (-o OUT or --print) and --check of printed pages (with --printer-dpi, "
    "--page-size, --margins or --print)";

const OptionDef kOptions[] = {
    {"--dump", nullptr, false, kDump, "--dump",
     [](BatchOptions& o, const std::string&, const std::string&) {
         const bool printing = o.mode == BatchOptions::Mode::Print;
         o.mode = BatchOptions::Mode::Dump;
         return printing ? std::string("--print is for rendering and cannot be used with --dump")
                         : std::string();
     }},
    {"--type", "-t", true, kAll, "",
     [](BatchOptions& o, const std::string&, const std::string& v) {
         o.type = ParseBarcodeType(v);
         return o.type >= 0 ? std::string()
                            : "unknown barcode type \"" + v +
                                  "\" (use 0-6 or code39, code93, code128a, code128b, code128c, "
                                  "ean13, i2of5)";
     }},
    {"--input", "-i", true, kAll, "",
     [](BatchOptions& o, const std::string&, const std::string& v) {
         o.input = v;
         return std::string();
     }},
    {"--check", nullptr, false, kCheck, "--check",
     [](BatchOptions& o, const std::string&, const std::string&) {
         o.check = true;
         return std::string();
     }},
    {"--strict", nullptr, false, kDump | kDrawn,
     "--dump, -o and --print (--check counts every row that differs)",
     [](BatchOptions& o, const std::string&, const std::string&) {
         o.strict = true;
         return std::string();
     }},
    {"--output", "-o", true, kDrawn, "drawing (the report of --check replaces it)",
     [](BatchOptions& o, const std::string&, const std::string& v) { return OutputIn(v, o); }},
    {"--print", nullptr, false, kPrint | kCheck | kOnPage,
     "printing (the report of --check replaces it)",
     [](BatchOptions& o, const std::string&, const std::string&) {
         const bool dumping = o.mode == BatchOptions::Mode::Dump;
         o.mode = BatchOptions::Mode::Print;
         return dumping ? std::string("--print is for rendering and cannot be used with --dump")
                        : std::string();
     }},
    {"--printer", nullptr, true, kPrint | kCheck, "--print",
     [](BatchOptions& o, const std::string&, const std::string& v) {
         o.printer = v;
         return v.empty() ? std::string("--printer needs a printer name") : std::string();
     }},
    {"--page-size", nullptr, true, kPages | kCheck | kOnPage, kForPages,
     [](BatchOptions& o, const std::string& n, const std::string& v) {
         return PageSizeIn(n, v, o.page);
     }},
    {"--margins", nullptr, true, kPages | kCheck | kOnPage, kForPages,
     [](BatchOptions& o, const std::string& n, const std::string& v) {
         return MarginsIn(n, v, o.margins);
     }},
    {"--printer-dpi", nullptr, true, kPdf | kCheck | kOnPage,
     ".pdf output (--print uses the printer's own resolution)",
     [](BatchOptions& o, const std::string& n, const std::string& v) {
         return IntIn(n, v, L::kMinPrinterDpi, L::kMaxPrinterDpi, o.printerDpi);
     }},
    {"--bar-reduction", nullptr, true, kPages, kForPages,
     [](BatchOptions& o, const std::string& n, const std::string& v) {
         return IntIn(n, v, L::kMinBarReduction, L::kMaxBarReduction, o.barReduction);
     }},
    {"--scale", nullptr, true, kImages, ".png and .svg output (printed pages are in printer dots)",
     [](BatchOptions& o, const std::string& n, const std::string& v) {
         std::optional<std::int32_t> s;
         std::string e = IntIn(n, v, L::kMinScale, L::kMaxScale, s);
         o.scale = s.value_or(1);
         return e;
     }},
    {"--line-width", nullptr, true, kDrawn | kCheck | kOnPaper, kForSizes,
     [](BatchOptions& o, const std::string& n, const std::string& v) {
         return SizeIn(n, v, kLineWidthBound, o.lineWidth, o.lineWidthMm);
     }},
    {"--bar-height", nullptr, true, kDrawn | kCheck | kOnPaper, kForSizes,
     [](BatchOptions& o, const std::string& n, const std::string& v) {
         return SizeIn(n, v, kBarHeightBound, o.barHeight, o.barHeightMm);
     }},
    {"--origin", nullptr, true, kDrawn | kCheck | kOnPaper, kForSizes,
     [](BatchOptions& o, const std::string& n, const std::string& v) { return OriginIn(n, v, o); }},
    {"--repeat", nullptr, true, kDrawn, kForDrawing,
     [](BatchOptions& o, const std::string& n, const std::string& v) {
         return IntIn(n, v, L::kMinRepeat, L::kMaxRepeat, o.repeat);
     }},
    {"--no-text", nullptr, false, kDrawn, kForDrawing,
     [](BatchOptions& o, const std::string&, const std::string&) {
         o.noText = true;
         return std::string();
     }},
    {"--truetype", nullptr, false, kDrawn | kCheck, "rendering (-o OUT or --print) and --check",
     [](BatchOptions& o, const std::string&, const std::string&) {
         o.trueType = true;
         return std::string();
     }},
    {"--bar-color", nullptr, true, kDrawn, kForDrawing,
     [](BatchOptions& o, const std::string& n, const std::string& v) {
         return ColourIn(n, v, o.barColor);
     }},
    {"--space-color", nullptr, true, kDrawn, kForDrawing,
     [](BatchOptions& o, const std::string& n, const std::string& v) {
         return ColourIn(n, v, o.spaceColor);
     }},
    {"--text-color", nullptr, true, kDrawn, kForDrawing,
     [](BatchOptions& o, const std::string& n, const std::string& v) {
         return ColourIn(n, v, o.textColor);
     }},
    {"--barcode-font-color", nullptr, true, kDrawn, kForDrawing,
     [](BatchOptions& o, const std::string& n, const std::string& v) {
         return ColourIn(n, v, o.barcodeFontColor);
     }},
    {"--text-font", nullptr, true, kDrawn, kForDrawing,
     [](BatchOptions& o, const std::string& n, const std::string& v) {
         return FontIn(n, v, o.textFont);
     }},
    {"--barcode-font", nullptr, true, kDrawn, kForDrawing,
     [](BatchOptions& o, const std::string& n, const std::string& v) {
         return FontIn(n, v, o.barcodeFont);
     }},
    {"--labels", nullptr, true, kPages, kForPages,
     [](BatchOptions& o, const std::string& n, const std::string& v) { return LabelsIn(n, v, o); }},
    {"--label-size", nullptr, true, kPages, kForPages,
     [](BatchOptions& o, const std::string& n, const std::string& v) {
         return LengthPairIn(n, v, 'x', o.labelSize);
     }},
    {"--label-pitch", nullptr, true, kPages, kForPages,
     [](BatchOptions& o, const std::string& n, const std::string& v) {
         return LengthPairIn(n, v, 'x', o.labelPitch);
     }},
    {"--label-offset", nullptr, true, kPages, kForPages,
     [](BatchOptions& o, const std::string& n, const std::string& v) {
         return LengthPairIn(n, v, ',', o.labelOffset);
     }},
    {"--label-order", nullptr, true, kPages, kForPages,
     [](BatchOptions& o, const std::string& n, const std::string& v) {
         o.labels.down = v == "down";
         return v == "down" || v == "across" ? std::string()
                                             : n + " must be across or down, not \"" + v + "\"";
     }},
    {"--skip", nullptr, true, kPages, kForPages,
     [](BatchOptions& o, const std::string& n, const std::string& v) {
         std::optional<std::int32_t> skip;
         std::string e = IntIn(n, v, 0, Labels::kMaxSkip, skip);
         o.labels.skip = skip.value_or(0);
         return e;
     }},
    {"--copies", nullptr, true, kPages, kForPages,
     [](BatchOptions& o, const std::string& n, const std::string& v) {
         std::optional<std::int32_t> copies;
         std::string e = IntIn(n, v, 1, L::kMaxCopies, copies);
         o.labels.copies = copies.value_or(1);
         return e;
     }},
    {"--sequence", nullptr, true, kAll, "",
     [](BatchOptions& o, const std::string& n, const std::string& v) {
         return SequenceIn(n, v, o);
     }},
    {"--format", nullptr, true, kAll, "",
     [](BatchOptions& o, const std::string& n, const std::string& v) { return FormatIn(n, v, o); }},
};

const OptionDef* FindOption(const std::string& a) {
    for (const OptionDef& def : kOptions) {
        if (a == def.longName || (def.shortName != nullptr && a == def.shortName)) {
            return &def;
        }
    }
    return nullptr;
}

// An option as given, with the definition it named.
struct GivenOption {
    std::string name;
    const OptionDef* def;
};

// The output the settled options choose, as an Output bit and as the message names it.
std::pair<Output, const char*> ChosenOutput(const BatchOptions& o) {
    if (o.check) {
        return {kCheck, "--check"};
    }
    if (o.mode == BatchOptions::Mode::Dump) {
        return {kDump, "--dump"};
    }
    if (o.mode == BatchOptions::Mode::Print) {
        return {kPrint, "--print"};
    }
    const std::string name = Lower(o.output.value_or(""));
    if (EndsWith(name, ".pdf")) {
        return {kPdf, ".pdf output"};
    }
    return EndsWith(name, ".svg") ? std::pair{kSvg, ".svg output"} : std::pair{kPng, ".png output"};
}

// The modes against each other: one output at a time.
std::string ModeConflict(const BatchOptions& o) {
    if (o.text && o.input) {
        return "give either TEXT or -i FILE, not both";
    }
    if (o.sequence && (o.text || o.input)) {
        return "give either --sequence or " + std::string(o.text ? "TEXT" : "-i FILE") +
               ", not both";
    }
    if (o.mode == BatchOptions::Mode::Dump && o.output) {
        return "--dump and -o cannot be used together";
    }
    if (o.mode == BatchOptions::Mode::Dump && o.check) {
        return "--dump and --check cannot be used together (--check prints a report instead)";
    }
    if (o.mode == BatchOptions::Mode::Print && o.output) {
        return "--print and -o cannot be used together";
    }
    return {};
}

bool Given(const std::vector<GivenOption>& given, const char* name) {
    return std::ranges::any_of(
        given, [name](const GivenOption& g) { return std::string_view(g.def->longName) == name; });
}

// The custom grid's sheet: its page from --page-size, its labels from the label options.
void SettleCustomSheet(BatchOptions& o) {
    LabelSheet& sheet = o.labels.sheet;
    const PageChoice& p = o.page;
    if (p.named == PageChoice::Named::Custom) {
        sheet.pageWidth = Millimetres(p.width, p.unit);
        sheet.pageHeight = Millimetres(p.height, p.unit);
    } else {
        const bool letter = p.named == PageChoice::Named::Letter;
        sheet.pageWidth = letter ? 215.9 : 210;
        sheet.pageHeight = letter ? 279.4 : 297;
    }
    std::tie(sheet.labelWidth, sheet.labelHeight) = *o.labelSize;
    std::tie(sheet.pitchX, sheet.pitchY) = o.labelPitch.value_or(*o.labelSize);
    std::tie(sheet.offsetX, sheet.offsetY) = o.labelOffset.value_or(std::pair(0.0, 0.0));
    sheet.description = "custom grid";
    sheet.source = "command line";
}

// The label options against each other; the sheet settled and checked.
std::string SettleLabels(BatchOptions& o, const std::vector<GivenOption>& given) {
    for (const char* name : {"--label-size", "--label-pitch", "--label-offset"}) {
        if (Given(given, name) && !o.customLabels) {
            return std::string(name) + " is for a custom grid (--labels COLSxROWS)";
        }
    }
    for (const char* name : {"--label-order", "--skip", "--copies"}) {
        if (Given(given, name) && !o.labels.Active()) {
            return std::string(name) + " is for label sheets (--labels)";
        }
    }
    if (!o.labels.Active()) {
        return {};
    }
    if (o.margins) {
        return "--margins does nothing with --labels: labels lie where the sheet puts them";
    }
    if (o.customLabels) {
        if (!o.labelSize) {
            return "--labels COLSxROWS needs --label-size WIDTHxHEIGHT";
        }
        SettleCustomSheet(o);
    } else if (Given(given, "--page-size")) {
        return "--page-size does nothing with --labels " + o.labels.sheet.name +
               ": the sheet has its own page";
    }
    if (const std::string e = Labels::SheetProblem(o.labels.sheet); !e.empty()) {
        return "--labels: " + e;
    }
    if (const std::string e = Labels::SkipProblem(o.labels); !e.empty()) {
        return "--skip " + std::to_string(o.labels.skip) + " " + e;
    }
    return {};
}

// The rows of --sequence through --format (default %d).
std::string SettleSequence(BatchOptions& o) {
    if (o.format && !o.sequence) {
        return "--format is for --sequence FROM..TO[/STEP]";
    }
    if (o.sequence && o.format) {
        return ParseSequencePattern(*o.format, *o.sequence);
    }
    return {};
}

// Checks the options against each other and settles the mode: every option given must do
// something for the chosen output.
std::string Finish(BatchOptions& o, const std::vector<GivenOption>& given) {
    if (std::string e = ModeConflict(o); !e.empty()) {
        return e;
    }
    if (o.mode == BatchOptions::Mode::None && o.output) {
        o.mode = BatchOptions::Mode::Render;
    } else if (o.mode == BatchOptions::Mode::None && o.check) {
        o.mode = BatchOptions::Mode::Dump; // the report takes the rows --dump would give
    } else if (o.mode == BatchOptions::Mode::None) {
        return "nothing to do: use --dump or -o OUT (see --help)";
    }
    if (std::string e = SettleLabels(o, given); !e.empty()) {
        return e;
    }
    if (std::string e = SettleSequence(o); !e.empty()) {
        return e;
    }
    const auto [output, outputName] = ChosenOutput(o);
    for (const GivenOption& g : given) {
        if ((g.def->outputs & output) == 0) {
            return g.name + " is for " + g.def->isFor + "; it does nothing with " + outputName;
        }
        // A page option makes --check a check of the printed pages.
        o.checkOnPage = o.checkOnPage || (o.check && (g.def->outputs & kOnPage) != 0);
    }
    for (const GivenOption& g : given) {
        if (o.check && !o.checkOnPage && (g.def->outputs & kOnPaper) != 0) {
            return g.name + " is for " + g.def->isFor + "; it does nothing with --check alone";
        }
    }
    if (o.checkOnPage && o.mode == BatchOptions::Mode::Dump) {
        o.mode = BatchOptions::Mode::Render;
    }
    if (o.check && o.printer && o.mode != BatchOptions::Mode::Print) {
        return "--printer is for --print; with --check, give --print --printer NAME";
    }
    if (o.check && o.printerDpi && o.mode == BatchOptions::Mode::Print) {
        return "--printer-dpi is for .pdf output; --print uses the printer's own resolution";
    }
    return {};
}

} // namespace

int ParseBarcodeType(const std::string& value) {
    if (value.size() == 1 && value[0] >= '0' && value[0] < '0' + kSymbologyCount) {
        return value[0] - '0';
    }
    const std::string name = Lower(value);
    for (const SymbologyInfo& symbology : Symbologies()) {
        if (name == symbology.optionName) {
            return static_cast<int>(symbology.symbology);
        }
    }
    return -1;
}

BatchParse ParseBatchArgs(const std::vector<std::string>& args) {
    BatchParse r;
    BatchOptions& o = r.options;
    bool optionsEnded = false;
    std::vector<GivenOption> given;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
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
        } else if (a == "--list-labels") {
            o.mode = BatchOptions::Mode::ListLabels;
            return r;
        } else if (a == "--version") {
            o.mode = BatchOptions::Mode::Version;
            return r;
        } else if (const OptionDef* def = FindOption(a)) {
            if (def->takesValue && i + 1 >= args.size()) {
                r.error = "option " + a + " needs a value";
                return r;
            }
            // A second value would silently win over the first.
            if (std::ranges::any_of(given, [def](const GivenOption& g) { return g.def == def; })) {
                r.error = "option " + a + " given more than once";
                return r;
            }
            given.push_back({a, def});
            r.error = def->set(o, a, def->takesValue ? args[++i] : std::string());
            if (!r.error.empty()) {
                return r;
            }
        } else {
            r.error = "unknown option " + a;
            return r;
        }
    }
    r.error = Finish(o, given);
    return r;
}

std::string BatchUsage() {
    return "Usage: tavik-batch --dump [-t TYPE] [TEXT]\n"
           "  or:  tavik-batch --dump [-t TYPE] -i FILE\n"
           "  or:  tavik-batch [OPTIONS] [TEXT] -o OUT\n"
           "  or:  tavik-batch [OPTIONS] -i FILE -o OUT\n"
           "  or:  tavik-batch [OPTIONS] [TEXT | -i FILE] --print [--printer NAME]\n"
           "  or:  tavik-batch --check [-t TYPE] [TEXT | -i FILE]\n"
           "  or:  tavik-batch --check [SIZES] [PAGE] [TEXT | -i FILE]\n"
           "\n"
           "Encodes barcode texts. --dump prints the element buffer of each row, one\n"
           "decimal digit per element, one line per row. -o draws the rows as the\n"
           "barcode window shows them, into a PNG image or an SVG drawing; a PDF or\n"
           "--print gives the printed pages, one unit the size of a 96-dpi pixel.\n"
           "\n"
           "Input:\n"
           "  TEXT               a UTF-8 text, converted to Latin-1 (default 0123456789);\n"
           "                     a text beyond Latin-1 is a refused row\n"
           "  -i, --input FILE   one barcode text per line of FILE, read as raw bytes\n"
           "                     (\"-\" reads standard input; at most 1 GiB); a line\n"
           "                     with a NUL byte is a refused row. After a UTF-8\n"
           "                     byte-order mark FILE is read as UTF-8, as TEXT is.\n"
           "                     A FILE without lines draws TEXT's default, as the\n"
           "                     window does\n"
           "  -t, --type TYPE    symbology: 0-6 or code39 (default), code93, code128a,\n"
           "                     code128b, code128c, ean13, i2of5\n"
           "\n"
           "Checking: every row's bars are read back as a scanner reads them and\n"
           "compared with the row's text (EAN-13 also matches with its check digit\n"
           "added). A refused row's message gives the reason; a row whose bars read\n"
           "differently, or not as one symbol, gives a warning on standard error\n"
           "(\"line N: bars read ..., label ...\"). Messages are one line each, texts\n"
           "cut to 80 characters. With --truetype only refusals count. An empty line\n"
           "is refused (\"line N: empty line\"): its row draws nothing.\n"
           "  --check            print a report instead of any output: one line per\n"
           "                     problem row, then \"N lines, M refused, K differ\";\n"
           "                     exit status 0 when every row matches, else 1. With\n"
           "                     --printer-dpi, --page-size, --margins or --print (and\n"
           "                     --printer) it checks the printed pages: first the X\n"
           "                     printed, \"X 0.375 mm (114 %), 3 dots at 203 dpi\", then an\n"
           "                     X outside the symbology's standard and each row whose\n"
           "                     quiet zones to the paper's edges are too short (\"off\n"
           "                     size\"); --line-width, --bar-height and --origin apply\n"
           "  --strict           a row whose bars read differently is refused: an empty\n"
           "                     row and exit status 1; on printed pages also a row\n"
           "                     with short quiet zones, and an X outside the standard\n"
           "                     refuses the job\n"
           "\n"
           "Output:\n"
           "  --dump             print the element bytes of every row; it takes only\n"
           "                     TEXT, -i, -t and --strict (the options below are refused)\n"
           "  -o, --output OUT   draw into OUT; its name ends in .png (an image, one unit\n"
           "                     per pixel, white background), .svg (vectors) or .pdf\n"
           "                     (the printed pages; a row too wide for the page is\n"
           "                     refused, and the job when no row fits). OUT is never\n"
           "                     the input file\n"
           "  --page-size SIZE   A4 (default), Letter or WIDTHxHEIGHT with a unit mm, cm,\n"
           "                     in or pt (e.g. 50x25mm, 4x6in; each side 10-2000 mm;\n"
           "                     WIDTH wide and HEIGHT long, upright), for .pdf and --print\n"
           "  --margins LENGTH   all four margins, e.g. 1mm or 0.1in, 0-100 mm (default\n"
           "                     for WIDTHxHEIGHT: none in a .pdf, the strips the printer\n"
           "                     cannot print on with --print), for .pdf and --print\n"
           "  --printer-dpi N    resolution of the printer a .pdf is for, 72-4800\n"
           "                     (default 600); bars and spaces are whole dots at N dpi.\n"
           "                     --print uses the printer's own resolution\n"
           "  --bar-reduction D  make printed bars D dots narrower and spaces D dots\n"
           "                     wider, for ink spread, 0-100 (default 0); a bar must\n"
           "                     keep at least one dot\n"
           "  --print            send the pages to the print service\n"
           "  --printer NAME     the printer to use with --print (default: the system's\n"
           "                     default printer)\n"
           "  --scale N          integer zoom, 1-16 (default 1); the drawing may be at\n"
           "                     most 32767 units a side and 64 Mi units in area\n"
           "\n"
           "Labels (for .pdf and --print): one row a label, left to right and then\n"
           "down, then the next sheet. Each row is drawn inside its label, --origin\n"
           "counted from the label's top-left corner; a row whose bars with their quiet\n"
           "zones do not fit inside its label is refused (\"line N: the row does not\n"
           "fit on its label: ...\"), its label stays empty.\n"
           "  --labels NAME      a built-in sheet, e.g. avery-l7160, avery-5160 (the sheet\n"
           "                     gives the page; --page-size and --margins are refused)\n"
           "  --labels COLSxROWS a custom grid on --page-size, with:\n"
           "  --label-size WxH   the label's width and height, e.g. 63.5x38.1mm (needed)\n"
           "  --label-pitch XxY  from one label's left (top) edge to the next one's\n"
           "                     (default: the label size)\n"
           "  --label-offset X,Y the first label's top-left corner from the page's\n"
           "                     (default 0,0mm); every label must lie on the page\n"
           "  --label-order ORDER  across (default) or down (each column first)\n"
           "  --skip N           leave the first N labels of the first sheet empty\n"
           "  --copies N         print every row on N labels in a row, 1-1000 (default 1)\n"
           "  --list-labels      print the built-in sheets with their figures\n"
           "\n"
           "Sequences: numbered rows instead of TEXT or -i FILE, for every output.\n"
           "  --sequence FROM..TO[/STEP]  64-bit integers; STEP may be negative\n"
           "                     (default 1); at most 100000000 rows\n"
           "  --format PATTERN   literal text with one integer field, e.g. ITEM-%06d\n"
           "                     (%d %i %u %x %X %o, flags -+ 0#, width up to 40; %% for\n"
           "                     a percent sign; default %d)\n"
           "\n"
           "Settings (as in the Settings dialog):\n"
           "  --line-width N     width of a narrow element, 1-100 (default 1), or the\n"
           "                     X as a length with a unit mm, in, mil or pt (0.33mm)\n"
           "  --bar-height N     height of the bars, 1-10000 (default 50), or a length\n"
           "                     (22.85mm). Printed, a length is whole printer dots; a\n"
           "                     narrow element from units is never rounded below the\n"
           "                     standard's smallest X (EAN-13 0.264 mm, others 0.191)\n"
           "  --origin X,Y       top-left corner of the first row, 0-10000 each\n"
           "                     (default 10,10)\n"
           "  --repeat N         rows of TEXT, 1-10000 (default 1); a FILE with lines\n"
           "                     draws one row per line instead\n"
           "  --no-text          no human-readable text below the bars\n"
           "  --truetype         write the text in the barcode font instead of bars\n"
           "  --bar-color RRGGBB           colour of bars (default 000000)\n"
           "  --space-color RRGGBB         colour of spaces (default FFFFFF)\n"
           "  --text-color RRGGBB          colour of the text below (default 000000)\n"
           "  --barcode-font-color RRGGBB  colour of the barcode font (default 000000)\n"
           "  --text-font FACE:HEIGHT      font of the text below (default Arial:-14)\n"
           "  --barcode-font FACE:HEIGHT   barcode font (default \"Free 3 of 9:-29\")\n"
           "                     FACE: at most 31 Latin-1 characters; HEIGHT: the font's\n"
           "                     character height as a negative number, -1000 to -1\n"
           "\n"
           "Other:\n"
           "  -h, --help         show this help\n"
           "  --version          show the version\n"
           "\n"
           "Exit status: 0 all rows encoded, 1 a row was refused (reported on standard\n"
           "error; the output is still written: a refused line's row is empty, a refused\n"
           "TEXT shows only its text), 2 usage, input or output error (nothing is\n"
           "written), also when there is no such printer or the print job fails, an\n"
           "option is given twice or does nothing for the chosen output.\n";
}

#include "LabelSheets.h"

#include "PrintChecks.h"
#include "RowPass.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPen>
#include <QPrinter>
#include <QRectF>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>

extern const std::string_view kLabelSheetData;

namespace Labels {

namespace {

// Lengths may be off by rounding in the last digit a sheet's figures are given in.
constexpr double kSlackMm = 0.01;

std::string Mm(double mm) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", mm);
    std::string s(text);
    s.erase(s.find_last_not_of('0') + 1);
    if (s.back() == '.') {
        s.pop_back();
    }
    return s;
}

std::string Lower(std::string_view v) {
    std::string s(v);
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

// A decimal number of digits with at most one point, nothing else.
std::optional<double> Number(std::string_view v) {
    if (v.empty() || v.size() > 12 || !std::all_of(v.begin(), v.end(), [](unsigned char c) {
            return std::isdigit(c) || c == '.';
        })) {
        return std::nullopt;
    }
    double n = 0;
    const auto [ptr, ec] = std::from_chars(v.data(), v.data() + v.size(), n);
    return ec == std::errc() && ptr == v.data() + v.size() ? std::optional(n) : std::nullopt;
}

// The unit at the end of v in mm per unit, taken off v; none without one.
std::optional<double> TakeUnit(std::string_view& v) {
    static constexpr std::pair<std::string_view, double> kUnits[] = {
        {"mm", 1}, {"cm", 10}, {"in", 25.4}, {"pt", 25.4 / 72}};
    for (const auto& [suffix, factor] : kUnits) {
        if (v.size() > suffix.size() && Lower(v.substr(v.size() - suffix.size())) == suffix) {
            v.remove_suffix(suffix.size());
            return factor;
        }
    }
    return std::nullopt;
}

std::vector<std::string_view> Fields(std::string_view line) {
    std::vector<std::string_view> fields;
    for (std::size_t start = 0;;) {
        const std::size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab - start));
        if (tab == std::string_view::npos) {
            return fields;
        }
        start = tab + 1;
    }
}

// Why a line's fields make no sheet; empty with sheet filled in when they do.
std::string SheetFrom(const std::vector<std::string_view>& f, LabelSheet& sheet) {
    if (f.size() != 8) {
        return "it has " + std::to_string(f.size()) + " fields, not 8";
    }
    const auto page = LengthPairMm(f[1], 'x');
    const auto label = LengthPairMm(f[2], 'x');
    const auto grid = Grid(f[3]);
    const auto pitch = LengthPairMm(f[4], 'x');
    const auto offset = LengthPairMm(f[5], ',');
    if (!page || !label || !grid || !pitch || !offset) {
        return "a figure is not a length pair with a unit or a grid COLSxROWS";
    }
    sheet = LabelSheet{Lower(f[0]),      page->first,   page->second,   label->first,
                       label->second,    grid->first,   grid->second,   pitch->first,
                       pitch->second,    offset->first, offset->second, std::string(f[6]),
                       std::string(f[7])};
    return SheetProblem(sheet);
}

} // namespace

std::optional<double> LengthMm(std::string_view v) {
    const auto factor = TakeUnit(v);
    const auto n = factor ? Number(v) : std::nullopt;
    return n ? std::optional(*n * *factor) : std::nullopt;
}

std::optional<std::pair<double, double>> LengthPairMm(std::string_view v, char separator) {
    const auto factor = TakeUnit(v);
    const std::size_t at = v.find(separator);
    if (!factor || at == std::string_view::npos) {
        return std::nullopt;
    }
    const auto a = Number(v.substr(0, at));
    const auto b = Number(v.substr(at + 1));
    return a && b ? std::optional(std::pair(*a * *factor, *b * *factor)) : std::nullopt;
}

std::optional<std::pair<int, int>> Grid(std::string_view v) {
    const std::size_t x = v.find_first_of("xX");
    int columns = 0;
    int rows = 0;
    if (x == std::string_view::npos) {
        return std::nullopt;
    }
    const auto [c, ce] = std::from_chars(v.data(), v.data() + x, columns);
    const auto [r, re] = std::from_chars(v.data() + x + 1, v.data() + v.size(), rows);
    if (ce != std::errc() || re != std::errc() || c != v.data() + x || r != v.data() + v.size() ||
        columns < 1 || rows < 1 || columns > kMaxSide || rows > kMaxSide) {
        return std::nullopt;
    }
    return std::pair(columns, rows);
}

std::string SheetProblem(const LabelSheet& s) {
    if (s.pageWidth <= 0 || s.pageHeight <= 0 || s.labelWidth <= 0 || s.labelHeight <= 0) {
        return "the page and the labels need a width and a height above 0";
    }
    if (s.columns < 1 || s.rows < 1 || s.columns > kMaxSide || s.rows > kMaxSide) {
        return "the grid needs 1 to " + std::to_string(kMaxSide) + " columns and rows";
    }
    if (s.columns > 1 && s.pitchX + kSlackMm < s.labelWidth) {
        return "the horizontal pitch " + Mm(s.pitchX) + " mm is less than the label width " +
               Mm(s.labelWidth) + " mm: the labels would overlap";
    }
    if (s.rows > 1 && s.pitchY + kSlackMm < s.labelHeight) {
        return "the vertical pitch " + Mm(s.pitchY) + " mm is less than the label height " +
               Mm(s.labelHeight) + " mm: the labels would overlap";
    }
    const double right = s.offsetX + (s.columns - 1) * s.pitchX + s.labelWidth;
    const double bottom = s.offsetY + (s.rows - 1) * s.pitchY + s.labelHeight;
    if (right > s.pageWidth + kSlackMm) {
        return "the labels reach " + Mm(right) + " mm across a page " + Mm(s.pageWidth) +
               " mm wide";
    }
    if (bottom > s.pageHeight + kSlackMm) {
        return "the labels reach " + Mm(bottom) + " mm down a page " + Mm(s.pageHeight) +
               " mm long";
    }
    return {};
}

std::string SkipProblem(const LabelChoice& labels) {
    const std::int64_t perPage = labels.sheet.PerPage();
    if (labels.skip < perPage) {
        return {};
    }
    return "leaves no label of a sheet of " + std::to_string(perPage) + " (at most " +
           std::to_string(perPage - 1) + ")";
}

std::vector<LabelSheet> ParseSheets(std::string_view text, std::string& error) {
    std::vector<LabelSheet> sheets;
    std::size_t number = 0;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        const std::string_view line = text.substr(start, end - start);
        start = end + 1;
        ++number;
        if (line.empty() || line[0] == '#') {
            continue;
        }
        LabelSheet sheet;
        if (const std::string e = SheetFrom(Fields(line), sheet); !e.empty()) {
            error = "sheet line " + std::to_string(number) + ": " + e;
            return {};
        }
        sheets.push_back(std::move(sheet));
    }
    return sheets;
}

const std::vector<LabelSheet>& BuiltInSheets() {
    static const std::vector<LabelSheet> sheets = [] {
        std::string error;
        std::vector<LabelSheet> parsed = ParseSheets(kLabelSheetData, error);
        Q_ASSERT_X(error.empty(), "BuiltInSheets", error.c_str());
        return parsed;
    }();
    return sheets;
}

const LabelSheet* FindSheet(std::string_view name) {
    const std::string lower = Lower(name);
    const auto& sheets = BuiltInSheets();
    const auto it = std::find_if(sheets.begin(), sheets.end(),
                                 [&](const LabelSheet& s) { return s.name == lower; });
    return it == sheets.end() ? nullptr : &*it;
}

std::vector<const LabelSheet*> MatchSheets(std::string_view query) {
    std::vector<std::string> words;
    const std::string lower = Lower(query);
    for (std::size_t at = 0; at < lower.size();) {
        const std::size_t end = std::min(lower.find(' ', at), lower.size());
        if (end > at) {
            words.push_back(lower.substr(at, end - at));
        }
        at = end + 1;
    }
    std::vector<const LabelSheet*> found;
    for (const LabelSheet& sheet : BuiltInSheets()) {
        const std::string text = sheet.name + " " + Lower(sheet.description);
        if (std::all_of(words.begin(), words.end(), [&](const std::string& word) {
                return text.find(word) != std::string::npos;
            })) {
            found.push_back(&sheet);
        }
    }
    return found;
}

std::string DescribeSheet(const LabelSheet& s) {
    std::string name = s.name;
    name.resize(std::max<std::size_t>(name.size() + 1, 16), ' ');
    return name + "page " + Mm(s.pageWidth) + " x " + Mm(s.pageHeight) + " mm, " +
           std::to_string(s.PerPage()) + " labels " + Mm(s.labelWidth) + " x " + Mm(s.labelHeight) +
           " mm in " + std::to_string(s.columns) + " x " + std::to_string(s.rows) + ", pitch " +
           Mm(s.pitchX) + " x " + Mm(s.pitchY) + " mm, first at " + Mm(s.offsetX) + ", " +
           Mm(s.offsetY) + " mm: " + s.description + " (" + s.source + ")";
}

std::int64_t Units(double mm, int dpi) {
    return static_cast<std::int64_t>(std::floor(mm * dpi / 25.4 + 1e-9));
}

std::int64_t PageCount(const LabelChoice& labels, std::int64_t rows) {
    const std::int64_t perPage = std::max<std::int64_t>(1, labels.sheet.PerPage());
    const std::int64_t used = labels.skip + rows * std::max(1, labels.copies);
    return std::max<std::int64_t>(1, (used + perPage - 1) / perPage);
}

std::int64_t RowOnLabel(const LabelChoice& labels, std::int64_t page, std::int64_t i,
                        std::int64_t rows) {
    const std::int64_t slot = page * labels.sheet.PerPage() + i - labels.skip;
    const std::int64_t row = slot < 0 ? -1 : slot / std::max(1, labels.copies);
    return row < rows ? row : -1;
}

QPointF LabelCornerMm(const LabelChoice& labels, std::int64_t i) {
    const LabelSheet& s = labels.sheet;
    const std::int64_t column = labels.down ? i / s.rows : i % s.columns;
    const std::int64_t row = labels.down ? i % s.rows : i / s.columns;
    return {s.offsetX + column * s.pitchX, s.offsetY + row * s.pitchY};
}

void DrawSheet(QPainter& painter, const QRectF& area, const LabelSheet& sheet) {
    if (sheet.pageWidth <= 0 || sheet.pageHeight <= 0) {
        return;
    }
    const double scale = std::min(area.width() / sheet.pageWidth, area.height() / sheet.pageHeight);
    const QRectF page(area.center().x() - sheet.pageWidth * scale / 2,
                      area.center().y() - sheet.pageHeight * scale / 2, sheet.pageWidth * scale,
                      sheet.pageHeight * scale);
    painter.save();
    painter.setPen(QPen(Qt::darkGray, 0));
    painter.setBrush(Qt::white);
    painter.drawRect(page);
    painter.setBrush(Qt::NoBrush);
    const LabelChoice labels{sheet};
    for (std::int64_t i = 0; i < sheet.PerPage(); ++i) {
        const QPointF corner = LabelCornerMm(labels, i);
        painter.drawRect(QRectF(page.topLeft() + corner * scale,
                                QSizeF(sheet.labelWidth * scale, sheet.labelHeight * scale)));
    }
    painter.restore();
}

std::string TextOnLabelProblem(const RowPassInput& rows, const CBarcodeBase* bars,
                               const QPrinter& printer) {
    const BarcodeSettings& s = rows.settings;
    if (!s.m_labels.Active() || s.m_pLines != nullptr) {
        return {};
    }
    std::string problem = CPageFit(rows, printer).RowProblem(bars, s.m_strText);
    constexpr std::string_view kRow = "the row";
    if (problem.compare(0, kRow.size(), kRow) == 0) {
        problem.replace(0, kRow.size(), "the text");
    }
    return problem;
}

void UseSheetPage(QPrinter& printer, const LabelSheet& sheet) {
    printer.setPageSize(QPageSize(QSizeF(sheet.pageWidth, sheet.pageHeight), QPageSize::Millimeter,
                                  QString::fromStdString(sheet.name), QPageSize::ExactMatch));
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setFullPage(true);
}

} // namespace Labels

#pragma once

#include "LabelSheet.h"

#include <QPointF>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class CBarcodeBase;
class QPainter;
class QPrinter;
class QRectF;
struct RowPassInput;

// Label sheets: the built-in ones, lengths as written, the checks a sheet must pass, and
// where each row of a list lands on them.
namespace Labels {

// A length with its unit (mm, cm, in or pt), in mm; none when v is not one.
std::optional<double> LengthMm(std::string_view v);
// Two lengths with one unit after the second, as "63.5x38.1mm" (separator 'x') or
// "7.2,15.1mm" (separator ','), in mm.
std::optional<std::pair<double, double>> LengthPairMm(std::string_view v, char separator);
// COLSxROWS, each 1 to kMaxSide.
std::optional<std::pair<int, int>> Grid(std::string_view v);
inline constexpr int kMaxSide = 100;

// Why the sheet's labels do not lie on its page, or overlap; empty when they do not.
std::string SheetProblem(const LabelSheet& sheet);
// The most labels --skip and the dialog's Skip take before the sheet is known.
inline constexpr int kMaxSkip = kMaxSide * kMaxSide;
// Why the choice's skip leaves no label of its sheet ("leaves no label of a sheet of 21 (at
// most 20)"); empty when a label is left.
std::string SkipProblem(const LabelChoice& labels);

// Sheets from lines of tab-separated fields (name, page, label, grid, pitch, offset,
// description, source; '#' starts a comment line); error names the first bad line.
std::vector<LabelSheet> ParseSheets(std::string_view text, std::string& error);
// The sheets built into the program.
const std::vector<LabelSheet>& BuiltInSheets();
// The built-in sheet of that name, ignoring case; null when there is none.
const LabelSheet* FindSheet(std::string_view name);
// The built-in sheets whose name or description holds every word of query, ignoring
// case (all of them for an empty query), for a searchable list.
std::vector<const LabelSheet*> MatchSheets(std::string_view query);
// One line of figures: name, page, labels, grid, pitch, first label, description, source.
std::string DescribeSheet(const LabelSheet& sheet);

// A length in mm as whole units of dpi, rounded down (a label's inside stays inside).
std::int64_t Units(double mm, int dpi);

// Pages the labels of rows rows take, at least 1.
std::int64_t PageCount(const LabelChoice& labels, std::int64_t rows);
// The row shown on label i of page (both from 0), or -1 for an empty label.
std::int64_t RowOnLabel(const LabelChoice& labels, std::int64_t page, std::int64_t i,
                        std::int64_t rows);
// Label i's top-left corner on its page, in mm, in the choice's order.
QPointF LabelCornerMm(const LabelChoice& labels, std::int64_t i);

// A small drawing of the sheet inside area: the page and its labels' outlines, to scale.
void DrawSheet(QPainter& painter, const QRectF& area, const LabelSheet& sheet);

// Why the settings' own text (rows without a list) does not fit on its label with its
// quiet zones, bars its encoder's; a sheet of such labels is refused as a whole. Empty when
// it fits, and without a sheet or with a list (whose rows are refused one by one).
std::string TextOnLabelProblem(const RowPassInput& rows, const CBarcodeBase* bars,
                               const QPrinter& printer);

// The printer's page becomes the sheet's, upright, printed from its top-left corner.
void UseSheetPage(QPrinter& printer, const LabelSheet& sheet);

} // namespace Labels

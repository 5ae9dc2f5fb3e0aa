#pragma once

#include <cstdint>
#include <string>

// A sheet of labels in a grid, every length in mm from the page's top-left corner.
struct LabelSheet {
    std::string name; // brand-part in lower case, or empty for a custom grid
    double pageWidth = 0, pageHeight = 0;
    double labelWidth = 0, labelHeight = 0;
    std::int32_t columns = 0, rows = 0;
    double pitchX = 0, pitchY = 0;   // from one label's left (top) edge to the next one's
    double offsetX = 0, offsetY = 0; // the first label's top-left corner
    std::string description;
    std::string source;

    std::int64_t PerPage() const { return std::int64_t{columns} * rows; }
};

// The labels the rows print on: one row a label, the next sheet when a sheet is full.
struct LabelChoice {
    static constexpr std::int32_t kMaxCopies = 1000;

    LabelSheet sheet;        // no columns: no labels, the rows stack down the page
    bool down = false;       // fill each column before the next one
    std::int64_t skip = 0;   // labels of the first sheet left empty (a partly used sheet)
    std::int32_t copies = 1; // labels in a row that show each line

    bool Active() const { return sheet.columns > 0 && sheet.rows > 0; }
};

#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace pdf {

// A TrueType font as a list of its tables, read from the font file's own bytes.
struct FontTables {
    std::vector<std::pair<std::string, std::string>> tables; // tag, data

    std::string_view Find(std::string_view tag) const;
};

// What a PDF needs to know of a TrueType font, in its own units.
struct FontMetrics {
    int unitsPerEm = 1000;
    int ascent = 0, descent = 0; // hhea
    int xMin = 0, yMin = 0, xMax = 0, yMax = 0;
    std::vector<std::uint16_t> advances; // per glyph (hmtx)
    bool outlines = false;               // glyf and loca are there and readable

    int Advance(unsigned glyph) const;
};

FontMetrics ReadMetrics(const FontTables& font);

// The font with only the outlines of the glyphs marked in keep (and of the
// glyphs they are made of) and glyph 0; glyph numbers stay as they are. The
// tables a PDF reader uses, as one TrueType file. Empty without outlines.
std::string SubsetFont(const FontTables& font, std::vector<bool> keep);
// The whole font as an OpenType file with CFF outlines; empty without them.
std::string OpenTypeFont(const FontTables& font);

} // namespace pdf
